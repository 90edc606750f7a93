// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Virtual Boy checksum rule shared by the Kestro library and the core.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestro::checksum {

/// Bytes of the header block that the header-excluded checksum leaves out.
inline constexpr std::size_t kHeaderBlockSize = 544;
inline constexpr std::size_t kHeaderSumBytes = 32;

/// Sum of all byte values modulo 2^32.
std::uint32_t ByteSum(const std::uint8_t* data, std::size_t size) noexcept;

/// Sum of the image's bytes, leaving out the 32 header bytes at size - 544
/// when includeHeader is false. Images of 544 bytes or less have no header to
/// leave out and are summed whole.
std::uint32_t ImageSum(const std::uint8_t* data, std::size_t size, bool includeHeader) noexcept;

/// Eight upper-case hexadecimal digits with leading zeros.
void FormatChecksum(std::uint32_t sum, char out[8]) noexcept;
std::string ChecksumText(std::uint32_t sum);

/// The whole GetVbRomChecksum contract: 1 and the text in out, or 0 (out
/// untouched) when an argument is unusable.
std::int32_t ChecksumInto(const char* image, std::int32_t size, std::int32_t wholeFile, char* out) noexcept;

}  // namespace kestro::checksum
