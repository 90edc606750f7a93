// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a ROM image with the checks every window makes, and saving it back.

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "base/Message.h"
#include "rom/RomHeader.h"

namespace kestro::rom {

/// A ROM file held whole in memory, as opened.
struct RomImage {
    std::string path;                ///< the path as it was opened
    std::int32_t size = 0;           ///< the file length in bytes
    std::vector<std::uint8_t> data;  ///< every byte of the file; header edits go here

    /// The header as the bytes now hold it.
    RomHeader Header() const { return DecodeHeader(data); }
};

/// What opening found, in the order the checks are made.
enum class RomCheck {
    Accepted,
    Missing,     ///< no file at the path, or a file of length 0
    TooSmall,    ///< 544 bytes or less: no room for the header block
    Invalid,     ///< a reserved header byte is not zero
    Unreadable,  ///< the file system refused to read it
    TooLarge,    ///< longer than the caller takes (at most what a 32-bit length holds)
};

/// The result of OpenRom: the image when accepted, else the message to show.
struct RomOpenResult {
    RomCheck check = RomCheck::Accepted;
    RomImage image;         ///< filled only when accepted
    base::Message message;  ///< the refusal message; empty when accepted

    bool Accepted() const { return check == RomCheck::Accepted; }
};

/// The three checks on bytes already in memory (a length of 0 counts as a
/// missing file, as it does on disk).
RomCheck CheckRomData(const std::vector<std::uint8_t>& data);

/// The largest file OpenRom reads unless told otherwise: what a 32-bit length holds.
inline constexpr std::int64_t kLargestImage = std::numeric_limits<std::int32_t>::max();

/// Opens, checks and reads a ROM file. The checks run in their fixed order:
/// missing or empty ("Invalid filename" / "File does not exist."), 544 bytes
/// or less ("Invalid VB ROM" / "File too small to be a VB ROM image."), a
/// non-zero reserved byte ("Invalid VB ROM" / "Invalid VB ROM image.").
/// Opening never creates, changes or removes a file. The collection database
/// uses the check, the windows show the message and then react as they must.
/// A file longer than largest is refused (TooLarge, with its length) before a
/// byte of it is read.
RomOpenResult OpenRom(const std::string& path, std::int64_t largest = kLargestImage);

/// The message for a refusal, exclamation icon and OK; an empty message for
/// Accepted. Unreadable and TooLarge carry the reason given.
base::Message RefusalMessage(RomCheck check, const std::string& reason = {});

/// Applies the header fields to the image's bytes (see ApplyHeader).
inline void ApplyHeader(RomImage& image, const RomHeader& header) {
    ApplyHeader(image.data, header);
}

/// Writes the image's whole buffer over the file at its path, atomically:
/// afterwards the file holds exactly these bytes, or, on failure, what it held before.
base::FileWriteResult WriteImage(const RomImage& image);
/// The same to another path (Save As); the path becomes the image's file only
/// when the caller makes it so.
base::FileWriteResult WriteImageTo(const RomImage& image, const std::string& path);

/// The message a window shows when a save failed.
base::Message SaveFailedMessage(const std::string& path, const std::string& reason);

}  // namespace kestro::rom
