// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an emulator says while it runs: each start's standard output and
// error are kept in a log of that emulator under the user's state directory,
// newest run first and cut to a size, so that a desktop user can read why an
// emulator ended at once.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestro::base {

/// The most a log keeps; older runs are cut off at a line's end.
inline constexpr std::size_t kRunLogLimit = 256 * 1024;
/// An emulator that ends with an error within this time failed to start.
inline constexpr std::chrono::seconds kQuickFailureTime{3};
/// Lines of its output shown when it did.
inline constexpr std::size_t kQuickFailureLines = 12;
/// Each run in a log begins with a line that starts so.
inline constexpr std::string_view kRunHeading = "=== Started ";

/// $XDG_STATE_HOME/kestro-utils (an absolute one), else ~/.local/state/kestro-utils.
std::string RunLogDirectory();
/// The log of a program: the file name without extension, in lower case,
/// with ".log" ("/games/VirtualE.Exe" has virtuale.log).
std::string RunLogPath(const std::string& program);

/// Of the logs of these program names ("rboy", "vb_98") the one written
/// last; "" when there is none yet.
std::string NewestRunLog(const std::vector<std::string>& names);

/// The first line of a run: when it started and what was run.
std::string RunHeadingLine(const std::string& commandLine);

/// The last lines (at most count) of the newest run of a log's text, its
/// heading left out.
std::vector<std::string> LastRunLines(std::string_view logText, std::size_t count = kQuickFailureLines);

/// Paths made before a start, so that the process that waits for the
/// emulator can fold its output into the log without making any.
struct RunLogFiles {
    std::string log;        ///< the emulator's log
    std::string run;        ///< this run's output while it runs
    std::string temporary;  ///< the new log, before it replaces the old
};

/// Puts the run's output (its heading and end kept when it is too long) and
/// an end line for the status before the log's older runs, cut to the limit,
/// and replaces the log in one step. Only async-signal-safe calls: it runs
/// in a forked process.
void FoldRunIntoLog(const char* run, const char* log, const char* temporary, int status);

/// The end of a started program, as the process that waits for it reports it.
class ExitWatch {
public:
    /// Takes the reading end of the report pipe.
    explicit ExitWatch(int fd) : m_fd(fd) {}
    ~ExitWatch();
    ExitWatch(const ExitWatch&) = delete;
    ExitWatch& operator=(const ExitWatch&) = delete;

    /// The pipe, for a window's event loop to watch.
    int Fd() const { return m_fd; }
    /// The exit status (128 + signal for a signal) once the program has
    /// ended, waiting up to timeout; nothing while it still runs.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

private:
    int m_fd;
    std::optional<int> m_status;
};

/// What a start that keeps a log leaves for its caller.
struct StartRecord {
    std::string log;                  ///< where the program's output is kept
    std::shared_ptr<ExitWatch> exit;  ///< reports its end
};
/// Noted by each start that keeps a log, on the thread that started it.
void NoteStart(StartRecord record);
/// The record of this thread's last start since the last take; empty when the
/// launcher keeps no log (a test's stand-in, Windows).
StartRecord TakeLastStart();

}  // namespace kestro::base
