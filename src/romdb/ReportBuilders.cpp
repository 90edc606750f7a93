// SPDX-License-Identifier: GPL-3.0-or-later
// The three report builders, plain and detailed. Sections list catalogue
// names in catalogue order, never in file order. Files are counted by status
// once per build, so that a DAT of many thousand games costs no more per file
// than the built-in table.
#include <unordered_map>

#include "rom/KnownRomTable.h"
#include "romdb/Catalogue.h"
#include "romdb/Listing.h"
#include "romdb/ReportText.h"

namespace kestro::romdb {

using namespace reporttext;

namespace {

int& Found(ReportCounters& c, RomClass k) {
    return k == RomClass::Good ? c.goodFound : k == RomClass::Bad ? c.badFound : c.pdFound;
}
int& Missing(ReportCounters& c, RomClass k) {
    return k == RomClass::Good ? c.goodMissing : k == RomClass::Bad ? c.badMissing : c.pdMissing;
}
int& Extra(ReportCounters& c, RomClass k) {
    return k == RomClass::Good ? c.goodExtra : k == RomClass::Bad ? c.badExtra : c.pdExtra;
}

void StartSection(std::string& text, const Section& s, const int* count) {
    if (s.romClass != RomClass::Good) Line(text, "");
    Line(text, Heading(s.heading, count));
}

void StartExtraSection(std::string& text, std::string_view heading, const int* count) {
    Line(text, "");
    Line(text, Heading(heading, count));
}

std::string CopiesSuffix(int extra) {
    return extra == 1 ? " [1 copy]" : " [" + std::to_string(extra) + " copies]";
}

// How many files carry each status.
class StatusCounts {
public:
    explicit StatusCounts(const std::vector<ReportFile>& files) {
        for (const ReportFile& f : files) ++m_counts[f.status];
    }
    int operator()(std::string_view status) const {
        const auto at = m_counts.find(status);
        return at == m_counts.end() ? 0 : at->second;
    }

private:
    // Views of the files' statuses, which outlive the count.
    std::unordered_map<std::string_view, int> m_counts;
};

// Plain and detailed unknown and invalid sections; each appears only when such files exist.
void StatusSections(std::string& text, const std::vector<ReportFile>& files, const ReportCounters& c,
                    const std::size_t* longest) {
    struct Kind {
        std::string_view status, heading, line;
        int count;
    };
    for (const Kind& k : {Kind{kUnknownRom, "Unknown ROMs:", kUnknownText, c.unknownFiles},
                          Kind{kInvalidRom, "Invalid ROMs:", kInvalidText, c.invalidFiles}}) {
        if (k.count == 0) continue;
        StartExtraSection(text, k.heading, longest != nullptr ? &k.count : nullptr);
        if (longest != nullptr) {
            FileLines(text, files, k.status, *longest, k.line, 0);
        } else {
            for (int i = 0; i < k.count; ++i) Indented(text, k.line);
        }
    }
}

}  // namespace

void Reports::BuildHaveList(const std::vector<ReportFile>& files) {
    const std::vector<std::string_view>& names = m_catalogue->Names();
    ResetHaveList();
    auto& c = m_counters;
    const StatusCounts count(files);
    m_have.clear();
    for (const Section& s : kSections) {
        StartSection(m_have, s, nullptr);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string_view name = names[i];
            const int n = m_catalogue->ClassOfName(i) == s.romClass ? count(name) : 0;
            if (n == 0) continue;
            ++c.knownFound;
            ++Found(c, s.romClass);
            c.filesMatched += n;
            Indented(m_have, name);
        }
        if (Found(c, s.romClass) == 0) Line(m_have, kNoneLine);
    }
    if (AnyHacked(files)) {
        StartExtraSection(m_have, "Hacked ROMs:", nullptr);
        for (std::string_view name : m_catalogue->Names()) {
            const std::string hacked = rom::HackedForm(name);
            const int n = count(hacked);
            if (n == 0) continue;
            ++c.hackedFound;
            c.filesMatched += n;
            Indented(m_have, hacked);
        }
        if (c.hackedFound == 0) Line(m_have, kNoneLine);
    }
    c.unknownFiles = CountStatus(files, kUnknownRom);
    c.invalidFiles = CountStatus(files, kInvalidRom);
    c.filesMatched += c.unknownFiles + c.invalidFiles;
    StatusSections(m_have, files, c, nullptr);
}

void Reports::BuildMissList(const std::vector<ReportFile>& files) {
    BuildMiss(files, false);
}

void Reports::BuildDupesList(const std::vector<ReportFile>& files) {
    const std::vector<std::string_view>& names = m_catalogue->Names();
    ResetDupesList();
    auto& c = m_counters;
    const StatusCounts count(files);
    m_dupes.clear();
    auto section = [&](std::string_view name, int& classExtra) {
        const int extra = count(name) - 1;
        if (extra <= 0) return;
        c.extraCopies += extra;
        classExtra += extra;
        Indented(m_dupes, std::string(name) + CopiesSuffix(extra));
    };
    for (const Section& s : kSections) {
        StartSection(m_dupes, s, nullptr);
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (m_catalogue->ClassOfName(i) == s.romClass) section(names[i], Extra(c, s.romClass));
        }
        if (Extra(c, s.romClass) == 0) Line(m_dupes, kNoneLine);
    }
    if (!AnyHacked(files)) return;
    StartExtraSection(m_dupes, "Hacked ROMs:", nullptr);
    for (std::string_view name : m_catalogue->Names()) section(rom::HackedForm(name), c.hackedExtra);
    if (c.hackedExtra == 0) Line(m_dupes, kNoneLine);
}

void Reports::BuildHaveListDetailed(const std::vector<ReportFile>& files, std::size_t longest) {
    const std::vector<std::string_view>& names = m_catalogue->Names();
    BuildHaveList(files);
    auto& c = m_counters;
    const StatusCounts count(files);
    m_have.clear();
    for (const Section& s : kSections) {
        StartSection(m_have, s, &Found(c, s.romClass));
        int lines = 0;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (m_catalogue->ClassOfName(i) == s.romClass && count(names[i]) != 0)
                lines += FileLines(m_have, files, names[i], longest, names[i], 0);
        }
        if (lines == 0) Line(m_have, kNoneLine);
    }
    if (AnyHacked(files)) {
        StartExtraSection(m_have, "Hacked ROMs:", &c.hackedFound);
        int lines = 0;
        for (std::string_view name : m_catalogue->Names()) {
            const std::string hacked = rom::HackedForm(name);
            if (count(hacked) != 0) lines += FileLines(m_have, files, hacked, longest, hacked, 0);
        }
        if (lines == 0) Line(m_have, kNoneLine);
    }
    StatusSections(m_have, files, c, &longest);
}

void Reports::BuildMissListDetailed(const std::vector<ReportFile>& files) {
    BuildMiss(files, true);
}

// Both forms in one pass over the names: the detailed form heads each
// section with its count, so a section's lines are gathered first.
void Reports::BuildMiss(const std::vector<ReportFile>& files, bool detailed) {
    auto& c = m_counters;
    c.missing = c.goodMissing = c.badMissing = c.pdMissing = 0;
    const StatusCounts count(files);
    const std::vector<std::string_view>& names = m_catalogue->Names();
    std::vector<std::uint32_t> sections[3];
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (count(names[i]) == 0)
            sections[static_cast<int>(m_catalogue->ClassOfName(i))].push_back(static_cast<std::uint32_t>(i));
    }
    m_miss.clear();
    for (const Section& s : kSections) {
        const std::vector<std::uint32_t>& missing = sections[static_cast<int>(s.romClass)];
        Missing(c, s.romClass) = static_cast<int>(missing.size());
        c.missing += static_cast<int>(missing.size());
        StartSection(m_miss, s, detailed ? &Missing(c, s.romClass) : nullptr);
        for (const std::uint32_t i : missing) {
            if (detailed) {
                Line(m_miss, m_catalogue->MissingChecksum(i) + " " + std::string(names[i]));
            } else {
                Indented(m_miss, names[i]);
            }
        }
        if (missing.empty()) Line(m_miss, kNoneLine);
    }
}

void Reports::BuildDupesListDetailed(const std::vector<ReportFile>& files, std::size_t longest) {
    const std::vector<std::string_view>& names = m_catalogue->Names();
    BuildDupesList(files);
    auto& c = m_counters;
    const StatusCounts count(files);
    m_dupes.clear();
    for (const Section& s : kSections) {
        StartSection(m_dupes, s, &Extra(c, s.romClass));
        int lines = 0;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (m_catalogue->ClassOfName(i) == s.romClass && count(names[i]) > 1)
                lines += FileLines(m_dupes, files, names[i], longest, names[i], 1);
        }
        if (lines == 0) Line(m_dupes, kNoneLine);
    }
    if (!AnyHacked(files)) return;
    StartExtraSection(m_dupes, "Hacked ROMs:", &c.hackedExtra);
    int lines = 0;
    for (std::string_view name : m_catalogue->Names()) {
        const std::string hacked = rom::HackedForm(name);
        if (count(hacked) > 1) lines += FileLines(m_dupes, files, hacked, longest, hacked, 1);
    }
    if (lines == 0) Line(m_dupes, kNoneLine);
}

}  // namespace kestro::romdb
