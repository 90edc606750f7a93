// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// cRegistry: a cursor over another program's registry values (and, at
// start-up, the system locations), working over a replaceable backend.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "base/Message.h"

namespace kestro::base {

inline constexpr std::uint32_t HKEY_CLASSES_ROOT_ = 0x80000000u;
inline constexpr std::uint32_t HKEY_CURRENT_USER_ = 0x80000001u;
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE_ = 0x80000002u;
inline constexpr std::uint32_t HKEY_USERS_ = 0x80000003u;

enum RegistryType : std::int32_t {
    REG_NONE_ = 0,
    REG_SZ_ = 1,
    REG_EXPAND_SZ_ = 2,
    REG_BINARY_ = 3,
    REG_DWORD_ = 4,
    REG_DWORD_BIG_ENDIAN_ = 5,
    REG_MULTI_SZ_ = 7,
};

/// A value as the class hands it over: empty, text, 32-bit number or bytes.
using RegistryValue = std::variant<std::monostate, std::string, std::int32_t, std::vector<std::uint8_t>>;

/// Raw data of a stored value.
struct RegistryData {
    std::int32_t type = REG_NONE_;
    std::vector<std::uint8_t> bytes;
    friend bool operator==(const RegistryData&, const RegistryData&) = default;
};

/// Where values really live: the Windows registry, a Wine prefix, or memory.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    /// True when the key exists and may be opened for query access.
    virtual bool OpenForQuery(std::uint32_t root, const std::string& path) const = 0;
    virtual std::optional<RegistryData> Query(std::uint32_t root, const std::string& path,
                                              const std::string& name) const = 0;
    /// Creates the key (and its parents) or opens it with full access.
    virtual bool CreateKey(std::uint32_t root, const std::string& path) = 0;
    virtual bool SetValue(std::uint32_t root, const std::string& path, const std::string& name,
                          const RegistryData& data) = 0;
    /// Deletes a key that holds no sub-keys, as RegDeleteKey does.
    virtual bool DeleteKey(std::uint32_t root, const std::string& path) = 0;
    /// False when the key or the value is missing.
    virtual bool DeleteValue(std::uint32_t root, const std::string& path, const std::string& name) = 0;
    /// The names of the key's values, or of its direct sub-keys, as stored;
    /// nothing when the key cannot be opened.
    virtual std::optional<std::vector<std::string>> ValueNames(std::uint32_t root, const std::string& path) const = 0;
    virtual std::optional<std::vector<std::string>> SubKeyNames(std::uint32_t root, const std::string& path) const = 0;
    /// Environment-variable expansion of %NAME% forms (unknown names stay).
    virtual std::string Expand(const std::string& text) const;

    /// Writes up to the matching EndWrites may be held back and stored in one
    /// go (a Wine prefix: one rewrite of the file, or one import into a
    /// running wineserver), so that they are stored all or not at all.
    virtual void BeginWrites() {}
    /// Stores what was held back; false when that failed (nothing was stored).
    virtual bool EndWrites() { return true; }
    /// Drops what was held back, as when a save is abandoned half-way.
    virtual void DiscardWrites() {}
    /// Reads up to the matching EndReads may share one look at each key
    /// (through a running wineserver: one export of it).
    virtual void BeginReads() const {}
    virtual void EndReads() const {}
    /// Why the last write failed, in words for the user; "" when not known.
    virtual std::string FailureReason() const { return {}; }
};

/// Keys and values held in memory; key paths and value names compare without
/// regard to case, as the registry's do.
class MemoryRegistryBackend final : public RegistryBackend {
public:
    bool OpenForQuery(std::uint32_t root, const std::string& path) const override;
    std::optional<RegistryData> Query(std::uint32_t root, const std::string& path,
                                      const std::string& name) const override;
    bool CreateKey(std::uint32_t root, const std::string& path) override;
    bool SetValue(std::uint32_t root, const std::string& path, const std::string& name,
                  const RegistryData& data) override;
    bool DeleteKey(std::uint32_t root, const std::string& path) override;
    bool DeleteValue(std::uint32_t root, const std::string& path, const std::string& name) override;
    std::optional<std::vector<std::string>> ValueNames(std::uint32_t root, const std::string& path) const override;
    std::optional<std::vector<std::string>> SubKeyNames(std::uint32_t root, const std::string& path) const override;

    /// The key exists but refuses query access (as a key with a restrictive ACL).
    void DenyQuery(std::uint32_t root, const std::string& path);
    /// Every write under this root fails (a read-only hive).
    void DenyWrites(std::uint32_t root) { m_readOnlyRoots.insert(root); }
    void SetText(std::uint32_t root, const std::string& path, const std::string& name, const std::string& text);

private:
    using KeyId = std::pair<std::uint32_t, std::string>;
    struct Key {
        std::string path;  ///< as first written
        std::vector<std::pair<std::string, RegistryData>> values;
    };
    static KeyId Id(std::uint32_t root, const std::string& path);
    const Key* Open(std::uint32_t root, const std::string& path) const;
    std::map<KeyId, Key> m_keys;
    std::set<KeyId> m_denied;
    std::set<std::uint32_t> m_readOnlyRoots;
};

/// Error 26001, raised when a value cannot be written.
class RegistryError : public std::runtime_error {
public:
    RegistryError(std::string source, const std::string& text, std::string reason = {})
        : std::runtime_error(text), m_source(std::move(source)), m_reason(std::move(reason)) {}
    int Number() const { return 26001; }
    const std::string& Source() const { return m_source; }
    /// The storage's own explanation (no Wine prefix yet, Wine refused the
    /// import, ...), shown after the error's text; may be empty.
    const std::string& Reason() const { return m_reason; }

private:
    std::string m_source;
    std::string m_reason;
};

/// How the program shows an error 26001 that ended a save or a start.
Message RegistryErrorMessage(const RegistryError& error);

class cRegistry {
public:
    explicit cRegistry(RegistryBackend& backend) : m_backend(backend) {}

    bool KeyExists() const;
    /// Reads the value; sets ValueType to the stored type. A missing key or
    /// value gives Default.
    RegistryValue Value();
    /// Writes the value by ValueType; throws RegistryError on failure.
    void SetValue(const RegistryValue& value);
    /// Create or delete SectionKey, delete ValueKey: throw RegistryError on failure.
    void CreateKey();
    void DeleteKey();
    void DeleteValue();
    /// The names of SectionKey's values and sub-keys; none when it cannot be opened.
    std::vector<std::string> EnumerateValues() const;
    std::vector<std::string> EnumerateSections() const;
    /// Brackets a series of writes that the storage may keep back and store
    /// together; EndWrites raises the error of the value written last when
    /// they cannot be stored.
    void BeginWrites() { m_backend.BeginWrites(); }
    void EndWrites();
    void DiscardWrites() { m_backend.DiscardWrites(); }
    /// Brackets a series of reads that may share one look at each key.
    void BeginReads() const { m_backend.BeginReads(); }
    void EndReads() const { m_backend.EndReads(); }

    std::int32_t ValueType() const { return m_valueType; }
    void SetValueType(std::int32_t type) { m_valueType = type; }
    std::uint32_t ClassKey() const { return m_classKey; }
    void SetClassKey(std::uint32_t key) { m_classKey = key; }
    const std::string& SectionKey() const { return m_sectionKey; }
    void SetSectionKey(std::string key) { m_sectionKey = std::move(key); }
    const std::string& ValueKey() const { return m_valueKey; }
    void SetValueKey(std::string key) { m_valueKey = std::move(key); }
    const RegistryValue& Default() const { return m_default; }
    void SetDefault(RegistryValue value) { m_default = std::move(value); }

    /// The executable name that starts the error source ("<name>.cRegistry").
    static void SetExecutableName(std::string name);
    static const std::string& ExecutableName();

private:
    [[noreturn]] void RaiseWriteError(const RegistryValue& value) const;
    [[noreturn]] void Raise(const std::string& text) const;
    std::string RootText() const;

    RegistryBackend& m_backend;
    std::uint32_t m_classKey = 0;
    std::string m_sectionKey;
    std::string m_valueKey;
    std::int32_t m_valueType = 0;
    RegistryValue m_default;
    RegistryValue m_lastWritten;
};

/// One save's writes through a registry object, stored together: Commit
/// ends the group (raising the error when storing fails); a group left by an
/// error drops what the storage held back, so that a save into a Wine
/// prefix is never stored in part.
class RegistryWriteGroup {
public:
    explicit RegistryWriteGroup(cRegistry& registry) : m_registry(registry) { m_registry.BeginWrites(); }
    ~RegistryWriteGroup();
    RegistryWriteGroup(const RegistryWriteGroup&) = delete;
    RegistryWriteGroup& operator=(const RegistryWriteGroup&) = delete;
    void Commit();

private:
    cRegistry& m_registry;
    bool m_open = true;
};

/// One series of reads through a registry object that share one look at each key.
class RegistryReadGroup {
public:
    explicit RegistryReadGroup(const cRegistry& registry) : m_registry(registry) { m_registry.BeginReads(); }
    ~RegistryReadGroup() { m_registry.EndReads(); }
    RegistryReadGroup(const RegistryReadGroup&) = delete;
    RegistryReadGroup& operator=(const RegistryReadGroup&) = delete;

private:
    const cRegistry& m_registry;
};

/// The value as text, as the error message and callers that want text show it.
std::string RegistryValueText(const RegistryValue& value);

/// A key path without "\" at either end.
std::string TrimRegistryPath(const std::string& path);

/// True when the text holds a %NAME% form: a "%" and a second "%" at least
/// two positions after it.
bool HasExpandableName(const std::string& text);

}  // namespace kestro::base
