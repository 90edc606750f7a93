// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "kestro/VbChecksum.h"
#include "rom/Checksum.h"

namespace kestro::rom {
namespace {

std::uint32_t PlainSum(const std::vector<std::uint8_t>& data) {
    std::uint32_t sum = 0;
    for (auto b : data) sum += b;
    return sum;
}

// The vectorised sum works in rows and blocks; every length around their
// edges, and bytes of 255 that would overflow a lane kept too long.
TEST(Checksum, ByteSumMatchesAPlainSumAtEveryEdge) {
    std::mt19937 random(3);
    for (std::size_t size : {0u, 1u, 31u, 32u, 33u, 8191u, 8192u, 8193u, 8192u * 3 + 17, 1048576u}) {
        std::vector<std::uint8_t> full(size, 0xFF);
        EXPECT_EQ(checksum::ByteSum(full.data(), size), PlainSum(full)) << size;
        std::vector<std::uint8_t> noise(size);
        for (auto& b : noise) b = static_cast<std::uint8_t>(random());
        EXPECT_EQ(checksum::ByteSum(noise.data(), size), PlainSum(noise)) << size;
    }
    // Past 16 MiB of 0xFF the sum wraps modulo 2^32.
    std::vector<std::uint8_t> huge(17u << 20, 0xFF);
    EXPECT_EQ(checksum::ByteSum(huge.data(), huge.size()), PlainSum(huge));
}

TEST(Checksum, TextsLeaveOutOnlyTheHeader) {
    std::vector<std::uint8_t> rom(1024, 0);
    rom[0] = 0x10;
    rom[1024 - 544] = 0x7F;       // first header byte
    rom[1024 - 544 + 31] = 0x01;  // version byte, last header byte
    rom[1024 - 544 + 32] = 0x02;  // first vector byte, summed in both
    EXPECT_EQ(Checksum(rom, false), "00000012");
    EXPECT_EQ(Checksum(rom, true), "00000092");

    // The library's own contract: text into the buffer, 0 and nothing written for bad arguments.
    char out[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(ChecksumFunction()(reinterpret_cast<const char*>(rom.data()), -1, 0, out), 0);
    EXPECT_EQ(std::string(out, 8), "xxxxxxxx");
    EXPECT_EQ(ChecksumFunction()(reinterpret_cast<const char*>(rom.data()), 1024, -1, out), 1);
    EXPECT_EQ(std::string(out, 8), "00000092");
}

}  // namespace
}  // namespace kestro::rom
