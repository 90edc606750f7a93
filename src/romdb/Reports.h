// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The collection's four report texts (collected, missing, duplicates and the
// change log), their counters, and the summaries the report buttons show.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/Message.h"

namespace kestro::romdb {

class Catalogue;

/// The three sections a known name is listed in.
enum class RomClass { Good, Bad, PdTranslated };

/// bad: ends in "[b1]" or "[b2]"; PD/translated: ends in "(PD)" or holds "[T-"; good: the rest.
RomClass ClassOf(std::string_view name);

/// One file as the reports see it.
struct ReportFile {
    std::string name;      ///< the listed file name
    std::string status;    ///< its status, spaces trimmed
    std::string checksum;  ///< its whole-file checksum cell (empty unless identified)
};

struct ReportCounters {
    int knownFound = 0, goodFound = 0, badFound = 0, pdFound = 0, hackedFound = 0;
    int filesMatched = 0, unknownFiles = 0, invalidFiles = 0;
    int missing = 0, goodMissing = 0, badMissing = 0, pdMissing = 0;
    int extraCopies = 0, goodExtra = 0, badExtra = 0, pdExtra = 0, hackedExtra = 0;
    int catalogued = 38;  ///< the names of the catalogue the reports count against

    friend bool operator==(const ReportCounters&, const ReportCounters&) = default;
};

/// Report texts use CR LF after every line, the last included.
class Reports {
public:
    Reports();

    /// The catalogue whose names the reports list (the built-in table until
    /// told otherwise); resets the three lists for it.
    void SetCatalogue(std::shared_ptr<const Catalogue> catalogue);
    const Catalogue& catalogue() const { return *m_catalogue; }

    void ResetHaveList();
    void ResetMissList();
    void ResetDupesList();
    void ResetChangeLog();

    void BuildHaveList(const std::vector<ReportFile>& files);
    void BuildMissList(const std::vector<ReportFile>& files);
    void BuildDupesList(const std::vector<ReportFile>& files);
    /// Detailed forms: each runs its plain builder for the counters, then
    /// lists files by name and checksum, names padded to the longest.
    void BuildHaveListDetailed(const std::vector<ReportFile>& files, std::size_t longest);
    void BuildMissListDetailed(const std::vector<ReportFile>& files);
    void BuildDupesListDetailed(const std::vector<ReportFile>& files, std::size_t longest);

    /// The change log, as the rename writes it.
    void StartChangeLog();
    void AppendLog(const std::string& line);

    const std::string& have() const { return m_have; }
    const std::string& miss() const { return m_miss; }
    const std::string& dupes() const { return m_dupes; }
    const std::string& log() const { return m_log; }
    const ReportCounters& counters() const { return m_counters; }

private:
    void BuildMiss(const std::vector<ReportFile>& files, bool detailed);

    std::shared_ptr<const Catalogue> m_catalogue;
    std::string m_have, m_miss, m_dupes, m_log;
    ReportCounters m_counters;
};

/// A count in a summary: at least two digits (5 is "05").
std::string TwoDigits(int count);

/// The message boxes of "Display Collected", "Display Missing" and "Display Duplicates".
base::Message HaveSummary(const ReportCounters& counters);
base::Message MissSummary(const ReportCounters& counters);
base::Message DupesSummary(const ReportCounters& counters);

}  // namespace kestro::romdb
