// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kestro::base {

namespace {
bool IsSeparator(char c) {
#if defined(_WIN32)
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool IsRegularFile(const std::filesystem::directory_entry& entry) {
    std::error_code ec;
    return entry.is_regular_file(ec);  // follows links
}

// Calls fn for each regular file of the directory until it returns true.
template <typename Fn>
bool AnyFileIn(const std::string& directory, Fn fn) {
    std::error_code ec;
    std::filesystem::directory_iterator it(directory.empty() ? "." : directory, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (IsRegularFile(*it) && fn(it->path().filename().string())) return true;
    }
    return false;
}
}  // namespace

std::string WithTrailingSeparator(std::string directory) {
    if (!directory.empty() && !IsSeparator(directory.back())) directory += kPathSeparator;
    return directory;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    return WithTrailingSeparator(directory) + name;
}

std::string DirectoryOf(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsSeparator(path[i - 1])) return path.substr(0, i);
    }
    return {};
}

std::string FileNameOf(const std::string& path) {
    return path.substr(DirectoryOf(path).size());
}

std::string WithDefaultExtension(const std::string& path, std::string_view extension) {
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) return path;
    return path + std::string(extension);
}

std::string WithFilterExtension(const std::string& path, std::string_view filter) {
    const std::size_t bar = filter.find('|');
    if (bar == std::string_view::npos) return path;
    std::string_view pattern = filter.substr(bar + 1);
    pattern = pattern.substr(0, std::min(pattern.find('|'), pattern.find(';')));
    if (pattern.size() < 3 || pattern.substr(0, 2) != "*." || pattern == "*.*") return path;
    return WithDefaultExtension(path, pattern.substr(1));
}

std::optional<std::string> FindFileNoCase(const std::string& directory, std::string_view name) {
    if (name.empty()) return std::nullopt;
    std::error_code ec;
    const std::string exact = JoinPath(directory, std::string(name));
    if (std::filesystem::is_regular_file(exact, ec)) return exact;
    std::optional<std::string> found;
    AnyFileIn(directory, [&](const std::string& file) {
        if (!EqualNoCase(file, name)) return false;
        found = JoinPath(directory, file);
        return true;
    });
    return found;
}

std::string GetShortPath(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) return {};
    return path;
}

std::string ShortProgramPath(const std::string& directory, const std::string& name) {
    const bool root = !directory.empty() && IsSeparator(directory.back());
    return GetShortPath(directory) + (root ? "" : std::string(1, kPathSeparator)) + name;
}

bool HasFileWithExtensionNoCase(const std::string& directory, std::string_view extension) {
    return AnyFileIn(directory, [&](const std::string& file) {
        return file.size() > extension.size() &&
               EqualNoCase(std::string_view(file).substr(file.size() - extension.size()), extension);
    });
}

}  // namespace kestro::base
