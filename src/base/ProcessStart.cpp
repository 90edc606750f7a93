// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ProcessStart.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "base/Paths.h"
#include "base/RunLog.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kestro::base {

namespace {

namespace fs = std::filesystem;

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool IsExecutable(const std::string& path) {
#if defined(_WIN32)
    return IsFile(path);
#else
    return IsFile(path) && ::access(path.c_str(), X_OK) == 0;
#endif
}

std::string Absolute(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.string();
}

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::string RunnerMissing(const std::string& program, std::string_view kind, std::string_view runner,
                          std::string_view package) {
    return program + " is a " + std::string(kind) + " program. " + std::string(runner) + ", which runs " +
           std::string(kind) + " programs here, is not installed: install the Debian package \"" +
           std::string(package) + "\".";
}

std::string MissingProgram(const std::string& program) {
    std::string text = "Cannot find the program " + program;
    const std::string name = FileNameOf(program);
    if (name.find('.') == std::string::npos) text += " (nor " + name + ".EXE, in any letter case)";
    return text + ".";
}

// A program name DOSBox runs as it stands: one to eight letters, digits or
// "_", and the extension of a program.
bool IsPlainDosProgramName(std::string_view name) {
    static constexpr std::string_view kNameCharacters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot > 8 || name.size() != dot + 4) return false;
    if (name.substr(0, dot).find_first_not_of(kNameCharacters) != std::string_view::npos) return false;
    std::string extension;
    for (char c : name.substr(dot + 1)) extension += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension == "EXE" || extension == "COM" || extension == "BAT";
}

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// Where the private folders go: the temporary directory when DOSBox can be
// told its path as it stands, else /tmp.
std::string DosFolderBase() {
    std::error_code ec;
    const std::string base = WithoutTrailingSeparator(fs::temp_directory_path(ec).string());
    const bool plain = !ec && base.size() > 1 && base.front() == '/' && IsPlainDosText(base) &&
                       base.find("..") == std::string::npos && base.find('\\') == std::string::npos;
    return plain ? base : "/tmp";
}

std::string RandomHex(std::size_t digits) {
    std::random_device random;
    std::string text;
    while (text.size() < digits) text += "0123456789abcdef"[random() % 16];
    return text;
}

bool IsPathArgument(const LaunchRequest& request, std::size_t index) {
    return std::find(request.pathArguments.begin(), request.pathArguments.end(), index) != request.pathArguments.end();
}

}  // namespace

LaunchEnvironment CurrentLaunchEnvironment() {
    const char* path = std::getenv("PATH");
    return {path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin"};
}

std::optional<std::string> ResolveProgram(const std::string& program) {
    if (program.empty()) return std::nullopt;
    const std::string directory = DirectoryOf(program);
    const std::string name = FileNameOf(program);
    // The file the program checks find is the file that runs: NAME.EXE first.
    if (name.find('.') == std::string::npos) {
        if (auto exe = FindFileNoCase(directory, name + ".EXE")) return exe;
    }
    if (IsFile(program)) return program;
    return FindFileNoCase(directory, name);
}

std::optional<ProgramKind> ProgramKindOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::array<unsigned char, 0x40> head{};
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got < 2 || head[0] != 'M' || head[1] != 'Z') return ProgramKind::Native;
    if (got < head.size()) return ProgramKind::Dos;
    // The new-style header the MZ header points to, if it has one.
    const std::uint32_t offset = LittleEndian32(&head[0x3C]);
    in.clear();
    in.seekg(offset);
    std::array<char, 4> signature{};
    in.read(signature.data(), static_cast<std::streamsize>(signature.size()));
    if (in.gcount() >= 2 && offset >= head.size()) {
        if (in.gcount() == 4 && std::memcmp(signature.data(), "PE\0\0", 4) == 0) return ProgramKind::Windows;
        if (signature[0] == 'N' && signature[1] == 'E') return ProgramKind::Windows;
    }
    return ProgramKind::Dos;
}

std::string WinePath(const std::string& path) {
    std::string windows = Absolute(path);
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return "Z:" + windows;
}

bool IsPlainDosText(std::string_view text) {
    static constexpr std::string_view kPlain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.:-\\/";
    return text.find_first_not_of(kPlain) == std::string_view::npos;
}

std::optional<std::string> FindExecutableOnPath(std::string_view name, const std::string& searchPath) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos) end = searchPath.size();
        std::string directory = searchPath.substr(start, end - start);
        if (directory.empty()) directory = ".";  // an empty entry is the current directory
        const std::string candidate = JoinPath(directory, std::string(name));
        if (IsExecutable(candidate)) return Absolute(candidate);
        start = end + 1;
    }
    return std::nullopt;
}

std::string ShellCommandLine(const std::vector<std::string>& argv) {
    static constexpr std::string_view kSafe =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_@%+=:,./-";
    std::string line;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (i > 0) line += ' ';
        const bool plain = !arg.empty() && arg.find_first_not_of(kSafe) == std::string::npos &&
                           !(i == 0 && arg.find('=') != std::string::npos);
        if (plain) {
            line += arg;
            continue;
        }
        line += '\'';
        for (char c : arg) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

namespace {

// Each kind's argument list once its program is known; false with the
// plan's error when the runner is missing or the program cannot run.
bool PlanWindows(LaunchPlan& plan, const LaunchRequest& request, const LaunchEnvironment& environment) {
    const auto wine = FindExecutableOnPath("wine", environment.searchPath);
    if (!wine) {
        plan.error = RunnerMissing(plan.program, "Windows", "Wine", kWinePackage);
        return false;
    }
    plan.argv = {*wine};
    // Wine's own start command opens the program's window minimised.
    if (request.minimised) plan.argv.insert(plan.argv.end(), {"start", "/min", "/unix"});
    plan.argv.push_back(plan.program);
    for (std::size_t i = 0; i < request.arguments.size(); ++i) {
        plan.argv.push_back(IsPathArgument(request, i) ? WinePath(request.arguments[i]) : request.arguments[i]);
    }
    return true;
}

bool PlanDos(LaunchPlan& plan, const LaunchRequest& request, const LaunchEnvironment& environment) {
    const auto dosbox = FindExecutableOnPath("dosbox", environment.searchPath);
    if (!dosbox) {
        plan.error = RunnerMissing(plan.program, "DOS", "DOSBox", kDosBoxPackage);
        return false;
    }
    const std::string refused = "Cannot start " + plan.program + " through DOSBox: ";
    const std::string name = FileNameOf(plan.program);
    if (!IsPlainDosProgramName(name)) {
        plan.error = refused +
                     "DOSBox runs a program only by a plain DOS name (up to eight letters, digits or "
                     "\"_\", and .EXE, .COM or .BAT).";
        return false;
    }
    // DOSBox's commands name only our folder and its links; the user's
    // folder and ROM names stay in the links' targets, which DOSBox never parses.
    DosFolder& folder = plan.dosFolder;
    folder.path = DosFolderBase() + "/kestro-dos-" + RandomHex(12);
    folder.links.push_back({"EMU", WithoutTrailingSeparator(DirectoryOf(plan.program))});
    std::string command = name;
    for (std::size_t i = 0; i < request.arguments.size(); ++i) {
        const std::string& argument = request.arguments[i];
        if (IsPathArgument(request, i)) {
            const std::size_t number = folder.links.size();
            const std::string link = number == 1 ? "GAME.VB" : "GAME" + std::to_string(number) + ".VB";
            folder.links.push_back({link, Absolute(argument)});
            command += " D:\\" + link;
        } else if (IsPlainDosText(argument) && !argument.empty()) {
            command += " " + argument;
        } else {
            plan.error = refused + "its argument \"" + argument + "\" cannot be passed to DOSBox as it stands.";
            return false;
        }
    }
    plan.argv = {*dosbox, "-c", "MOUNT C " + folder.path + "/EMU"};
    if (folder.links.size() > 1) plan.argv.insert(plan.argv.end(), {"-c", "MOUNT D " + folder.path});
    plan.argv.insert(plan.argv.end(), {"-c", "C:", "-c", command, "-c", "EXIT"});
    return true;
}

bool PlanNative(LaunchPlan& plan, const LaunchRequest& request) {
    if (!IsExecutable(plan.program)) {
        plan.error = "Cannot start " + plan.program +
                     ": it is neither a Windows nor a DOS program, and it is not marked as executable (chmod +x).";
        return false;
    }
    plan.argv = {plan.program};
    plan.argv.insert(plan.argv.end(), request.arguments.begin(), request.arguments.end());
    return true;
}

}  // namespace

LaunchPlan PlanLaunch(const LaunchRequest& request, const LaunchEnvironment& environment) {
    LaunchPlan plan;
    plan.workingDirectory = request.workingDirectory;
    if (request.program.empty()) {
        plan.error = "No program to start.";
        return plan;
    }
    const auto resolved = ResolveProgram(request.program);
    if (!resolved) {
        plan.error = MissingProgram(request.program);
        return plan;
    }
    plan.program = Absolute(*resolved);
    const auto kind = ProgramKindOf(plan.program);
    if (!kind) {
        plan.error = "Cannot start " + plan.program + ": the file cannot be read.";
        return plan;
    }
    plan.kind = *kind;
    switch (plan.kind) {
        case ProgramKind::Windows: plan.ok = PlanWindows(plan, request, environment); break;
        case ProgramKind::Dos: plan.ok = PlanDos(plan, request, environment); break;
        case ProgramKind::Native: plan.ok = PlanNative(plan, request); break;
    }
    return plan;
}

#if !defined(_WIN32)

namespace {

// What the grandchild reports through the pipe before it would have run.
struct ChildFailure {
    char stage;  // 'f' fork, 'd' working directory, 'x' exec
    int error;
};

[[noreturn]] void ReportAndExit(int fd, char stage, int error) {
    const ChildFailure failure{stage, error};
    // Nothing else can be done about a failed write here.
    [[maybe_unused]] const ssize_t written = ::write(fd, &failure, sizeof failure);
    ::_exit(127);
}

// In the grandchild, between fork and exec: only async-signal-safe calls.
[[noreturn]] void RunChild(int reportFd, const char* directory, char* const* argv, ChildOutput output, int logFd) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &defaults, nullptr);
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        if (null != STDIN_FILENO) ::close(null);
    }
    if (logFd >= 0) {
        ::dup2(logFd, STDOUT_FILENO);
        ::dup2(logFd, STDERR_FILENO);
    } else if (output == ChildOutput::ToStderr) {
        ::dup2(STDERR_FILENO, STDOUT_FILENO);
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // The emulator gets none of our open files (only the report pipe, which
    // closes itself at the exec).
    if (reportFd > 3) ::close_range(3, static_cast<unsigned>(reportFd) - 1, 0);
    ::close_range(static_cast<unsigned>(reportFd) + 1, ~0U, 0);
#endif
    if (directory != nullptr && ::chdir(directory) != 0) ReportAndExit(reportFd, 'd', errno);
    ::execv(argv[0], argv);
    ReportAndExit(reportFd, 'x', errno);
}

std::string FailureText(const LaunchPlan& plan, const ChildFailure& failure) {
    const std::string reason = std::strerror(failure.error);
    std::string what = plan.program;
    if (!plan.argv.empty() && plan.argv[0] != plan.program) what += " through " + plan.argv[0];
    switch (failure.stage) {
        case 'd': return "Cannot start " + what + " in the directory " + plan.workingDirectory + ": " + reason + ".";
        case 'f': return "Cannot start " + what + ": " + reason + ".";
        default: break;
    }
    if (failure.error == ENOENT && IsFile(plan.argv[0])) {
        return "Cannot start " + what + ": the interpreter its first line names was not found.";
    }
    return "Cannot start " + what + ": " + reason + ".";
}

// In the parent: the first child's end, then the grandchild's report. The
// pipe closes on a successful exec, or carries the reason it failed.
std::optional<ChildFailure> WaitForExec(pid_t child, int reportFd) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    ChildFailure failure{};
    ssize_t got = 0;
    do {
        got = ::read(reportFd, &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    ::close(reportFd);
    if (got == static_cast<ssize_t>(sizeof failure)) return failure;
    return std::nullopt;
}

// A DOS program's folder of links, made before the start; false with the reason.
bool MakeDosFolder(const DosFolder& folder, std::string& reason) {
    if (::mkdir(folder.path.c_str(), 0700) != 0) {
        reason = "cannot make the folder " + folder.path + ": " + std::strerror(errno);
        return false;
    }
    for (const DosFolder::Link& link : folder.links) {
        const std::string path = folder.path + "/" + link.name;
        if (::symlink(link.target.c_str(), path.c_str()) != 0) {
            reason = "cannot make the link " + path + ": " + std::strerror(errno);
            std::error_code ec;
            fs::remove_all(folder.path, ec);  // links only: their targets stay
            return false;
        }
    }
    return true;
}

// The folder's links and the folder itself, as paths made before any fork.
std::vector<std::string> DosFolderPaths(const DosFolder& folder) {
    std::vector<std::string> paths;
    for (const DosFolder::Link& link : folder.links) paths.push_back(folder.path + "/" + link.name);
    if (!folder.path.empty()) paths.push_back(folder.path);
    return paths;
}

// Removes links and folder; only async-signal-safe calls, for use after a fork.
void RemoveDosFolder(const std::vector<const char*>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (i + 1 < paths.size()) {
            ::unlink(paths[i]);
        } else {
            ::rmdir(paths[i]);
        }
    }
}

// What a start makes before the fork for the process that waits for the
// emulator: the output file and the paths to fold it into the log, and the
// pipe the exit status goes back through.
struct RunWaiting {
    int logFd = -1;
    const char* run = nullptr;
    const char* log = nullptr;
    const char* temporary = nullptr;
    int statusFd = -1;
};

// Closes every descriptor but keep.
void CloseAllBut(int keep) {
    for (int fd = 0; fd < 3; ++fd) {
        if (fd != keep) ::close(fd);
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    if (keep > 3) ::close_range(3, static_cast<unsigned>(keep) - 1, 0);
    ::close_range(keep < 3 ? 3U : static_cast<unsigned>(keep) + 1, ~0U, 0);
#endif
}

// In the grandchild when the run is waited for: runs the program in a child
// of its own, waits for it, keeps its output in the log, removes the DOS
// folder and reports the exit status.
[[noreturn]] void RunAndWait(int reportFd, const char* directory, char* const* argv, ChildOutput output,
                             const std::vector<const char*>& folder, const RunWaiting& waiting) {
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    sigaction(SIGCHLD, &defaults, nullptr);
    // Nobody may be listening for the status any more.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, nullptr);
    const pid_t runner = ::fork();
    if (runner < 0) ReportAndExit(reportFd, 'f', errno);
    if (runner == 0) RunChild(reportFd, directory, argv, output, waiting.logFd);
    // Nothing of ours stays open while the emulator runs, the report pipe least of all.
    CloseAllBut(waiting.statusFd);
    int status = 0;
    while (::waitpid(runner, &status, 0) < 0 && errno == EINTR) {
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
    if (waiting.run != nullptr) FoldRunIntoLog(waiting.run, waiting.log, waiting.temporary, code);
    RemoveDosFolder(folder);
    if (waiting.statusFd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(waiting.statusFd, &code, sizeof code);
    }
    ::_exit(0);
}

// This run's output file, its heading written; -1 when no log can be kept.
int OpenRunFile(const LaunchPlan& plan, const std::string& log, std::string& run) {
    if (log.empty()) return -1;
    std::error_code ec;
    fs::create_directories(fs::path(log).parent_path(), ec);
    std::string name = log + ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    run = name;
    const std::string heading = RunHeadingLine(ShellCommandLine(plan.argv)) + "\n";
    [[maybe_unused]] const ssize_t written = ::write(fd, heading.data(), heading.size());
    return fd;
}

}  // namespace

LaunchResult StartPlanned(const LaunchPlan& plan, ChildOutput output) {
    if (!plan.ok) return {false, plan.error};
    if (plan.argv.empty()) return {false, "No program to start."};
    // Everything the child needs is made before the fork.
    std::vector<char*> argv;
    for (const std::string& arg : plan.argv) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const char* directory = plan.workingDirectory.empty() ? nullptr : plan.workingDirectory.c_str();
    const std::vector<std::string> folderPaths = DosFolderPaths(plan.dosFolder);
    std::vector<const char*> folder;
    for (const std::string& path : folderPaths) folder.push_back(path.c_str());
    if (!folder.empty()) {
        std::string reason;
        if (!MakeDosFolder(plan.dosFolder, reason)) {
            return {false, "Cannot start " + plan.program + ": " + reason + "."};
        }
    }
    const std::string log = RunLogPath(plan.program);
    std::string run;
    const int logFd = OpenRunFile(plan, log, run);
    const std::string temporary = run + ".new";
    int status[2] = {-1, -1};
    if (logFd >= 0 && ::pipe2(status, O_CLOEXEC) != 0) status[0] = status[1] = -1;
    const RunWaiting waiting{logFd, logFd >= 0 ? run.c_str() : nullptr, log.c_str(), temporary.c_str(), status[1]};
    // Ours once the child has them (or when there is no child).
    auto closeOurs = [&] {
        if (logFd >= 0) ::close(logFd);
        if (status[1] >= 0) ::close(status[1]);
    };
    auto failed = [&](const ChildFailure& failure) {
        RemoveDosFolder(folder);
        if (status[0] >= 0) ::close(status[0]);
        if (logFd >= 0) ::unlink(run.c_str());
        return LaunchResult{false, FailureText(plan, failure)};
    };

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        closeOurs();
        return failed({'f', errno});
    }
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        closeOurs();
        return failed({'f', error});
    }
    if (child == 0) {
        // The child starts a session of its own and leaves at once; the
        // grandchild, adopted by init, runs the program and is never waited for.
        ::close(report[0]);
        if (status[0] >= 0) ::close(status[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) ReportAndExit(report[1], 'f', errno);
        if (grandchild > 0) ::_exit(0);
        if (!folder.empty() || logFd >= 0) RunAndWait(report[1], directory, argv.data(), output, folder, waiting);
        RunChild(report[1], directory, argv.data(), output, -1);
    }
    ::close(report[1]);
    closeOurs();
    if (const auto failure = WaitForExec(child, report[0])) return failed(*failure);
    if (logFd >= 0) NoteStart({log, status[0] >= 0 ? std::make_shared<ExitWatch>(status[0]) : nullptr});
    return {true, {}};
}

#else

LaunchResult StartPlanned(const LaunchPlan& plan, ChildOutput) {
    if (!plan.ok) return {false, plan.error};
    return {false, "Starting programs is done by the platform's launcher on Windows."};
}

#endif

LaunchResult DetachedProcessLauncher::Start(const LaunchRequest& request) {
    return StartPlanned(PlanLaunch(request, CurrentLaunchEnvironment()), m_output);
}

}  // namespace kestro::base
