// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, and keyboard rules every window keeps: the themed main
// menu, the emulator chooser, and Esc.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <set>

#include "app/frmMain.h"
#include "base/IniSettings.h"
#include "emus/frmEmus.h"
#include "platform/QtServices.h"
#include "platform/Text.h"
#include "rominfo/frmRomInfo.h"
#include "support/core/FakePrograms.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/WindowChecks.h"

using namespace kestro;
using base::MessageIcon;
using base::MessageResult;
using test::FindChild;
using test::Visible;

namespace {

// A machine on which start-up finds what it looks for, unless told otherwise.
struct Machine {
    base::MemoryRegistryBackend registry;
    std::set<std::string> files{"/opt/kestro/libKestro.so", "/usr/share/fonts/ipa/ipag.ttf"};
    std::vector<std::string> loaded;

    Machine() {
        registry.SetText(base::HKEY_LOCAL_MACHINE_, app::kWindowsDirKey, app::kWindowsDirValue, "/usr/lib");
        registry.SetText(base::HKEY_USERS_, app::kFontsDirKey, app::kFontsDirValue, "/usr/share/fonts/ipa");
    }
    app::StartupEnvironment Environment() {
        return {registry, "/opt/kestro", "ipag.ttf", [this](const std::string& p) { return files.count(p) != 0; },
                [this](const std::string& p, std::string*) {
                    loaded.push_back(p);
                    return true;
                }};
    }
};

// A menu command, or a click on a button or picture.
void Press(QWidget* w, const char* name) {
    if (auto* action = w->findChild<QAction*>(QString::fromLatin1(name))) {
        action->trigger();
        return;
    }
    QTest::mouseClick(FindChild<QWidget>(w, name), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
}

QString Focused() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// A key pressed where the focus is (in the active window when nothing has it).
void Key(Qt::Key key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key);
}

// The names the focus passes through on n presses of the key, blank-separated.
QString FocusWalk(Qt::Key key, int n) {
    QStringList names;
    for (int i = 0; i < n; ++i) {
        Key(key);
        names << Focused();
    }
    return names.join(QLatin1Char(' '));
}

class MainWindowTest : public ::testing::Test {
protected:
    // A started window; its start-up notice is taken and checked.
    std::unique_ptr<app::frmMain> Start() { return StartWith(ts.services); }
    std::unique_ptr<app::frmMain> StartWith(platform::Services& services) {
        auto window = std::make_unique<app::frmMain>(services, machine.Environment());
        EXPECT_TRUE(window->Form_Load());
        const auto notice = test::TakeOne(ts.messages);
        EXPECT_EQ(notice.title, "Kestro Utilities beta version 0.9");
        EXPECT_EQ(notice.icon, MessageIcon::Exclamation);
        return window;
    }

    test::TestServices ts;
    Machine machine;
    test::RecordingLauncher launcher;
    platform::Services launching{ts.messages, ts.files, ts.settings, launcher, ts.clock, ts.registry};
};

}  // namespace

// Start-up stops at the first missing file, before any setting is written;
// a library in the current directory does not count.
TEST(MainWindowStartup, MissingLibraryOrFontEndsStartupWithoutTouchingSettings) {
    const struct {
        const char* removed;
        const char* title;
        const char* text;
    } cases[] = {
        {"/opt/kestro/libKestro.so", "Library file not found",
         "Unable to find libKestro.so library file.\rPlease copy libKestro.so to the directory where this program is "
         "located.\r\rKestro Utilities will terminate now."},
        {"/usr/share/fonts/ipa/ipag.ttf", "Font file not found",
         "Unable to find ipag.ttf font file.\rPlease copy ipag.ttf to the Fonts directory:\r/usr/share/fonts/ipa/\r\r"
         "Kestro Utilities will terminate now."},
    };
    for (const auto& c : cases) {
        test::TestServices ts;
        Machine machine;
        machine.files.erase(c.removed);
        machine.files.insert("libKestro.so");
        app::frmMain window(ts.services, machine.Environment());
        EXPECT_FALSE(window.Form_Load());
        EXPECT_EQ(test::TakeOne(ts.messages), (base::Message{c.title, c.text, MessageIcon::Critical}));
        EXPECT_EQ(ts.settings.WriteCount(), 0);
        EXPECT_TRUE(machine.loaded.empty());
    }
}

// The keys reach the ini file at once (another reader sees them while the
// program runs), with their defaults; a stored version is carried as read.
TEST_F(MainWindowTest, FirstRunWritesEveryKeyAndAStoredVersionIsKept) {
    test::TempDir dir;
    const std::string ini = dir.File("Kestro Utils.ini");
    platform::QtSettingsStore store(QString::fromStdString(ini));
    platform::Services services{ts.messages, ts.files, store, ts.processes, ts.clock, ts.registry};
    machine.files.insert("/usr/lib/libKestro.so");
    auto first = StartWith(services);
    EXPECT_EQ(machine.loaded, std::vector<std::string>{"/opt/kestro/libKestro.so"}) << "beside the program first";
    EXPECT_EQ(QSettings(QString::fromStdString(ini), QSettings::IniFormat).allKeys().size(), 46)
        << "every key but the seven Reality Boy front-end keys";
    EXPECT_EQ(base::IniSettingsStore::Load(ini).Find("Version Number"), "1.0");

    store.Write("Version Number", "2.5");
    machine.files = {"/usr/lib/libKestro.so", "/usr/share/fonts/ipa/ipag.ttf"};
    machine.loaded.clear();
    auto second = StartWith(services);
    EXPECT_EQ(machine.loaded, std::vector<std::string>{"/usr/lib/libKestro.so"});
    EXPECT_EQ(base::IniSettingsStore::Load(ini).Find("Version Number"), "2.5");
}

// Start-up puts damaged values right once and writes them back; a settings
// file that cannot be kept is said once, before the notice, and start-up goes on.
TEST_F(MainWindowTest, StartupRepairsSettingsAndWarnsOnceWhenTheyCannotBeSaved) {
    ts.settings.Write("White Tile Red", "256");
    Start();
    EXPECT_EQ(ts.settings.Read("White Tile Red", ""), "255");

    test::TempDir dir;
    // A folder where the file should be: nothing is opened, the session runs on, and the user is told.
    const QString folder = QString::fromStdString(dir.File("folder.ini"));
    QDir().mkpath(folder);
    platform::QtSettingsStore store(folder);
    platform::Services services{ts.messages, ts.files, store, ts.processes, ts.clock, ts.registry};
    app::frmMain window(services, machine.Environment());
    ASSERT_TRUE(window.Form_Load());
    const auto shown = ts.messages.Take();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, "Settings not saved");
    EXPECT_EQ(shown[0].text, "Kestro Utilities cannot save its settings:\r" + folder.toStdString() +
                                 ": it is not a regular file (a directory, pipe or device)\r\rChanges made in this "
                                 "session will be lost when the program ends.");
    EXPECT_EQ(shown[1].title, "Kestro Utilities beta version 0.9");
    EXPECT_EQ(store.Read("Recent ROMs number", ""), "4") << "kept for the session";
}

TEST_F(MainWindowTest, EmulatorAndUtilityCommandsFollowTheirFlags) {
    auto window = Start();
    auto states = [&] {
        return test::Enabled(window.get(), {"cmdEmus", "mnuFileEmus", "mnuFileEmusRedDragon", "mnuFileEmusRealityBoy",
                                            "mnuFileEmusVirtualE", "mnuFileEmusMednafen", "cmdUtils", "mnuFileUtils",
                                            "mnuFileUtilsVbDevKit", "mnuFileUtilsVeCCompiler"});
    };
    EXPECT_EQ(states(), "0000000000");
    ts.settings.Write("Red Dragon Enabled", "True");
    ts.settings.Write("VB Dev Kit Enabled", "True");
    window->AfterOptionsClosed();
    EXPECT_EQ(states(), "1110001110");
    ts.settings.Write("Red Dragon Enabled", "False");  // Mednafen alone is an emulator switched on
    ts.settings.Write("Mednafen Enabled", "True");
    window->AfterOptionsClosed();
    EXPECT_EQ(states(), "1100011110");
}

// The precaution and title screens lead to the menu, by click or key. Tab
// passes over hidden pictures and lights the focused one; the pictures open
// their windows, and the power button warns three times.
TEST_F(MainWindowTest, ThemedMenuAnswersTheMouseAndTheKeyboard) {
    ts.settings.Write("VB Main Menu Theme", "True");
    ts.settings.Write("Virtual-E Enabled", "True");
    auto window = Start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Press(window.get(), "imgPrecaution_0");
    EXPECT_EQ(Visible(window.get(), {"imgPrecaution_0", "imgTitle_0"}), "01");
    Key(Qt::Key_Return);
    EXPECT_EQ(Visible(window.get(), {"imgTitle_0", "imgMenu_0", "imgEmus_0", "imgUtils_0"}), "0110");
    EXPECT_EQ(test::ModalOpenedBy([&] { Press(window.get(), "imgEmus_0"); }), QStringLiteral("frmEmus"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* first = FindChild<QLabel>(window.get(), "imgRomInfo_0");
    const QImage unlit = first->pixmap().toImage();
    EXPECT_EQ(FocusWalk(Qt::Key_Tab, 9), QStringLiteral("imgRomInfo_0 imgTileViewer_0 imgVbRomDatabase_0 imgEmus_0 "
                                                        "imgOptions_0 imgAbout_0 imgHelp_0 imgClose_0 imgPower_0"));
    const std::pair<const char*, MessageIcon> presses[] = {
        {"Don't click me", MessageIcon::Information},
        {"Please don't click me", MessageIcon::Exclamation},
        {"DON'T CLICK ME!!!", MessageIcon::Information},
    };
    for (auto [title, icon] : presses) {
        Key(Qt::Key_Space);
        const auto shown = test::TakeOne(ts.messages);
        EXPECT_EQ(shown.title, title);
        EXPECT_EQ(shown.icon, icon);
    }
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focused(), QStringLiteral("imgRomInfo_0")) << "round to the first";
    EXPECT_NE(first->pixmap().toImage(), unlit) << "the focused picture is lit";

    // After the last warning the next click on the screen ends the program.
    Press(window.get(), "imgMenu_0");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, HelpCommandsOpenTheirTopics) {
    auto window = Start();
    for (auto [action, caption, text] :
         {std::tuple{"mnuHelpIdCodes", "ROM Identification Codes", ":   [h] Hacked Dump      [!] Verified Good Dump :"},
          std::tuple{"mnuHelpHelp", "Kestro Utilities Help", "\n\nVB ROM Database: This allow you to identify"}}) {
        auto help = test::WhenHelpShown();
        Press(window.get(), action);
        EXPECT_EQ(help->caption, QString::fromLatin1(caption));
        EXPECT_TRUE(help->text.contains(QString::fromLatin1(text))) << action;
    }
    EXPECT_TRUE(window->tag().isEmpty()) << "the topic key is cleared once read";
}

// Each tool and front-end is reached from its menu command, and each tool from its button too.
TEST_F(MainWindowTest, CommandsOpenTheirWindowsModally) {
    test::TempDir base;  // the database lists its base directory as it opens
    test::TempDir emulators;
    ts.settings.Write("Base Directory", base.Path().string());
    for (auto [emulator, program] : {std::pair{"Reality Boy", "RBOY.EXE"}, std::pair{"Red Dragon", "rdragon.exe"},
                                     std::pair{"Virtual-E", "VIRTUALE.EXE"}}) {
        test::WriteBytes(emulators.File(program), {'M', 'Z'});
        ts.settings.Write(std::string(emulator) + " Enabled", "True");
        ts.settings.Write(std::string(emulator) + " Directory", emulators.Path().string());
    }
    test::WriteExecutable(emulators.File("mednafen"), "#!/bin/sh\n");
    ts.settings.Write("Mednafen Enabled", "True");
    ts.settings.Write("Mednafen Program", emulators.File("mednafen"));
    ts.settings.Write("VB Dev Kit Enabled", "True");
    auto window = Start();
    window->show();
    const std::pair<const char*, const char*> commands[] = {
        {"mnuFileRomInfo", "frmRomInfo"},
        {"cmdRomInfo", "frmRomInfo"},
        {"mnuFileTileViewer", "frmTileViewer"},
        {"cmdTileViewer", "frmTileViewer"},
        {"mnuFileRomDatabase", "frmVbRomDatabase"},
        {"cmdRomDatabase", "frmVbRomDatabase"},
        {"mnuFileEmusRealityBoy", "frmRealityBoy"},
        {"mnuFileEmusRedDragon", "frmRedDragon"},
        {"mnuFileEmusVirtualE", "frmVirtualE"},
        {"mnuFileEmusMednafen", "frmMednafen"},
        {"cmdUtils", "frmUtils"},
        {"mnuFileOptions", "frmOptions"},
        {"mnuHelpAbout", "frmAbout"},
    };
    for (auto [command, form] : commands) {
        EXPECT_EQ(test::ModalOpenedBy([&] { Press(window.get(), command); }), QString::fromLatin1(form)) << command;
    }

    // "kestro-utils FILE.vb": the ROM information window opens on the file as
    // Open does it, a relative name taken from where the program was started.
    test::RomBuilder().Title("FROM THE ARGUMENT").WriteTo(base.File("arg.vb"));
    QStringList seen;
    test::WhenModalShown([&seen](QWidget* dialog) {
        QCoreApplication::processEvents();  // the file opens once the window shows
        seen = {dialog->windowTitle(), FindChild<QLabel>(dialog, "lblFileName")->text()};
        dialog->close();
    });
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(base.Path().string()));
    window->OpenRomInfo(QStringLiteral("arg.vb"));
    QDir::setCurrent(previous);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("ROM Information - [FROM THE ARGUMENT]"),
                                 QString::fromStdString(base.File("arg.vb"))}));
}

TEST_F(MainWindowTest, OptionsFromButtonAndPicturesReapplyTheLook) {
    test::TempDir roms;
    test::WriteBytes(roms.File("mario.vb"), {0});
    ts.settings.Write("Base Directory", roms.Path().string());
    auto window = Start();
    window->show();
    window->menuBar()->setObjectName(QStringLiteral("menuBar"));
    // Opens the options window from a control, sets the look there and
    // applies it; the window's controls shown afterwards.
    const auto apply = [&](const char* from, bool themed, const char* colours) {
        test::WhenModalShown([=](QWidget* options) {
            FindChild<QCheckBox>(options, "chkIntro")->setChecked(themed);
            if (colours) FindChild<QRadioButton>(options, colours)->setChecked(true);
            Press(options, "cmdApply");
        });
        Press(window.get(), from);
        return Visible(window.get(), {"menuBar", "cmdRomInfo", "imgPrecaution_0", "imgPrecaution_1", "imgMenu_0"});
    };
    EXPECT_EQ(apply("cmdOptions", true, "optThemeCol_1"), "00010") << "themed at once, the second colour set";
    Press(window.get(), "imgPrecaution_1");
    Press(window.get(), "imgTitle_1");
    EXPECT_EQ(apply("imgOptions_1", true, "optThemeCol_0"), "00001") << "the screen the user was on is kept";
    EXPECT_EQ(apply("imgOptions_0", false, nullptr), "11000");
}

// The chooser leads to the chosen front-end, and Virtual-E then runs in its
// own directory; from its menu item, in ours. A utility's menu item starts
// the tool in its directory.
TEST_F(MainWindowTest, ChoosersAndMenuItemsStartProgramsWhereTheyBelong) {
    test::TempDir virte;
    test::WriteBytes(virte.File("VirtualE.exe"), {'M', 'Z'});
    test::WriteBytes(virte.File("VBDK03.EXE"), {'M', 'Z'});
    ts.settings.Write("Virtual-E Enabled", "True");
    ts.settings.Write("Virtual-E Directory", virte.Path().string());
    ts.settings.Write("VB Dev Kit Enabled", "True");
    ts.settings.Write("VB Dev Kit Directory", virte.Path().string());
    app::frmMain main(launching, machine.Environment());
    ASSERT_TRUE(main.Form_Load());
    const auto runVirtualE = [](QWidget* frontEnd) {
        Press(frontEnd, "cmdRunVirtualE");
        frontEnd->close();
    };
    test::WhenModalShown([&](QWidget* chooser) {
        Press(chooser, "imgVirte");
        test::WhenModalShown(runVirtualE);
    });
    Press(&main, "cmdEmus");
    test::WhenModalShown(runVirtualE);
    Press(&main, "mnuFileEmusVirtualE");
    Press(&main, "mnuFileUtilsVbDevKit");
    ASSERT_EQ(launcher.requests.size(), 3u);
    EXPECT_EQ(launcher.requests[0].workingDirectory, virte.Path().string());
    EXPECT_EQ(launcher.requests[1].workingDirectory, "");
    EXPECT_EQ(launcher.requests[2].program, virte.File("VBDK03.EXE"));
    EXPECT_EQ(launcher.requests[2].workingDirectory, virte.Path().string());
}

TEST(Keyboard, ChooserEntriesAreReachedByArrowsAndChosenByEnterOrSpace) {
    test::TempDir rboy, rdrag;
    test::TestServices ts;
    for (auto [program, dir] : {std::pair{0, &rboy}, std::pair{2, &rdrag}}) {
        ts.settings.Write(std::string(base::keys::Programs[program].enabled.key), "True");
        ts.settings.Write(std::string(base::keys::Programs[program].directory.key), dir->Path().string());
    }
    emus::frmEmus chooser(ts.services);
    chooser.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
    // Virtual-E is switched off: the arrows pass over it, round the row.
    EXPECT_EQ(FocusWalk(Qt::Key_Right, 3), QStringLiteral("fraRdrag fraRboy fraRdrag"));
    Key(Qt::Key_Left);
    Key(Qt::Key_Space);
    EXPECT_EQ(ts.messages.Take().size(), 1u) << "Reality Boy's program is missing";
    test::WriteBytes(rboy.File("VB_98.exe"), {'M', 'Z'});
    Key(Qt::Key_Enter);
    EXPECT_EQ(chooser.Chosen(), base::Program::RealityBoy);
}

// Esc closes a window as its Back or Cancel command does; edits not yet saved
// go only after the window's own question.
TEST(Keyboard, EscAsksBeforeDroppingEdits) {
    test::TestServices ts;
    test::TempDir dir;
    const std::string rom = dir.File("esc.vb");
    test::RomBuilder().Title("ESC TEST").Size(65536).WriteTo(rom);
    rominfo::frmRomInfo info(ts.services);
    info.OpenRom(platform::Q(rom));
    info.show();
    FindChild<QLineEdit>(&info, "txtRomId")->setText(QStringLiteral("VXYZ"));
    for (auto [answer, open] : {std::pair{MessageResult::No, true}, std::pair{MessageResult::Yes, false}}) {
        ts.messages.Answer(answer);
        QTest::keyClick(&info, Qt::Key_Escape);
        EXPECT_EQ(test::TakeOne(ts.messages).title, "Close ROM?");
        EXPECT_EQ(info.isVisible(), open);
    }
}
