// SPDX-License-Identifier: GPL-3.0-or-later
// Starting outside programs: which file, which runner, which arguments, a real
// detached start of a stand-in that records how it was started, and the log
// each run is kept in; and the paths they are found by.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/Paths.h"
#include "base/ProcessStart.h"
#include "base/RunLog.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

using namespace kestro::base;
using kestro::test::TempDir;

TEST(ProcessStart, ProgramNamesResolveToNameOrNameExeInAnyCase) {
    TempDir dir;
    const std::string d = dir.Path().string();
    std::ofstream(dir.File("Rboy.Exe")) << "MZ";
    EXPECT_EQ(ResolveProgram(JoinPath(d, "RBOY")), dir.File("Rboy.Exe"));
    EXPECT_EQ(ResolveProgram(JoinPath(d, "rboy.exe")), dir.File("Rboy.Exe"));
    std::ofstream(dir.File("rboy")) << "#!/bin/sh\n";
    EXPECT_EQ(ResolveProgram(JoinPath(d, "RBOY")), dir.File("Rboy.Exe")) << "NAME.EXE, as the checks find it";
    std::filesystem::remove(dir.File("Rboy.Exe"));
    EXPECT_EQ(ResolveProgram(JoinPath(d, "RBOY")), dir.File("rboy")) << "NAME itself only without NAME.EXE";
    std::filesystem::create_directory(dir.File("VB_98.EXE"));
    EXPECT_FALSE(ResolveProgram(JoinPath(d, "VB_98"))) << "a directory is no program";
}

// The stand-ins of the plans below are told apart as well; here the older headers' edges.
TEST(ProcessStart, TheFirstBytesTellWindowsDosAndNativePrograms) {
    TempDir dir;
    std::string ne(0x80, '\0');
    ne.replace(0, 2, "MZ");
    ne[0x3C] = 0x40;
    ne.replace(0x40, 2, "NE");
    std::ofstream(dir.File("win16.exe"), std::ios::binary) << ne;
    ne[0x3D] = 0x7F;  // a header offset past the end of the file
    std::ofstream(dir.File("stub.exe"), std::ios::binary) << ne;
    EXPECT_EQ(ProgramKindOf(dir.File("win16.exe")), ProgramKind::Windows);
    EXPECT_EQ(ProgramKindOf(dir.File("stub.exe")), ProgramKind::Dos);
    EXPECT_FALSE(ProgramKindOf(dir.File("gone")));
}

// Wine's form of our paths (their short form, for the older emulators, is
// checked with those emulators' command lines).
TEST(ProcessStart, PathsTakeTheFormsWineAndDosBoxShow) {
    EXPECT_EQ(WinePath("/home/me/roms/My Game, v2.vb"), "Z:\\home\\me\\roms\\My Game, v2.vb");
    EXPECT_EQ(WinePath("/"), "Z:\\");
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(WinePath("game.vb"), WinePath(JoinPath(here, "game.vb"))) << "relative to our directory";
}

// Each kind of program gets its runner, found on the PATH; without it, or
// when the program cannot run, the user is told why and what to do (the
// windows and the play command show these texts as they are).
TEST(ProcessStart, RefusedPlansSayWhyAndWhatToDo) {
    TempDir dir;
    kestro::test::WriteWindowsStandIn(dir.File("WIN.EXE"));
    kestro::test::WriteDosStandIn(dir.File("DOS.EXE"));
    kestro::test::WriteDosStandIn(dir.File("REALITYBOY.EXE"));
    std::ofstream(dir.File("native")) << "#!/bin/sh\n";
    kestro::test::WriteExecutable(dir.File("dosbox"), "#!/bin/sh\n");
    const LaunchEnvironment runners{dir.Path().string()};
    const LaunchEnvironment none{dir.File("nothing")};
    const std::tuple<std::string, LaunchEnvironment, std::string> rows[] = {
        {"WIN", none,
         dir.File("WIN.EXE") + " is a Windows program. Wine, which runs Windows programs here, is not installed: "
                               "install the Debian package \"wine\"."},
        {"DOS", none,
         dir.File("DOS.EXE") + " is a DOS program. DOSBox, which runs DOS programs here, is not installed: install "
                               "the Debian package \"dosbox\"."},
        {"REALITYBOY", runners,
         "Cannot start " + dir.File("REALITYBOY.EXE") +
             " through DOSBox: DOSBox runs a program only by a plain DOS name (up to eight letters, digits or \"_\", "
             "and .EXE, .COM or .BAT)."},
        {"native", none,
         "Cannot start " + dir.File("native") +
             ": it is neither a Windows nor a DOS program, and it is not marked as executable (chmod +x)."},
        {"VB_98", runners, "Cannot find the program " + dir.File("VB_98") + " (nor VB_98.EXE, in any letter case)."},
    };
    for (const auto& [program, environment, error] : rows) {
        const LaunchPlan plan = PlanLaunch({dir.File(program), {}, ""}, environment);
        EXPECT_EQ(plan.error, error);
    }
    // With Wine there, a Windows program runs under it, given paths in Wine's form; minimised when asked.
    kestro::test::WriteExecutable(dir.File("wine"), "#!/bin/sh\n");
    EXPECT_EQ(PlanLaunch({dir.File("WIN"), {"/r/a.vb", "-x"}, "", false, {0}}, runners).argv,
              (std::vector<std::string>{dir.File("wine"), dir.File("WIN.EXE"), "Z:\\r\\a.vb", "-x"}));
    EXPECT_EQ(PlanLaunch({dir.File("WIN"), {}, "", true}, runners).argv,
              (std::vector<std::string>{dir.File("wine"), "start", "/min", "/unix", dir.File("WIN.EXE")}));
}

// Folder and ROM names that once ran DOSBox commands or picked the wrong ROM:
// DOSBox is told none of their text, only links to them. (Wine and native
// programs get them whole: the play commands' tests start them.)
TEST(ProcessStart, HostileNamesNeverReachDosBox) {
    std::vector<std::string> names{
        "q\" >C:\\PWN.TXT \"", "%PATH%", "x>RBOY.EXE", "a|c", "$(touch pwned)", "`id`", "a;b&c", "-rf", "it's",
        "Long Name One",       ".hidden"};
    names.push_back("x\nMOUNT E C:\\\nECHO PWNED>E:\\P.TXT");
    TempDir dir;
    const std::string bin = dir.File("bin");
    std::filesystem::create_directories(bin);
    kestro::test::WriteExecutable(JoinPath(bin, "dosbox"), "#!/bin/sh\n");
    for (const std::string& name : names) {
        const std::string emu = dir.File("emu " + name);
        const std::string rom = JoinPath(dir.File("roms " + name), name + ".vb");
        std::filesystem::create_directories(emu);
        const LaunchRequest request{JoinPath(emu, "RBOY"), {rom, "-display", "640"}, "", false, {0}};
        kestro::test::WriteDosStandIn(JoinPath(emu, "RBOY.EXE"));
        const LaunchPlan plan = PlanLaunch(request, {bin});
        const std::string folder = plan.dosFolder.path;
        EXPECT_TRUE(IsPlainDosText(folder)) << folder;
        EXPECT_EQ(plan.argv, (std::vector<std::string>{JoinPath(bin, "dosbox"), "-c", "MOUNT C " + folder + "/EMU",
                                                       "-c", "MOUNT D " + folder, "-c", "C:", "-c",
                                                       "RBOY.EXE D:\\GAME.VB -display 640", "-c", "EXIT"}));
        EXPECT_EQ(plan.dosFolder.links, (std::vector<DosFolder::Link>{{"EMU", emu}, {"GAME.VB", rom}})) << name;
        EXPECT_NE(PlanLaunch(request, {bin}).dosFolder.path, folder) << "a folder of its own for each start";
    }
    // The folders go into the temporary directory when DOSBox can be told its path, else into /tmp.
    const char* kept = std::getenv("TMPDIR");
    const std::string saved = kept != nullptr ? kept : "", plain = dir.File("tmp"), awkward = dir.File("t m;p");
    for (const auto& [tmp, under] : {std::pair{plain, plain}, std::pair{awkward, std::string("/tmp")}}) {
        std::filesystem::create_directories(tmp);
        ::setenv("TMPDIR", tmp.c_str(), 1);
        const LaunchPlan plan = PlanLaunch({JoinPath(dir.File("emu -rf"), "RBOY"), {}, "", false, {}}, {bin});
        EXPECT_EQ(plan.dosFolder.path.rfind(under + "/kestro-dos-", 0), 0u) << plan.dosFolder.path;
    }
    kept != nullptr ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
}

// A real start: the stand-in records its working directory and arguments.
TEST(ProcessStart, StartsDetachedInItsDirectoryWithArgumentsWhole) {
    TempDir dir;
    const std::string emu = dir.File("emu");
    std::filesystem::create_directory(emu);
    kestro::test::WriteRecordingEmulator(JoinPath(emu, "RDRAGON.EXE"));
    const std::string awkward = dir.File("it's a \"ROM\" $HOME, with blanks.vb");

    DetachedProcessLauncher launcher;
    const LaunchResult started = launcher.Start({JoinPath(emu, "rdragon"), {awkward, "", "-x"}, emu, false, {0}});
    ASSERT_TRUE(started.started) << started.error;
    const auto record = kestro::test::WaitForRecord(emu);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (std::vector<std::string>{emu, awkward, "", "-x"}));

    // A DOS program's folder of links is there while DOSBox runs, and gone after.
    const std::string bin = dir.File("bin");
    std::filesystem::create_directory(bin);
    kestro::test::WriteExecutable(
        JoinPath(bin, "dosbox"),
        "#!/bin/sh\nd=\"${2#MOUNT C }\"; r=\"$(dirname \"$0\")/record\"\n"
        "{ readlink \"$d\"; readlink \"${d%/EMU}/GAME.VB\"; } > \"$r.part\"; mv \"$r.part\" \"$r.txt\"\n");
    kestro::test::WriteDosStandIn(JoinPath(emu, "RBOY.EXE"));
    const LaunchPlan dos = PlanLaunch({JoinPath(emu, "RBOY"), {awkward}, "", false, {0}}, {bin});
    ASSERT_TRUE(StartPlanned(dos).started);
    const auto links = kestro::test::WaitForRecord(bin);
    ASSERT_TRUE(links);
    EXPECT_EQ(*links, (std::vector<std::string>{emu, awkward}));
    for (int i = 0; i < 500 && std::filesystem::exists(dos.dosFolder.path); ++i) ::usleep(20000);
    EXPECT_FALSE(std::filesystem::exists(dos.dosFolder.path)) << "removed once DOSBox ended";
}

TEST(ProcessStart, FailedStartsNameTheProgramAndTheReason) {
    TempDir dir;
    kestro::test::WriteExecutable(dir.File("garbage"), std::string("\x7F"
                                                                   "ELF junk",
                                                                   9));
    kestro::test::WriteExecutable(dir.File("script"), "#!/no/such/shell\n");
    kestro::test::WriteRecordingEmulator(dir.File("emu"));
    const std::pair<LaunchRequest, std::string> rows[] = {
        {{dir.File("garbage"), {}, ""}, "Cannot start " + dir.File("garbage") + ": Exec format error."},
        {{dir.File("script"), {}, ""},
         "Cannot start " + dir.File("script") + ": the interpreter its first line names was not found."},
        {{dir.File("emu"), {}, dir.File("gone")},
         "Cannot start " + dir.File("emu") + " in the directory " + dir.File("gone") + ": No such file or directory."},
    };
    for (const auto& [request, error] : rows) {
        const LaunchResult result = StartPlanned(PlanLaunch(request, CurrentLaunchEnvironment()));
        EXPECT_EQ(result.error, error);
    }
}

// Emulators' logs: each run folded in newest first, cut to the limit at a line's end.
TEST(RunLog, RunsAreFoldedInNewestFirstAndTheLogKeepsToItsLimit) {
    TempDir dir;
    const std::string log = dir.File("emu.log"), run = dir.File("emu.log.run"), temporary = dir.File("emu.log.new");
    const std::string line(99, 'x');
    std::string older = "=== Started 1 ===\n";
    while (older.size() < kRunLogLimit) older += line + "\n";
    kestro::test::WriteText(log, older);
    kestro::test::WriteText(run, "=== Started 2 ===\nVB ROM image size is not a power of 2.\n");
    FoldRunIntoLog(run.c_str(), log.c_str(), temporary.c_str(), 1);

    const std::string text = kestro::test::FileText(log);
    EXPECT_EQ(text.substr(0, 79), "=== Started 2 ===\nVB ROM image size is not a power of 2.\n=== Exit status 1 ===\n");
    EXPECT_LE(text.size(), kRunLogLimit);
    EXPECT_EQ(text.back(), '\n') << "cut at a line's end";
    EXPECT_FALSE(std::filesystem::exists(run));
    EXPECT_FALSE(std::filesystem::exists(temporary));

    // A run longer than the log may hold keeps its heading and its end.
    std::string chatty = "=== Started 3 ===\n";
    for (int i = 0; chatty.size() < kRunLogLimit; ++i) chatty += line + std::to_string(i) + "\n";
    kestro::test::WriteText(run, chatty + "the last words\n");
    FoldRunIntoLog(run.c_str(), log.c_str(), temporary.c_str(), 139);
    const std::string kept = kestro::test::FileText(log);
    EXPECT_EQ(kept.substr(0, 18), "=== Started 3 ===\n");
    EXPECT_LE(kept.size(), kRunLogLimit);
    EXPECT_EQ(LastRunLines(kept, 2), (std::vector<std::string>{"the last words", "=== Exit status 139 ==="}));
    EXPECT_NE(kept.find("=== Started 2 ==="), std::string::npos);
}

// Names are configured as users remember them, not as the file system spells
// them (programs' names are checked where programs are resolved).
TEST(Paths, ExtensionsAreFoundWithoutRegardToCaseAndAddedFromAFilter) {
    kestro::test::TempDir dir;
    std::ofstream(dir.File("game.Vb")) << "x";
    EXPECT_TRUE(HasFileWithExtensionNoCase(dir.Path().string(), ".VB"));
    EXPECT_FALSE(HasFileWithExtensionNoCase(dir.Path().string(), ".pvb"));
    EXPECT_FALSE(HasFileWithExtensionNoCase(dir.File("gone"), ".vb"));

    EXPECT_EQ(WithFilterExtension(dir.File("pic"), "Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*"), dir.File("pic.bmp"));
    EXPECT_EQ(WithFilterExtension(dir.File("pic"), "Any picture|pic*|All Files (*.*)|*.*"), dir.File("pic"))
        << "a first type that is no extension adds none";
    EXPECT_EQ(JoinPath("/", "RBOY.EXE"), "/RBOY.EXE") << "a root is not doubled";
}
