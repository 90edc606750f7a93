// SPDX-License-Identifier: GPL-3.0-or-later
// What the help texts, the README and the man page say about the commands is
// what the commands do: usage lines, play's emulators, every exit status.
#include <map>
#include <regex>
#include <set>

#include "PlayFixture.h"
#include "support/core/SpecialFiles.h"

namespace kestro::test {
namespace {

using base::JoinPath;

std::string Readme() {
    return FileText(KESTRO_SOURCE_DIR "/README.md");
}

std::vector<std::string> Commands() {
    const std::string help = RunKestro({"--help"}).out;
    std::vector<std::string> names;
    std::smatch m;
    for (std::string rest = help.substr(help.find("Subcommands:"));
         std::regex_search(rest, m, std::regex("\n  ([a-z]+)  ")); rest = m.suffix()) {
        names.push_back(m[1]);
    }
    return names;
}

// The text on one line, backquotes left out.
std::string Flat(const std::string& text) {
    return std::regex_replace(std::regex_replace(text, std::regex("`"), ""), std::regex("\n *"), " ");
}

TEST(HelpTexts, EveryCommandNamesItselfAsKestroCommand) {
    const std::vector<std::string> commands = Commands();
    EXPECT_EQ(commands, (std::vector<std::string>{"info", "romaji", "header", "tiles", "patch", "scan", "play"}));
    for (const std::string& name : commands) {
        const CliResult help = RunKestro({name, "--help"});
        EXPECT_NE(help.out.find("\nUsage: kestro " + name + " "), std::string::npos) << help.out;
        const CliResult wrong = RunKestro({name, "--no-such-option"});
        EXPECT_EQ(wrong.status, 2);
        EXPECT_TRUE(std::regex_match(
            wrong.err, std::regex("kestro " + name + ": [^\n]+\nRun 'kestro " + name + " --help' for usage\\.\n")))
            << wrong.err;
    }
}

TEST(HelpTexts, PlayNamesTheEmulatorsItTakes) {
    const std::vector<std::string> names = cli::PlayEmulatorNames();
    std::string list = names.front();
    for (std::size_t i = 1; i < names.size(); ++i) list += (i + 1 < names.size() ? ", " : " or ") + names[i];
    EXPECT_NE(Flat(RunKestro({"play", "--help"}).out).find("The emulator: " + list), std::string::npos) << list;
    EXPECT_NE(Flat(Readme()).find("EMULATOR being " + list), std::string::npos) << list;
    for (const std::string& name : names) EXPECT_NE(RunKestro({"play", name, "--dry-run"}).status, 2) << name;
    EXPECT_EQ(RunKestro({"play", "vba", "--dry-run"}).status, 2);
}

// Each row of the README's exit-status table ("`info` | 1") is tried here;
// a row without a case, or a case without a row, fails as a wrong status does.
class ExitStatus : public PlayTest {};

TEST_F(ExitStatus, EveryRowOfTheTableIsWhatTheCommandGives) {
    const std::string roms = dir.File("my roms");
    const std::string empty = dir.File("config");  // the settings, and no ROM
    const std::string missing = dir.File("missing.vb");
    const std::string bmp = dir.File("view.bmp");
    const std::string fifo = dir.File("pipe.vb");
    ASSERT_TRUE(MakeFifo(fifo));
    WriteSettings("Reality%20Boy%20Directory=" + Quoted(emu) + "\n");
    WriteRecordingEmulator(JoinPath(emu, "RBOY.EXE"));

    struct Case {
        std::vector<std::string> args;
        std::string says = {};  ///< in what the command printed, when not empty
    };
    const std::map<std::string, std::vector<Case>> cases{
        {"kestro 0", {{{}}, {{"--version"}}, {{"scan", "--help"}}}},
        {"every command 2",
         {{{"frobnicate"}},
          {{"info"}, "FILE is required"},
          {{"romaji", "\u6F22"}},  // no title byte for a kanji
          {{"tiles", rom, "--out", bmp, "--width", "0"}},
          {{"tiles", rom, "--out", bmp, "--width", "32768"}, "\"32768\" is not a whole number from 1 to 32767"},
          {{"play", "red-dragon", rom, "--debug"}, "has none"},
          {{"play", "virtual-e", rom}, "takes no ROM"},
          {{"tiles", rom, "--out", ""}, "--out: give the picture's file name, or - for standard output."},
          {{"tiles", rom, "--out", bmp, "--palette", ""}, "--palette: give a palette file's name."},
          {{"tiles", rom, "--out", bmp, "--nearest"}, "--nearest: only an import takes it."},
          {{"tiles", rom, "--import", bmp, "--out", "-"}},
          {{"patch", "--create", rom, rom, "--out", dir.File("p.txt")}}}},  // no patch format by that name
        {"info 0", {{{"info", rom}}}},
        {"info 1",
         {{{"info", rom, missing}},
          {{"info", rom, fifo}, "The file could not be read. It is not a regular file (a directory, pipe or device)."}}},
        {"romaji 0",
         {{{"romaji", "--hex", "C4CBDEC0DEBE21CADFC6CEDEDD"}, "Tobidase!panibon\n"},
          {{"romaji", "\uFF8B\uFF9E\uFF6D\uFF70"}, "Byu-\n"}}},
        {"header 0", {{{"header", rom, "--game-code", "vxyz"}}}},
        {"header 1", {{{"header", rom, "--revert"}}, {{"header", missing, "--maker", "01"}}}},
        {"tiles 0", {{{"tiles", rom, "--out", bmp}}}},
        {"tiles 1",
         {{{"tiles", missing, "--out", bmp}},
          {{"tiles", rom, "--out", bmp, "--palette", missing}, "Invalid filename: File does not exist."},
          {{"tiles", rom, "--out", dir.File("gone/a.bmp")}},
          {{"tiles", rom, "--out", dir.File("view.png"), "--offset", "65536"}}}},  // no whole row for a PNG
        {"patch 0", {{{"patch", "--create", rom, rom, "--out", dir.File("same.bps")}}}},
        {"patch 1", {{{"patch", rom, missing, "--out", dir.File("p.vb")}}}},
        {"scan 0", {{{"scan", roms}}}},
        {"scan 1", {{{"scan", empty}}, {{"scan", "--dat", missing, roms}}}},
        {"play 0", {{{"play", "reality-boy", rom, "--dry-run"}}}},
        {"play 1", {{{"play", "reality-boy", missing, "--dry-run"}}}},
    };

    std::set<std::string> rows;
    const std::string readme = Readme();
    std::smatch m;
    for (std::string rest = readme; std::regex_search(rest, m, std::regex("\n\\| `?([^|`]+)`? \\| ([0-9]) \\|"));
         rest = m.suffix()) {
        rows.insert(m[1].str() + " " + m[2].str());
    }
    EXPECT_EQ(rows.size(), cases.size());
    for (const auto& [row, tries] : cases) {
        EXPECT_TRUE(rows.count(row)) << "the table has no row \"" << row << "\"";
        const int status = row.back() - '0';
        for (const Case& c : tries) {
            const CliResult result = RunKestro(c.args);
            std::string shown;
            for (const std::string& a : c.args) shown += " " + a;
            EXPECT_EQ(result.status, status) << row << ":" << shown << "\n" << result.err;
            EXPECT_NE((result.out + result.err).find(c.says), std::string::npos) << shown << "\n"
                                                                                 << result.out << result.err;
        }
    }
    for (const std::string& row : rows) EXPECT_TRUE(cases.count(row)) << "no case tries the row \"" << row << "\"";
}

}  // namespace
}  // namespace kestro::test
