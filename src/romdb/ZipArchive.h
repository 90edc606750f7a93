// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ROMs kept in .zip archives: the entries of an archive, and one entry read
// as a file would be. Entries are streamed, never unpacked whole, and one
// larger than any Virtual Boy ROM is refused before a byte of it is read.

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "rom/RomHeader.h"
#include "romdb/FileOps.h"

namespace kestro::romdb {

/// The largest entry read: no cartridge is larger, and a "zip bomb" cannot
/// make a scan run for long.
inline constexpr std::int64_t kLargestZipEntry = rom::kLargestVbRom;

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

/// The entries of a run, read from their archives: each archive is opened
/// (and its directory read) once, however many of its entries are read, and
/// then shared by them. Entries may be opened and read on several threads.
class ZipArchives {
public:
    ZipArchives();
    ~ZipArchives();
    ZipArchives(const ZipArchives&) = delete;
    ZipArchives& operator=(const ZipArchives&) = delete;

    /// One entry opened for reading, or nothing with the reason. Reading
    /// stops with an error when the entry holds more than it declares or its
    /// CRC is wrong.
    std::unique_ptr<InputFile> OpenEntry(const std::string& path, std::uint64_t index, std::string& error);

    class Archive;  ///< one open archive, shared by the entries read from it

private:
    struct Opened {
        std::string path;
        std::shared_ptr<Archive> archive;  ///< none when it could not be opened
        std::string error;
    };
    std::mutex m_mutex;
    /// The archives opened last, the latest first. Entries of one archive are
    /// read one after another, so a few stay open, never one per archive of
    /// a directory.
    std::list<Opened> m_open;
};

/// "archive.zip → entry", as the listing, the reports and the JSON show an entry.
std::string ZipRowName(const std::string& archive, const std::string& entry);

}  // namespace kestro::romdb
