// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting an outside program on this platform: which file a configured name
// means, which runner a Windows or DOS program needs here, the arguments as
// that runner wants them, and the detached start itself. The plan is plain
// data, so that `kestro play --dry-run` shows exactly what a start would run.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ProcessLauncher.h"

namespace kestro::base {

/// What a program file is, by its first bytes.
enum class ProgramKind {
    Windows,  ///< "MZ" with a "PE" (or 16-bit "NE") header: runs through Wine
    Dos,      ///< "MZ" without one: runs through DOSBox
    Native,   ///< anything else: an executable or a script with its run bit
};

/// The Debian packages that hold the runners, named in messages.
inline constexpr std::string_view kWinePackage = "wine";
inline constexpr std::string_view kDosBoxPackage = "dosbox";

/// The private folder a DOS program's run reaches the host through: DOSBox
/// turns its commands into a batch file, so they name only this folder and
/// links in it with fixed plain names, never a user's path. Made just before
/// the start, removed once DOSBox has ended.
struct DosFolder {
    std::string path;  ///< empty: none
    struct Link {
        std::string name;    ///< "EMU", "GAME.VB"
        std::string target;  ///< the host path it stands for
        friend bool operator==(const Link&, const Link&) = default;
    };
    std::vector<Link> links;
};

/// How one request would be started: the exact argument list (runner first)
/// and the child's working directory, or the reason it cannot be.
struct LaunchPlan {
    bool ok = false;
    std::string error;    ///< when not ok: for the user, naming the program and the reason
    std::string program;  ///< the program file the request resolved to
    ProgramKind kind = ProgramKind::Native;
    std::vector<std::string> argv;  ///< what is executed, argv[0] a full path
    std::string workingDirectory;   ///< empty: the child keeps ours
    DosFolder dosFolder;            ///< a DOS program's links
};

/// What a plan depends on outside the request.
struct LaunchEnvironment {
    std::string searchPath;  ///< PATH, where wine and dosbox are looked for
};
/// This process's environment.
LaunchEnvironment CurrentLaunchEnvironment();

/// The file a configured program names, found without regard to case: a name
/// without extension is NAME.EXE in its directory ("RBOY" finds rboy.exe,
/// Rboy.Exe, RBOY.EXE), and only where there is none NAME itself (a native
/// program or script); a name with one is that file. Nothing when there is none.
std::optional<std::string> ResolveProgram(const std::string& program);

/// The kind of a program file; nothing when it cannot be read.
std::optional<ProgramKind> ProgramKindOf(const std::string& file);

/// A path in the form a Windows program under Wine gets it, as `winepath -w`
/// gives it with Wine's default drive Z: for "/": "Z:" and the absolute path
/// with backslashes ("/home/me/game.vb" is "Z:\home\me\game.vb"). A relative
/// path is taken from our current directory.
std::string WinePath(const std::string& path);

/// True for a text DOSBox's command line takes as it stands: letters, digits
/// and "_.:-\/" only (no blank, quote, "%", redirection or line break).
bool IsPlainDosText(std::string_view text);

/// The executable file of that name in the first directory of the search
/// path that has one.
std::optional<std::string> FindExecutableOnPath(std::string_view name, const std::string& searchPath);

/// The start of one request: the program resolved, a Windows program put
/// behind wine with its path arguments in Wine's form (through Wine's
/// `start /min` when minimised), a DOS program behind dosbox with a private
/// folder of links mounted (its directory as C:, the path arguments as
/// D:\GAME.VB, ...), a native one as it is. Refused, with a message, when the
/// program is missing, cannot run, needs a runner that is not installed, or
/// cannot be handed to DOSBox safely.
LaunchPlan PlanLaunch(const LaunchRequest& request, const LaunchEnvironment& environment);

/// The argument list as one line a POSIX shell runs as it stands: each
/// argument that is not plainly safe ([A-Za-z0-9_@%+=:,./-]) in single quotes,
/// a quote inside as '\'' ("/roms/It's me.vb" is '/roms/It'\''s me.vb'), and
/// a program name holding "=" quoted too, so no shell takes it for an assignment.
std::string ShellCommandLine(const std::vector<std::string>& argv);

/// Where a started program's standard output goes when no log can be kept.
enum class ChildOutput {
    Inherit,   ///< ours (the desktop program)
    ToStderr,  ///< our standard error, so that a command's own output stays clean
};

/// Starts a plan detached from us (its own session; never waited for) in its
/// working directory; ours never changes. Its standard output and error go to
/// the program's log (RunLog.h): a small process of its own waits for it,
/// folds its output into the log and reports its exit status to the start's
/// record. A DOS program's folder of links is
/// made first and removed by that process once DOSBox ends. A failed start (no permission, a
/// working directory that is gone, an exec error) comes back as an error
/// naming the program and the reason.
LaunchResult StartPlanned(const LaunchPlan& plan, ChildOutput output = ChildOutput::Inherit);

/// The launcher the program uses: plans each request and starts it.
class DetachedProcessLauncher final : public ProcessLauncher {
public:
    explicit DetachedProcessLauncher(ChildOutput output = ChildOutput::Inherit) : m_output(output) {}
    LaunchResult Start(const LaunchRequest& request) override;

private:
    ChildOutput m_output;
};

}  // namespace kestro::base
