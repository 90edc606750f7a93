// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/AppSettings.h"
#include "base/IniSettings.h"
#include "platform/QtServices.h"
#include "support/core/TempDir.h"

namespace {
ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}
}  // namespace

// Saving every key rewrites the file once, and not at all when nothing changed;
// a single write outside a batch still reaches the file at once.
TEST(SettingsWrites, AllKeysGoToTheFileInOneWriteAndOnlyWhenChanged) {
    kestro::test::TempDir dir;
    const std::string ini = dir.File("Kestro Utils.ini");
    kestro::app::AppSettings settings = kestro::app::DefaultSettings();
    {
        kestro::platform::QtSettingsStore first(QString::fromStdString(ini));
        settings.SaveRegistry(first);
        EXPECT_EQ(first.Syncs(), 1);
    }
    EXPECT_EQ(kestro::base::IniSettingsStore::Load(ini).Find("Create Change Log"), "0");

    const ino_t written = Inode(ini);
    kestro::platform::QtSettingsStore again(QString::fromStdString(ini));
    settings.GetRegistry(again);
    settings.SaveRegistry(again);
    EXPECT_EQ(again.Syncs(), 0);
    EXPECT_EQ(Inode(ini), written) << "the file was not replaced";

    settings.moveRoms = 1;
    settings.SaveRegistry(again);
    again.Write("Base Directory", "/roms");
    EXPECT_EQ(again.Syncs(), 2);
    const auto read = kestro::base::IniSettingsStore::Load(ini);
    EXPECT_EQ(read.Find("Move ROMs"), "1");
    EXPECT_EQ(read.Find("Base Directory"), "/roms");
    EXPECT_TRUE(again.Problem().empty());
}
