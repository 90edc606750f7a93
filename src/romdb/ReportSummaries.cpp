// SPDX-License-Identifier: GPL-3.0-or-later
// The summaries of the three report buttons: counts with at least two digits,
// each class worded with its tag, and the offer of the full report.
#include <string>
#include <vector>

#include "romdb/Catalogue.h"
#include "romdb/Reports.h"
#include "romdb/SummaryWording.h"

namespace kestro::romdb {

namespace {

constexpr std::string_view kCongratulations = " - Congratulations!";
constexpr std::string_view kQuestion = "Do you wish to view additional details?";

const std::string kGood = " are Good \"[!]\" ROMs";
// A DAT tags no good dump "[!]": its games are what size and checksums were checked against.
const std::string kDatMatched = " match a game of the DAT in size and checksums";
const std::string kDatUntagged = " are games of the DAT without a [b], (PD) or [T] tag";
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

base::Message HaveSummaryWorded(const ReportCounters& c, const std::string& good) {
    std::vector<std::string> lines;
    lines.push_back(" You have " + TwoDigits(c.knownFound) + " out of " + TwoDigits(c.catalogued) +
                    " known Nintendo Virtual Boy ROMs");
    if (c.knownFound >= c.catalogued) lines.emplace_back(kCongratulations);
    if (c.filesMatched != 0) {
        lines.emplace_back("");
        lines.push_back("Out of " + TwoDigits(c.filesMatched) + " files:");
    }
    AddCountLines(lines, {{c.goodFound, good},
                          {c.badFound, kBad},
                          {c.pdFound, kPd},
                          {c.hackedFound, kHacked},
                          {c.unknownFiles, kUnknown},
                          {c.extraCopies, kDuplicate},
                          {c.invalidFiles, kInvalid}});
    return Summary("Collected VB ROM details", std::move(lines));
}

base::Message MissSummaryWorded(const ReportCounters& c, const std::string& good) {
    std::vector<std::string> lines;
    lines.push_back(" You are missing " + TwoDigits(c.missing) + " out of " + TwoDigits(c.catalogued) +
                    " known Nintendo Virtual Boy ROMs");
    if (c.missing == 0) {
        lines.emplace_back(kCongratulations);
    } else {
        lines.emplace_back("");
        lines.emplace_back("Out of these files:");
        AddCountLines(lines, {{c.goodMissing, good}, {c.badMissing, kBad}, {c.pdMissing, kPd}});
    }
    return Summary("Missing VB ROM details", std::move(lines));
}

base::Message DupesSummaryWorded(const ReportCounters& c, const std::string& good) {
    std::vector<std::string> lines;
    lines.push_back(" You have " + TwoDigits(c.extraCopies) + " duplicate Nintendo Virtual Boy ROMs");
    if (c.extraCopies != 0) {
        lines.emplace_back("");
        lines.emplace_back("Out of these files:");
        AddCountLines(lines, {{c.goodExtra, good}, {c.badExtra, kBad}, {c.pdExtra, kPd}, {c.hackedExtra, kHacked}});
    }
    return Summary("Duplicate VB ROM details", std::move(lines));
}

}  // namespace

base::Message HaveSummary(const ReportCounters& c) {
    return HaveSummaryWorded(c, kGood);
}

base::Message MissSummary(const ReportCounters& c) {
    return MissSummaryWorded(c, kGood);
}

base::Message DupesSummary(const ReportCounters& c) {
    return DupesSummaryWorded(c, kGood);
}

base::Message HaveSummary(const ReportCounters& c, const Catalogue& catalogue) {
    return HaveSummaryWorded(c, catalogue.IsBuiltIn() ? kGood : kDatMatched);
}

base::Message MissSummary(const ReportCounters& c, const Catalogue& catalogue) {
    return MissSummaryWorded(c, catalogue.IsBuiltIn() ? kGood : kDatUntagged);
}

base::Message DupesSummary(const ReportCounters& c, const Catalogue& catalogue) {
    return DupesSummaryWorded(c, catalogue.IsBuiltIn() ? kGood : kDatMatched);
}

}  // namespace kestro::romdb
