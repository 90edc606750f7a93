// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report buttons' summaries worded for the catalogue in use: a DAT tags
// no good dump "[!]", so its summaries say what was checked against it.

#include "base/Message.h"
#include "romdb/Reports.h"

namespace kestro::romdb {

class Catalogue;

base::Message HaveSummary(const ReportCounters& counters, const Catalogue& catalogue);
base::Message MissSummary(const ReportCounters& counters, const Catalogue& catalogue);
base::Message DupesSummary(const ReportCounters& counters, const Catalogue& catalogue);

}  // namespace kestro::romdb
