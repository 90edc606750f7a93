// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One of a Wine prefix's registry files (user.reg, system.reg, userdef.reg)
// in Wine's own text form, read and edited in place: an edit changes the
// lines of the values written and the touched key's time lines, and leaves
// every other byte as Wine wrote it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Registry.h"

namespace kestro::base {

/// The first line of every registry file Wine writes.
inline constexpr char kWineRegistryHeader[] = "WINE REGISTRY Version 2";

/// A moment as Wine stamps a key: 100-nanosecond ticks since 1601 (FILETIME).
using WineFileTime = std::uint64_t;
WineFileTime WineFileTimeNow();
/// The seconds since 1970 that the key's header line carries.
std::int64_t UnixSeconds(WineFileTime time);

class WineRegistryFile {
public:
    /// Takes the file's bytes; lines it does not understand are kept as they are.
    explicit WineRegistryFile(std::string text);

    /// True when the text starts with Wine's header line.
    bool IsWineRegistry() const;
    const std::string& Text() const { return m_text; }

    /// The key is written in the file, or implied by a key below it (Wine
    /// leaves out keys that hold only sub-keys). Paths use "\" and compare
    /// without regard to case; "" is the file's root.
    bool HasKey(const std::string& path) const;
    /// The value's type and data (text as UTF-8 with its terminating zero);
    /// nothing when the key or value is missing or its data is unreadable.
    std::optional<RegistryData> Find(const std::string& path, const std::string& name) const;

    /// The names of the key's values, and of its direct sub-keys, as written.
    std::vector<std::string> ValueNames(const std::string& path) const;
    std::vector<std::string> SubKeyNames(const std::string& path) const;

    /// Writes the key's section (in Wine's order) when the file has none.
    void EnsureKey(const std::string& path, WineFileTime now);
    /// Replaces the value's lines, or adds them at the end of the key's
    /// values, creating the key; the key's time lines take now.
    void SetValue(const std::string& path, const std::string& name, const RegistryData& data, WineFileTime now);
    /// The same for several values of one key, in one edit of the file.
    void SetValues(const std::string& path, const std::vector<std::pair<std::string, RegistryData>>& values,
                   WineFileTime now);
    /// Removes the value's lines; false when the key or value is missing.
    bool DeleteValue(const std::string& path, const std::string& name, WineFileTime now);
    /// Removes the key's section; false when it is missing or has sub-keys.
    bool DeleteKey(const std::string& path, WineFileTime now);

private:
    struct Line {
        std::size_t begin = 0;
        std::size_t end = 0;   ///< before the line end
        std::size_t next = 0;  ///< after the line end
    };
    struct Value {
        std::string name;
        std::string folded;
        std::size_t first = 0, last = 0;  ///< its lines, continuations included
    };
    struct Section {
        std::string path;  ///< as written, escapes undone
        std::string folded;
        std::size_t header = 0;
        std::optional<std::size_t> time;
        std::vector<Value> values;
        std::size_t lastContent = 0;  ///< the last non-blank line
    };

    void Index();
    std::string_view LineText(std::size_t line) const;
    const Section* FindSection(const std::string& folded) const;
    std::size_t NewSectionLine(const std::string& folded) const;
    void Replace(std::size_t from, std::size_t to, const std::string& with);
    void Touch(const std::string& folded, WineFileTime now);
    /// Sets a value of the text's only key (a key cut out of a file).
    void PutValue(const std::string& name, const RegistryData& data);

    std::string m_text;
    std::string m_eol = "\n";
    std::vector<Line> m_lines;
    std::vector<Section> m_sections;
};

/// Wine keeps texts as UTF-16, the program as UTF-8; a byte that is not
/// part of valid UTF-8 stands for itself (Latin-1), so nothing is dropped.
std::u16string Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(const std::u16string& text);

/// A key path made comparable: "\" trimmed at both ends, upper case.
std::string FoldRegistryPath(const std::string& path);
/// A value name made comparable: upper case.
std::string FoldRegistryName(std::string name);

}  // namespace kestro::base
