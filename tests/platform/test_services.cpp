// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "app/AppSettings.h"
#include "base/IniSettings.h"
#include "platform/QtServices.h"
#include "platform/Text.h"
#include "support/core/RomBuilder.h"
#include "support/core/SpecialFiles.h"
#include "support/core/TempDir.h"

using namespace kestro;
using namespace kestro::platform;

TEST(QtServices, FiltersMatchWithoutCaseAndTitlesComeBackByteForByte) {
    EXPECT_EQ(ToQtFilter(QStringLiteral("Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*")),
              QStringLiteral("Virtual Boy ROM Image (*.vb *.VB);;All Files (*)"));
    EXPECT_EQ(DisplayText(QStringLiteral("a\rb\r\nc\nd")), QStringLiteral("a\nb\nc\nd"));

    // Titles show katakana and come back byte for byte.
    const std::string bytes = "V\xA5TETRIS \xB1\xDF";
    const QString shown = TitleToDisplay(bytes);
    EXPECT_EQ(shown.at(1).unicode(), 0xFF65);
    EXPECT_EQ(shown.at(9).unicode(), 0xFF71);
    EXPECT_EQ(DisplayToTitle(shown), bytes);
    EXPECT_EQ(DisplayToTitle(QStringLiteral("\u3042")), "?") << "a character no title byte shows";
}

// `kestro play` reads the settings the windows wrote through QSettings,
// whatever characters a path holds.
TEST(QtServices, SettingsWrittenByQtReadTheSameWithoutQt) {
    test::TempDir dir;
    const QString file = QString::fromStdString(dir.File("Kestro Utils.ini"));
    const std::vector<std::pair<std::string, std::string>> values{
        {"Red Dragon Directory", "  /leading and trailing blanks  "},
        {"Recent ROM #1", "/roms/it's \"quoted\" \\ back; semi = equals #hash"},
        {"Recent ROM #2", "@/starts with an at sign"},
        {"Recent ROM #3", "/roms/caf\xC3\xA9 \xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0.vb"},
        {"Recent ROM #4", "/tab\there\nnewline\x01control1"},
        {"Recent ROM #5", ""},
    };
    {
        QtSettingsStore store(file);
        for (const auto& [key, value] : values) store.Write(key, value);
    }
    const auto read = base::IniSettingsStore::Load(dir.File("Kestro Utils.ini"));
    for (const auto& [key, value] : values) {
        EXPECT_EQ(read.Find(key), value) << key;
    }
}

// The settings file as the user may leave it: a FIFO must not block start-up,
// a file that cannot be written is said, and a hand-edited value with a comma
// reads as the text it is.
TEST(QtServices, SettingsStoreSurvivesSpecialFilesAndCommas) {
    test::TempDir dir;
    const QString fifo = QString::fromStdString(dir.File("fifo.ini"));
    ASSERT_TRUE(test::MakeFifo(fifo.toStdString()));
    std::unique_ptr<QtSettingsStore> piped;
    EXPECT_TRUE(test::ReturnsPromptly([&] { piped = std::make_unique<QtSettingsStore>(fifo); }, fifo.toStdString()));
    ASSERT_TRUE(piped);
    EXPECT_NE(piped->Problem().find("it is not a regular file"), std::string::npos);
    piped->Write("Move ROMs", "1");
    EXPECT_EQ(piped->Find("Move ROMs"), "1");
    EXPECT_TRUE(QFileInfo(fifo).isFile() == false);

    // A folder that cannot hold the file (its parent is a file): true even for root.
    test::WriteBytes(dir.File("plain"), {1});
    QtSettingsStore unwritable(QString::fromStdString(dir.File("plain/Kestro Utils.ini")));
    EXPECT_TRUE(unwritable.Problem().empty());
    unwritable.Write("Move ROMs", "1");
    EXPECT_NE(unwritable.Problem().find("cannot be written"), std::string::npos) << unwritable.Problem();

    const QString ini = QString::fromStdString(dir.File("Kestro Utils.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nBase%20Directory=/home/me/VB, roms\nRecent%20ROM%20%231=/a,b ,  c.vb\n");
    file.close();
    QtSettingsStore store(ini);
    EXPECT_EQ(store.Find("Base Directory"), "/home/me/VB, roms");
    EXPECT_EQ(store.Find("Recent ROM #1"), "/a,b ,  c.vb");
    EXPECT_TRUE(store.Problem().empty());
}

namespace {
ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}
}  // namespace

// Saving every key rewrites the file once, and not at all when nothing changed;
// a single write outside a batch still reaches the file at once.
TEST(SettingsWrites, AllKeysGoToTheFileInOneWriteAndOnlyWhenChanged) {
    test::TempDir dir;
    const std::string ini = dir.File("Kestro Utils.ini");
    app::AppSettings settings = app::DefaultSettings();
    {
        QtSettingsStore first(QString::fromStdString(ini));
        settings.SaveRegistry(first);
        EXPECT_EQ(first.Syncs(), 1);
    }
    EXPECT_EQ(base::IniSettingsStore::Load(ini).Find("Create Change Log"), "0");

    const ino_t written = Inode(ini);
    QtSettingsStore again(QString::fromStdString(ini));
    settings.GetRegistry(again);
    settings.SaveRegistry(again);
    EXPECT_EQ(again.Syncs(), 0);
    EXPECT_EQ(Inode(ini), written) << "the file was not replaced";

    settings.moveRoms = 1;
    settings.SaveRegistry(again);
    again.Write("Base Directory", "/roms");
    EXPECT_EQ(again.Syncs(), 2);
    const auto read = base::IniSettingsStore::Load(ini);
    EXPECT_EQ(read.Find("Move ROMs"), "1");
    EXPECT_EQ(read.Find("Base Directory"), "/roms");
    EXPECT_TRUE(again.Problem().empty());
}
