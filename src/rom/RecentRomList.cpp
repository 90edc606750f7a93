// SPDX-License-Identifier: GPL-3.0-or-later
#include "rom/RecentRomList.h"

#include <algorithm>
#include <filesystem>

#include "base/SettingsKeys.h"

namespace kestro::rom {

RecentRomList::RecentRomList(base::SettingsStore& store) : m_store(store) {}

void RecentRomList::Load() {
    m_count = std::clamp(base::ReadWhole(m_store, base::keys::RecentRomsNumber), 0, kRecentRomSlots);
    for (std::size_t i = 0; i < m_entries.size(); ++i) m_entries[i] = base::ReadText(m_store, base::keys::RecentRom[i]);
}

int RecentRomList::Find(const std::string& path) const {
    // When the stored list holds a path twice, the later one counts.
    int found = -1;
    for (int i = 0; i < m_count; ++i) {
        if (m_entries[static_cast<std::size_t>(i)] == path) found = i;
    }
    return found;
}

void RecentRomList::Add(const std::string& path) {
    int found = Find(path);
    // Not in the list: everything moves down one place, the last entry is lost.
    const int from = found < 0 ? kRecentRomSlots - 1 : found;
    for (int k = from; k >= 1; --k) m_entries[static_cast<std::size_t>(k)] = m_entries[static_cast<std::size_t>(k - 1)];
    m_entries[0] = path;
    Save();
    Refresh();
}

void RecentRomList::Remove(const std::string& path) {
    int found = Find(path);
    if (found >= 0) {
        for (int k = found; k + 1 < m_count; ++k) {
            m_entries[static_cast<std::size_t>(k)] = m_entries[static_cast<std::size_t>(k + 1)];
        }
        m_entries[static_cast<std::size_t>(m_count - 1)].clear();
    }
    Save();
    Refresh();
}

void RecentRomList::ClearFrom(int index) {
    if (index < 0 || index >= kRecentRomSlots) return;
    if (index + 1 < m_count) {
        for (int k = index; k + 1 < m_count; ++k) {
            m_entries[static_cast<std::size_t>(k)] = m_entries[static_cast<std::size_t>(k + 1)];
        }
        m_entries[static_cast<std::size_t>(m_count - 1)].clear();
    } else {
        m_entries[static_cast<std::size_t>(index)].clear();
    }
}

void RecentRomList::Save() {
    for (std::size_t i = 0; i < m_entries.size(); ++i) base::WriteText(m_store, base::keys::RecentRom[i], m_entries[i]);
}

void RecentRomList::Refresh() {
    for (int index = m_count; index < kRecentRomSlots; ++index) ClearFrom(index);
    Save();
}

RecentMenu RecentRomList::Menu() const {
    RecentMenu menu;
    menu.submenuVisible = menu.separatorVisible = true;
    for (int k = 0; k < kRecentRomSlots; ++k) {
        const std::string& entry = m_entries[static_cast<std::size_t>(k)];
        RecentMenuItem& item = menu.items[static_cast<std::size_t>(k)];
        item.caption = "&" + std::to_string(k) + " " + entry;
        // Item 0 is never hidden by itself: the whole submenu goes instead.
        item.visible = k == 0 || (k < m_count && !entry.empty());
    }
    if (m_entries[0].empty() || m_count == 0) menu.submenuVisible = menu.separatorVisible = false;
    return menu;
}

std::vector<std::string> RecentRomList::DropDownItems() const {
    std::vector<std::string> items{std::string(kRecentPlaceholder)};
    for (int i = 0; i < m_count; ++i) {
        if (!m_entries[static_cast<std::size_t>(i)].empty()) items.push_back(m_entries[static_cast<std::size_t>(i)]);
    }
    return items;
}

std::optional<std::string> RecentRomList::Select(int index) {
    if (index < 0 || index >= kRecentRomSlots) return std::nullopt;
    const std::string path = m_entries[static_cast<std::size_t>(index)];
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) return path;
    Remove(path);
    return std::nullopt;
}

}  // namespace kestro::rom
