// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Generated ROM images for the benchmarks: unknown ones of random bytes and
// known dumps whose bytes sum to a catalogue checksum.

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "rom/KnownRomTable.h"
#include "rom/RomHeader.h"

namespace kestro::bench {

// Random bytes with zero reserved header bytes: an unknown ROM.
inline std::vector<std::uint8_t> UnknownRom(std::size_t size, std::mt19937& random) {
    std::vector<std::uint8_t> data(size);
    for (auto& b : data) b = static_cast<std::uint8_t>(random());
    const auto reserved = static_cast<std::ptrdiff_t>(rom::HeaderBlockOffset(size) + rom::kReservedOffset);
    std::fill_n(data.begin() + reserved, rom::kReservedLength, 0);
    return data;
}

// A known dump: its header, and filler bytes that sum to its header-excluded checksum.
inline std::vector<std::uint8_t> KnownRom(std::size_t size, const std::string& name) {
    const std::uint64_t target = std::stoul(rom::LookupRomChecksum(name, rom::ChecksumColumn::A), nullptr, 16);
    const std::size_t header = rom::HeaderBlockOffset(size);
    const std::uint64_t filler = size - rom::kHeaderSize, base = target / filler, extra = target % filler;
    std::vector<std::uint8_t> data(size, 0);
    std::uint64_t k = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (i < header || i >= header + rom::kHeaderSize) data[i] = static_cast<std::uint8_t>(base + (k++ < extra));
    }
    rom::ApplyHeader(data, *rom::ExpectedHeader(name));
    return data;
}

}  // namespace kestro::bench
