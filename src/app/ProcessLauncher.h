#pragma once

#include <string>

namespace kestro::app {

struct LaunchResult {
    bool started = false;
    std::string error;  ///< why not, in words for the user
};

/// Starts an outside program from one command line, detached from ours.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    virtual LaunchResult Start(const std::string& commandLine, const std::string& workingDirectory) = 0;
};

}  // namespace kestro::app
