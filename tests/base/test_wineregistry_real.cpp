// SPDX-License-Identifier: GPL-3.0-or-later
// The registry storage against a real Wine: what the program writes is what
// "wine reg query" lists, with the server stopped and with it running.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "base/WineRegistry.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

using namespace kestro::base;
using kestro::test::FileText;

namespace {

struct ShellResult {
    int status = -1;
    std::string output;
};

ShellResult Shell(const std::string& command) {
    ShellResult result;
    FILE* pipe = ::popen(("(" + command + ") 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
    result.status = ::pclose(pipe);
    return result;
}

// The file without the named key's section, to compare everything else.
std::string Without(const std::string& text, const std::string& header) {
    const auto at = text.find("\n[" + header + "]");
    if (at == std::string::npos) return text;
    const auto next = text.find("\n[", at + 1);
    return text.substr(0, at) + (next == std::string::npos ? "" : text.substr(next));
}

void WriteOptions(RegistryBackend& backend, const std::string& key,
                  const std::vector<std::pair<const char*, int>>& values) {
    cRegistry reg(backend);
    reg.SetClassKey(HKEY_CURRENT_USER_);
    reg.SetSectionKey(key);
    reg.SetValueType(REG_DWORD_);
    RegistryWriteGroup group(reg);
    for (const auto& [name, value] : values) {
        reg.SetValueKey(name);
        reg.SetValue(std::int32_t{value});
    }
    group.Commit();
}

}  // namespace

TEST(RealWine, WrittenValuesAreWhatWineReadsWithOrWithoutItsServer) {
    if (Shell("command -v wine && command -v wineboot && command -v wineserver").status != 0) {
        GTEST_SKIP() << "Wine is not installed (Debian package \"wine\"); the real-Wine check is skipped.";
    }
    kestro::test::TempDir dir;
    const std::string prefix = (dir.Path() / "prefix").string();
    const std::string env = "WINEPREFIX='" + prefix + "' WINEDEBUG=-all ";
    ShellResult boot = Shell(env + "timeout 600 wineboot -i; " + env + "timeout 120 wineserver -w");
    ASSERT_TRUE(std::filesystem::exists(prefix + "/user.reg")) << "wineboot made no prefix:\n" << boot.output;
    ASSERT_FALSE(WineServerRunning(prefix));

    // With no server: the file is edited, and only the key written changes.
    const std::string before = FileText(prefix + "/user.reg");
    WineRegistryBackend backend(prefix);
    WriteOptions(backend, "Software\\Virtual-E\\VIRTUALE\\Options", {{"Display", 2}, {"CPU", 3}, {"Brtness", -5}});
    const std::string after = FileText(prefix + "/user.reg");
    EXPECT_EQ(Without(after, "Software\\\\Virtual-E\\\\VIRTUALE\\\\Options"), before);
    ShellResult query = Shell(env + "timeout 300 wine reg query 'HKCU\\Software\\Virtual-E\\VIRTUALE\\Options'");
    EXPECT_NE(query.output.find("Display    REG_DWORD    0x2"), std::string::npos) << query.output;
    EXPECT_NE(query.output.find("CPU    REG_DWORD    0x3"), std::string::npos) << query.output;
    EXPECT_NE(query.output.find("Brtness    REG_DWORD    0xfffffffb"), std::string::npos) << query.output;

    // With a server running: an edit of the file would be lost, so the values go through it.
    // All three streams away from our pipe, or reading it waits for the server to end.
    Shell(env + "wineserver -p 120 >/dev/null 2>&1 </dev/null");
    for (int i = 0; i < 100 && !WineServerRunning(prefix); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(WineServerRunning(prefix)) << "the server was not seen running";
    const auto importedAt = std::chrono::steady_clock::now();
    const std::string served = FileText(prefix + "/user.reg");
    WriteOptions(backend, "Software\\Virtual-E\\VIRTUALE\\Keypad", {{"A Button", 77}, {"Start", 66}});
    EXPECT_EQ(FileText(prefix + "/user.reg"), served) << "the server's file is left to the server";
    // Read back at once, as a window opened again reads it, and with a value the emulator itself
    // changed meanwhile: what the server holds, which its file does not show yet.
    ShellResult added = Shell(env +
                              "timeout 300 wine reg add 'HKCU\\Software\\Virtual-E\\VIRTUALE\\Keypad' "
                              "/v Select /t REG_DWORD /d 90 /f");
    ASSERT_EQ(added.status, 0) << added.output;
    WineRegistryBackend fresh(prefix);
    cRegistry reg(fresh);
    reg.SetClassKey(HKEY_CURRENT_USER_);
    reg.SetSectionKey("Software\\Virtual-E\\VIRTUALE\\Keypad");
    const RegistryReadGroup oneLook(reg);
    EXPECT_TRUE(reg.KeyExists());
    for (const auto& [name, value] : {std::pair{"A Button", 77}, {"Start", 66}, {"Select", 90}}) {
        reg.SetValueKey(name);
        EXPECT_EQ(std::get<std::int32_t>(reg.Value()), value) << name;
    }
    // (The server saves its changes about 30 seconds after them.)
    if (std::chrono::steady_clock::now() - importedAt < std::chrono::seconds(25))
        EXPECT_EQ(FileText(prefix + "/user.reg").find("Keypad"), std::string::npos) << "the file has none of it yet";
    query = Shell(env + "timeout 300 wine reg query 'HKCU\\Software\\Virtual-E\\VIRTUALE\\Keypad'");
    EXPECT_NE(query.output.find("A Button    REG_DWORD    0x4d"), std::string::npos) << query.output;
    EXPECT_NE(query.output.find("Start    REG_DWORD    0x42"), std::string::npos) << query.output;

    // The server saves what it was given when it ends.
    Shell(env + "wineserver -k; " + env + "timeout 120 wineserver -w");
    EXPECT_FALSE(WineServerRunning(prefix));
    const std::string saved = FileText(prefix + "/user.reg");
    EXPECT_NE(saved.find("[Software\\\\Virtual-E\\\\VIRTUALE\\\\Keypad]"), std::string::npos);
    EXPECT_NE(saved.find("\"A Button\"=dword:0000004d"), std::string::npos);
    EXPECT_NE(saved.find("\"Display\"=dword:00000002"), std::string::npos);
}
