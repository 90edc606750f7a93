// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stand-ins for outside programs: a script that records how it was started,
// and files that look like Windows or DOS programs by their first bytes.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kestro::test {

/// Writes a file with its run bit set.
void WriteExecutable(const std::string& path, const std::string& content);

/// A shell script that, when run, writes record.txt beside itself: its
/// working directory on the first line, then each argument on a line.
void WriteRecordingEmulator(const std::string& path);

/// The lines of the record beside a recording emulator, once it is there;
/// nothing if it did not appear within the time given.
std::optional<std::vector<std::string>> WaitForRecord(const std::string& emulatorDirectory,
                                                      std::chrono::milliseconds timeout = std::chrono::seconds(10));

/// An "MZ" file with a "PE" header, as a Windows program starts.
void WriteWindowsStandIn(const std::string& path);
/// An "MZ" file with no newer header, as a DOS program starts.
void WriteDosStandIn(const std::string& path);

/// The whole content of a text file ("" when missing).
std::string FileText(const std::string& path);
/// Writes text to a file byte for byte, replacing any, in a folder made if need be.
void WriteText(const std::string& path, const std::string& text);

/// A shell command's exit status (-1 when it did not exit) and what it printed on
/// standard output and error together.
struct ShellOutput {
    int status = -1;
    std::string text;
};
ShellOutput RunShell(const std::string& command);

}  // namespace kestro::test
