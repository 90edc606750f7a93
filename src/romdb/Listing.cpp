// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/Listing.h"

#include <algorithm>
#include <cmath>

#include "base/NumericText.h"
#include "base/Paths.h"
#include "base/Utf8Text.h"
#include "romdb/ZipArchive.h"

namespace kestro::romdb {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSeparator(char c) {
    return c == base::kPathSeparator || c == '/';
}

}  // namespace

bool IsRomFileName(std::string_view name) {
    if (name.size() < 3) return false;
    std::string_view ext = name.substr(name.size() - 3);
    return ext[0] == '.' && Lower(ext[1]) == 'v' && Lower(ext[2]) == 'b';
}

bool FileListOrder(const std::string& a, const std::string& b) {
    auto folded = [](char x, char y) { return Lower(x) < Lower(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
    return a < b;
}

std::vector<std::string> ListRomFiles(FileOps& files, const std::string& directory, bool archives) {
    std::vector<std::string> names;
    for (std::string& name : files.ListFiles(directory)) {
        if (IsRomFileName(name) || (archives && IsZipFileName(name))) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), FileListOrder);
    return names;
}

std::string ListingDirectoryText(const std::string& directory) {
    std::string text = directory;
    // A root keeps its separator: "/" and "C:\" stay as they are.
    while (text.size() > 1 && IsSeparator(text.back()) && !(text.size() == 3 && text[1] == ':')) text.pop_back();
    return text;
}

std::string DirectoryLabel(const std::string& directory) {
    return base::JoinPath(directory, "*.vb");
}

std::size_t LongestNameLength(const std::vector<std::string>& names) {
    std::size_t longest = 0;
    for (const std::string& name : names) longest = std::max(longest, base::DisplayWidth(name));
    return longest;
}

std::string DisplayLine(const std::string& name, std::size_t longest, std::string_view status) {
    std::string line = name;
    const std::size_t shown = base::DisplayWidth(name);
    if (shown < longest) line.append(longest - shown, ' ');
    line += " - ";
    line += status;
    return line;
}

std::string StatusOfLine(const std::string& line, std::size_t longest) {
    return std::string(std::string_view(line).substr(base::DisplayOffset(line, longest + 3)));
}

std::string NameOfLine(const std::string& line, std::size_t longest) {
    return TrimSpaces(std::string_view(line).substr(0, base::DisplayOffset(line, longest)));
}

std::string SafeFileName(std::string_view name) {
    std::string safe(name);
    for (char& c : safe) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) c = '_';
    }
    if (safe.empty() || safe == "." || safe == "..") return "_";
    return safe;
}

int RoundPercent(double value) {
    return static_cast<int>(base::RoundHalfEven(value));
}

int ProgressAt(int start, int span, std::size_t index, std::size_t count) {
    if (count == 0) return start;
    return RoundPercent(static_cast<double>(span) * static_cast<double>(index) / static_cast<double>(count) + start);
}

std::string TrimSpaces(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace kestro::romdb
