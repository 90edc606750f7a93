// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <set>

#include "app/frmMain.h"
#include "base/SettingsKeys.h"
#include "platform/QtServices.h"
#include "support/core/FakePrograms.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"
#include "support/gui/WindowChecks.h"

using namespace kestro;
using base::MessageIcon;
using test::Enabled;
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

void Click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
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
    // The same services with another settings store.
    platform::Services& With(base::SettingsStore& store) {
        return *m_services.emplace_back(std::make_unique<platform::Services>(
            platform::Services{ts.messages, ts.files, store, ts.processes, ts.clock, ts.registry}));
    }
    template <typename T = QWidget>
    static T* Find(QObject* w, const char* name) {
        return test::FindChild<T>(w, name);
    }
    static QAction* Action(QWidget* w, const char* name) { return Find<QAction>(w, name); }
    static void Press(QWidget* w, const char* name) { Click(Find(w, name)); }
    // Each look opens in the middle of the screen.
    static void ExpectCentred(QWidget* w) {
        EXPECT_EQ(w->pos() + w->rect().center(), w->screen()->availableGeometry().center()) << w->width();
    }

    test::TestServices ts;
    Machine machine;
    std::vector<std::unique_ptr<platform::Services>> m_services;
};

QString IniValue(const QString& ini, const char* key) {
    return QSettings(ini, QSettings::IniFormat)
        .value(QStringLiteral("Settings/") + QString::fromLatin1(key))
        .toString();
}

// Runs fn on the options window once it shows (it closes through its own buttons).
void WhenOptionsShown(std::function<void(QWidget*)> fn) {
    test::WhenModalShown([fn](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("frmOptions"));
        fn(dialog);
        if (dialog->isVisible()) dialog->close();
    });
}

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
    const QString ini = QString::fromStdString(dir.File("Kestro Utils.ini"));
    platform::QtSettingsStore store(ini);
    machine.files.insert("/usr/lib/libKestro.so");
    auto first = StartWith(With(store));
    EXPECT_EQ(machine.loaded, std::vector<std::string>{"/opt/kestro/libKestro.so"}) << "beside the program first";
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Kestro Utilities"));
    QSettings reader(ini, QSettings::IniFormat);
    EXPECT_EQ(reader.allKeys().size(), 46) << "every key but the seven Reality Boy front-end keys";
    EXPECT_EQ(IniValue(ini, "Version Number"), QStringLiteral("1.0"));
    EXPECT_EQ(IniValue(ini, "Recent ROMs number"), QStringLiteral("4"));

    store.Write("Version Number", "2.5");
    machine.files = {"/usr/lib/libKestro.so", "/usr/share/fonts/ipa/ipag.ttf"};
    machine.loaded.clear();
    auto second = StartWith(With(store));
    EXPECT_EQ(machine.loaded, std::vector<std::string>{"/usr/lib/libKestro.so"});
    EXPECT_EQ(IniValue(ini, "Version Number"), QStringLiteral("2.5"));
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
    app::frmMain window(With(store), machine.Environment());
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
        return Enabled(window.get(), {"cmdEmus", "mnuFileEmus", "mnuFileEmusRedDragon", "mnuFileEmusRealityBoy",
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
    EXPECT_EQ(Action(window.get(), "mnuFileEmusMednafen")->text(), QStringLiteral("&Mednafen Frontend..."));
}

TEST_F(MainWindowTest, ThemedScreensLeadToTheMenuWhosePowerButtonWarnsThreeTimes) {
    ts.settings.Write("VB Main Menu Theme", "True");
    ts.settings.Write("Virtual-E Enabled", "True");
    auto window = Start();
    window->show();
    ASSERT_EQ(window->size(), QSize(390, 249));
    for (const char* picture : {"imgPrecaution_0", "imgTitle_1", "imgMenu_0", "imgPower_1", "imgLowBat_0"}) {
        EXPECT_FALSE(Find<QLabel>(window.get(), picture)->pixmap().isNull()) << picture << " has its picture";
    }
    ExpectCentred(window.get());
    Press(window.get(), "imgPrecaution_0");
    EXPECT_EQ(Visible(window.get(), {"imgPrecaution_0", "imgTitle_0"}), "01");
    Press(window.get(), "imgTitle_0");
    EXPECT_EQ(Visible(window.get(), {"imgMenu_0", "imgEmus_0", "imgUtils_0"}), "110") << "no utility is enabled";

    QWidget* power = Find(window.get(), "imgPower_0");
    EXPECT_EQ(power->toolTip(), QStringLiteral("Don't Click Me..."));
    const std::tuple<const char*, MessageIcon, const char*> clicks[] = {
        {"Don't click me", MessageIcon::Information, "Please Don't Click Me..."},
        {"Please don't click me", MessageIcon::Exclamation, "DON'T CLICK ME!!!..."},
        {"DON'T CLICK ME!!!", MessageIcon::Information, "TOO LATE!!!"},
    };
    for (auto [title, icon, tooltip] : clicks) {
        Click(power);
        const auto shown = test::TakeOne(ts.messages);
        EXPECT_EQ(shown.title, title);
        EXPECT_EQ(shown.icon, icon);
        EXPECT_EQ(power->toolTip(), QString::fromLatin1(tooltip));
        EXPECT_TRUE(window->isVisible());
    }

    // The low-battery lamp blinks, and the next click on the screen ends the program.
    QWidget* lamp = Find(window.get(), "imgLowBat_0");
    const bool before = lamp->isVisible();
    QTest::qWait(600);
    EXPECT_NE(lamp->isVisible(), before);
    Press(window.get(), "imgMenu_0");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, HelpCommandsOpenTheirTopics) {
    auto window = Start();
    for (auto [action, caption, text] :
         {std::tuple{"mnuHelpIdCodes", "ROM Identification Codes", ":   [h] Hacked Dump      [!] Verified Good Dump :"},
          std::tuple{"mnuHelpHelp", "Kestro Utilities Help", "\n\nVB ROM Database: This allow you to identify"}}) {
        auto help = test::WhenHelpShown();
        Action(window.get(), action)->trigger();
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
    auto window = Start();
    window->show();
    const std::tuple<const char*, const char*, const char*> commands[] = {
        {"mnuFileRomInfo", "cmdRomInfo", "frmRomInfo"},
        {"mnuFileTileViewer", "cmdTileViewer", "frmTileViewer"},
        {"mnuFileRomDatabase", "cmdRomDatabase", "frmVbRomDatabase"},
        {"mnuFileEmusRealityBoy", nullptr, "frmRealityBoy"},
        {"mnuFileEmusRedDragon", nullptr, "frmRedDragon"},
        {"mnuFileEmusVirtualE", nullptr, "frmVirtualE"},
        {"mnuFileEmusMednafen", nullptr, "frmMednafen"},
        {"mnuHelpAbout", nullptr, "frmAbout"},
    };
    for (auto [action, button, form] : commands) {
        EXPECT_EQ(test::ModalOpenedBy([&] { Action(window.get(), action)->trigger(); }), QString::fromLatin1(form))
            << action;
        if (button == nullptr) continue;
        EXPECT_EQ(test::ModalOpenedBy([&] { QTest::mouseClick(Find(window.get(), button), Qt::LeftButton); }),
                  QString::fromLatin1(form))
            << button;
    }
}

TEST_F(MainWindowTest, OptionsFromButtonPictureAndMenuReapplyTheLook) {
    test::TempDir roms;
    test::WriteBytes(roms.File("mario.vb"), {0});
    ts.settings.Write("Base Directory", roms.Path().string());
    auto window = Start();
    window->show();
    auto apply = [](bool themed, const char* colours) {
        WhenOptionsShown([=](QWidget* options) {
            Find<QCheckBox>(options, "chkIntro")->setChecked(themed);
            if (colours) Find<QRadioButton>(options, colours)->setChecked(true);
            Press(options, "cmdApply");
        });
    };
    const auto controls = {"menuBar", "cmdRomInfo", "imgPrecaution_0", "imgPrecaution_1", "imgMenu_0"};
    window->menuBar()->setObjectName(QStringLiteral("menuBar"));

    apply(true, "optThemeCol_1");
    QTest::mouseClick(Find(window.get(), "cmdOptions"), Qt::LeftButton);
    EXPECT_EQ(window->size(), QSize(390, 249)) << "themed at once";
    EXPECT_EQ(Visible(window.get(), controls), "00010") << "the second colour set";
    Press(window.get(), "imgPrecaution_1");
    Press(window.get(), "imgTitle_1");

    apply(true, "optThemeCol_0");  // another colour set keeps the screen the user was on
    Press(window.get(), "imgOptions_1");
    EXPECT_EQ(Visible(window.get(), controls), "00001");

    apply(false, nullptr);
    Press(window.get(), "imgOptions_0");
    EXPECT_EQ(window->width(), 254);
    ExpectCentred(window.get());
    EXPECT_EQ(Visible(window.get(), controls), "11000");

    // Cancel leaves the settings as they were.
    const auto before = ts.settings.Values();
    WhenOptionsShown([](QWidget* options) { Press(options, "cmdCancel"); });
    Action(window.get(), "mnuFileOptions")->trigger();
    EXPECT_EQ(ts.settings.Values(), before);
    EXPECT_EQ(ts.settings.Read("VB Theme Colours", ""), "False");
}

// The chooser leads to the chosen front-end, and Virtual-E then runs in its
// own directory; from its menu item, in ours.
TEST_F(MainWindowTest, TheEmulatorChooserLeadsToTheChosenFrontEnd) {
    test::TempDir virte;
    test::WriteBytes(virte.File("VirtualE.exe"), {'M', 'Z'});
    ts.settings.Write("Virtual-E Enabled", "True");
    ts.settings.Write("Virtual-E Directory", virte.Path().string());
    test::RecordingLauncher launcher;
    platform::Services services{ts.messages, ts.files, ts.settings, launcher, ts.clock, ts.registry};
    app::frmMain main(services, machine.Environment());
    ASSERT_TRUE(main.Form_Load());
    const auto runVirtualE = [](QWidget* frontEnd) {
        Press(frontEnd, "cmdRunVirtualE");
        frontEnd->close();
    };
    test::WhenModalShown([&](QWidget* chooser) {
        Press(chooser, "imgVirte");
        test::WhenModalShown(runVirtualE);
    });
    QTest::mouseClick(Find<QPushButton>(&main, "cmdEmus"), Qt::LeftButton);
    test::WhenModalShown(runVirtualE);
    Action(&main, "mnuFileEmusVirtualE")->trigger();
    ASSERT_EQ(launcher.requests.size(), 2u);
    EXPECT_EQ(launcher.requests[0].workingDirectory, virte.Path().string());
    EXPECT_EQ(launcher.requests[1].workingDirectory, "");

    // Mednafen, with no directory of its own, opens its front-end as it is.
    test::WriteExecutable(virte.File("mednafen"), "#!/bin/sh\n");
    ts.settings.Write("Mednafen Enabled", "True");
    ts.settings.Write("Mednafen Program", virte.File("mednafen"));
    QString opened;
    test::WhenModalShown([&](QWidget* chooser) {
        Press(chooser, "imgMednafen");
        test::WhenModalShown([&](QWidget* frontEnd) {
            opened = frontEnd->objectName();
            frontEnd->close();
        });
    });
    QTest::mouseClick(Find<QPushButton>(&main, "cmdEmus"), Qt::LeftButton);
    EXPECT_EQ(opened, QStringLiteral("frmMednafen"));
}

TEST_F(MainWindowTest, UtilityCommandsStartTheToolOrOpenTheChooser) {
    test::TempDir kit;
    test::WriteBytes(kit.File("VBDK03.EXE"), {'M', 'Z'});
    test::WriteBytes(kit.File("Vbdk.exe"), {'M', 'Z'});
    ts.settings.Write("VB Dev Kit Enabled", "True");
    ts.settings.Write("VB Dev Kit Directory", kit.Path().string());
    ts.settings.Write("V-Environment Enabled", "True");
    test::RecordingLauncher launcher;
    platform::Services services{ts.messages, ts.files, ts.settings, launcher, ts.clock, ts.registry};
    auto window = StartWith(services);

    Action(window.get(), "mnuFileUtilsVbDevKit")->trigger();
    ASSERT_EQ(launcher.requests.size(), 1u);
    EXPECT_EQ(launcher.requests[0].program, kit.File("VBDK03.EXE"));
    EXPECT_EQ(launcher.requests[0].workingDirectory, kit.Path().string());

    Action(window.get(), "mnuFileUtilsVEnvironment")->trigger();
    EXPECT_EQ(test::TakeOne(ts.messages).title, "Utility not found");
    EXPECT_EQ(launcher.requests.size(), 1u);
    EXPECT_EQ(test::ModalOpenedBy([&] { QTest::mouseClick(Find(window.get(), "cmdUtils"), Qt::LeftButton); }),
              QStringLiteral("frmUtils"));

    // The themed menu's pictures open the same choosers.
    ts.settings.Write("VB Main Menu Theme", "True");
    ts.settings.Write("Red Dragon Enabled", "True");
    window->AfterOptionsClosed();
    window->show();
    Press(window.get(), "imgPrecaution_0");
    Press(window.get(), "imgTitle_0");
    for (auto [picture, chooser] : {std::pair{"imgUtils_0", "frmUtils"}, std::pair{"imgEmus_0", "frmEmus"}}) {
        EXPECT_EQ(test::ModalOpenedBy([&] { Press(window.get(), picture); }), QString::fromLatin1(chooser)) << picture;
    }
}

// "kestro-utils FILE.vb": the ROM information window opens on the file as Open
// does it, a relative name taken from where the program was started, and a
// refused file gets its message and an empty window.
TEST_F(MainWindowTest, FileArgumentOpensTheRomInformationWindow) {
    auto window = Start();
    window->show();
    auto openWith = [&window](const QString& path) {
        auto seen = std::make_shared<QStringList>();
        test::WhenModalShown([seen](QWidget* dialog) {
            // The file opens once the window shows: let that happen first.
            QCoreApplication::processEvents();
            *seen = {dialog->windowTitle(), Find<QLabel>(dialog, "lblFileName")->text()};
            dialog->close();
        });
        window->OpenRomInfo(path);
        return *seen;
    };
    test::TempDir dir;
    test::RomBuilder::KnownDump("Mario Clash (JU) [!]").WriteTo(dir.File("mario clash.vb"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.Path().string()));
    const QStringList seen = openWith(QStringLiteral("mario clash.vb"));
    QDir::setCurrent(previous);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("ROM Information - [MARIO CLASH]"),
                                 QString::fromStdString(dir.File("mario clash.vb"))}));
    EXPECT_EQ(ts.settings.Find("Recent ROM #1"), dir.File("mario clash.vb"));
    EXPECT_TRUE(ts.messages.Take().empty());

    EXPECT_EQ(openWith(QString::fromStdString(dir.File("gone.vb"))).value(0),
              QStringLiteral("ROM Information - [No ROM Loaded]"));
    const auto missing = test::TakeOne(ts.messages);
    EXPECT_EQ(missing.title + "|" + missing.text, "Invalid filename|File does not exist.\r" + dir.File("gone.vb"));
}
