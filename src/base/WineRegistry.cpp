// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/WineRegistry.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "base/AtomicFile.h"
#include "base/FileRead.h"
#include "base/Paths.h"

namespace kestro::base {

namespace {

constexpr auto kCommandTimeout = std::chrono::seconds(120);

// Through the same check as every reader: a FIFO put in a file's place never blocks.
std::optional<std::string> ReadWholeFile(const std::string& path, ReadResult* why = nullptr,
                                         std::size_t limit = static_cast<std::size_t>(-1)) {
    std::vector<std::uint8_t> bytes;
    ReadResult read = ReadRegularFile(path, bytes, limit);
    if (why != nullptr) *why = read;
    if (!read) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A lock some other process holds on the file: the wineserver's on its "lock".
bool LockHeld(const std::string& lockFile) {
    ReadResult ignored;
    const int fd = OpenRegularFile(lockFile, ignored);
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

// "wine reg export" writes regedit's form: UTF-16, key names with single
// backslashes, other characters as they are. Wine's own file form, which
// the file reader takes, escapes them instead.
std::string WineTextOfRegExport(const std::string& raw) {
    std::u16string units;
    if (raw.size() >= 2 && raw[0] == '\xFF' && raw[1] == '\xFE') {
        for (std::size_t i = 2; i + 1 < raw.size(); i += 2)
            units.push_back(char16_t(std::uint8_t(raw[i]) | std::uint8_t(raw[i + 1]) << 8));
    } else {
        units = Utf16FromUtf8(raw);
    }
    std::string text;
    bool lineStart = true, keyLine = false;
    char buffer[8];
    for (char16_t c : units) {
        if (lineStart) keyLine = c == '[';
        lineStart = c == '\n';
        if (c > 127) {
            std::snprintf(buffer, sizeof buffer, "\\x%04x", unsigned(c));
            text += buffer;
            continue;
        }
        if (keyLine && c == '\\') text += '\\';
        text += static_cast<char>(c);
    }
    return text;
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
    if (auto named = ReadWholeFile(JoinPath(prefix, "wineserver"), nullptr, 4096)) {
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
        if (entry.remove && !entry.name) {
            key.clear();  // a value after it names its key again
            text += "\r\n[-" + entry.key + "]\r\n";
            continue;
        }
        if (entry.key != key) {
            key = entry.key;
            text += "\r\n[" + key + "]\r\n";
        }
        if (entry.name)
            text += (entry.name->empty() ? std::string("@") : RegQuoted(*entry.name)) + "=" +
                    (entry.remove ? std::string("-") : RegData(entry.data)) + "\r\n";
    }
    std::string utf16 = "\xFF\xFE";
    AppendUtf16(utf16, text);
    return utf16;
}

WineRegistryBackend::WineRegistryBackend(std::string prefix, WineEnvironment environment)
    : m_prefix(std::move(prefix)), m_environment(std::move(environment)) {}

std::optional<WineRegistryBackend::Place> WineRegistryBackend::Locate(std::uint32_t root,
                                                                      const std::string& path) const {
    const std::string trimmed = TrimRegistryPath(path);
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

WineRegistryBackend::View WineRegistryBackend::Keep(const std::string& id, std::optional<WineRegistryFile> file,
                                                    const std::string& path) const {
    View view{file ? std::make_shared<const WineRegistryFile>(std::move(*file)) : nullptr, path};
    if (m_readDepth > 0) m_looks[id] = view;
    return view;
}

WineRegistryBackend::View WineRegistryBackend::Look(std::uint32_t root, const std::string& path) const {
    auto place = Locate(root, path);
    if (!place) return {};
    // The server writes its files only now and then: what it holds is asked of it.
    if (m_environment.serverRunning(m_prefix)) {
        const std::string id = "served " + FoldRegistryPath(place->regKey);
        if (auto seen = m_looks.find(id); seen != m_looks.end()) return seen->second;
        if (auto exported = Export(place->regKey)) return Keep(id, std::move(exported), place->regKey);
        // Wine could not be asked at all: the file is the best there is.
    }
    const std::string id = "file " + place->file;
    if (auto seen = m_looks.find(id); seen != m_looks.end()) return {seen->second.file, place->path};
    std::optional<WineRegistryFile> file;
    if (auto text = ReadWholeFile(place->file)) file.emplace(std::move(*text));
    if (file && !file->IsWineRegistry()) file.reset();
    return Keep(id, std::move(file), place->path);
}

std::optional<WineRegistryFile> WineRegistryBackend::Export(const std::string& regKey) const {
    char directory[] = "/tmp/kestro-registry-XXXXXX";
    if (::mkdtemp(directory) == nullptr) return std::nullopt;
    const std::string file = JoinPath(directory, "export.reg");
    const WineCommandResult result =
        m_environment.run({"wine", "reg", "export", regKey, FileNameOf(file), "/y"}, directory, m_prefix);
    const std::optional<std::string> raw = ReadWholeFile(file);
    ::unlink(file.c_str());
    ::rmdir(directory);
    if (!result.started) return std::nullopt;
    // "reg" fails with 1 on a key the server does not hold.
    if (result.exitCode == 1) return WineRegistryFile(std::string());
    if (result.exitCode != 0 || !raw) return std::nullopt;
    return WineRegistryFile(WineTextOfRegExport(*raw));
}

void WineRegistryBackend::EndReads() const {
    if (m_readDepth > 0 && --m_readDepth == 0) m_looks.clear();
}

bool WineRegistryBackend::OpenForQuery(std::uint32_t root, const std::string& path) const {
    const View view = Look(root, path);
    return view.file && view.file->HasKey(view.path);
}

std::optional<RegistryData> WineRegistryBackend::Query(std::uint32_t root, const std::string& path,
                                                       const std::string& name) const {
    const View view = Look(root, path);
    if (!view.file) return std::nullopt;
    return view.file->Find(view.path, name);
}

std::optional<std::vector<std::string>> WineRegistryBackend::ValueNames(std::uint32_t root,
                                                                        const std::string& path) const {
    const View view = Look(root, path);
    if (!view.file || !view.file->HasKey(view.path)) return std::nullopt;
    return view.file->ValueNames(view.path);
}

std::optional<std::vector<std::string>> WineRegistryBackend::SubKeyNames(std::uint32_t root,
                                                                         const std::string& path) const {
    const View view = Look(root, path);
    if (!view.file || !view.file->HasKey(view.path)) return std::nullopt;
    return view.file->SubKeyNames(view.path);
}

bool WineRegistryBackend::CreateKey(std::uint32_t root, const std::string& path) {
    return Hold(root, path, Edit::MakeKey);
}

bool WineRegistryBackend::SetValue(std::uint32_t root, const std::string& path, const std::string& name,
                                   const RegistryData& data) {
    return Hold(root, path, Edit::SetValue, name, data);
}

bool WineRegistryBackend::DeleteKey(std::uint32_t root, const std::string& path) {
    const auto sub = SubKeyNames(root, path);
    if (!sub || TrimRegistryPath(path).empty()) return Refuse("There is no such key.");
    if (!sub->empty()) return Refuse("The key holds other keys; they are deleted first.");
    return Hold(root, path, Edit::DeleteKey);
}

bool WineRegistryBackend::DeleteValue(std::uint32_t root, const std::string& path, const std::string& name) {
    if (!Query(root, path, name)) return Refuse("There is no such value.");
    return Hold(root, path, Edit::DeleteValue, name);
}

bool WineRegistryBackend::Refuse(std::string reason) {
    m_reason = std::move(reason);
    return false;
}

bool WineRegistryBackend::Hold(std::uint32_t root, const std::string& path, Edit edit, const std::string& name,
                               const RegistryData& data) {
    auto place = Locate(root, path);
    if (!place) return Refuse("Wine keeps no registry file for this root key.");
    m_held.push_back({std::move(*place), edit, name, data});
    return m_groupDepth > 0 || StoreHeld();
}

void WineRegistryBackend::BeginWrites() {
    if (m_groupDepth++ == 0) m_reason.clear();
}

bool WineRegistryBackend::EndWrites() {
    if (m_groupDepth > 0) --m_groupDepth;
    return m_groupDepth > 0 || StoreHeld();
}

bool WineRegistryBackend::StoreHeld() {
    const std::vector<HeldWrite> held = std::move(m_held);
    m_held.clear();
    m_looks.clear();  // what was looked at is no longer what is stored
    if (held.empty()) return true;
    const bool running = m_environment.serverRunning(m_prefix);
    if (m_checkOnly) {
        // A running Wine takes the values itself; else each file must be there to edit.
        return running || std::all_of(held.begin(), held.end(),
                                      [this](const HeldWrite& w) { return LoadForWrite(w.place).has_value(); });
    }
    return running ? ImportHeld(held) : EditFiles(held);
}

std::optional<WineRegistryFile> WineRegistryBackend::LoadForWrite(const Place& place) {
    const char* howTo =
        " Start a Windows program under Wine once (or run \"wineboot -i\"), so that Wine sets the prefix up, then "
        "try again. The prefix is $WINEPREFIX, or ~/.wine when that is not set.";
    ReadResult read;
    auto text = ReadWholeFile(place.file, &read);
    if (!IsDirectory(m_prefix)) {
        Refuse("There is no Wine prefix at " + m_prefix + " yet." + howTo);
    } else if (read.status == ReadStatus::Missing) {
        Refuse("The Wine prefix " + m_prefix + " has no " + FileNameOf(place.file) + " yet." + howTo);
    } else if (!text) {
        Refuse("Cannot read " + place.file + ": " + read.reason + ".");
    }
    if (!text) return std::nullopt;
    WineRegistryFile file(std::move(*text));
    if (!file.IsWineRegistry()) {
        Refuse(place.file + " is not a registry file written by Wine (it does not begin with \"" + kWineRegistryHeader +
               "\"); it was left as it is.");
        return std::nullopt;
    }
    return file;
}

// Every edit of one file is made in memory and the file is replaced once:
// all of them are stored, or none.
bool WineRegistryBackend::EditFiles(const std::vector<HeldWrite>& held) {
    const WineFileTime now = m_environment.now();
    struct Edited {
        std::string path;
        std::string before;
        WineRegistryFile file;
    };
    std::vector<Edited> files;
    for (std::size_t at = 0; at < held.size(); ++at) {
        const HeldWrite& write = held[at];
        auto it = std::find_if(files.begin(), files.end(), [&](const Edited& e) { return e.path == write.place.file; });
        if (it == files.end()) {
            auto file = LoadForWrite(write.place);
            if (!file) return false;
            std::string before = file->Text();
            files.push_back({write.place.file, std::move(before), std::move(*file)});
            it = std::prev(files.end());
        }
        WineRegistryFile& file = it->file;
        const std::string& path = write.place.path;
        switch (write.edit) {
            case Edit::MakeKey: file.EnsureKey(path, now); break;
            case Edit::SetValue: {
                // The values that follow for the same key go in with it.
                std::vector<std::pair<std::string, RegistryData>> values{{write.name, write.data}};
                for (; at + 1 < held.size() && held[at + 1].edit == Edit::SetValue &&
                       held[at + 1].place.file == write.place.file &&
                       FoldRegistryPath(held[at + 1].place.path) == FoldRegistryPath(path);
                     ++at)
                    values.emplace_back(held[at + 1].name, held[at + 1].data);
                file.SetValues(path, values, now);
                break;
            }
            case Edit::DeleteValue:
                if (!file.DeleteValue(path, write.name, now)) return Refuse("There is no such value.");
                break;
            case Edit::DeleteKey:
                if (!file.DeleteKey(path, now)) return Refuse("There is no such key, or it holds other keys.");
                break;
        }
    }
    for (const Edited& edited : files) {
        if (edited.file.Text() == edited.before) continue;
        if (FileWriteResult written = WriteFileAtomically(edited.path, edited.file.Text()); !written) {
            return Refuse(written.reason + ".");
        }
    }
    return true;
}

bool WineRegistryBackend::ImportHeld(const std::vector<HeldWrite>& held) {
    std::vector<RegImportEntry> entries;
    for (const HeldWrite& write : held) {
        const bool named = write.edit == Edit::SetValue || write.edit == Edit::DeleteValue;
        entries.push_back({write.place.regKey, named ? std::optional<std::string>(write.name) : std::nullopt,
                           write.data, write.edit == Edit::DeleteValue || write.edit == Edit::DeleteKey});
    }
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
    return true;
}

}  // namespace kestro::base
