// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Identifying a ROM image against the known dumps, as the ROM information
// window shows it. The collection database builds its statuses from the same
// steps (checksum, lookup, HackedForm) file by file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rom/KnownRomTable.h"
#include "rom/RomHeader.h"

namespace kestro::rom {

/// Shown in the identification label, with the events let run, before the
/// checksums are taken.
inline constexpr std::string_view kIdentifyingText = "Identifying ROM...";
/// The label for a ROM that no row knows.
inline constexpr std::string_view kUnknownRomLabel = "[UNKNOWN VB ROM]  -  Please send me a copy.";

/// Everything one identification found.
struct Identification {
    std::string checksumA;         ///< header-excluded checksum (the window's checksum label)
    std::string checksumB;         ///< whole-file checksum
    std::string nameA;             ///< lookup of checksumA in column A
    std::string nameB;             ///< lookup of checksumB in column B
    std::string label;             ///< the identification label's text
    bool revertAvailable = false;  ///< whether Revert is enabled

    /// A table row recognised the bytes outside the header.
    bool Known() const { return IsKnownName(nameA); }
    /// The header is not the one the known dump carries.
    bool HeaderChanged() const { return nameB != nameA; }
};

/// The header-excluded checksum (column A) of an image, through GetVbRomChecksum.
std::string HeaderExcludedChecksum(const std::vector<std::uint8_t>& data);
/// The whole-file checksum (column B).
std::string WholeFileChecksum(const std::vector<std::uint8_t>& data);

/// Identification from the two checksum texts: the label is the row's name
/// (Revert enabled) or the unknown label (disabled), and a whole-file checksum
/// that names another row (or none) marks the label as hacked.
Identification IdentifyChecksums(std::string checksumA, std::string checksumB);

/// Takes both checksums of the image and identifies it. A window shows
/// kIdentifyingText and lets its events run before calling this.
Identification IdentifyRom(const std::vector<std::uint8_t>& data);

/// What Revert puts into the fields: the expected header of the row that the
/// checksum label's text names in column A; nothing when it names none.
std::optional<RomHeader> RevertHeader(std::string_view checksumA);

}  // namespace kestro::rom
