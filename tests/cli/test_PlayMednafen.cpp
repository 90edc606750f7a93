// SPDX-License-Identifier: GPL-3.0-or-later
// kestro play mednafen: the game's own settings file as it stands, and a
// command line that a shell runs as printed.
#include <cstdlib>

#include "PlayFixture.h"

namespace kestro::test {
namespace {

using base::JoinPath;
using nlohmann::json;

class PlayMednafenTest : public PlayTest {
protected:
    PlayMednafenTest() {
        WriteRecordingEmulator(program);
        std::filesystem::create_directories(JoinPath(home, "pgconfig"));
    }
    std::string home = dir.File("mednafen home");
    std::string program = JoinPath(emu, "mednafen");
    std::string gameFile = JoinPath(home, "pgconfig/game one.vb.cfg");
    ScopedEnv mednafenHome{"MEDNAFEN_HOME", home};
};

TEST_F(PlayMednafenTest, StartsTheGameWithItsOwnFileAndPrintsACommandAShellRuns) {
    WriteSettings("Mednafen%20Program=" + Quoted(program) + "\n");
    std::ofstream(gameFile) << ";mine\nvb.3dmode sidebyside\n";

    auto run = RunKestro({"play", "mednafen", rom, "--dry-run", "--json"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    json j = run.Json();
    EXPECT_EQ(j["command_line"], "'" + program + "' '" + rom + "'");
    EXPECT_EQ(j["argv"], (std::vector<std::string>{program, rom})) << "no setting on the command line";
    EXPECT_EQ(j["files"],
              json::parse(R"([{"path": ")" + gameFile + R"(", "content": ";mine\nvb.3dmode sidebyside\n"}])"));

    run = RunKestro({"play", "mednafen", rom});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Reads " + gameFile + "\nStarted: '" + program + "' '" + rom + "'\n");
    auto record = WaitForRecord(emu);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (std::vector<std::string>{std::filesystem::current_path().string(), rom}));
    EXPECT_EQ(FileText(gameFile), ";mine\nvb.3dmode sidebyside\n") << "read, never written";

    // Pasted into a shell, the printed command starts the same thing.
    std::filesystem::remove(JoinPath(emu, "record.txt"));
    ASSERT_EQ(std::system(j["command_line"].get<std::string>().c_str()), 0);
    record = WaitForRecord(emu);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->back(), rom);
}

TEST_F(PlayMednafenTest, AMissingProgramIsRefused) {
    WriteSettings("Mednafen%20Program=" + Quoted(JoinPath(emu, "gone")) + "\n");
    auto run = RunKestro({"play", "mednafen", rom, "--json"});
    EXPECT_EQ(run.status, 1);
    json j = run.Json();
    EXPECT_EQ(j["messages"],
              json::parse(R"([{"title": "Emulator not found", "text": "Can't find the mednafen program:\r)" +
                          JoinPath(emu, "gone") + R"("}])"));
    EXPECT_EQ(j["files"], json::array());
}

}  // namespace
}  // namespace kestro::test
