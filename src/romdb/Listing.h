// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The collection's listing: the .vb files of one directory, their display
// lines and statuses, and the progress values of a run.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "romdb/FileOps.h"

namespace kestro::romdb {

/// Statuses a file shows behind " - " besides the catalogue names.
inline constexpr std::string_view kYetToBeIdentified = "[YET TO BE IDENTIFIED]";
inline constexpr std::string_view kIdentifying = "[INDENTIFYING VB ROM...]";
inline constexpr std::string_view kInvalidRom = "[INVALID VB ROM IMAGE]";
inline constexpr std::string_view kUnknownRom = "[UNKNOWN VB ROM]";

/// True for a name ending in ".vb", in any case.
bool IsRomFileName(std::string_view name);

/// Orders names as a file list shows them: by name without regard to case,
/// names that differ only in case by their bytes.
bool FileListOrder(const std::string& a, const std::string& b);

/// The directory's .vb files (and, with archives, its .zip files) in
/// file-list order; none when it cannot be read.
std::vector<std::string> ListRomFiles(FileOps& files, const std::string& directory, bool archives = false);

/// A catalogue name as a file name: each character no file system takes
/// (/ \ : * ? " < > | and control codes) becomes "_"; "." and ".." become "_".
std::string SafeFileName(std::string_view name);

/// A directory as the listing keeps it: without a trailing separator, unless
/// it is a root ("/", "C:\").
std::string ListingDirectoryText(const std::string& directory);

/// The directory label: the directory and "*.vb", with one separator between.
std::string DirectoryLabel(const std::string& directory);

/// The greatest width of the names in fixed-pitch columns (0 for none).
std::size_t LongestNameLength(const std::vector<std::string>& names);

/// "name", spaces up to the longest name width (in columns), " - ", status.
std::string DisplayLine(const std::string& name, std::size_t longest, std::string_view status);

/// The status part of a display line (what follows the padded name and " - ").
std::string StatusOfLine(const std::string& line, std::size_t longest);

/// The file name part of a display line, trimmed of spaces at both ends.
std::string NameOfLine(const std::string& line, std::size_t longest);

/// A percentage rounded to the nearest whole number, halves to even.
int RoundPercent(double value);

/// Progress after item index of count within a span: span * index / count + start.
int ProgressAt(int start, int span, std::size_t index, std::size_t count);

/// Text with spaces removed from both ends.
std::string TrimSpaces(std::string_view text);

}  // namespace kestro::romdb
