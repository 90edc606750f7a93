// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The detail report of one listed file, and the list files the save button writes.

#include <cstddef>
#include <functional>
#include <string>

#include "base/Message.h"
#include "romdb/Collection.h"

namespace kestro::romdb {

/// Width of a UTF-8 text in the font the rules are measured in.
using TextWidth = std::function<int(const std::string& text)>;

/// "ROM Identification:" for a row: its heading, identification, checksum and
/// header fields. Rules and the title's indent are measured with width.
base::Message DetailReport(const FileRow& row, std::size_t longest, const TextWidth& width);

/// The four list files' names.
inline constexpr const char* kHaveFile = "VBoyHave.txt";
inline constexpr const char* kMissFile = "VBoyMiss.txt";
inline constexpr const char* kDupesFile = "VBoyDupes.txt";
inline constexpr const char* kLogFile = "VBoyLog.txt";

/// Writes VBoyHave.txt, VBoyMiss.txt, VBoyDupes.txt and, with the change
/// log, VBoyLog.txt into the directory, each report without its final line
/// feed, each replacing any file as one step. Returns the message to show:
/// "Files saved", or which file could not be written and why.
base::Message SaveListFiles(FileOps& files, const std::string& directory, const Reports& reports, bool changeLog);

}  // namespace kestro::romdb
