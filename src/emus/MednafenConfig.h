// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Mednafen's settings files (mednafen.cfg, vb.cfg, the per-game files):
// one "<key> <value>" a line, ";" starting a comment. Reading the values a
// file sets, and rewriting a file's text with some keys changed or taken out
// while every other line stays as it was, byte for byte.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestro::emus {

/// Setting values by key.
using MednafenValues = std::map<std::string, std::string>;

/// The values a settings file's text sets; a key set twice keeps its last value.
MednafenValues ReadMednafenConfig(std::string_view text);

/// One key's change: the value it takes, or nothing to take its lines out.
using MednafenChange = std::pair<std::string, std::optional<std::string>>;

/// The text with the changes made. A key's first line takes its new value
/// and its later lines go; a key not there yet is added at the end, in the
/// order of the changes; a key taken out loses all its lines. Every other
/// line stays as it was, and added lines end as the file's first line does
/// (CR LF or LF).
std::string UpdateMednafenConfig(std::string_view text, const std::vector<MednafenChange>& changes);

/// True when the text holds nothing but blank lines.
bool IsBlankConfig(std::string_view text);

}  // namespace kestro::emus
