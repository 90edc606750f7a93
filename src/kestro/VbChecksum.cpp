#include "kestro/VbChecksum.h"

namespace kestro::checksum {

std::uint32_t ByteSum(const std::uint8_t* data, std::size_t size) noexcept {
    // Independent 32-bit lanes with no branch inside let the compiler turn this
    // into packed adds. Lanes wrap modulo 2^32, which is exactly the sum wanted.
    constexpr std::size_t kLanes = 16;
    std::uint32_t lanes[kLanes] = {};
    std::size_t i = 0;
    for (; i + kLanes <= size; i += kLanes) {
        for (std::size_t k = 0; k < kLanes; ++k) lanes[k] += data[i + k];
    }
    std::uint32_t sum = 0;
    for (std::uint32_t lane : lanes) sum += lane;
    for (; i < size; ++i) sum += data[i];
    return sum;
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
