// SPDX-License-Identifier: GPL-3.0-or-later
// Starting outside programs: which file, which runner, which arguments, and a
// real detached start of a stand-in that records how it was started.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/Paths.h"
#include "base/ProcessStart.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

using namespace kestro::base;
using kestro::test::TempDir;

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(ProcessStart, ProgramNamesResolveToNameOrNameExeInAnyCase) {
    TempDir dir;
    const std::string d = dir.Path().string();
    for (const char* spelling : {"rboy.exe", "RBOY.EXE", "Rboy.Exe"}) {
        std::filesystem::remove_all(dir.Path());
        std::filesystem::create_directory(dir.Path());
        std::ofstream(dir.File(spelling)) << "MZ";
        EXPECT_EQ(ResolveProgram(JoinPath(d, "RBOY")), dir.File(spelling)) << spelling;
        EXPECT_EQ(ResolveProgram(JoinPath(d, "rboy.exe")), dir.File(spelling)) << spelling;
    }
    std::ofstream(dir.File("rboy")) << "#!/bin/sh\n";
    EXPECT_EQ(ResolveProgram(JoinPath(d, "RBOY")), dir.File("Rboy.Exe")) << "NAME.EXE, as the checks find it";
    std::filesystem::remove(dir.File("Rboy.Exe"));
    EXPECT_EQ(ResolveProgram(JoinPath(d, "RBOY")), dir.File("rboy")) << "NAME itself only without NAME.EXE";
    EXPECT_FALSE(ResolveProgram(JoinPath(d, "VB_98")));
    std::filesystem::create_directory(dir.File("VB_98.EXE"));
    EXPECT_FALSE(ResolveProgram(JoinPath(d, "VB_98"))) << "a directory is no program";
}

TEST(ProcessStart, TheFirstBytesTellWindowsDosAndNativePrograms) {
    TempDir dir;
    kestro::test::WriteWindowsStandIn(dir.File("win.exe"));
    kestro::test::WriteDosStandIn(dir.File("dos.exe"));
    std::string ne(0x80, '\0');
    ne.replace(0, 2, "MZ");
    ne[0x3C] = 0x40;
    ne.replace(0x40, 2, "NE");
    std::ofstream(dir.File("win16.exe"), std::ios::binary) << ne;
    std::string pointsAway = ne;
    pointsAway[0x3D] = 0x7F;  // a header offset past the end of the file
    std::ofstream(dir.File("stub.exe"), std::ios::binary) << pointsAway;
    std::ofstream(dir.File("tiny.exe")) << "MZ";
    std::ofstream(dir.File("script")) << "#!/bin/sh\n";

    EXPECT_EQ(ProgramKindOf(dir.File("win.exe")), ProgramKind::Windows);
    EXPECT_EQ(ProgramKindOf(dir.File("win16.exe")), ProgramKind::Windows);
    EXPECT_EQ(ProgramKindOf(dir.File("dos.exe")), ProgramKind::Dos);
    EXPECT_EQ(ProgramKindOf(dir.File("stub.exe")), ProgramKind::Dos);
    EXPECT_EQ(ProgramKindOf(dir.File("tiny.exe")), ProgramKind::Dos);
    EXPECT_EQ(ProgramKindOf(dir.File("script")), ProgramKind::Native);
    EXPECT_FALSE(ProgramKindOf(dir.File("gone")));
}

TEST(ProcessStart, PathsTakeTheFormsWineAndDosBoxShow) {
    EXPECT_EQ(WinePath("/home/me/roms/My Game, v2.vb"), "Z:\\home\\me\\roms\\My Game, v2.vb");
    EXPECT_EQ(WinePath("/"), "Z:\\");
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(WinePath("game.vb"), WinePath(JoinPath(here, "game.vb"))) << "relative to our directory";

    TempDir dir;
    EXPECT_EQ(GetShortPath(dir.Path().string()), dir.Path().string());
    EXPECT_EQ(GetShortPath(dir.File("gone.vb")), "") << "a path that cannot be resolved shortens to nothing";
}

// Each kind of program gets its runner, found on the PATH; without it the
// user is told which package to install.
TEST(ProcessStart, PlansPutWindowsProgramsBehindWineAndDosOnesBehindDosBox) {
    TempDir dir;
    const std::string emu = dir.File("emu dir");
    const std::string bin = dir.File("bin");
    std::filesystem::create_directories(emu);
    std::filesystem::create_directories(bin);
    const std::string rom = dir.File("roms/My Game.vb");
    kestro::test::WriteExecutable(JoinPath(bin, "wine"), "#!/bin/sh\n");
    kestro::test::WriteExecutable(JoinPath(bin, "dosbox"), "#!/bin/sh\n");
    const LaunchEnvironment runners{bin};
    const LaunchEnvironment none{dir.File("nothing")};

    kestro::test::WriteWindowsStandIn(JoinPath(emu, "Rboy.exe"));
    LaunchRequest request{JoinPath(emu, "RBOY"), {rom, "-display", "640"}, "", false, {0}};
    LaunchPlan plan = PlanLaunch(request, runners);
    ASSERT_TRUE(plan.ok) << plan.error;
    EXPECT_EQ(plan.kind, ProgramKind::Windows);  // its arguments are the hostile names' test
    EXPECT_EQ(PlanLaunch({JoinPath(emu, "RBOY"), {}, "", true}, runners).argv,
              (std::vector<std::string>{JoinPath(bin, "wine"), "start", "/min", "/unix", JoinPath(emu, "Rboy.exe")}));
    plan = PlanLaunch(request, none);
    EXPECT_FALSE(plan.ok);
    EXPECT_PRED2(Has, plan.error, JoinPath(emu, "Rboy.exe") + " is a Windows program");
    EXPECT_PRED2(Has, plan.error, "install the Debian package \"wine\"");

    std::filesystem::remove(JoinPath(emu, "Rboy.exe"));
    kestro::test::WriteDosStandIn(JoinPath(emu, "RBOY.EXE"));
    plan = PlanLaunch(request, runners);
    ASSERT_TRUE(plan.ok) << plan.error;
    EXPECT_EQ(plan.kind, ProgramKind::Dos);
    const std::string folder = plan.dosFolder.path;
    EXPECT_EQ(plan.argv, (std::vector<std::string>{JoinPath(bin, "dosbox"), "-c", "MOUNT C " + folder + "/EMU", "-c",
                                                   "MOUNT D " + folder, "-c", "C:", "-c",
                                                   "RBOY.EXE D:\\GAME.VB -display 640", "-c", "EXIT"}));
    EXPECT_EQ(plan.dosFolder.links, (std::vector<DosFolder::Link>{{"EMU", emu}, {"GAME.VB", rom}}));
    EXPECT_NE(PlanLaunch(request, runners).dosFolder.path, folder) << "a folder of its own for each start";
    std::filesystem::rename(JoinPath(emu, "RBOY.EXE"), JoinPath(emu, "REALITYBOY.EXE"));
    plan = PlanLaunch({JoinPath(emu, "REALITYBOY"), {}, ""}, runners);
    EXPECT_FALSE(plan.ok);
    EXPECT_PRED2(Has, plan.error, "DOSBox runs a program only by a plain DOS name");
    std::filesystem::rename(JoinPath(emu, "REALITYBOY.EXE"), JoinPath(emu, "RBOY.EXE"));
    plan = PlanLaunch(request, none);
    EXPECT_FALSE(plan.ok);
    EXPECT_PRED2(Has, plan.error, "is a DOS program");
    EXPECT_PRED2(Has, plan.error, "\"dosbox\"");

    // A native program or script runs as it is, without a runner.
    std::filesystem::remove(JoinPath(emu, "RBOY.EXE"));
    kestro::test::WriteExecutable(JoinPath(emu, "RBOY"), "#!/bin/sh\n");
    EXPECT_TRUE(PlanLaunch(request, none).ok);
    std::filesystem::permissions(JoinPath(emu, "RBOY"), std::filesystem::perms::owner_read);
    plan = PlanLaunch(request, none);
    EXPECT_FALSE(plan.ok);
    EXPECT_PRED2(Has, plan.error, "not marked as executable");

    plan = PlanLaunch({JoinPath(emu, "VB_98"), {}, ""}, runners);
    EXPECT_FALSE(plan.ok);
    EXPECT_EQ(plan.error,
              "Cannot find the program " + JoinPath(emu, "VB_98") + " (nor VB_98.EXE, in any letter case).");
}

// Folder and ROM names that once ran DOSBox commands or picked the wrong ROM:
// DOSBox is told none of their text, Wine and native programs get them whole.
TEST(ProcessStart, HostileNamesNeverReachDosBoxAndArriveWholeElsewhere) {
    const std::vector<std::string> names{"x\nMOUNT E C:\\\nECHO PWNED>E:\\P.TXT",
                                         "q\" >C:\\PWN.TXT \"",
                                         "%PATH%",
                                         "x>RBOY.EXE",
                                         "a|c",
                                         "$(touch pwned)",
                                         "`id`",
                                         "a;b&c",
                                         "-rf",
                                         "it's",
                                         "Long Name One",
                                         ".hidden"};
    TempDir dir;
    const std::string bin = dir.File("bin");
    std::filesystem::create_directories(bin);
    kestro::test::WriteExecutable(JoinPath(bin, "wine"), "#!/bin/sh\n");
    kestro::test::WriteExecutable(JoinPath(bin, "dosbox"), "#!/bin/sh\n");
    for (const std::string& name : names) {
        const std::string emu = dir.File("emu " + name);
        const std::string rom = JoinPath(dir.File("roms " + name), name + ".vb");
        std::filesystem::create_directories(emu);
        const LaunchRequest request{JoinPath(emu, "RBOY"), {rom, "-display", "640"}, "", false, {0}};
        kestro::test::WriteDosStandIn(JoinPath(emu, "RBOY.EXE"));
        LaunchPlan plan = PlanLaunch(request, {bin});
        ASSERT_TRUE(plan.ok) << plan.error;
        for (std::size_t i = 1; i < plan.argv.size(); ++i) {
            std::string words = plan.argv[i];
            std::erase(words, ' ');
            EXPECT_TRUE(IsPlainDosText(words)) << plan.argv[i];
        }
        EXPECT_EQ(plan.dosFolder.links, (std::vector<DosFolder::Link>{{"EMU", emu}, {"GAME.VB", rom}})) << name;
        std::filesystem::remove(JoinPath(emu, "RBOY.EXE"));
        kestro::test::WriteWindowsStandIn(JoinPath(emu, "RBOY.EXE"));
        plan = PlanLaunch(request, {bin});
        EXPECT_EQ(plan.argv, (std::vector<std::string>{JoinPath(bin, "wine"), JoinPath(emu, "RBOY.EXE"), WinePath(rom),
                                                       "-display", "640"}));
        std::filesystem::remove(JoinPath(emu, "RBOY.EXE"));
        kestro::test::WriteExecutable(JoinPath(emu, "RBOY"), "#!/bin/sh\n");
        EXPECT_EQ(PlanLaunch(request, {bin}).argv,
                  (std::vector<std::string>{JoinPath(emu, "RBOY"), rom, "-display", "640"}));
    }
    // A native start gets every name whole, one argument each.
    std::filesystem::create_directories(dir.File("emu"));
    kestro::test::WriteRecordingEmulator(dir.File("emu/rec"));
    ASSERT_TRUE(DetachedProcessLauncher().Start({dir.File("emu/rec"), names, ""}).started);
    const auto record = kestro::test::WaitForRecord(dir.File("emu"));
    ASSERT_TRUE(record);
    std::string got, sent;
    for (std::size_t i = 1; i < record->size(); ++i) got += (*record)[i] + "\n";
    for (const std::string& name : names) sent += name + "\n";
    EXPECT_EQ(got, sent);
}

// A real start: the stand-in records its working directory and arguments.
TEST(ProcessStart, StartsDetachedInItsDirectoryWithArgumentsWhole) {
    TempDir dir;
    const std::string emu = dir.File("emu");
    std::filesystem::create_directory(emu);
    kestro::test::WriteRecordingEmulator(JoinPath(emu, "RDRAGON.EXE"));
    const std::string awkward = dir.File("it's a \"ROM\" $HOME, with blanks.vb");
    const std::string before = std::filesystem::current_path().string();

    DetachedProcessLauncher launcher;
    const LaunchResult started = launcher.Start({JoinPath(emu, "rdragon"), {awkward, "", "-x"}, emu, false, {0}});
    ASSERT_TRUE(started.started) << started.error;
    const auto record = kestro::test::WaitForRecord(emu);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (std::vector<std::string>{emu, awkward, "", "-x"}));
    EXPECT_EQ(std::filesystem::current_path().string(), before) << "our own directory never changes";

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
    LaunchPlan plan = PlanLaunch({dir.File("garbage"), {}, ""}, CurrentLaunchEnvironment());
    ASSERT_TRUE(plan.ok);
    LaunchResult result = StartPlanned(plan);
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.error, "Cannot start " + dir.File("garbage") + ": Exec format error.");

    kestro::test::WriteExecutable(dir.File("script"), "#!/no/such/shell\n");
    result = StartPlanned(PlanLaunch({dir.File("script"), {}, ""}, CurrentLaunchEnvironment()));
    EXPECT_FALSE(result.started);
    EXPECT_PRED2(Has, result.error, "interpreter");

    kestro::test::WriteRecordingEmulator(dir.File("emu"));
    result = StartPlanned(PlanLaunch({dir.File("emu"), {}, dir.File("gone")}, CurrentLaunchEnvironment()));
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.error, "Cannot start " + dir.File("emu") + " in the directory " + dir.File("gone") +
                                ": No such file or directory.");

    result = StartPlanned(PlanLaunch({dir.File("nothing"), {}, ""}, CurrentLaunchEnvironment()));
    EXPECT_FALSE(result.started);
    EXPECT_PRED2(Has, result.error, "Cannot find the program");
}
