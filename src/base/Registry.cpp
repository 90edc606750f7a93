// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Registry.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace kestro::base {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::uint8_t> TextBytes(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::uint32_t ReadU32(const std::vector<std::uint8_t>& b) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4 && i < b.size(); ++i) v |= static_cast<std::uint32_t>(b[i]) << (8 * i);
    return v;
}

std::string g_executableName = "kestro-utils";

}  // namespace

std::string RegistryBackend::Expand(const std::string& text) const {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t open = text.find('%', pos);
        std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out.append(text, pos, std::string::npos);
            break;
        }
        out.append(text, pos, open - pos);
        std::string name = text.substr(open + 1, close - open - 1);
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        if (value != nullptr) {
            out += value;
            pos = close + 1;
        } else {
            // Unknown names stay as written; the closing "%" may open the next name.
            out.append(text, open, close - open);
            pos = close;
        }
    }
    return out;
}

MemoryRegistryBackend::KeyId MemoryRegistryBackend::Id(std::uint32_t root, const std::string& path) {
    return {root, Lower(TrimRegistryPath(path))};
}

const MemoryRegistryBackend::Key* MemoryRegistryBackend::Open(std::uint32_t root, const std::string& path) const {
    KeyId id = Id(root, path);
    auto it = m_keys.find(id);
    return it == m_keys.end() || m_denied.count(id) != 0 ? nullptr : &it->second;
}

bool MemoryRegistryBackend::OpenForQuery(std::uint32_t root, const std::string& path) const {
    return Open(root, path) != nullptr;
}

std::optional<RegistryData> MemoryRegistryBackend::Query(std::uint32_t root, const std::string& path,
                                                         const std::string& name) const {
    const Key* key = Open(root, path);
    if (key == nullptr) return std::nullopt;
    for (const auto& [stored, data] : key->values) {
        if (Lower(stored) == Lower(name)) return data;
    }
    return std::nullopt;
}

bool MemoryRegistryBackend::CreateKey(std::uint32_t root, const std::string& path) {
    if (m_readOnlyRoots.count(root) != 0) return false;
    // Parents come into being with the key, as RegCreateKeyEx makes them.
    std::string trimmed = TrimRegistryPath(path);
    for (std::size_t cut = 0; cut != std::string::npos;) {
        cut = trimmed.find('\\', cut + 1);
        const std::string part = trimmed.substr(0, cut);
        Key& key = m_keys[Id(root, part)];
        if (key.path.empty()) key.path = part;
    }
    return true;
}

bool MemoryRegistryBackend::SetValue(std::uint32_t root, const std::string& path, const std::string& name,
                                     const RegistryData& data) {
    if (m_readOnlyRoots.count(root) != 0) return false;
    auto it = m_keys.find(Id(root, path));
    if (it == m_keys.end()) return false;
    auto& values = it->second.values;
    auto same = std::find_if(values.begin(), values.end(),
                             [&](const auto& value) { return Lower(value.first) == Lower(name); });
    if (same != values.end())
        same->second = data;
    else
        values.emplace_back(name, data);
    return true;
}

bool MemoryRegistryBackend::DeleteKey(std::uint32_t root, const std::string& path) {
    const KeyId id = Id(root, path);
    const auto sub = SubKeyNames(root, path);
    if (m_readOnlyRoots.count(root) != 0 || id.second.empty() || !sub || !sub->empty()) return false;
    m_keys.erase(id);
    return true;
}

bool MemoryRegistryBackend::DeleteValue(std::uint32_t root, const std::string& path, const std::string& name) {
    auto it = m_keys.find(Id(root, path));
    if (m_readOnlyRoots.count(root) != 0 || it == m_keys.end()) return false;
    auto& values = it->second.values;
    const auto count = values.size();
    values.erase(std::remove_if(values.begin(), values.end(),
                                [&](const auto& value) { return Lower(value.first) == Lower(name); }),
                 values.end());
    return values.size() != count;
}

std::optional<std::vector<std::string>> MemoryRegistryBackend::ValueNames(std::uint32_t root,
                                                                          const std::string& path) const {
    const Key* key = Open(root, path);
    if (key == nullptr) return std::nullopt;
    std::vector<std::string> names;
    for (const auto& value : key->values) names.push_back(value.first);
    return names;
}

std::optional<std::vector<std::string>> MemoryRegistryBackend::SubKeyNames(std::uint32_t root,
                                                                           const std::string& path) const {
    const Key* key = Open(root, path);
    if (key == nullptr) return std::nullopt;
    const std::string parent = Id(root, path).second;
    const std::string lead = parent.empty() ? "" : parent + "\\";
    std::vector<std::string> names;
    for (const auto& [id, sub] : m_keys) {
        if (id.first == root && !id.second.empty() && id.second.rfind(lead, 0) == 0 &&
            id.second.find('\\', lead.size()) == std::string::npos)
            names.push_back(sub.path.substr(lead.size()));
    }
    return names;
}

void MemoryRegistryBackend::DenyQuery(std::uint32_t root, const std::string& path) {
    CreateKey(root, path);
    m_denied.insert(Id(root, path));
}

void MemoryRegistryBackend::SetText(std::uint32_t root, const std::string& path, const std::string& name,
                                    const std::string& text) {
    CreateKey(root, path);
    SetValue(root, path, name, {REG_SZ_, TextBytes(text)});
}

bool cRegistry::KeyExists() const {
    return m_backend.OpenForQuery(m_classKey, m_sectionKey);
}

RegistryValue cRegistry::Value() {
    std::optional<RegistryData> data = m_backend.Query(m_classKey, m_sectionKey, m_valueKey);
    if (!data) return m_default;
    m_valueType = data->type;
    const auto& b = data->bytes;
    switch (data->type) {
        case REG_SZ_:
        case REG_MULTI_SZ_:
        case REG_EXPAND_SZ_: {
            // The stored size counts the terminating zero; separators of a
            // multi-text stay embedded.
            std::string text(b.begin(), b.end());
            if (!text.empty()) text.pop_back();
            if (data->type == REG_EXPAND_SZ_) return m_backend.Expand(text.c_str());
            return text;
        }
        case REG_DWORD_: return static_cast<std::int32_t>(ReadU32(b));
        case REG_DWORD_BIG_ENDIAN_: {
            std::uint32_t v = ReadU32(b);
            v = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
            return static_cast<std::int32_t>(v);
        }
        default: return b;
    }
}

void cRegistry::SetValue(const RegistryValue& value) {
    m_lastWritten = value;
    RegistryData data;
    switch (m_valueType) {
        case REG_SZ_:
        case REG_EXPAND_SZ_: {
            std::string text = RegistryValueText(value);
            data = {HasExpandableName(text) ? REG_EXPAND_SZ_ : REG_SZ_, TextBytes(text)};
            break;
        }
        case REG_BINARY_: {
            const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value);
            if (bytes == nullptr) RaiseWriteError(value);
            data = {REG_BINARY_, *bytes};
            break;
        }
        case REG_DWORD_:
        case REG_DWORD_BIG_ENDIAN_: {
            const auto* number = std::get_if<std::int32_t>(&value);
            if (number == nullptr) RaiseWriteError(value);
            auto v = static_cast<std::uint32_t>(*number);
            data = {REG_DWORD_,
                    {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)}};
            break;
        }
        default: RaiseWriteError(value);
    }
    // The key and its value are stored together (or with the group around them).
    m_backend.BeginWrites();
    const bool held =
        m_backend.CreateKey(m_classKey, m_sectionKey) && m_backend.SetValue(m_classKey, m_sectionKey, m_valueKey, data);
    if (!held) m_backend.DiscardWrites();
    if (!m_backend.EndWrites() || !held) RaiseWriteError(value);
}

std::string cRegistry::RootText() const {
    return std::to_string(static_cast<std::int64_t>(static_cast<std::int32_t>(m_classKey)));
}

void cRegistry::Raise(const std::string& text) const {
    throw RegistryError(g_executableName + ".cRegistry", text, m_backend.FailureReason());
}

void cRegistry::CreateKey() {
    if (!m_backend.CreateKey(m_classKey, m_sectionKey))
        Raise("Failed to create registry Key: '" + RootText() + "',Section: '" + m_sectionKey + "'");
}

void cRegistry::DeleteKey() {
    if (!m_backend.DeleteKey(m_classKey, m_sectionKey))
        Raise("Failed to delete registry Key: '" + RootText() + "',Section: '" + m_sectionKey + "'");
}

void cRegistry::DeleteValue() {
    if (!m_backend.OpenForQuery(m_classKey, m_sectionKey))
        Raise("Failed to open key '" + m_sectionKey + "' for delete access");
    if (!m_backend.DeleteValue(m_classKey, m_sectionKey, m_valueKey))
        Raise("Failed to delete registry Key: '" + RootText() + "',Section: '" + m_sectionKey + "',Key: '" +
              m_valueKey + "'");
}

std::vector<std::string> cRegistry::EnumerateValues() const {
    return m_backend.ValueNames(m_classKey, m_sectionKey).value_or(std::vector<std::string>{});
}

std::vector<std::string> cRegistry::EnumerateSections() const {
    return m_backend.SubKeyNames(m_classKey, m_sectionKey).value_or(std::vector<std::string>{});
}

void cRegistry::EndWrites() {
    if (!m_backend.EndWrites()) RaiseWriteError(m_lastWritten);
}

RegistryWriteGroup::~RegistryWriteGroup() {
    if (!m_open) return;
    m_registry.DiscardWrites();
    m_registry.EndWrites();  // nothing is left to store: it cannot fail
}

void RegistryWriteGroup::Commit() {
    m_open = false;
    m_registry.EndWrites();
}

Message RegistryErrorMessage(const RegistryError& error) {
    std::string text = "Run-time error '26001':\r\r" + std::string(error.what());
    if (!error.Reason().empty()) text += "\r\r" + error.Reason();
    return Message{error.Source(), text, MessageIcon::Critical};
}

void cRegistry::RaiseWriteError(const RegistryValue& value) const {
    Raise("Failed to set registry value Key: '" + RootText() + "',Section: '" + m_sectionKey + "',Key: '" + m_valueKey +
          "' to value: '" + RegistryValueText(value) + "'");
}

void cRegistry::SetExecutableName(std::string name) {
    g_executableName = std::move(name);
}
const std::string& cRegistry::ExecutableName() {
    return g_executableName;
}

std::string RegistryValueText(const RegistryValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
    if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value)) {
        std::string text;
        for (std::uint8_t b : *bytes) {
            if (!text.empty()) text += ' ';
            text += std::to_string(b);
        }
        return text;
    }
    return {};
}

std::string TrimRegistryPath(const std::string& path) {
    const std::size_t first = path.find_first_not_of('\\');
    if (first == std::string::npos) return {};
    return path.substr(first, path.find_last_not_of('\\') - first + 1);
}

bool HasExpandableName(const std::string& text) {
    std::size_t first = text.find('%');
    return first != std::string::npos && text.find('%', first + 2) != std::string::npos;
}

}  // namespace kestro::base
