#include "base/ProcessStart.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "base/Paths.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
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

// The drive letter and 8.3 name by which DOSBox reaches a host file.
struct DosMounts {
    std::map<std::string, char> letters;  // host directory -> drive
    std::vector<std::string> commands;

    char DriveFor(const std::string& directory) {
        auto it = letters.find(directory);
        if (it != letters.end()) return it->second;
        const char letter = static_cast<char>('C' + letters.size());
        letters.emplace(directory, letter);
        commands.push_back(std::string("MOUNT ") + letter + " \"" + directory + "\"");
        return letter;
    }
    std::string DosPath(const std::string& hostPath) {
        const std::string absolute = Absolute(hostPath);
        return std::string(1, DriveFor(DirectoryOf(absolute))) + ":\\" + DosName(FileNameOf(absolute));
    }
};

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
    if (IsFile(program)) return program;
    const std::string directory = DirectoryOf(program);
    const std::string name = FileNameOf(program);
    if (auto found = FindFileNoCase(directory, name)) return found;
    return FindFileNoCase(directory, name + ".EXE");
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

std::string DosName(std::string_view name) {
    std::string upper;
    for (char c : name) {
        if (c != ' ') upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::size_t firstDot = upper.find('.');
    const std::size_t lastDot = upper.rfind('.');
    const std::size_t baseLength = firstDot == std::string::npos ? upper.size() : firstDot;
    const std::size_t extLength = lastDot == std::string::npos ? 0 : upper.size() - lastDot - 1;
    const bool fits =
        upper.size() == name.size() && baseLength >= 1 && baseLength <= 8 && extLength <= 3 && firstDot == lastDot;
    if (fits) return upper;
    // DOSBox's short name for the first file of its kind: up to six letters, "~1", the extension cut to three.
    std::string shortName = upper.substr(0, std::min<std::size_t>(baseLength, 6)) + "~1";
    if (lastDot != std::string::npos) shortName += upper.substr(lastDot, 4);
    return shortName;
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
    plan.argv = {*wine, plan.program};
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
    // The program's directory is drive C:, each path argument's directory the next free drive.
    DosMounts mounts;
    const char drive = mounts.DriveFor(DirectoryOf(plan.program));
    std::string command = DosName(FileNameOf(plan.program));
    for (std::size_t i = 0; i < request.arguments.size(); ++i) {
        command += ' ';
        command += IsPathArgument(request, i) ? mounts.DosPath(request.arguments[i]) : request.arguments[i];
    }
    plan.argv = {*dosbox};
    for (const std::string& mount : mounts.commands) plan.argv.insert(plan.argv.end(), {"-c", mount});
    plan.argv.insert(plan.argv.end(), {"-c", std::string(1, drive) + ":", "-c", command, "-c", "EXIT"});
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
[[noreturn]] void RunChild(int reportFd, const char* directory, char* const* argv, ChildOutput output) {
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
    if (output == ChildOutput::ToStderr) ::dup2(STDERR_FILENO, STDOUT_FILENO);
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

}  // namespace

LaunchResult StartPlanned(const LaunchPlan& plan, ChildOutput output) {
    if (!plan.ok) return {false, plan.error};
    if (plan.argv.empty()) return {false, "No program to start."};
    // Everything the child needs is made before the fork.
    std::vector<char*> argv;
    for (const std::string& arg : plan.argv) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const char* directory = plan.workingDirectory.empty() ? nullptr : plan.workingDirectory.c_str();

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return {false, FailureText(plan, {'f', errno})};
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return {false, FailureText(plan, {'f', error})};
    }
    if (child == 0) {
        // The child starts a session of its own and leaves at once; the
        // grandchild, adopted by init, runs the program and is never waited for.
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) ReportAndExit(report[1], 'f', errno);
        if (grandchild > 0) ::_exit(0);
        RunChild(report[1], directory, argv.data(), output);
    }
    ::close(report[1]);
    if (const auto failure = WaitForExec(child, report[0])) return {false, FailureText(plan, *failure)};
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
