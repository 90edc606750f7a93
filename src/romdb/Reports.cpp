// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/Reports.h"

#include "romdb/Catalogue.h"
#include "romdb/ReportText.h"

namespace kestro::romdb {

using namespace reporttext;

RomClass ClassOf(std::string_view name) {
    if (EndsWith(name, "[b1]") || EndsWith(name, "[b2]")) return RomClass::Bad;
    if (EndsWith(name, "(PD)") || name.find("[T-") != std::string_view::npos) return RomClass::PdTranslated;
    return RomClass::Good;
}

std::string TwoDigits(int count) {
    std::string digits = std::to_string(count);
    return count >= 0 && count < 10 ? "0" + digits : digits;
}

Reports::Reports() : m_catalogue(std::make_shared<const Catalogue>()) {
    ResetHaveList();
    ResetMissList();
    ResetDupesList();
    ResetChangeLog();
}

void Reports::SetCatalogue(std::shared_ptr<const Catalogue> catalogue) {
    m_catalogue = catalogue ? std::move(catalogue) : std::make_shared<const Catalogue>();
    m_counters.catalogued = static_cast<int>(m_catalogue->Names().size());
    ResetHaveList();
    ResetMissList();
    ResetDupesList();
}

void Reports::ResetHaveList() {
    auto& c = m_counters;
    c.knownFound = c.goodFound = c.badFound = c.pdFound = c.hackedFound = 0;
    c.filesMatched = c.unknownFiles = c.invalidFiles = 0;
    m_have.clear();
    for (const Section& s : kSections) {
        if (s.romClass != RomClass::Good) Line(m_have, "");
        Line(m_have, s.heading);
        Line(m_have, kNoneLine);
    }
}

void Reports::ResetDupesList() {
    auto& c = m_counters;
    c.extraCopies = c.goodExtra = c.badExtra = c.pdExtra = c.hackedExtra = 0;
    m_dupes.clear();
    for (const Section& s : kSections) {
        if (s.romClass != RomClass::Good) Line(m_dupes, "");
        Line(m_dupes, s.heading);
        Line(m_dupes, kNoneLine);
    }
}

void Reports::ResetMissList() {
    auto& c = m_counters;
    c.missing = c.goodMissing = c.badMissing = c.pdMissing = 0;
    m_miss.clear();
    for (const Section& s : kSections) {
        if (s.romClass != RomClass::Good) Line(m_miss, "");
        Line(m_miss, s.heading);
        const std::vector<std::string_view>& names = m_catalogue->Names();
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (m_catalogue->ClassOfName(i) == s.romClass) Indented(m_miss, names[i]);
        }
    }
}

void Reports::ResetChangeLog() {
    m_log.clear();
    Line(m_log, "File change log:");
    Indented(m_log, "No changes");
}

void Reports::StartChangeLog() {
    m_log.clear();
    Line(m_log, "File change log:");
}

void Reports::AppendLog(const std::string& line) {
    Line(m_log, line);
}

}  // namespace kestro::romdb
