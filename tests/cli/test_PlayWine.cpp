// SPDX-License-Identifier: GPL-3.0-or-later
// A real Windows program under a real Wine: built with MinGW, started by
// `kestro play`, it must get the ROM's path in Wine's form and open it.
// Skipped where wine or the MinGW compiler is missing (as on CI).
#include <stdio.h>

#include <array>

#include "PlayFixture.h"
#include "base/ProcessStart.h"

namespace kestro::test {
namespace {

using base::JoinPath;

// Writes record.txt beside itself: its working directory, its arguments, and
// whether the first one could be opened (with its size).
constexpr const char* kStandIn = R"(#include <stdio.h>
#include <string.h>
#include <windows.h>
int main(int argc, char** argv) {
    char part[MAX_PATH], done[MAX_PATH], cwd[MAX_PATH];
    GetModuleFileNameA(NULL, part, MAX_PATH);
    strcpy(strrchr(part, '\\') + 1, "record.part");
    strcpy(done, part);
    strcpy(strrchr(done, '\\') + 1, "record.txt");
    FILE* out = fopen(part, "wb");
    GetCurrentDirectoryA(MAX_PATH, cwd);
    fprintf(out, "%s\n", cwd);
    for (int i = 1; i < argc; ++i) fprintf(out, "%s\n", argv[i]);
    FILE* rom = argc > 1 ? fopen(argv[1], "rb") : NULL;
    if (rom) {
        fseek(rom, 0, SEEK_END);
        fprintf(out, "opened %ld\n", ftell(rom));
        fclose(rom);
    } else {
        fprintf(out, "not opened\n");
    }
    fclose(out);
    MoveFileA(part, done);
    return 0;
}
)";

std::string Output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 512> buffer{};
        while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) text += buffer.data();
        pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

TEST_F(PlayTest, AWindowsProgramUnderWineGetsAndOpensTheRomInWinesForm) {
    const base::LaunchEnvironment here = base::CurrentLaunchEnvironment();
    const auto gcc = base::FindExecutableOnPath("x86_64-w64-mingw32-gcc", here.searchPath);
    if (!base::FindExecutableOnPath("wine", here.searchPath) || !gcc) {
        GTEST_SKIP() << "needs wine and gcc-mingw-w64-x86-64";
    }
    std::ofstream(dir.File("standin.c")) << kStandIn;
    const std::string exe = JoinPath(emu, "RBOY.EXE");
    ASSERT_EQ(
        system((ShellQuoted(*gcc) + " -O1 -o " + ShellQuoted(exe) + " " + ShellQuoted(dir.File("standin.c"))).c_str()),
        0);
    WriteSettings("Reality%20Boy%20Directory=" + Quoted(emu) + "\n");

    // A private prefix: a first run creates it, which takes a while.
    const std::string prefix = dir.File("wine prefix");
    ScopedEnv winePrefix("WINEPREFIX", prefix);
    ScopedEnv quiet("WINEDEBUG", "-all");
    ScopedEnv noAddons("WINEDLLOVERRIDES", "mscoree=;mshtml=");
    auto run = RunKestro({"play", "reality-boy", rom, "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto argv = run.Json()["argv"];
    EXPECT_EQ(argv[0], *base::FindExecutableOnPath("wine", here.searchPath));
    EXPECT_EQ(argv[1], exe);
    EXPECT_EQ(argv[2], base::WinePath(rom));
    const auto record = WaitForRecord(emu, std::chrono::minutes(4));
    ASSERT_TRUE(record) << "the stand-in did not run under Wine";
    ASSERT_GE(record->size(), 3u);
    EXPECT_EQ((*record)[0], base::WinePath(std::filesystem::current_path().string())) << "our directory";
    EXPECT_EQ((*record)[1], base::WinePath(rom)) << "the ROM arrives whole, in Wine's form";
    EXPECT_EQ((*record)[2], "-display");
    EXPECT_EQ(record->back(), "opened " + std::to_string(std::filesystem::file_size(rom)));

    // The form we compute is the one Wine's own converter gives.
    EXPECT_EQ(Output("winepath -w " + ShellQuoted(rom) + " 2>/dev/null"), base::WinePath(rom));
    [[maybe_unused]] const int stopped = system("wineserver -k >/dev/null 2>&1");
}

// A value saved while Wine runs (here by Wine's own "reg add", as the emulator saves its own) is what
// `kestro play virtual-e` finds at once, though the server writes user.reg only some while later.
TEST_F(PlayTest, VirtualEFindsWhatARunningWineHolds) {
    const base::LaunchEnvironment here = base::CurrentLaunchEnvironment();
    if (!base::FindExecutableOnPath("wine", here.searchPath) ||
        !base::FindExecutableOnPath("wineserver", here.searchPath)) {
        GTEST_SKIP() << "Wine is not installed (Debian package \"wine\"); the real-Wine check is skipped.";
    }
    ScopedEnv winePrefix("WINEPREFIX", dir.File("prefix"));
    ScopedEnv quiet("WINEDEBUG", "-all");
    ScopedEnv noAddons("WINEDLLOVERRIDES", "mscoree=;mshtml=");
    ASSERT_EQ(
        system("(timeout 600 wineboot -i; timeout 120 wineserver -w; wineserver -p 120 && timeout 300 wine reg add "
               "'HKCU\\Software\\Virtual-E\\VIRTUALE\\Options' /v FPS /t REG_DWORD /d 50 /f) "
               ">/dev/null 2>&1 </dev/null"),
        0);
    WriteSettings("Virtual-E%20Directory=" + Quoted(emu) + "\n");
    const auto fps = RunKestro({"play", "virtual-e", "--dry-run", "--json"}).Json()["registry"][5];
    [[maybe_unused]] const int stopped = system("wineserver -k >/dev/null 2>&1");
    EXPECT_EQ(fps["name"], "FPS");
    EXPECT_EQ(fps["value"], 50);
}

}  // namespace
}  // namespace kestro::test
