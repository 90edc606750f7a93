// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checksum texts of ROM images, through GetVbRomChecksum.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kestro/Kestro.h"

namespace kestro::rom {

/// The checksum function in use: the one the desktop program loaded from the
/// Kestro library, or (when none was set) the same code linked in directly.
void SetChecksumFunction(GetVbRomChecksumFn fn);
GetVbRomChecksumFn ChecksumFunction();

/// Checksum text of an image: 8 upper-case hex digits. includeHeader false
/// leaves the 32 header bytes out (column A), true sums the whole file (B).
std::string Checksum(const std::uint8_t* data, std::size_t size, bool includeHeader);
inline std::string Checksum(const std::vector<std::uint8_t>& data, bool includeHeader) {
    return Checksum(data.data(), data.size(), includeHeader);
}

}  // namespace kestro::rom
