// SPDX-License-Identifier: GPL-3.0-or-later
#include "rom/KnownRomTable.h"

namespace kestro::rom {

namespace {
const std::string_view* ColumnOf(const KnownRom& row, ChecksumColumn column) {
    switch (column) {
        case ChecksumColumn::A: return &row.columnA;
        case ChecksumColumn::B: return &row.columnB;
    }
    return nullptr;
}
}  // namespace

std::string LookupRom(std::string_view checksum, ChecksumColumn column) {
    if (column != ChecksumColumn::A && column != ChecksumColumn::B) return {};
    for (const KnownRom& row : kKnownRomTable) {
        if (*ColumnOf(row, column) == checksum) return std::string(row.name);
    }
    return std::string(kUnknownRomName);
}

std::string LookupRomInCollection(std::string_view checksum, ChecksumColumn column) {
    if (checksum.empty() && (column == ChecksumColumn::A || column == ChecksumColumn::B)) {
        return std::string(kBadRomName);
    }
    return LookupRom(checksum, column);
}

std::string LookupRomChecksum(std::string_view name, ChecksumColumn column) {
    const KnownRom* row = FindKnownRom(name);
    const std::string_view* value = row != nullptr ? ColumnOf(*row, column) : nullptr;
    return value != nullptr ? std::string(*value) : std::string();
}

const KnownRom* FindKnownRom(std::string_view name) {
    for (const KnownRom& row : kKnownRomTable) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

bool IsKnownName(std::string_view name) {
    return FindKnownRom(name) != nullptr;
}

std::optional<RomHeader> ExpectedHeader(std::string_view name) {
    const KnownRom* row = FindKnownRom(name);
    if (row == nullptr) return std::nullopt;
    return RomHeader{std::string(row->title), std::string(row->makerCode), std::string(row->gameCode), 0};
}

std::string HackedForm(std::string_view name) {
    if (name.ends_with("[!]")) return std::string(name.substr(0, name.size() - 3)) + "[h]";
    return std::string(name) + " [h]";
}

}  // namespace kestro::rom
