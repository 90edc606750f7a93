// SPDX-License-Identifier: GPL-3.0-or-later
#include "rom/Identification.h"

#include "rom/Checksum.h"

namespace kestro::rom {

std::string HeaderExcludedChecksum(const std::vector<std::uint8_t>& data) {
    return Checksum(data, false);
}

std::string WholeFileChecksum(const std::vector<std::uint8_t>& data) {
    return Checksum(data, true);
}

Identification IdentifyChecksums(std::string checksumA, std::string checksumB) {
    Identification id;
    id.checksumA = std::move(checksumA);
    id.checksumB = std::move(checksumB);
    id.nameA = LookupRom(id.checksumA, ChecksumColumn::A);
    if (IsKnownName(id.nameA)) {
        id.label = id.nameA;
        id.revertAvailable = true;
    } else {
        id.label = kUnknownRomLabel;
    }
    id.nameB = LookupRom(id.checksumB, ChecksumColumn::B);
    if (id.HeaderChanged()) id.label = HackedForm(id.label);
    return id;
}

Identification IdentifyRom(const std::vector<std::uint8_t>& data) {
    // One pass over the bytes per checksum; the header-excluded one is taken
    // once and reused.
    return IdentifyChecksums(HeaderExcludedChecksum(data), WholeFileChecksum(data));
}

std::optional<RomHeader> RevertHeader(std::string_view checksumA) {
    return ExpectedHeader(LookupRom(checksumA, ChecksumColumn::A));
}

}  // namespace kestro::rom
