#include "base/WineRegistry.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/AtomicFile.h"
#include "base/Paths.h"

namespace kestro::base {

namespace {

constexpr auto kCommandTimeout = std::chrono::seconds(120);

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return text.str();
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A lock some other process holds on the file: the wineserver's on its "lock".
bool LockHeld(const std::string& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool held = ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

std::string Trimmed(std::string text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Runs the command with its output in a file rather than a pipe: Wine may
// leave helper processes behind that would hold a pipe open.
WineCommandResult RunCommand(const std::vector<std::string>& command, const std::string& directory,
                             const std::string& prefix) {
    WineCommandResult result;
    char outputName[] = "/tmp/kestro-wine-output-XXXXXX";
    const int outputFd = ::mkstemp(outputName);
    if (outputFd < 0) return result;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("WINEPREFIX", prefix.c_str(), 1);
        ::setenv("WINEDEBUG", "-all", 1);
        const int nullFd = ::open("/dev/null", O_RDONLY);
        ::dup2(nullFd, STDIN_FILENO);
        ::dup2(outputFd, STDOUT_FILENO);
        ::dup2(outputFd, STDERR_FILENO);
        if (!directory.empty() && ::chdir(directory.c_str()) != 0) ::_exit(127);
        std::vector<char*> argv;
        for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(outputFd);
    if (pid > 0) {
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + kCommandTimeout;
        pid_t done = 0;
        while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (done == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            result.output = "The command did not finish within two minutes. ";
        } else if (done == pid && WIFEXITED(status) && WEXITSTATUS(status) != 127) {
            result.started = true;
            result.exitCode = WEXITSTATUS(status);
        }
    }
    result.output += ReadWholeFile(outputName).value_or("");
    ::unlink(outputName);
    return result;
}

void AppendUtf16(std::string& out, const std::string& utf8) {
    for (char16_t unit : Utf16FromUtf8(utf8)) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
}

std::string RegQuoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

bool PlainText(const RegistryData& data) {
    if (data.type != REG_SZ_ || data.bytes.empty() || data.bytes.back() != 0) return false;
    for (std::size_t i = 0; i + 1 < data.bytes.size(); ++i) {
        if (data.bytes[i] < 0x20) return false;
    }
    return true;
}

std::string RegData(const RegistryData& data) {
    const auto& b = data.bytes;
    char buffer[32];
    if (PlainText(data)) return RegQuoted(std::string(b.begin(), b.end() - 1));
    if (data.type == REG_DWORD_ && b.size() == 4) {
        std::snprintf(buffer, sizeof buffer, "dword:%08x",
                      unsigned(b[0] | b[1] << 8 | b[2] << 16 | unsigned(b[3]) << 24));
        return buffer;
    }
    std::string raw(b.begin(), b.end());
    if (data.type == REG_SZ_ || data.type == REG_EXPAND_SZ_ || data.type == REG_MULTI_SZ_) {
        std::string units;
        AppendUtf16(units, raw);
        raw = units;
    }
    std::string out = data.type == REG_BINARY_ ? "hex:" : "hex(" + std::to_string(data.type) + "):";
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, i == 0 ? "%02x" : ",%02x", unsigned(static_cast<unsigned char>(raw[i])));
        out += buffer;
    }
    return out;
}

std::string RootName(std::uint32_t root) {
    switch (root) {
        case HKEY_CURRENT_USER_: return "HKEY_CURRENT_USER";
        case HKEY_LOCAL_MACHINE_: return "HKEY_LOCAL_MACHINE";
        case HKEY_USERS_: return "HKEY_USERS";
        case HKEY_CLASSES_ROOT_: return "HKEY_CLASSES_ROOT";
        default: return {};
    }
}

std::string TrimmedPath(const std::string& path) {
    const auto first = path.find_first_not_of('\\');
    if (first == std::string::npos) return {};
    return path.substr(first, path.find_last_not_of('\\') - first + 1);
}

}  // namespace

WineEnvironment SystemWineEnvironment() {
    return {WineServerRunning, RunCommand, WineFileTimeNow};
}

std::string DefaultWinePrefix() {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix != nullptr && *prefix != '\0') return prefix;
    const char* home = std::getenv("HOME");
    return JoinPath(home != nullptr ? home : "", ".wine");
}

bool WineServerRunning(const std::string& prefix) {
    struct stat st {};
    if (::stat(prefix.c_str(), &st) != 0) return false;
    char serverDir[64];
    std::snprintf(serverDir, sizeof serverDir, "server-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    // Wine's own place, and the private directory some packagings keep
    // instead, whose name the prefix's "wineserver" file holds.
    std::vector<std::string> parents{"/tmp/.wine-" + std::to_string(::getuid())};
    if (auto named = ReadWholeFile(JoinPath(prefix, "wineserver"))) {
        const std::string name = Trimmed(*named);
        if (!name.empty() && name.front() == '/')
            parents.push_back(name);
        else if (!name.empty() && name.find('/') == std::string::npos) {
            parents.push_back(JoinPath("/tmp", name));
            if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && *tmp != '\0')
                parents.push_back(JoinPath(tmp, name));
        }
    }
    for (const std::string& parent : parents) {
        if (LockHeld(JoinPath(JoinPath(parent, serverDir), "lock"))) return true;
    }
    return false;
}

std::string RegImportText(const std::vector<RegImportEntry>& entries) {
    std::string text = "Windows Registry Editor Version 5.00\r\n";
    std::string key;
    for (const RegImportEntry& entry : entries) {
        if (entry.key != key) {
            key = entry.key;
            text += "\r\n[" + key + "]\r\n";
        }
        if (entry.name)
            text +=
                (entry.name->empty() ? std::string("@") : RegQuoted(*entry.name)) + "=" + RegData(entry.data) + "\r\n";
    }
    std::string utf16 = "\xFF\xFE";
    AppendUtf16(utf16, text);
    return utf16;
}

WineRegistryBackend::WineRegistryBackend(std::string prefix, WineEnvironment environment)
    : m_prefix(std::move(prefix)), m_environment(std::move(environment)) {}

std::optional<WineRegistryBackend::Place> WineRegistryBackend::Locate(std::uint32_t root,
                                                                      const std::string& path) const {
    const std::string trimmed = TrimmedPath(path);
    const std::string key = RootName(root) + (trimmed.empty() ? "" : "\\" + trimmed);
    switch (root) {
        case HKEY_CURRENT_USER_: return Place{JoinPath(m_prefix, "user.reg"), trimmed, key};
        case HKEY_LOCAL_MACHINE_: return Place{JoinPath(m_prefix, "system.reg"), trimmed, key};
        case HKEY_CLASSES_ROOT_: return Place{JoinPath(m_prefix, "system.reg"), "Software\\Classes\\" + trimmed, key};
        case HKEY_USERS_: {
            // Only the default user has a file of its own; the current user is HKEY_CURRENT_USER.
            const std::string folded = FoldRegistryPath(trimmed);
            if (folded == ".DEFAULT") return Place{JoinPath(m_prefix, "userdef.reg"), "", key};
            if (folded.rfind(".DEFAULT\\", 0) == 0)
                return Place{JoinPath(m_prefix, "userdef.reg"), trimmed.substr(9), key};
            return std::nullopt;
        }
        default: return std::nullopt;
    }
}

std::optional<WineRegistryFile> WineRegistryBackend::Load(const std::string& file) const {
    auto text = ReadWholeFile(file);
    if (!text) return std::nullopt;
    WineRegistryFile registry(std::move(*text));
    if (!registry.IsWineRegistry()) return std::nullopt;
    return registry;
}

const std::map<std::string, RegistryData>* WineRegistryBackend::Imported(const std::string& regKey) const {
    if (m_imported.empty()) return nullptr;
    // Once the server has ended, it has saved what it was given.
    if (!m_environment.serverRunning(m_prefix)) {
        m_imported.clear();
        return nullptr;
    }
    auto it = m_imported.find(FoldRegistryPath(regKey));
    return it == m_imported.end() ? nullptr : &it->second;
}

bool WineRegistryBackend::OpenForQuery(std::uint32_t root, const std::string& path) const {
    auto place = Locate(root, path);
    if (!place) return false;
    if (Imported(place->regKey) != nullptr) return true;
    auto file = Load(place->file);
    return file && file->HasKey(place->path);
}

std::optional<RegistryData> WineRegistryBackend::Query(std::uint32_t root, const std::string& path,
                                                       const std::string& name) const {
    auto place = Locate(root, path);
    if (!place) return std::nullopt;
    if (const auto* imported = Imported(place->regKey)) {
        std::string folded = FoldRegistryName(name);
        if (auto it = imported->find(folded); it != imported->end()) return it->second;
    }
    auto file = Load(place->file);
    if (!file) return std::nullopt;
    return file->Find(place->path, name);
}

bool WineRegistryBackend::CreateKey(std::uint32_t root, const std::string& path) {
    if (OpenForQuery(root, path)) return true;
    auto place = Locate(root, path);
    if (!place) return Refuse("Wine keeps no registry file for this root key.");
    return Write({*place, std::nullopt, {}});
}

bool WineRegistryBackend::SetValue(std::uint32_t root, const std::string& path, const std::string& name,
                                   const RegistryData& data) {
    auto place = Locate(root, path);
    if (!place) return Refuse("Wine keeps no registry file for this root key.");
    return Write({*place, name, data});
}

bool WineRegistryBackend::Refuse(std::string reason) {
    m_reason = std::move(reason);
    return false;
}

bool WineRegistryBackend::Ready(const Place& place) {
    const char* howTo =
        " Start a Windows program under Wine once (or run \"wineboot -i\"), so that Wine sets the prefix up, then "
        "try again. The prefix is $WINEPREFIX, or ~/.wine when that is not set.";
    if (!IsDirectory(m_prefix)) return Refuse("There is no Wine prefix at " + m_prefix + " yet." + howTo);
    if (!Load(place.file)) {
        if (!ReadWholeFile(place.file)) {
            return Refuse("The Wine prefix " + m_prefix + " has no " + FileNameOf(place.file) + " yet." + howTo);
        }
        return Refuse(place.file + " is not a registry file written by Wine (it does not begin with \"" +
                      kWineRegistryHeader + "\"); it was left as it is.");
    }
    return true;
}

bool WineRegistryBackend::Write(HeldWrite write) {
    if (!Ready(write.place)) return false;
    if (!m_held.empty() || m_environment.serverRunning(m_prefix)) {
        m_held.push_back(std::move(write));
        return m_groupDepth > 0 || ImportHeld();
    }
    const WineFileTime now = m_environment.now();
    return EditFile(write.place, [&](WineRegistryFile& file) {
        if (write.name)
            file.SetValue(write.place.path, *write.name, write.data, now);
        else
            file.EnsureKey(write.place.path, now);
    });
}

bool WineRegistryBackend::EditFile(const Place& place, const std::function<void(WineRegistryFile&)>& edit) {
    auto file = Load(place.file);
    if (!file) return Ready(place);
    const std::string before = file->Text();
    edit(*file);
    if (file->Text() == before) return true;
    if (FileWriteResult written = WriteFileAtomically(place.file, file->Text()); !written) {
        return Refuse("Could not write " + place.file + ": " + written.reason);
    }
    return true;
}

bool WineRegistryBackend::EndWrites() {
    if (m_groupDepth > 0) --m_groupDepth;
    if (m_groupDepth > 0 || m_held.empty()) return true;
    return ImportHeld();
}

bool WineRegistryBackend::ImportHeld() {
    std::vector<RegImportEntry> entries;
    for (const HeldWrite& held : m_held) entries.push_back({held.place.regKey, held.name, held.data});
    const std::vector<HeldWrite> held = std::move(m_held);
    m_held.clear();
    const std::string why = "Wine is running for the prefix " + m_prefix;
    char name[] = "/tmp/kestro-registry-XXXXXX.reg";
    const int fd = ::mkstemps(name, 4);
    const std::string text = RegImportText(entries);
    const bool saved = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0) ::close(fd);
    if (!saved) {
        if (fd >= 0) ::unlink(name);
        return Refuse(why + ", and the values for it could not be put in a file in /tmp.");
    }
    const WineCommandResult result =
        m_environment.run({"wine", "reg", "import", FileNameOf(name)}, DirectoryOf(name), m_prefix);
    ::unlink(name);
    if (!result.started || result.exitCode != 0) {
        return Refuse(why +
                      ", which keeps its registry in memory, and handing it the values through \"wine reg import\" " +
                      (result.started ? "failed" : "could not be started") +
                      (Trimmed(result.output).empty() ? std::string(".") : ": " + Trimmed(result.output)) +
                      " Close the emulator and every other Windows program of that prefix, then try again.");
    }
    for (const HeldWrite& write : held) {
        auto& values = m_imported[FoldRegistryPath(write.place.regKey)];
        if (write.name) values[FoldRegistryName(*write.name)] = write.data;
    }
    return true;
}

}  // namespace kestro::base
