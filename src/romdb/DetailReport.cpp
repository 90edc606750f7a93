// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/DetailReport.h"

#include <vector>

#include "base/Paths.h"
#include "rom/MakerTable.h"
#include "rom/RomHeader.h"
#include "rom/TitleText.h"
#include "romdb/Listing.h"
#include "romdb/RomScan.h"
#include "rominfo/RomajiReading.h"

namespace kestro::romdb {

namespace {

// Adds fill characters to text until it is at least as wide as wanted (or
// stops growing, should a font draw the character with no width).
std::string Widen(std::string text, char fill, int wanted, const TextWidth& width) {
    for (int w = width(text); w < wanted;) {
        text += fill;
        const int next = width(text);
        if (next <= w) break;
        w = next;
    }
    return text;
}

// Dashes at least as wide as the heading, starting from two.
std::string Rule(const std::string& heading, const TextWidth& width) {
    return Widen("--", '-', width(heading), width);
}

void HeadingBlock(std::vector<std::string>& lines, const std::string& heading, const TextWidth& width) {
    const std::string rule = Rule(heading, width);
    lines.push_back(rule);
    lines.push_back(heading);
    lines.push_back(rule);
}

std::string Field(const std::string& header, std::size_t offset, std::size_t length) {
    return offset < header.size() ? header.substr(offset, length) : std::string();
}

void TitleLines(std::vector<std::string>& lines, const std::string& header, const TextWidth& width) {
    const std::string title = rom::TrimTrailingSpaces(Field(header, rom::kTitleOffset, rom::kTitleLength));
    const std::string reading = rominfo::RomajiReading(title);
    if (reading == title) {
        lines.push_back("ROM title: " + rom::Latin1ToUtf8(title));
        return;
    }
    lines.push_back("ROM title: " + rom::Latin1ToUtf8(reading));
    lines.push_back(Widen("  ", ' ', width("ROM title: "), width) + "(Japanese ROM Title)");
}

void HeaderLines(std::vector<std::string>& lines, const FileRow& row, const TextWidth& width) {
    const std::int64_t size = row.size.empty() ? 0 : std::stoll(row.size);
    lines.push_back("ROM size: " + rom::SizeText(size));
    const std::string header = HeaderFromDigits(row.header);
    TitleLines(lines, header, width);
    const std::string maker = Field(header, rom::kMakerOffset, rom::kMakerLength);
    lines.push_back("Manufacturer ID: " + rom::Latin1ToUtf8(maker) + rom::MakerReportName(maker));
    lines.push_back("ROM ID: " + rom::Latin1ToUtf8(Field(header, rom::kGameCodeOffset, rom::kGameCodeLength)));
    const std::string version = Field(header, rom::kVersionOffset, 1);
    lines.push_back("ROM Version: " + rom::VersionText(version.empty() ? 0 : static_cast<unsigned char>(version[0])));
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r" : "") + lines[i];
    return text;
}

}  // namespace

base::Message DetailReport(const FileRow& row, std::size_t longest, const TextWidth& width) {
    const std::string status = StatusOfLine(row.displayLine, longest);
    std::vector<std::string> lines;
    HeadingBlock(lines, NameOfLine(row.displayLine, longest) + ":", width);
    if (status == kYetToBeIdentified) {
        lines.insert(lines.end(), {"Identified as: [YET TO BE ANALYSED]", "Checksum: ??????"});
        HeadingBlock(lines, "ROM Information:", width);
        lines.insert(lines.end(), {"ROM size: ?????? Bytes  (?? MBit)", "ROM title: ??????",
                                   "Manufacturer ID: ?? (??????"
                                   ")",
                                   "ROM ID: ????", "ROM Version: ??"});
    } else if (status == kInvalidRom) {
        lines.push_back("Identified as: NOT A VALID VB ROM IMAGE");
    } else {
        lines.push_back("Identified as: " + status);
        lines.push_back("Checksum: " + ReportChecksum(row));
        HeadingBlock(lines, "ROM Information:", width);
        HeaderLines(lines, row, width);
    }
    return {"ROM Identification:", JoinLines(lines), base::MessageIcon::Information, base::MessageButtons::Ok,
            base::MessageResult::Ok};
}

base::Message SaveListFiles(FileOps& files, const std::string& directory, const Reports& reports, bool changeLog) {
    struct ListFile {
        const char* name;
        const std::string& text;
    };
    std::vector<ListFile> lists{
        {kHaveFile, reports.have()}, {kMissFile, reports.miss()}, {kDupesFile, reports.dupes()}};
    if (changeLog) lists.push_back({kLogFile, reports.log()});
    for (const ListFile& list : lists) {
        // The text ends in CR LF; the file ends in its CR.
        const std::string bytes = list.text.empty() ? list.text : list.text.substr(0, list.text.size() - 1);
        const std::string path = base::JoinPath(directory, list.name);
        if (FileResult written = files.WriteFile(path, bytes); !written)
            return FilesNotSavedMessage(path, written.reason);
    }
    return FilesSavedMessage(changeLog);
}

}  // namespace kestro::romdb
