// SPDX-License-Identifier: GPL-3.0-or-later
#include "rominfo/RomInfoView.h"

#include "rom/MakerTable.h"
#include "rominfo/RomajiReading.h"

namespace kestro::rominfo {

std::string WindowCaption(std::string_view title) {
    return "ROM Information - [" + RomajiReading(title) + "]";
}

std::string TitleTooltip(std::string_view title) {
    std::string reading = RomajiReading(title);
    return reading != title ? reading : std::string(title);
}

RomInfoView DescribeRom(const rom::RomImage& image, bool identify) {
    const rom::RomHeader header = image.Header();
    RomInfoView view;
    view.title = header.title;
    view.reading = RomajiReading(header.title);
    view.makerCode = header.makerCode;
    view.makerIndex = rom::FindMaker(header.makerCode);
    view.gameCode = header.gameCode;
    view.version = header.version;
    view.versionText = rom::VersionText(header.version);
    view.sizeText = rom::SizeText(image.size);
    if (identify) view.identification = rom::IdentifyRom(image.data);
    return view;
}

}  // namespace kestro::rominfo
