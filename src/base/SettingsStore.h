// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-user settings store: text values under "Kestro Utils" / "Settings".

#include <map>
#include <optional>
#include <string>

namespace kestro::base {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    /// The stored text, or nothing when the key does not exist.
    virtual std::optional<std::string> Find(const std::string& key) const = 0;
    /// Writes the text, creating the key; on disk before this returns, unless
    /// a SettingsBatch holds it back until the batch ends.
    virtual void Write(const std::string& key, const std::string& value) = 0;

    /// Writes made between these two reach the disk together when the
    /// outermost batch ends. SettingsBatch calls them.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}

    /// Why the store cannot keep what is written (its file cannot be read or
    /// written), in words for the user; empty while all is well.
    virtual std::string Problem() const { return {}; }

    /// Read with a default for a missing key.
    std::string Read(const std::string& key, const std::string& defaultValue) const {
        return Find(key).value_or(defaultValue);
    }
};

/// Holds a store's writes for its lifetime and puts them on disk in one go:
/// a window saving forty keys rewrites the file once, not forty times.
class SettingsBatch {
public:
    explicit SettingsBatch(SettingsStore& store) : m_store(store) { m_store.BeginBatch(); }
    ~SettingsBatch() { m_store.EndBatch(); }
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

private:
    SettingsStore& m_store;
};

/// A store held in memory, for tests and for command-line runs that must not
/// touch the user's settings.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> Find(const std::string& key) const override {
        auto it = m_values.find(key);
        if (it == m_values.end()) return std::nullopt;
        return it->second;
    }
    void Write(const std::string& key, const std::string& value) override {
        m_values[key] = value;
        ++m_writes;
    }
    const std::map<std::string, std::string>& Values() const { return m_values; }
    int WriteCount() const { return m_writes; }

private:
    std::map<std::string, std::string> m_values;
    int m_writes = 0;
};

}  // namespace kestro::base
