// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/core/RomBuilder.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>

#include "rom/KnownRomTable.h"

namespace kestro::test {

using namespace kestro::rom;

namespace {

void PutField(std::string& header, std::size_t offset, std::string_view text, std::size_t width) {
    if (text.size() > width) throw std::invalid_argument("header field longer than its width: " + std::string(text));
    std::string field(text);
    field.resize(width, ' ');
    header.replace(offset, width, field);
}

// The filler: bytes scattered around the mean that reaches the wanted sum,
// then nudged one by one until the sum is exact.
void Fill(std::vector<std::uint8_t>& data, const std::vector<bool>& fixed, std::optional<std::uint64_t> wanted,
          std::uint32_t seed) {
    std::vector<std::size_t> free;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (!fixed[i]) free.push_back(i);
    }
    if (free.empty()) return;
    const std::uint64_t n = free.size();
    if (wanted && *wanted > 255 * n) throw std::invalid_argument("wanted sum does not fit in this ROM size");
    const int mean = wanted ? static_cast<int>(*wanted / n) : 128;
    const int spread = wanted ? std::min({mean, 255 - mean, 64}) : 128;
    std::mt19937 random(seed);
    std::uint64_t sum = 0;
    for (std::size_t i : free) {
        int value = std::clamp(mean - spread + static_cast<int>(random() % (2 * spread + 1)), 0, 255);
        data[i] = static_cast<std::uint8_t>(value);
        sum += data[i];
    }
    if (!wanted) return;
    for (std::size_t k = 0; sum != *wanted; k = (k + 1) % free.size()) {
        std::uint8_t& b = data[free[k]];
        if (sum < *wanted) {
            auto step = static_cast<std::uint8_t>(std::min<std::uint64_t>(255 - b, *wanted - sum));
            b += step;
            sum += step;
        } else {
            auto step = static_cast<std::uint8_t>(std::min<std::uint64_t>(b, sum - *wanted));
            b -= step;
            sum -= step;
        }
    }
}

}  // namespace

RomBuilder RomBuilder::KnownDump(std::string_view name) {
    auto header = ExpectedHeader(name);
    if (!header) throw std::invalid_argument("not a known ROM: " + std::string(name));
    RomBuilder builder;
    builder.Title(header->title).Maker(header->makerCode).GameCode(header->gameCode).Version(header->version);
    builder.HeaderExcludedSum(std::stoul(LookupRomChecksum(name, ChecksumColumn::A), nullptr, 16));
    return builder;
}

RomBuilder RomBuilder::Unknown() {
    // The smallest table checksum needs far more than 64 KiB of bytes, so a
    // ROM of the default size can never be mistaken for a known dump.
    RomBuilder builder;
    builder.Title("TEST ROM").Maker("01").GameCode("VTSE");
    return builder;
}

RomBuilder& RomBuilder::Size(std::size_t size) {
    m_size = size;
    return *this;
}

RomBuilder& RomBuilder::Title(std::string_view bytes) {
    PutField(m_header, kTitleOffset, bytes, kTitleLength);
    return *this;
}

RomBuilder& RomBuilder::Maker(std::string_view code) {
    PutField(m_header, kMakerOffset, code, kMakerLength);
    return *this;
}

RomBuilder& RomBuilder::GameCode(std::string_view code) {
    PutField(m_header, kGameCodeOffset, code, kGameCodeLength);
    return *this;
}

RomBuilder& RomBuilder::Version(std::uint8_t version) {
    m_header[kVersionOffset] = static_cast<char>(version);
    return *this;
}

RomBuilder& RomBuilder::Reserved(std::size_t index, std::uint8_t value) {
    if (index >= kReservedLength) throw std::out_of_range("reserved byte index");
    m_header[kReservedOffset + index] = static_cast<char>(value);
    return *this;
}

RomBuilder& RomBuilder::HeaderExcludedSum(std::uint32_t sum) {
    m_sum = sum;
    return *this;
}

RomBuilder& RomBuilder::Seed(std::uint32_t seed) {
    m_seed = seed;
    return *this;
}

std::size_t RomBuilder::ChosenSize() const {
    if (m_size) return *m_size;
    std::size_t size = kDefaultSize;
    // Keep the mean filler byte well below 255 so the bytes still vary.
    while (m_sum && *m_sum > 200ULL * (size - kHeaderSize)) size *= 2;
    return size;
}

std::vector<std::uint8_t> RomBuilder::Build() const {
    const std::size_t size = ChosenSize();
    std::vector<std::uint8_t> data(size);
    std::vector<bool> fixed(size, false);
    if (size >= kHeaderBlockSize) {
        const auto h = static_cast<std::ptrdiff_t>(HeaderBlockOffset(size));
        std::copy(m_header.begin(), m_header.end(), data.begin() + h);
        std::fill(fixed.begin() + h, fixed.begin() + h + static_cast<std::ptrdiff_t>(kHeaderSize), true);
    }
    if (m_sum && size <= kHeaderBlockSize) throw std::invalid_argument("a wanted sum needs a ROM over 544 bytes");
    Fill(data, fixed, m_sum, m_seed);
    return data;
}

std::vector<std::uint8_t> RomBuilder::WriteTo(const std::string& path) const {
    auto data = Build();
    WriteBytes(path, data);
    return data;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write test file " + path);
}

}  // namespace kestro::test
