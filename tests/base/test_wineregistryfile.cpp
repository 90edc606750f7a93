// SPDX-License-Identifier: GPL-3.0-or-later
// Edges of one registry file's text: damaged hex data, and the file's last key.
#include <gtest/gtest.h>

#include "base/WineRegistryFile.h"

using namespace kestro::base;

namespace {

const std::string kTwoKeys =
    "WINE REGISTRY Version 2\n\n[A] 1796539211\n#time=1dd854ca497f536\n\"V\"=hex:01,02\n"
    "\"Odd\"=hex:01,0\n\"BadHigh\"=hex:01,g2\n\"BadLow\"=hex:01,2g\n\n[B\\\\C] 1796539211\n\"X\"=\"y\"\n";

}  // namespace

TEST(WineRegistryFileText, DamagedHexIsNoValueAndTheLastKeyGoesWithItsBlankLine) {
    WineRegistryFile file(kTwoKeys);
    ASSERT_TRUE(file.Find("A", "V"));
    EXPECT_EQ(file.Find("A", "V")->bytes, (std::vector<std::uint8_t>{1, 2}));
    for (const char* name : {"Odd", "BadHigh", "BadLow"}) EXPECT_FALSE(file.Find("A", name)) << name;

    ASSERT_TRUE(file.DeleteKey("B\\C", 0x1dd900000000000ull));
    // Its parent stays, as it would in the registry, written in place of it.
    EXPECT_EQ(file.Text(), kTwoKeys.substr(0, kTwoKeys.find("[B\\\\C]")) + "[B] 1797715756\n#time=1dd900000000000\n");
}
