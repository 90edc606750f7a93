// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>

#include "base/Paths.h"
#include "support/core/TempDir.h"

using namespace kestro::base;

// Names are configured as users remember them, not as the file system spells
// them (programs' names are checked where programs are resolved).
TEST(Paths, ExtensionsAreFoundWithoutRegardToCaseAndAddedFromAFilter) {
    kestro::test::TempDir dir;
    std::ofstream(dir.File("game.Vb")) << "x";
    EXPECT_TRUE(HasFileWithExtensionNoCase(dir.Path().string(), ".VB"));
    EXPECT_FALSE(HasFileWithExtensionNoCase(dir.Path().string(), ".pvb"));
    EXPECT_FALSE(HasFileWithExtensionNoCase(dir.File("gone"), ".vb"));

    EXPECT_EQ(WithFilterExtension(dir.File("pic"), "Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*"), dir.File("pic.bmp"));
    EXPECT_EQ(WithFilterExtension(dir.File("pic"), "Any picture|pic*|All Files (*.*)|*.*"), dir.File("pic"))
        << "a first type that is no extension adds none";
    EXPECT_EQ(JoinPath("/", "RBOY.EXE"), "/RBOY.EXE") << "a root is not doubled";
    EXPECT_EQ(JoinPath("/emu", "RBOY.EXE"), "/emu/RBOY.EXE");
}
