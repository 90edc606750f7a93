#pragma once
// The kestro command-line tool: one function per command, over the core.

#include <iosfwd>
#include <string>
#include <vector>

namespace kestro::cli {

/// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

/// Runs the tool with its arguments (argv[0] first), writing to out and err.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestro::cli
