// SPDX-License-Identifier: GPL-3.0-or-later
// The summaries of the three report buttons: counts with at least two digits,
// each class worded with its tag, and the offer of the full report.
#include <string>
#include <vector>

#include "romdb/Reports.h"

namespace kestro::romdb {

namespace {

constexpr std::string_view kCongratulations = " - Congratulations!";
constexpr std::string_view kQuestion = "Do you wish to view additional details?";

const std::string kGood = " are Good \"[!]\" ROMs";
const std::string kBad = " are Bad \"[b]\" ROMs";
const std::string kPd = " are Public Domain \"(PD)\" or Translated \"[T]\" ROMs";
const std::string kHacked = " are Hacked (incorrect ROM header) \"[h]\" ROMs";
const std::string kUnknown = " are Unidentified Virtual Boy ROMs";
const std::string kDuplicate = " are duplicate (more than one copy of) ROMs";
const std::string kInvalid = " are Invalid Virtual Boy ROMs";

struct CountLine {
    int count;
    const std::string& wording;
};

void AddCountLines(std::vector<std::string>& lines, std::initializer_list<CountLine> counts) {
    for (const CountLine& c : counts) {
        if (c.count != 0) lines.push_back("   " + TwoDigits(c.count) + c.wording);
    }
}

base::Message Summary(std::string title, std::vector<std::string> lines) {
    lines.push_back("");
    lines.emplace_back(kQuestion);
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\r';
        text += lines[i];
    }
    return {std::move(title), std::move(text), base::MessageIcon::Information, base::MessageButtons::YesNo,
            base::MessageResult::No};
}

}  // namespace

base::Message HaveSummary(const ReportCounters& c) {
    std::vector<std::string> lines;
    lines.push_back(" You have " + TwoDigits(c.knownFound) + " out of " + TwoDigits(c.catalogued) +
                    " known Nintendo Virtual Boy ROMs");
    if (c.knownFound >= c.catalogued) lines.emplace_back(kCongratulations);
    if (c.filesMatched != 0) {
        lines.emplace_back("");
        lines.push_back("Out of " + TwoDigits(c.filesMatched) + " files:");
    }
    AddCountLines(lines, {{c.goodFound, kGood},
                          {c.badFound, kBad},
                          {c.pdFound, kPd},
                          {c.hackedFound, kHacked},
                          {c.unknownFiles, kUnknown},
                          {c.extraCopies, kDuplicate},
                          {c.invalidFiles, kInvalid}});
    return Summary("Collected VB ROM details", std::move(lines));
}

base::Message MissSummary(const ReportCounters& c) {
    std::vector<std::string> lines;
    lines.push_back(" You are missing " + TwoDigits(c.missing) + " out of " + TwoDigits(c.catalogued) +
                    " known Nintendo Virtual Boy ROMs");
    if (c.missing == 0) {
        lines.emplace_back(kCongratulations);
    } else {
        lines.emplace_back("");
        lines.emplace_back("Out of these files:");
        AddCountLines(lines, {{c.goodMissing, kGood}, {c.badMissing, kBad}, {c.pdMissing, kPd}});
    }
    return Summary("Missing VB ROM details", std::move(lines));
}

base::Message DupesSummary(const ReportCounters& c) {
    std::vector<std::string> lines;
    lines.push_back(" You have " + TwoDigits(c.extraCopies) + " duplicate Nintendo Virtual Boy ROMs");
    if (c.extraCopies != 0) {
        lines.emplace_back("");
        lines.emplace_back("Out of these files:");
        AddCountLines(lines, {{c.goodExtra, kGood}, {c.badExtra, kBad}, {c.pdExtra, kPd}, {c.hackedExtra, kHacked}});
    }
    return Summary("Duplicate VB ROM details", std::move(lines));
}

}  // namespace kestro::romdb
