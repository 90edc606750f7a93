#pragma once
// ROMs kept in .zip archives: the entries of an archive, and one entry read
// as a file would be. Entries are streamed, never unpacked whole, and one
// larger than any Virtual Boy ROM is refused before a byte of it is read.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "romdb/FileOps.h"

namespace kestro::romdb {

/// The largest entry read: the Virtual Boy's 24-bit ROM space, 16 MiB. No
/// cartridge is larger, and a "zip bomb" cannot make a scan run for long.
inline constexpr std::int64_t kLargestZipEntry = std::int64_t{16} << 20;

struct ZipEntry {
    std::uint64_t index = 0;
    std::string name;
    std::int64_t size = 0;  ///< as the archive declares it
};

/// True for a name ending in ".zip", in any case.
bool IsZipFileName(std::string_view name);

/// The file entries of an archive (directories left out), in archive order;
/// false with the reason when it is no readable zip archive.
bool ListZipEntries(const std::string& path, std::vector<ZipEntry>& entries, std::string& error);

/// One entry opened for reading, or nothing with the reason. Reading stops
/// with an error when the entry holds more than it declares or its CRC is wrong.
std::unique_ptr<InputFile> OpenZipEntry(const std::string& path, std::uint64_t index, std::string& error);

/// "archive.zip → entry", as the listing, the reports and the JSON show an entry.
std::string ZipRowName(const std::string& archive, const std::string& entry);

}  // namespace kestro::romdb
