#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "base/IniSettings.h"
#include "platform/QtServices.h"
#include "platform/Text.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

using namespace kestro::platform;

TEST(QtServices, FiltersMatchExtensionsWithoutCase) {
    EXPECT_EQ(ToQtFilter(QStringLiteral("Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*")),
              QStringLiteral("Virtual Boy ROM Image (*.vb *.VB);;All Files (*)"));
    EXPECT_EQ(ToQtFilter(QStringLiteral("Palette (*.pvb)|*.pvb")), QStringLiteral("Palette (*.pvb *.PVB)"));
    EXPECT_EQ(DisplayText(QStringLiteral("a\rb\r\nc\nd")), QStringLiteral("a\nb\nc\nd"));
}

TEST(QtServices, TitlesShowKatakanaAndComeBackByteForByte) {
    const std::string bytes = "V\xA5TETRIS \xB1\xDF";
    const QString shown = TitleToDisplay(bytes);
    EXPECT_EQ(shown.at(1).unicode(), 0xFF65);
    EXPECT_EQ(shown.at(9).unicode(), 0xFF71);
    EXPECT_EQ(DisplayToTitle(shown), bytes);
    EXPECT_EQ(DisplayToTitle(QStringLiteral("\u3042")), "?") << "a character no title byte shows";
}

TEST(QtServices, LauncherExplainsWhatIsMissing) {
    kestro::test::TempDir dir;
    QtProcessLauncher launcher;
    auto missing = launcher.Start({dir.File("RBOY"), {"game.vb"}, dir.Path().string()});
    EXPECT_FALSE(missing.started);
    EXPECT_NE(missing.error.find("Cannot find the program"), std::string::npos);

    // A program named without extension is found as NAME.EXE; a Windows
    // program needs Wine, which the test hides from the PATH.
    kestro::test::WriteWindowsStandIn(dir.File("RBOY.EXE"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray("/nonexistent"));
    auto noWine = launcher.Start({dir.File("RBOY"), {"game.vb"}, dir.Path().string()});
    qputenv("PATH", path);
    EXPECT_FALSE(noWine.started);
    EXPECT_NE(noWine.error.find("RBOY.EXE is a Windows program"), std::string::npos) << noWine.error;
    EXPECT_NE(noWine.error.find("\"wine\""), std::string::npos);
}

// `kestro play` reads the settings the windows wrote through QSettings,
// whatever characters a path holds.
TEST(QtServices, SettingsWrittenByQtReadTheSameWithoutQt) {
    kestro::test::TempDir dir;
    const QString file = QString::fromStdString(dir.File("Kestro Utils.ini"));
    const std::vector<std::pair<std::string, std::string>> values{
        {"Reality Boy Directory", "/home/me/my emus, old/rboy"},
        {"Red Dragon Directory", "  /leading and trailing blanks  "},
        {"Recent ROM #1", "/roms/it's \"quoted\" \\ back; semi = equals #hash"},
        {"Recent ROM #2", "@/starts with an at sign"},
        {"Recent ROM #3", "/roms/caf\xC3\xA9 \xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0.vb"},
        {"Recent ROM #4", "/tab\there\nnewline\x01control1"},
        {"Recent ROM #5", ""},
        {"Base Directory", "C:\\"},
        {"Recent ROMs number", "4"},
    };
    {
        QtSettingsStore store(file);
        for (const auto& [key, value] : values) store.Write(key, value);
    }
    const auto read = kestro::base::IniSettingsStore::Load(dir.File("Kestro Utils.ini"));
    for (const auto& [key, value] : values) {
        EXPECT_EQ(read.Find(key), value) << key;
    }
}
