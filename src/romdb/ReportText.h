// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Line-building helpers shared by the report builders.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/Utf8Text.h"
#include "romdb/Reports.h"

namespace kestro::romdb {

namespace reporttext {

inline constexpr std::string_view kEol = "\r\n";
inline constexpr std::string_view kNoneLine = "  None";
inline constexpr std::string_view kUnknownText = "UNKNOWN ROM: Please send me a copy so I can include it.";
inline constexpr std::string_view kInvalidText = "INVALID ROM: Possibly not a VB ROM image.";

struct Section {
    RomClass romClass;
    std::string_view heading;
};
inline constexpr std::array<Section, 3> kSections{{
    {RomClass::Good, "Good ROMs:"},
    {RomClass::Bad, "Bad ROMs:"},
    {RomClass::PdTranslated, "PD/Translated ROMs:"},
}};

inline bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

inline void Line(std::string& text, std::string_view line) {
    text += line;
    text += kEol;
}

inline void Indented(std::string& text, std::string_view line) {
    text += "  ";
    Line(text, line);
}

inline int CountStatus(const std::vector<ReportFile>& files, std::string_view status) {
    return static_cast<int>(
        std::count_if(files.begin(), files.end(), [&](const ReportFile& f) { return f.status == status; }));
}

inline bool AnyHacked(const std::vector<ReportFile>& files) {
    return std::any_of(files.begin(), files.end(), [](const ReportFile& f) { return EndsWith(f.status, "[h]"); });
}

// "Good ROMs:" as the plain reports head a section, "Good ROMs: 03" as the detailed ones do.
inline std::string Heading(std::string_view heading, const int* count) {
    std::string text(heading);
    if (count != nullptr) text += " " + TwoDigits(*count);
    return text;
}

// The quoted file name padded to the longest name, its checksum, and the text.
inline std::string FileLine(const ReportFile& file, std::size_t longest, std::string_view text) {
    std::string line = "\"" + file.name + "\"";
    const std::size_t shown = base::DisplayWidth(file.name);
    if (shown < longest) line.append(longest - shown, ' ');
    line += " " + file.checksum + " ";
    line += text;
    return line;
}

// Lines for every file with this status; skip leaves out the first (the original of duplicates).
inline int FileLines(std::string& text, const std::vector<ReportFile>& files, std::string_view status,
                     std::size_t longest, std::string_view lineText, int skip) {
    int written = 0;
    for (const ReportFile& f : files) {
        if (f.status != status) continue;
        if (skip > 0) {
            --skip;
            continue;
        }
        Line(text, FileLine(f, longest, lineText));
        ++written;
    }
    return written;
}

}  // namespace reporttext

}  // namespace kestro::romdb
