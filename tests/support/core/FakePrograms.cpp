// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/core/FakePrograms.h"

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace kestro::test {

namespace fs = std::filesystem;

void WriteExecutable(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

void WriteRecordingEmulator(const std::string& path) {
    WriteExecutable(path,
                    "#!/bin/sh\n"
                    "out=\"$(dirname \"$0\")/record.txt\"\n"
                    "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$out.part\" && mv \"$out.part\" "
                    "\"$out\"\n");
}

std::optional<std::vector<std::string>> WaitForRecord(const std::string& directory, std::chrono::milliseconds timeout) {
    const fs::path record = fs::path(directory) / "record.txt";
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!fs::exists(record)) {
        if (std::chrono::steady_clock::now() > until) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<std::string> lines;
    std::ifstream in(record);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void WriteDosStandIn(const std::string& path) {
    std::string bytes(0x80, '\0');
    bytes.replace(0, 2, "MZ");
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteWindowsStandIn(const std::string& path) {
    std::string bytes(0x80, '\0');
    bytes.replace(0, 2, "MZ");
    bytes[0x3C] = 0x40;  // the PE header's offset
    bytes.replace(0x40, 4, std::string("PE\0\0", 4));
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

ShellOutput RunShell(const std::string& command) {
    ShellOutput out;
    FILE* pipe = ::popen(("(" + command + ") 2>&1").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.text.append(buffer, n);
    const int status = ::pclose(pipe);
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

}  // namespace kestro::test
