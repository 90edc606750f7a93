// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The registry of a Wine prefix, where a Windows emulator run under Wine finds
// the values the program wrote: HKEY_CURRENT_USER in user.reg,
// HKEY_LOCAL_MACHINE in system.reg, HKEY_USERS\.DEFAULT in userdef.reg.
//
// While a wineserver serves the prefix it holds the registry in memory and
// writes the files over only now and then and when it ends, so the files are
// neither edited nor believed then: writes go to the server through
// "wine reg import", reads come from "wine reg export" of the key.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Registry.h"
#include "base/WineRegistryFile.h"

namespace kestro::base {

struct WineCommandResult {
    bool started = false;  ///< false when the command could not be run at all
    int exitCode = -1;
    std::string output;  ///< what it wrote, for the user when it failed
};

/// What the storage asks of the machine; tests stand in for it.
struct WineEnvironment {
    /// True while a wineserver serves the prefix.
    std::function<bool(const std::string& prefix)> serverRunning;
    /// Runs a command in a directory with WINEPREFIX set, and waits for it.
    std::function<WineCommandResult(const std::vector<std::string>& command, const std::string& directory,
                                    const std::string& prefix)>
        run;
    std::function<WineFileTime()> now;
};

/// The machine's own: the server's lock, the real "wine", the clock.
WineEnvironment SystemWineEnvironment();

/// $WINEPREFIX, else ~/.wine.
std::string DefaultWinePrefix();

/// Looks for the lock a wineserver holds on its directory for the prefix
/// (under /tmp/.wine-<uid>/, or the private directory a "wineserver" file in
/// the prefix names); never starts a server.
bool WineServerRunning(const std::string& prefix);

class WineRegistryBackend final : public RegistryBackend {
public:
    explicit WineRegistryBackend(std::string prefix, WineEnvironment environment = SystemWineEnvironment());

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
    void BeginWrites() override;
    bool EndWrites() override;
    void DiscardWrites() override { m_held.clear(); }
    void BeginReads() const override { ++m_readDepth; }
    void EndReads() const override;
    std::string FailureReason() const override { return m_reason; }

    const std::string& Prefix() const { return m_prefix; }
    /// With on true, writes are checked as storing them checks them (the
    /// prefix, its file) and then dropped, so that a dry run meets the real
    /// run's refusals without changing anything.
    void CheckOnly(bool on) { m_checkOnly = on; }

private:
    /// Where a key lives: the file, the path inside it, and its name in a .reg file.
    struct Place {
        std::string file;
        std::string path;
        std::string regKey;
    };
    enum class Edit { MakeKey, SetValue, DeleteValue, DeleteKey };
    struct HeldWrite {
        Place place;
        Edit edit = Edit::MakeKey;
        std::string name;
        RegistryData data;
    };
    /// What a read looks at: the prefix's file, or what a running server
    /// exported of the key (whose sections then carry the root's name).
    struct View {
        std::shared_ptr<const WineRegistryFile> file;
        std::string path;
    };

    std::optional<Place> Locate(std::uint32_t root, const std::string& path) const;
    View Look(std::uint32_t root, const std::string& path) const;
    View Keep(const std::string& id, std::optional<WineRegistryFile> file, const std::string& path) const;
    std::optional<WineRegistryFile> Export(const std::string& regKey) const;
    std::optional<WineRegistryFile> LoadForWrite(const Place& place);
    bool Hold(std::uint32_t root, const std::string& path, Edit edit, const std::string& name = {},
              const RegistryData& data = {});
    bool StoreHeld();
    bool EditFiles(const std::vector<HeldWrite>& held);
    bool ImportHeld(const std::vector<HeldWrite>& held);
    bool Refuse(std::string reason);

    std::string m_prefix;
    WineEnvironment m_environment;
    std::string m_reason;
    int m_groupDepth = 0;
    bool m_checkOnly = false;
    std::vector<HeldWrite> m_held;
    mutable int m_readDepth = 0;
    /// Within reads grouped together, each file or exported key is looked at once.
    mutable std::map<std::string, View> m_looks;
};

/// One write handed to a running wineserver: a key (with its root's name,
/// "HKEY_CURRENT_USER\\..."), and a value in it unless only the key is made.
struct RegImportEntry {
    std::string key;
    std::optional<std::string> name;
    RegistryData data;
    bool remove = false;  ///< deletes the value, or the key when no value is named
};

/// The entries as a .reg file for "wine reg import": UTF-16 with its byte
/// order mark, as regedit writes it.
std::string RegImportText(const std::vector<RegImportEntry>& entries);

}  // namespace kestro::base
