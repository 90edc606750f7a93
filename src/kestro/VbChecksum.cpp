// SPDX-License-Identifier: GPL-3.0-or-later
#include "kestro/VbChecksum.h"

#include <algorithm>

namespace kestro::checksum {

std::uint32_t ByteSum(const std::uint8_t* data, std::size_t size) noexcept {
    // Rows of 32 bytes go into 32 independent 16-bit lanes with no branch
    // inside, which the compiler turns into packed byte-to-word adds (16 bytes
    // an instruction even on baseline SSE2; four times the width of 32-bit
    // lanes). A lane holds 256 rows of 255 before it could wrap, so each block
    // of 256 rows is folded into the 32-bit total and the lanes start again.
    constexpr std::size_t kLanes = 32;
    constexpr std::size_t kRowsPerBlock = 256;
    std::uint32_t total = 0;
    std::size_t i = 0;
    while (size - i >= kLanes) {
        const std::size_t rows = std::min(kRowsPerBlock, (size - i) / kLanes);
        std::uint16_t lanes[kLanes] = {};
        for (std::size_t r = 0; r < rows; ++r, i += kLanes) {
            for (std::size_t k = 0; k < kLanes; ++k) lanes[k] = static_cast<std::uint16_t>(lanes[k] + data[i + k]);
        }
        for (std::uint16_t lane : lanes) total += lane;
    }
    for (; i < size; ++i) total += data[i];
    return total;  // unsigned arithmetic: the sum modulo 2^32
}

std::uint32_t ImageSum(const std::uint8_t* data, std::size_t size, bool includeHeader) noexcept {
    std::uint32_t sum = ByteSum(data, size);
    if (!includeHeader && size > kHeaderBlockSize) {
        sum -= ByteSum(data + (size - kHeaderBlockSize), kHeaderSumBytes);
    }
    return sum;
}

void FormatChecksum(std::uint32_t sum, char out[8]) noexcept {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int k = 7; k >= 0; --k) {
        out[k] = kDigits[sum & 0xF];
        sum >>= 4;
    }
}

std::string ChecksumText(std::uint32_t sum) {
    std::string text(8, '0');
    FormatChecksum(sum, text.data());
    return text;
}

std::int32_t ChecksumInto(const char* image, std::int32_t size, std::int32_t wholeFile, char* out) noexcept {
    if (out == nullptr || size < 0 || (image == nullptr && size > 0)) return 0;
    FormatChecksum(
        ImageSum(reinterpret_cast<const std::uint8_t*>(image), static_cast<std::size_t>(size), wholeFile != 0), out);
    return 1;
}

}  // namespace kestro::checksum
