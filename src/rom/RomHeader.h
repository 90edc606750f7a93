// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Virtual Boy header: the 544-byte block at the end of every ROM image,
// its four interpreted fields, and their display forms.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestro::rom {

/// The block at the end of the file that holds the header and the vectors.
inline constexpr std::size_t kHeaderBlockSize = 544;
/// The interpreted part of the block: title to version.
inline constexpr std::size_t kHeaderSize = 32;
/// The largest ROM a Virtual Boy can hold: its 24-bit ROM space, 16 MiB.
inline constexpr std::int64_t kLargestVbRom = std::int64_t{16} << 20;

/// Field offsets inside the header block, and their widths.
inline constexpr std::size_t kTitleOffset = 0x00;
inline constexpr std::size_t kTitleLength = 20;
inline constexpr std::size_t kReservedOffset = 0x14;
inline constexpr std::size_t kReservedLength = 5;
inline constexpr std::size_t kMakerOffset = 0x19;
inline constexpr std::size_t kMakerLength = 2;
inline constexpr std::size_t kGameCodeOffset = 0x1B;
inline constexpr std::size_t kGameCodeLength = 4;
inline constexpr std::size_t kVersionOffset = 0x1F;

/// Bytes in one megabit, for the size text.
inline constexpr std::size_t kBytesPerMegabit = 131072;

/// The four fields the program reads and writes. Texts are byte strings, one
/// character per header byte (titles hold half-width katakana at 0xA1-0xDF),
/// with trailing spaces removed.
struct RomHeader {
    std::string title;
    std::string makerCode;
    std::string gameCode;
    std::uint8_t version = 0;

    friend bool operator==(const RomHeader&, const RomHeader&) = default;
};

/// File offset of the header block in an image of this size (size > 544).
constexpr std::size_t HeaderBlockOffset(std::size_t size) {
    return size - kHeaderBlockSize;
}

/// The text with its trailing spaces removed (only spaces; NULs and leading
/// or embedded spaces stay).
std::string TrimTrailingSpaces(std::string_view text);

/// A header field as written: trailing spaces removed, padded with spaces to
/// width, cut to width when longer.
std::string PadField(std::string_view text, std::size_t width);

/// Decodes the header of an image of more than 544 bytes.
RomHeader DecodeHeader(const std::uint8_t* data, std::size_t size);
inline RomHeader DecodeHeader(const std::vector<std::uint8_t>& data) {
    return DecodeHeader(data.data(), data.size());
}

/// Replaces the title, maker code, game code and version in the image's
/// header block, each padded as written; the reserved bytes and everything
/// outside the four fields stay as they were. The image must be over 544 bytes.
void ApplyHeader(std::vector<std::uint8_t>& data, const RomHeader& header);

/// The 32 header bytes as they stand in the image.
std::string HeaderBytes(const std::vector<std::uint8_t>& data);

/// "1." and the version number: 0 gives "1.0", 10 gives "1.10".
std::string VersionText(int version);

/// "1048576 Bytes  (8 MBit)": the byte count, two spaces, and the megabit
/// count with up to 15 significant digits ("65536 Bytes  (0.5 MBit)").
std::string SizeText(std::int64_t size);

/// The megabit count alone, as the size text writes it ("8", "0.5").
std::string MegabitText(std::int64_t size);

/// Maker and game codes as their text boxes keep them: ASCII letters in upper
/// case, every other byte as it is.
std::string UpperCaseCode(std::string_view code);

}  // namespace kestro::rom
