#include <gtest/gtest.h>

#include <QDialog>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>

#include "app/frmMain.h"
#include "platform/Text.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"

using namespace kestro;
using base::MessageIcon;

namespace {

struct StartedProgram {
    base::MemoryRegistryBackend registry;
    test::TestServices ts;
    test::TempDir dir;
    std::unique_ptr<app::frmMain> window;

    StartedProgram() {
        registry.SetText(base::HKEY_USERS_, app::kFontsDirKey, app::kFontsDirValue, "/fonts");
        app::StartupEnvironment environment{registry, "/opt/kestro", "ipag.ttf",
                                            [](const std::string&) { return true; },
                                            [](const std::string&, std::string*) { return true; }};
        window = std::make_unique<app::frmMain>(ts.services, std::move(environment));
        EXPECT_TRUE(window->Form_Load());
        EXPECT_EQ(ts.messages.Take().size(), 1u) << "the start-up notice";
        window->show();
    }

    // Opens the ROM information window on a path and reports what it showed.
    struct Seen {
        QString caption, fileName;
    };
    Seen OpenWith(const QString& path) {
        auto seen = std::make_shared<Seen>();
        test::WhenModalShown([seen](QWidget* dialog) {
            // The file opens once the window shows: let that happen first.
            QCoreApplication::processEvents();
            seen->caption = dialog->windowTitle();
            seen->fileName = dialog->findChild<QLabel*>(QStringLiteral("lblFileName"))->text();
            static_cast<QDialog*>(dialog)->reject();
        });
        window->OpenRomInfo(path);
        return *seen;
    }
};

}  // namespace

// "kestro-utils FILE.vb": the ROM information window opens on the file as Open
// does it, a relative name taken from where the program was started, and a
// refused file gets the designed message and an empty window.
TEST(OpenWith, FileArgumentOpensTheRomInformationWindow) {
    StartedProgram program;
    test::RomBuilder::KnownDump("Mario Clash (JU) [!]").WriteTo(program.dir.File("mario clash.vb"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(program.dir.Path().string()));
    const auto seen = program.OpenWith(QStringLiteral("mario clash.vb"));
    QDir::setCurrent(previous);
    EXPECT_EQ(seen.caption, QStringLiteral("ROM Information - [MARIO CLASH]"));
    EXPECT_EQ(seen.fileName, QString::fromStdString(program.dir.File("mario clash.vb")));
    EXPECT_EQ(program.ts.settings.Find("Recent ROM #1"), program.dir.File("mario clash.vb"));
    EXPECT_TRUE(program.ts.messages.Take().empty());

    test::WriteBytes(program.dir.File("tiny.vb"), std::vector<std::uint8_t>(100, 0));
    const auto refused = program.OpenWith(QString::fromStdString(program.dir.File("tiny.vb")));
    EXPECT_EQ(refused.caption, QStringLiteral("ROM Information - [No ROM Loaded]"));
    const auto shown = program.ts.messages.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Invalid VB ROM");
    EXPECT_EQ(shown[0].text, "File too small to be a VB ROM image.");
    EXPECT_EQ(shown[0].icon, MessageIcon::Exclamation);
}
