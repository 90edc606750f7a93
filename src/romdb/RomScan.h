// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading one collection file: a single pass in chunks gives its size, the
// 32 header bytes and both byte sums, so memory stays the same whatever the
// file sizes.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "romdb/ContentHash.h"
#include "romdb/FileOps.h"

namespace kestro::romdb {

struct RomScan {
    enum class Result {
        Valid,       ///< over 544 bytes with zero reserved bytes
        Empty,       ///< length 0
        TooSmall,    ///< 544 bytes or less
        Invalid,     ///< a reserved header byte is not zero
        Unreadable,  ///< could not be opened or read to its end
    };
    Result result = Result::Empty;
    std::int64_t size = 0;
    std::string header;           ///< the 32 header bytes (Valid and Invalid only)
    std::uint32_t wholeSum = 0;   ///< every byte
    std::uint32_t headerSum = 0;  ///< the 32 header bytes
    std::string error;            ///< why, for Unreadable
    FileHashes hashes;            ///< those asked for (Valid and Invalid only)
    /// The file's identity, known when it stayed the same while the file was
    /// read and had settled before: while the file keeps it, this scan holds.
    FileIdentity identity;

    bool Valid() const { return result == Result::Valid; }
    /// Header-excluded checksum text (column A).
    std::string ChecksumA() const;
    /// Whole-file checksum text (column B).
    std::string ChecksumB() const;
};

/// Reads the file once through the buffer (grown to the chunk size when
/// smaller). pump runs after every large stretch read, so a window can keep
/// drawing while a big file is read.
RomScan ScanRomFile(FileOps& files, const std::string& path, std::vector<std::uint8_t>& buffer,
                    const std::function<void()>& pump = {});

/// The same pass over an input already opened (a file, or an entry of an
/// archive); with hashes given, the bytes also go through the hashes asked
/// for, in the same read.
RomScan ScanInput(InputFile& input, std::vector<std::uint8_t>& buffer, const std::function<void()>& pump,
                  HashRun* hashes = nullptr, const HashNeeds& needs = {});

/// The header bytes as the per-file table keeps them: each byte as three
/// decimal digits ("065"), 96 digits in all.
std::string HeaderDigits(const std::string& header);
/// The bytes back from their digits; short or malformed groups read as 0.
std::string HeaderFromDigits(const std::string& digits);

}  // namespace kestro::romdb
