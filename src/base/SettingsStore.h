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
    /// Writes the text, creating the key; on disk before this returns.
    virtual void Write(const std::string& key, const std::string& value) = 0;

    /// Why the store cannot keep what is written (its file cannot be read or
    /// written), in words for the user; empty while all is well.
    virtual std::string Problem() const { return {}; }

    /// Read with a default for a missing key.
    std::string Read(const std::string& key, const std::string& defaultValue) const {
        return Find(key).value_or(defaultValue);
    }
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
