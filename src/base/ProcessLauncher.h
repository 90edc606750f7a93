// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting outside programs (emulators, development tools).

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kestro::base {

/// One outside program to start: the program and its arguments as a list, so
/// that a path with blanks arrives whole.
struct LaunchRequest {
    /// Full path; a name given without extension resolves, without regard to
    /// case, to NAME, NAME.EXE or NAME.exe in its directory.
    std::string program;
    std::vector<std::string> arguments;
    /// The child's working directory; empty keeps ours. Ours is never changed.
    std::string workingDirectory;
    /// Started as a minimised window, where the platform can ask for one.
    bool minimised = false;
    /// Indexes into arguments of those that are file paths (a ROM): a Windows
    /// program under Wine gets them in Wine's form, a DOS one in DOSBox's.
    std::vector<std::size_t> pathArguments{};

    friend bool operator==(const LaunchRequest&, const LaunchRequest&) = default;
};

struct LaunchResult {
    bool started = false;
    std::string error;  ///< why not, in words for the user
};

/// Starts an outside program detached from ours; never waits for it.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    virtual LaunchResult Start(const LaunchRequest& request) = 0;
};

/// Starts each request that names no working directory in the given one:
/// an emulator chosen in the emulator chooser runs in its own directory,
/// while our own directory never changes.
class InDirectoryLauncher final : public ProcessLauncher {
public:
    InDirectoryLauncher(ProcessLauncher& launcher, std::string directory)
        : m_launcher(launcher), m_directory(std::move(directory)) {}
    LaunchResult Start(const LaunchRequest& request) override {
        LaunchRequest inDirectory = request;
        if (inDirectory.workingDirectory.empty()) inDirectory.workingDirectory = m_directory;
        return m_launcher.Start(inDirectory);
    }

private:
    ProcessLauncher& m_launcher;
    std::string m_directory;
};

}  // namespace kestro::base
