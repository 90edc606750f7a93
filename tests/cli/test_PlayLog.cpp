// SPDX-License-Identifier: GPL-3.0-or-later
// `kestro play` names the emulator's log, and gives its last words when it fails at once.
#include "cli/PlayFixture.h"

namespace kestro::test {
namespace {

TEST_F(PlayTest, JsonNamesTheLogAndAQuickFailuresLastLines) {
    ScopedEnv state{"XDG_STATE_HOME", dir.File("state")};
    WriteSettings("Red%20Dragon%20Directory=" + Quoted(emu) + "\n");
    WriteExecutable(base::JoinPath(emu, "RDRAGON"), "#!/bin/sh\necho 'Cannot open display.' >&2\nexit 2\n");
    auto run = RunKestro({"play", "red-dragon", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = run.Json();
    const std::string log = dir.File("state/kestro-utils/rdragon.log");
    EXPECT_EQ(json["log"], log);
    ASSERT_EQ(json["messages"].size(), 1u) << json.dump();
    EXPECT_EQ(json["messages"][0]["text"],
              "Red Dragon ended at once (exit status 2). It said:\r\r"
              "Cannot open display.\r=== Exit status 2 ===\r\rAll it said is kept in:\r" +
                  log);
    EXPECT_EQ(FileText(log).find("=== Started "), 0u);
}

}  // namespace
}  // namespace kestro::test
