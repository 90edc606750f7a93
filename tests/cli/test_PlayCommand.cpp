// SPDX-License-Identifier: GPL-3.0-or-later
// kestro play: the front-ends' run buttons from a script.
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "PlayFixture.h"

namespace kestro::test {
namespace {

using base::JoinPath;
using nlohmann::json;

// The options' command line is the front-end's test; here that the saved ones
// are read, that a dry run starts nothing and that what is reported is what runs.
TEST_F(PlayTest, RealityBoyRunsWithTheSavedOptionsAndItsDebugMode) {
    WriteSettings("Reality%20Boy%20Directory=" + Quoted(emu) +
                  "\nReality%20Boy%20Brightness=100\nReality%20Boy%20Display%20Mode=2\n");
    WriteRecordingEmulator(JoinPath(emu, "RBOY.EXE"));
    const std::string settingsBefore = FileText(settingsFile);

    auto run = RunKestro({"play", "reality-boy", rom, "--dry-run", "--json"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    json j = run.Json();
    EXPECT_EQ(j["command_line"],
              JoinPath(emu, "RBOY") + " " + rom + " -display 640 -dspmode red_blue -frmskip 0 -pallet rg -brite 100");
    std::vector<std::string> argv = j["argv"];
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(std::filesystem::exists(JoinPath(emu, "record.txt"))) << "a dry run starts nothing";

    run = RunKestro({"play", "reality-boy", rom, "--debug", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    argv.emplace_back("-debug");
    EXPECT_EQ(run.Json()["argv"], argv);
    const auto record = WaitForRecord(emu);
    ASSERT_TRUE(record);
    argv[0] = std::filesystem::current_path().string();  // the record starts with the working directory
    EXPECT_EQ(*record, argv);
    EXPECT_EQ(FileText(settingsFile), settingsBefore) << "the settings are read, never written";
}

TEST_F(PlayTest, RefusalsAreReported) {
    WriteSettings("Reality%20Boy%20Directory=" + Quoted(emu) + "\n");
    WriteRecordingEmulator(JoinPath(emu, "rboy.exe"));
    auto run = RunKestro({"play", "reality-boy", "--json"});
    EXPECT_EQ(run.status, 1);
    json j = run.Json();
    EXPECT_EQ(j["messages"], json::parse(R"([{"title": "Select ROM", "text": "Select a ROM image to run."}])"));

    run = RunKestro({"play", "reality-boy", dir.File("my roms")});
    EXPECT_EQ(run.err, "Invalid filename: " + dir.File("my roms") + " is a directory, not a ROM image.\n");

    // A Windows program without Wine: the package to install, and no start.
    std::filesystem::remove(JoinPath(emu, "rboy.exe"));
    WriteWindowsStandIn(JoinPath(emu, "RBOY.EXE"));
    {
        ScopedEnv path("PATH", dir.File("no runners here"));
        run = RunKestro({"play", "reality-boy", rom, "--dry-run", "--json"});
        EXPECT_EQ(run.status, 1);
        j = run.Json();
        EXPECT_EQ(j["messages"][0]["title"], "Unable to start Reality Boy");  // its text is the start plan's test

        // Switched off in the options: refused as the desktop program greys it, unless forced.
        enabled = false;
        WriteSettings("Reality%20Boy%20Directory=" + Quoted(emu) + "\n");
        run = RunKestro({"play", "reality-boy", rom, "--dry-run"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err,
                  "Emulator not enabled: Reality Boy is switched off in the options of Kestro Utilities (its "
                  "\"Enabled\" box is not checked).\nkestro play: --force starts it all the same.\n");
        EXPECT_EQ(RunKestro({"play", "reality-boy", rom, "--dry-run", "--force"}).err,
                  "Unable to start Reality Boy: " + j["messages"][0]["text"].get<std::string>() + "\n")
            << "forced, it goes as far as an enabled one";
    }
}

// The options file's content is the front-end's test; here that a run writes
// what it reports, in one step, and a dry run writes nothing.
TEST_F(PlayTest, RedDragonRewritesItsOptionsFileAsReported) {
    WriteSettings("Red%20Dragon%20Directory=" + Quoted(emu) + "\n");
    WriteRecordingEmulator(JoinPath(emu, "RDRAGON.EXE"));
    const std::string options = JoinPath(emu, "Options.Dat");
    const std::string quirky = "platform=0001\r\nscrmode=0004\r\n\x01junk\xff\r\nba=0065\n";
    std::ofstream(options, std::ios::binary) << quirky;

    auto run = RunKestro({"play", "red-dragon", "--dry-run", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    json j = run.Json();
    ASSERT_EQ(j["files"].size(), 1u);
    EXPECT_EQ(j["files"][0]["path"], options) << "the file Red Dragon reads, in whatever case it has";
    const std::string content = j["files"][0]["content"];
    EXPECT_NE(content.find("\r\nba=0065\r\n"), std::string::npos) << content;
    EXPECT_EQ(FileText(options), quirky) << "a dry run writes nothing";

    struct stat before {};
    ::stat(options.c_str(), &before);
    run = RunKestro({"play", "red-dragon", rom});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, JoinPath(emu, "RDRAGON") + " " + rom + "\nWrote " + options + "\nStarted: '" +
                           JoinPath(emu, "RDRAGON.EXE") + "' '" + rom + "'\nIn: " + emu + "\n");
    EXPECT_EQ(FileText(options), content);
    struct stat after {};
    ::stat(options.c_str(), &after);
    EXPECT_NE(before.st_ino, after.st_ino) << "replaced in one step";
}

// Virtual-E reads its options from the Wine prefix's registry: a run writes
// the stored ones again (defaults on first use) before the start.
TEST_F(PlayTest, VirtualEWritesItsRegistryValuesBeforeItStarts) {
    const std::string prefix = dir.File("wine prefix");
    std::filesystem::create_directories(prefix);
    const std::string userReg = JoinPath(prefix, "user.reg");
    const std::string hive =
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n";
    std::ofstream(userReg, std::ios::binary) << hive;
    ScopedEnv wine{"WINEPREFIX", prefix};
    WriteSettings("Virtual-E%20Directory=" + Quoted(emu) + "\n");
    WriteRecordingEmulator(JoinPath(emu, "VIRTUALE.EXE"));

    auto run = RunKestro({"play", "virtual-e", "--dry-run", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    json j = run.Json();
    EXPECT_EQ(j["registry"][3], json::parse(R"({"key": "Software\\Virtual-E\\VIRTUALE\\Options", "name": "Style",
                                                "type": 4, "value": 1})"));
    EXPECT_EQ(FileText(userReg), hive) << "a dry run writes nothing";

    run = RunKestro({"play", "virtual-e", "--json"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    const std::string written = FileText(userReg);
    EXPECT_EQ(written.rfind(hive, 0), 0u) << "what was there stays";
    EXPECT_NE(written.find("\"Display\"=dword:00000002"), std::string::npos) << written;

    // Without a prefix nothing can be stored, so nothing starts.
    ScopedEnv none{"WINEPREFIX", dir.File("no prefix")};
    run = RunKestro({"play", "virtual-e", "--json"});
    EXPECT_EQ(run.status, 1);
    j = run.Json();
    EXPECT_EQ(j["messages"][0]["title"], "kestro.cRegistry");  // its text is the registry's test
    EXPECT_TRUE(j["registry"].empty()) << "nothing was written, so nothing is reported";
    EXPECT_FALSE(std::filesystem::exists(dir.File("no prefix")));
}

// Mednafen reads the game's own settings file as it stands and writes nothing.
TEST_F(PlayTest, MednafenReadsTheGamesOwnFileAndWritesNothing) {
    const std::string home = dir.File("mednafen home"), program = JoinPath(emu, "mednafen");
    const std::string gameFile = JoinPath(home, "pgconfig/game one.vb.cfg");
    ScopedEnv mednafenHome{"MEDNAFEN_HOME", home};
    std::filesystem::create_directories(JoinPath(home, "pgconfig"));
    std::ofstream(gameFile) << ";mine\n";
    WriteRecordingEmulator(program);
    WriteSettings("Mednafen%20Program=" + Quoted(program) + "\n");

    auto run = RunKestro({"play", "mednafen", rom});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Reads " + gameFile + "\nStarted: '" + program + "' '" + rom + "'\n");
    EXPECT_EQ(FileText(gameFile), ";mine\n") << "read, never written";
}

}  // namespace
}  // namespace kestro::test
