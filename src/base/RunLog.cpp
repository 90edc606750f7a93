// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/RunLog.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <utility>

#include "base/Paths.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestro::base {

std::string RunLogDirectory() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return JoinPath(state, "kestro-utils");
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return {};
    return JoinPath(JoinPath(home, ".local/state"), "kestro-utils");
}

std::string RunLogPath(const std::string& program) {
    const std::string directory = RunLogDirectory();
    std::string stem = std::filesystem::path(program).stem().string();
    if (directory.empty() || stem.empty()) return {};
    for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return JoinPath(directory, stem + ".log");
}

namespace {
// A start and the run button that made it are on one thread, one after the
// other; the launcher interface stays as small as it is.
thread_local StartRecord t_lastStart;
}  // namespace

void NoteStart(StartRecord record) {
    t_lastStart = std::move(record);
}

StartRecord TakeLastStart() {
    return std::exchange(t_lastStart, StartRecord{});
}

std::string NewestRunLog(const std::vector<std::string>& names) {
    const std::string directory = RunLogDirectory();
    std::string newest;
    std::filesystem::file_time_type newestTime{};
    for (const std::string& name : names) {
        const std::string path = JoinPath(directory, name + ".log");
        std::error_code ec;
        const auto written = std::filesystem::last_write_time(path, ec);
        if (!ec && (newest.empty() || written > newestTime)) newest = path, newestTime = written;
    }
    return directory.empty() ? std::string() : newest;
}

std::string RunHeadingLine(const std::string& commandLine) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(kRunHeading) + when + ": " + commandLine + " ===";
}

std::vector<std::string> LastRunLines(std::string_view logText, std::size_t count) {
    std::vector<std::string> lines;
    bool inRun = false;
    for (std::size_t at = 0; at < logText.size();) {
        std::size_t end = logText.find('\n', at);
        if (end == std::string_view::npos) end = logText.size();
        std::string_view line = logText.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        at = end + 1;
        if (line.substr(0, kRunHeading.size()) == kRunHeading) {
            if (inRun) break;  // the run before it
            inRun = true;
            continue;
        }
        if (inRun) lines.emplace_back(line);
    }
    if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
    return lines;
}

#if !defined(_WIN32)

namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Copies up to limit bytes from in's position; with wholeLines a copy the
// limit stops ends after the last whole line. Returns the bytes copied.
std::size_t CopyBytes(int in, int out, std::size_t limit, bool wholeLines) {
    char buffer[4096];
    std::size_t copied = 0;
    while (copied < limit) {
        const std::size_t want = limit - copied < sizeof buffer ? limit - copied : sizeof buffer;
        const ssize_t got = ::read(in, buffer, want);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        auto keep = static_cast<std::size_t>(got);
        const bool last = copied + keep == limit;
        if (last && wholeLines) {
            while (keep > 0 && buffer[keep - 1] != '\n') --keep;
        }
        if (!WriteAll(out, buffer, keep)) break;
        copied += keep;
        if (last) break;
    }
    return copied;
}

// Skips to just after the next line's end; false when there is none.
bool SkipLine(int in) {
    char c = 0;
    for (;;) {
        const ssize_t got = ::read(in, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        if (c == '\n') return true;
    }
}

// The run's output into out, at most limit bytes: when longer, its heading
// and its end, where the reason it stopped is.
std::size_t CopyRun(int in, int out, std::size_t limit) {
    struct stat info {};
    if (::fstat(in, &info) != 0) return 0;
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size <= limit) return CopyBytes(in, out, size, false);
    std::size_t copied = CopyBytes(in, out, limit / 4, true);
    static constexpr char kCut[] = "[...]\n";
    WriteAll(out, kCut, sizeof kCut - 1);
    copied += sizeof kCut - 1;
    if (::lseek(in, static_cast<off_t>(size - limit / 2), SEEK_SET) < 0 || !SkipLine(in)) return copied;
    return copied + CopyBytes(in, out, limit / 2, false);
}

// "=== Exit status N ===", with no library call that might allocate.
std::size_t EndLine(char* line, int status) {
    static constexpr char kStart[] = "=== Exit status ";
    static constexpr char kEnd[] = " ===\n";
    std::size_t n = 0;
    for (char c : std::string_view(kStart, sizeof kStart - 1)) line[n++] = c;
    char digits[12];
    std::size_t d = 0;
    unsigned value = status < 0 ? 0U : static_cast<unsigned>(status);
    do {
        digits[d++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (d > 0) line[n++] = digits[--d];
    for (char c : std::string_view(kEnd, sizeof kEnd - 1)) line[n++] = c;
    return n;
}

}  // namespace

void FoldRunIntoLog(const char* run, const char* log, const char* temporary, int status) {
    const int in = ::open(run, O_RDONLY | O_CLOEXEC);
    if (in < 0) return;
    const int out = ::open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0) {
        ::close(in);
        return;
    }
    std::size_t written = CopyRun(in, out, kRunLogLimit / 2);
    ::close(in);
    char end[48];
    const std::size_t endSize = EndLine(end, status);
    WriteAll(out, end, endSize);
    written += endSize;
    if (const int older = ::open(log, O_RDONLY | O_CLOEXEC); older >= 0) {
        if (written < kRunLogLimit) CopyBytes(older, out, kRunLogLimit - written, true);
        ::close(older);
    }
    const bool closed = ::close(out) == 0;
    if (closed && ::rename(temporary, log) == 0) {
        ::unlink(run);
    } else {
        ::unlink(temporary);
    }
}

ExitWatch::~ExitWatch() {
    if (m_fd >= 0) ::close(m_fd);
}

std::optional<int> ExitWatch::WaitForExit(std::chrono::milliseconds timeout) {
    if (m_status || m_fd < 0) return m_status;
    pollfd watched{m_fd, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&watched, 1, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return std::nullopt;
    int status = 0;
    ssize_t got = 0;
    do {
        got = ::read(m_fd, &status, sizeof status);
    } while (got < 0 && errno == EINTR);
    ::close(m_fd);
    m_fd = -1;
    if (got == static_cast<ssize_t>(sizeof status)) m_status = status;
    return m_status;
}

#else

void FoldRunIntoLog(const char*, const char*, const char*, int) {}

ExitWatch::~ExitWatch() = default;

std::optional<int> ExitWatch::WaitForExit(std::chrono::milliseconds) {
    return std::nullopt;
}

#endif

}  // namespace kestro::base
