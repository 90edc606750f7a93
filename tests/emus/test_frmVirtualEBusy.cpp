// SPDX-License-Identifier: GPL-3.0-or-later
// While Virtual-E's settings are written to the registry the window shows it is busy.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCursor>
#include <QGuiApplication>

#include "emus/frmVirtualE.h"
#include "support/gui/TestServices.h"

namespace kestro::emus {
namespace {

// The memory registry, noting the pointer shown while the writes are stored.
class WatchedRegistry final : public base::RegistryBackend {
public:
    bool OpenForQuery(std::uint32_t r, const std::string& p) const override { return inner.OpenForQuery(r, p); }
    std::optional<base::RegistryData> Query(std::uint32_t r, const std::string& p,
                                            const std::string& n) const override {
        return inner.Query(r, p, n);
    }
    bool CreateKey(std::uint32_t r, const std::string& p) override { return inner.CreateKey(r, p); }
    bool SetValue(std::uint32_t r, const std::string& p, const std::string& n, const base::RegistryData& d) override {
        return inner.SetValue(r, p, n, d);
    }
    bool DeleteKey(std::uint32_t r, const std::string& p) override { return inner.DeleteKey(r, p); }
    bool DeleteValue(std::uint32_t r, const std::string& p, const std::string& n) override {
        return inner.DeleteValue(r, p, n);
    }
    std::optional<std::vector<std::string>> ValueNames(std::uint32_t r, const std::string& p) const override {
        return inner.ValueNames(r, p);
    }
    std::optional<std::vector<std::string>> SubKeyNames(std::uint32_t r, const std::string& p) const override {
        return inner.SubKeyNames(r, p);
    }
    bool EndWrites() override {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        shapes.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
        return inner.EndWrites();
    }
    base::MemoryRegistryBackend inner;
    std::vector<Qt::CursorShape> shapes;
};

TEST(VirtualEBusy, SavingShowsTheBusyPointerUntilTheRegistryIsWritten) {
    test::TestServices t;
    WatchedRegistry registry;
    platform::Services services{t.messages, t.files, t.settings, t.processes, t.clock, registry};
    frmVirtualE window(services);
    registry.shapes.clear();
    test::FindChild<QAbstractButton>(&window, "cmdSaveSettings")->click();
    ASSERT_FALSE(registry.shapes.empty());
    for (Qt::CursorShape shape : registry.shapes) EXPECT_EQ(shape, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the pointer is given back";
}

}  // namespace
}  // namespace kestro::emus
