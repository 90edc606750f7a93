// The main window's way to Mednafen: its menu item, enabled by the options,
// and the emulator commands on with Mednafen alone switched on.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QPushButton>

#include "app/frmMain.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"
#include "support/gui/TestServices.h"

using namespace kestro;

TEST(MainWindowMednafen, TheMenuItemOpensTheFrontEndWhenMednafenIsOn) {
    base::MemoryRegistryBackend registry;
    registry.SetText(base::HKEY_USERS_, app::kFontsDirKey, app::kFontsDirValue, "/fonts");
    test::TestServices ts;
    test::TempDir dir;
    test::WriteExecutable(dir.File("mednafen"), "#!/bin/sh\n");
    ts.settings.Write("Mednafen Program", dir.File("mednafen"));
    ts.settings.Write("Mednafen Enabled", "True");
    app::frmMain window(ts.services, {registry, "/opt/kestro", "ipag.ttf", [](const std::string&) { return true; },
                                      [](const std::string&, std::string*) { return true; }});
    ASSERT_TRUE(window.Form_Load());
    ts.messages.Clear();
    auto* item = test::FindChild<QAction>(&window, "mnuFileEmusMednafen");
    EXPECT_EQ(item->text(), QStringLiteral("&Mednafen Frontend..."));
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(test::FindChild<QPushButton>(&window, "cmdEmus")->isEnabled()) << "Mednafen alone is an emulator on";
    QString opened;
    test::WhenModalShown([&opened](QWidget* dialog) {
        opened = dialog->windowTitle();
        static_cast<QDialog*>(dialog)->reject();
    });
    item->trigger();
    EXPECT_EQ(opened, QStringLiteral("Mednafen Frontend"));
    EXPECT_TRUE(ts.messages.Shown().empty());
}
