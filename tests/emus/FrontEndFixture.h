// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the front-end window tests share: services whose launcher records
// each start (or really starts), an emulator directory and ROMs.

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <memory>

#include "base/Paths.h"
#include "base/ProcessStart.h"
#include "support/core/FakePrograms.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"

namespace kestro::test {

struct FrontEndServices : TestServices {
    RecordingLauncher recorder;
    base::DetachedProcessLauncher real;
    platform::Services recorded{messages, files, settings, recorder, clock, registry};
    platform::Services started{messages, files, settings, real, clock, registry};
};

template <typename Window>
class FrontEndTest : public ::testing::Test {
protected:
    FrontEndTest() {
        std::filesystem::create_directories(emu);
        std::filesystem::create_directories(dir.File("my roms"));
        RomBuilder::Unknown().WriteTo(rom);
        t.settings.Write("Base Directory", dir.Path().string());
    }

    /// Opens the window; real starts the emulator instead of recording the start.
    Window& Open(bool real = false) {
        window = std::make_unique<Window>(real ? t.started : t.recorded);
        return *window;
    }
    template <typename T>
    T* Find(const char* name) {
        return FindChild<T>(window.get(), name);
    }
    void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
    bool Enabled(const char* name) { return Find<QWidget>(name)->isEnabled(); }
    QString Label(const char* name) { return Find<QLabel>(name)->text(); }
    /// Whether the number bar counts up the way it points (RaisedBy shows how).
    bool CountsUpward(const char* name) { return Find<QScrollBar>(name)->invertedAppearance(); }
    /// The bar's value after its upper arrow, the Up key, Page Up and the wheel
    /// turned up, each in turn from start: up must raise the number every way.
    std::vector<int> RaisedBy(const char* name, int start) {
        auto* bar = Find<QScrollBar>(name);
        window->show();
        std::vector<int> values;
        const auto step = [&](auto&& act) {
            bar->setValue(start);
            act();
            values.push_back(bar->value());
        };
        step([&] { QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3)); });
        step([&] { QTest::keyClick(bar, Qt::Key_Up); });
        step([&] { QTest::keyClick(bar, Qt::Key_PageUp); });
        step([&] {
            const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
            QWheelEvent wheel(at, bar->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(bar, &wheel);
        });
        return values;
    }
    /// Select ROM with the open dialog answering path.
    void SelectRom(const std::string& path) {
        t.files.Choose(QString::fromStdString(path));
        Click("cmdOpen");
    }

    FrontEndServices t;
    TempDir dir;
    std::string emu = dir.File("emu dir");
    std::string rom = dir.File("my roms/game one.vb");
    std::unique_ptr<Window> window;
};

}  // namespace kestro::test
