// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the commands share: argument parsing with help and usage errors, and
// the report of one ROM as text or JSON.

#include <functional>
#include <CLI/CLI.hpp>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Message.h"
#include "rom/RomImage.h"
#include "romdb/Catalogue.h"
#include "romdb/ContentHash.h"

namespace kestro::cli {

/// Parses a command's arguments. Returns the exit status when parsing ends
/// the command (help was asked for, or the arguments are wrong), else nothing.
std::optional<int> ParseCommand(CLI::App& command, const std::vector<std::string>& args, std::ostream& out,
                                std::ostream& err);

/// A whole number as every numeric option takes it: decimal digits, or
/// hexadecimal digits after "0x" (byte offsets read naturally that way), with
/// no sign, blank or other character; nothing when the text is not one or
/// lies outside [low, high].
std::optional<std::int64_t> ParseWholeOption(std::string_view text, std::int64_t low, std::int64_t high);

/// The one line that refuses a numeric option's text, naming what it takes:
/// "--width: "0" is not a whole number from 1 to 32767 (decimal, or hexadecimal after 0x)."
std::string WholeOptionProblem(std::string_view option, std::string_view text, std::int64_t low, std::int64_t high);

/// Single-byte text for a terminal, in UTF-8, so that a ROM's header cannot
/// drive the terminal: with katakana true (titles) as the windows draw a
/// title, control codes left out; otherwise Latin-1 with control codes as U+FFFD.
std::string PrintableText(std::string_view bytes, bool katakana = true);

/// A file name or path for a terminal: UTF-8 as the file system gives it,
/// with each byte that is no part of a character, and each control code,
/// written as \xHH instead of being guessed at or replaced.
std::string PrintableName(std::string_view name);

/// A message on one line: "Title: text", its line breaks as spaces.
std::string MessageLine(const base::Message& message);

/// A command's JSON report as printed, indented. A text that is not UTF-8
/// (old collections hold Latin-1 and Shift-JIS names) is written readable,
/// each stray byte as U+FFFD, and beside it NAME_bytes keeps it exactly:
/// UTF-8 as it is, every other byte, control code and backslash as \xHH.
std::string JsonText(const nlohmann::ordered_json& json);

/// Writes what JsonText gives for json, with the array under `key` made item by
/// item as it is written: a long list is never held whole. json holds an empty
/// array under `key`, in its place.
void WriteJsonStreamingList(std::ostream& out, const nlohmann::ordered_json& json, const std::string& key,
                            std::size_t count, const std::function<nlohmann::ordered_json(std::size_t)>& item);

/// One file's report object for `info --json`.
nlohmann::ordered_json RomJson(const std::string& path, const rom::RomOpenResult& opened);

/// One file's readable report block.
void PrintRom(std::ostream& out, const std::string& path, const rom::RomOpenResult& opened);

/// The catalogue a `--dat FILE` option names: the DAT read into catalogue.
/// Returns the exit status, after the reason on err, when it cannot be read.
std::optional<int> ReadDatOption(const std::string& path, std::string_view command, std::ostream& err,
                                 std::shared_ptr<const romdb::Catalogue>& catalogue);

/// The hashes a file was matched by: crc32, sha1, md5, each null when not taken.
nlohmann::ordered_json HashesJson(const romdb::FileHashes& hashes);

}  // namespace kestro::cli
