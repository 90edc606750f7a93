#pragma once
// The registry of a Wine prefix, where a Windows emulator run under Wine finds
// the values the program wrote: HKEY_CURRENT_USER in user.reg,
// HKEY_LOCAL_MACHINE in system.reg, HKEY_USERS\.DEFAULT in userdef.reg.
//
// While a wineserver serves the prefix it holds the registry in memory and
// writes the files over when it ends, so an edit of a file would be lost;
// writes then go to the server through "wine reg import" instead.

#include <functional>
#include <map>
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
    void BeginWrites() override { ++m_groupDepth; }
    bool EndWrites() override;
    std::string FailureReason() const override { return m_reason; }

    const std::string& Prefix() const { return m_prefix; }

private:
    /// Where a key lives: the file, the path inside it, and its name in a .reg file.
    struct Place {
        std::string file;
        std::string path;
        std::string regKey;
    };
    struct HeldWrite {
        Place place;
        std::optional<std::string> name;  ///< nothing: only the key
        RegistryData data;
    };

    std::optional<Place> Locate(std::uint32_t root, const std::string& path) const;
    std::optional<WineRegistryFile> Load(const std::string& file) const;
    bool Ready(const Place& place);
    bool Write(HeldWrite write);
    bool EditFile(const Place& place, const std::function<void(WineRegistryFile&)>& edit);
    bool ImportHeld();
    bool Refuse(std::string reason);
    const std::map<std::string, RegistryData>* Imported(const std::string& regKey) const;

    std::string m_prefix;
    WineEnvironment m_environment;
    std::string m_reason;
    int m_groupDepth = 0;
    std::vector<HeldWrite> m_held;
    /// What was handed to the running server, by folded .reg key and value
    /// name: the files show it only once the server has saved.
    mutable std::map<std::string, std::map<std::string, RegistryData>> m_imported;
};

/// One write handed to a running wineserver: a key (with its root's name,
/// "HKEY_CURRENT_USER\\..."), and a value in it unless only the key is made.
struct RegImportEntry {
    std::string key;
    std::optional<std::string> name;
    RegistryData data;
};

/// The entries as a .reg file for "wine reg import": UTF-16 with its byte
/// order mark, as regedit writes it.
std::string RegImportText(const std::vector<RegImportEntry>& entries);

}  // namespace kestro::base
