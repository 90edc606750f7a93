// SPDX-License-Identifier: GPL-3.0-or-later
// Emulators' logs: each run folded in newest first, cut to the limit at a line's end.
#include <gtest/gtest.h>

#include "base/RunLog.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

namespace kestro::base {
namespace {

TEST(RunLog, RunsAreFoldedInNewestFirstAndTheLogKeepsToItsLimit) {
    test::TempDir dir;
    const std::string log = dir.File("emu.log"), run = dir.File("emu.log.run"), temporary = dir.File("emu.log.new");
    const std::string line(99, 'x');
    std::string older = "=== Started 1 ===\n";
    while (older.size() < kRunLogLimit) older += line + "\n";
    test::WriteText(log, older);
    test::WriteText(run, "=== Started 2 ===\nVB ROM image size is not a power of 2.\n");
    FoldRunIntoLog(run.c_str(), log.c_str(), temporary.c_str(), 1);

    const std::string text = test::FileText(log);
    EXPECT_EQ(text.substr(0, 79), "=== Started 2 ===\nVB ROM image size is not a power of 2.\n=== Exit status 1 ===\n");
    EXPECT_EQ(text.substr(79, 18), "=== Started 1 ===\n");
    EXPECT_LE(text.size(), kRunLogLimit);
    EXPECT_EQ(text.back(), '\n') << "cut at a line's end";
    EXPECT_FALSE(std::filesystem::exists(run));
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_EQ(LastRunLines(text),
              (std::vector<std::string>{"VB ROM image size is not a power of 2.", "=== Exit status 1 ==="}));

    // A run longer than the log may hold keeps its heading and its end.
    std::string chatty = "=== Started 3 ===\n";
    for (int i = 0; chatty.size() < kRunLogLimit; ++i) chatty += line + std::to_string(i) + "\n";
    test::WriteText(run, chatty + "the last words\n");
    FoldRunIntoLog(run.c_str(), log.c_str(), temporary.c_str(), 139);
    const std::string kept = test::FileText(log);
    EXPECT_EQ(kept.substr(0, 18), "=== Started 3 ===\n");
    EXPECT_LE(kept.size(), kRunLogLimit);
    EXPECT_EQ(LastRunLines(kept, 2), (std::vector<std::string>{"the last words", "=== Exit status 139 ==="}));
    EXPECT_NE(kept.find("=== Started 2 ==="), std::string::npos);
}

}  // namespace
}  // namespace kestro::base
