// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a file for reading without ever blocking: a FIFO or a device named
// where a file is expected is refused at once instead of freezing the program.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestro::base {

enum class ReadStatus {
    Ok,
    Missing,     ///< no file at the path: nothing, or a directory
    NotAFile,    ///< a FIFO, socket or device
    Unreadable,  ///< the system refused to open or read it (see the reason)
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    std::string reason;  ///< why, in words, for everything but Ok

    explicit operator bool() const { return status == ReadStatus::Ok; }
};

/// The reason text given for something that is not a regular file.
inline constexpr char kNotARegularFile[] = "it is not a regular file (a directory, pipe or device)";

/// Opens a regular file (or a link to one) for reading. Returns the open
/// descriptor, or -1 with result saying why. The open itself never waits on
/// a FIFO's writer; the descriptor returned reads normally (blocking).
int OpenRegularFile(const std::string& path, ReadResult& result);

/// Reads at most limit bytes from the start of a regular file.
ReadResult ReadRegularFile(const std::string& path, std::vector<std::uint8_t>& data,
                           std::size_t limit = static_cast<std::size_t>(-1));

/// True when something other than a regular file (or a link to one) is at
/// the path; false for a regular file and for nothing at all.
bool IsSpecialFile(const std::string& path);

}  // namespace kestro::base
