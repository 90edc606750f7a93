// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/Paths.h"
#include "emus/ProgramFiles.h"
#include "support/core/RomBuilder.h"
#include "support/core/TempDir.h"

using namespace kestro;
using base::Program;

namespace {

// A directory holding empty files of the given names.
struct ProgramDir {
    test::TempDir dir;
    explicit ProgramDir(std::initializer_list<const char*> names) {
        for (const char* name : names) test::WriteBytes(dir.File(name), {'M', 'Z'});
    }
    std::string Path() const { return dir.Path().string(); }
    std::optional<std::string> Found(Program program) const {
        auto file = emus::FindProgramFile(program, Path());
        if (file) return base::FileNameOf(*file);
        return std::nullopt;
    }
};

}  // namespace

// Names match without regard to case, and the preferred file wins when several are there.
TEST(ProgramFiles, TheProgramFileIsFoundByPreference) {
    EXPECT_EQ(ProgramDir({"vb_98.exe"}).Found(Program::RealityBoy), "vb_98.exe");
    EXPECT_EQ(ProgramDir({"VB_98.EXE", "RBOY.EXE"}).Found(Program::RealityBoy), "RBOY.EXE");
    EXPECT_EQ(ProgramDir({"Vbdk.exe", "Vbdk03.exe"}).Found(Program::VbDevKit), "Vbdk03.exe");
    EXPECT_EQ(ProgramDir({"vbdk.exe"}).Found(Program::VbDevKit), "vbdk.exe");
    EXPECT_EQ(ProgramDir({"RDRAGON.EXE"}).Found(Program::RedDragon), "RDRAGON.EXE");
    EXPECT_EQ(ProgramDir({"Vbdk10.exe", "virtuale.exe.bak"}).Found(Program::VbDevKit), std::nullopt);

    // A directory is a directory, even named like the program.
    ProgramDir folder({});
    std::filesystem::create_directory(folder.dir.Path() / "VIDE.EXE");
    EXPECT_EQ(folder.Found(Program::VEnvironment), std::nullopt);
}

// The chooser and the options window name the compiler differently.
TEST(ProgramFiles, MissingProgramsAreNamedAsEachWindowNamesThem) {
    ProgramDir empty({});
    const emus::Choice compiler = emus::ChooseProgram(Program::VeCCompiler, empty.Path());
    EXPECT_FALSE(compiler.found);
    EXPECT_EQ(compiler.message->text, "Can't find VECC.EXE in directory:\r" + empty.Path());
    const base::Message onApply = emus::MissingOnApply(Program::VeCCompiler, empty.Path());
    EXPECT_EQ(onApply.title, "Utility not found");
    EXPECT_EQ(onApply.text, "Can't find Vecc.exe in directory:\r" + empty.Path() +
                                "\rPlease choose another directory or disable this option.");
}
