// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/Paths.h"
#include "support/core/TempDir.h"

using namespace kestro::base;

// Program and ROM names are configured as users remember them, not as the
// file system spells them.
TEST(Paths, FilesAreFoundWithoutRegardToCase) {
    kestro::test::TempDir dir;
    std::ofstream(dir.File("RBOY.EXE")) << "MZ";
    std::ofstream(dir.File("game.Vb")) << "x";
    std::filesystem::create_directory(dir.File("vb_98.exe"));  // a directory is no program

    EXPECT_EQ(FindFileNoCase(dir.Path().string(), "Rboy.exe"), dir.File("RBOY.EXE"));
    EXPECT_EQ(FindFileNoCase(dir.Path().string(), "rboy.EXE"), dir.File("RBOY.EXE"));
    EXPECT_FALSE(FindFileNoCase(dir.Path().string(), "VB_98.exe"));
    EXPECT_FALSE(FindFileNoCase(dir.Path().string(), "RBOY"));
    EXPECT_FALSE(FindFileNoCase(dir.File("gone"), "RBOY.EXE"));

    EXPECT_TRUE(HasFileWithExtensionNoCase(dir.Path().string(), ".VB"));
    EXPECT_FALSE(HasFileWithExtensionNoCase(dir.Path().string(), ".pvb"));
    EXPECT_FALSE(HasFileWithExtensionNoCase(dir.File("gone"), ".vb"));

    EXPECT_EQ(WithFilterExtension(dir.File("pic"), "Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*"), dir.File("pic.bmp"));
    EXPECT_EQ(WithFilterExtension(dir.File("pic"), "Any picture|pic*|All Files (*.*)|*.*"), dir.File("pic"))
        << "a first type that is no extension adds none";

    EXPECT_EQ(JoinPath("/", "RBOY.EXE"), "/RBOY.EXE") << "a root is not doubled";
    EXPECT_EQ(JoinPath("/emu", "RBOY.EXE"), "/emu/RBOY.EXE");
}
