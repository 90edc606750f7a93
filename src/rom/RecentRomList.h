// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of recently opened ROMs, shared through the settings store by the
// ROM information window, the tile viewer and two emulator front-ends.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/SettingsStore.h"

namespace kestro::rom {

inline constexpr int kRecentRomSlots = 10;

/// The first entry of the front-ends' drop-down list.
inline constexpr std::string_view kRecentPlaceholder = "Please select a file name...";

/// One item of the "&Recent Files" submenu (mnuFileRecent0 ... mnuFileRecent9).
struct RecentMenuItem {
    std::string caption;  ///< "&3 " followed by the path: the digit is the access key
    bool visible = false;
    friend bool operator==(const RecentMenuItem&, const RecentMenuItem&) = default;
};

/// The menu presentation: what a window shows, item by item.
struct RecentMenu {
    bool submenuVisible = false;    ///< the "&Recent Files" submenu
    bool separatorVisible = false;  ///< the separator below it
    std::array<RecentMenuItem, kRecentRomSlots> items;
};

/// One window's copy of the list. Every change is written to the store at
/// once (all ten keys), so a window opened later sees it. Paths compare as
/// exact text: two paths that differ in letter case are two entries.
class RecentRomList {
public:
    explicit RecentRomList(base::SettingsStore& store);

    /// Reads "Recent ROMs number" (0-10; 0 switches the list off) and the ten
    /// entries. A count outside 0-10 is taken as the nearest of the two ends.
    void Load();

    int Count() const { return m_count; }
    /// Entries 0-9, index 0 the most recent; unused ones are empty.
    const std::array<std::string, kRecentRomSlots>& Entries() const { return m_entries; }

    /// Makes path the most recent entry, then saves and refreshes.
    void Add(const std::string& path);
    /// Takes path out of the list, then saves and refreshes.
    void Remove(const std::string& path);
    /// Empties the entry at index; below the count, the entries above move up.
    void ClearFrom(int index);
    /// Writes entries 0-9 to "Recent ROM #1" ... "Recent ROM #10".
    void Save();
    /// Empties the entries at and beyond the count, then saves. Windows call
    /// this when they open and render Menu() or DropDownItems() afterwards.
    void Refresh();

    /// The submenu as the list now stands.
    RecentMenu Menu() const;
    /// The drop-down's items: the placeholder, then each non-empty entry in use.
    std::vector<std::string> DropDownItems() const;

    /// The user chose menu item index: the path to open when a file exists
    /// there, else nothing, and the entry is removed without a message.
    std::optional<std::string> Select(int index);

private:
    int Find(const std::string& path) const;

    base::SettingsStore& m_store;
    int m_count = 4;
    std::array<std::string, kRecentRomSlots> m_entries;
};

}  // namespace kestro::rom
