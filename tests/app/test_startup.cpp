// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/Startup.h"
#include "help/HelpTopics.h"

using namespace kestro::app;
using namespace kestro::base;
using namespace kestro::help;

// The window tests start from a registry that names both directories; here
// the boundaries they do not reach: no value at all, and a root directory.
TEST(Startup, LocationsEndInOneSeparatorOrAreEmpty) {
    MemoryRegistryBackend registry;
    registry.SetText(HKEY_USERS_, kFontsDirKey, kFontsDirValue, "/usr/share/fonts/ipa/");
    StartupLocations where = ReadStartupLocations(registry, "/");
    EXPECT_EQ(where.windowsDirectory, "");
    EXPECT_EQ(where.fontsDirectory, "/usr/share/fonts/ipa/");
    EXPECT_EQ(where.programDirectory, "/") << "a root is not doubled";
}

TEST(HelpTopics, KeysMatchExactly) {
    ASSERT_TRUE(FindHelpTopic("ROM DB Dupes"));
    EXPECT_EQ(FindHelpTopic("ROM DB Dupes")->caption, "Duplicate Virtual Boy ROMs");
    EXPECT_FALSE(FindHelpTopic("rom info"));
    EXPECT_FALSE(FindHelpTopic(""));
}
