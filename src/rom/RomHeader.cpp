// SPDX-License-Identifier: GPL-3.0-or-later
#include "rom/RomHeader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kestro::rom {

std::string TrimTrailingSpaces(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') --end;
    return std::string(text.substr(0, end));
}

std::string PadField(std::string_view text, std::size_t width) {
    std::string field = TrimTrailingSpaces(text);
    field.resize(width, ' ');
    return field;
}

namespace {
std::string FieldAt(const std::uint8_t* block, std::size_t offset, std::size_t length) {
    return TrimTrailingSpaces(std::string_view(reinterpret_cast<const char*>(block + offset), length));
}

void PutField(std::uint8_t* block, std::size_t offset, std::string_view text, std::size_t width) {
    const std::string field = PadField(text, width);
    std::copy(field.begin(), field.end(), block + offset);
}
}  // namespace

RomHeader DecodeHeader(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* block = data + HeaderBlockOffset(size);
    RomHeader header;
    header.title = FieldAt(block, kTitleOffset, kTitleLength);
    header.makerCode = FieldAt(block, kMakerOffset, kMakerLength);
    header.gameCode = FieldAt(block, kGameCodeOffset, kGameCodeLength);
    header.version = block[kVersionOffset];
    return header;
}

void ApplyHeader(std::vector<std::uint8_t>& data, const RomHeader& header) {
    std::uint8_t* block = data.data() + HeaderBlockOffset(data.size());
    PutField(block, kTitleOffset, header.title, kTitleLength);
    PutField(block, kMakerOffset, header.makerCode, kMakerLength);
    PutField(block, kGameCodeOffset, header.gameCode, kGameCodeLength);
    block[kVersionOffset] = header.version;
}

std::string HeaderBytes(const std::vector<std::uint8_t>& data) {
    const auto* block = reinterpret_cast<const char*>(data.data() + HeaderBlockOffset(data.size()));
    return std::string(block, kHeaderSize);
}

std::string VersionText(int version) {
    return "1." + std::to_string(version);
}

std::string MegabitText(std::int64_t size) {
    const double megabits = static_cast<double>(size) / static_cast<double>(kBytesPerMegabit);
    if (megabits == 0) return "0";
    // Fifteen significant digits in plain decimal, never an exponent: the
    // exponent of the rounded value says how many places that takes.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.14e", megabits);
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    const int places = std::max(0, 14 - exponent);
    std::snprintf(buffer, sizeof buffer, "%.*f", places, megabits);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

std::string SizeText(std::int64_t size) {
    return std::to_string(size) + " Bytes  (" + MegabitText(size) + " MBit)";
}

std::string UpperCaseCode(std::string_view code) {
    std::string out(code);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace kestro::rom
