// SPDX-License-Identifier: GPL-3.0-or-later
#include "rom/MakerTable.h"

#include "rom/RomHeader.h"

namespace kestro::rom {

std::optional<int> FindMaker(std::string_view code) {
    const std::string trimmed = TrimTrailingSpaces(code);
    for (std::size_t i = 0; i < kMakers.size(); ++i) {
        if (kMakers[i].code == trimmed) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string MakerCode(int index) {
    if (index < 0 || index >= static_cast<int>(kMakers.size())) return {};
    return std::string(kMakers[static_cast<std::size_t>(index)].code);
}

std::optional<std::string> MakerListName(std::string_view code) {
    auto index = FindMaker(code);
    if (!index) return std::nullopt;
    return std::string(kMakers[static_cast<std::size_t>(*index)].listName);
}

std::string MakerReportName(std::string_view code) {
    auto index = FindMaker(code);
    return std::string(index ? kMakers[static_cast<std::size_t>(*index)].reportName : kUnknownMakerReportName);
}

}  // namespace kestro::rom
