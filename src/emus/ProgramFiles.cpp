// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/ProgramFiles.h"

#include "base/Paths.h"
#include "emus/Mednafen.h"

namespace kestro::emus {

using base::Message;
using base::MessageIcon;
using base::Program;

namespace {

constexpr std::string_view kEmulatorNotFound = "Emulator not found";
constexpr std::string_view kUtilityNotFound = "Utility not found";

}  // namespace

const std::vector<ProgramInfo>& Programs() {
    static const std::vector<ProgramInfo> programs{
        {Program::RealityBoy,
         "Rboy",
         "Reality Boy",
         "Reality Boy",
         "emu_rboy",
         kEmulatorNotFound,
         "Can't find Rboy.exe or VB_98.exe in directory:",
         "Can't find Rboy.exe or VB_98.exe in directory:",
         {"Rboy.exe", "VB_98.exe"}},
        {Program::VirtualE,
         "Virte",
         "Virtual-E",
         "Virtual-E",
         "emu_virte",
         kEmulatorNotFound,
         "Can't find VirtualE.exe in directory:",
         "Can't find VirtualE.exe in directory:",
         {"VirtualE.exe"}},
        {Program::RedDragon,
         "Rdrag",
         "Red Dragon",
         "Red Dragon",
         "emu_rdrag",
         kEmulatorNotFound,
         "Can't find RDRAGON.EXE in directory:",
         "Can't find RDRAGON.EXE in directory:",
         {"rdragon.exe"}},
        {Program::VeCCompiler,
         "VECC",
         "Virtual-E C Compiler",
         "Virtual-E C Compiler",
         "util_vecc",
         kUtilityNotFound,
         "Can't find Vecc.exe in directory:",
         "Can't find VECC.EXE in directory:",
         {"VECC.EXE"}},
        {Program::VEnvironment,
         "Environment",
         "Virtual-Environment",
         "Virtual-Environment",
         "util_vide",
         kUtilityNotFound,
         "Can't find VIDE.EXE in directory:",
         "Can't find VIDE.EXE in directory:",
         {"VIDE.EXE"}},
        // The kit ships under numbered names; the newest (highest number) wins.
        {Program::VbDevKit,
         "VBDK",
         "VB Development Kit",
         "Virtual Boy Development Kit",
         "util_vbdk",
         kUtilityNotFound,
         "Can't find Vbdk.exe or Vbdk0?.exe in directory:",
         "Can't find Vbdk.exe or Vbdk0?.exe in directory:",
         {"Vbdk09.exe", "Vbdk08.exe", "Vbdk07.exe", "Vbdk06.exe", "Vbdk05.exe", "Vbdk04.exe", "Vbdk03.exe",
          "Vbdk02.exe", "Vbdk01.exe", "Vbdk00.exe", "Vbdk.exe"}},
        // Its messages name the program or where it was looked for (MednafenMissingLines).
        {Program::Mednafen,
         "Mednafen",
         "Mednafen",
         "Mednafen",
         "emu_mednafen",
         kEmulatorNotFound,
         "Can't find the mednafen program:",
         "Can't find the mednafen program:",
         {"mednafen"}},
    };
    return programs;
}

const ProgramInfo& InfoOf(Program program) {
    return Programs()[static_cast<std::size_t>(program)];
}

ProgramSettings ReadProgramSettings(const base::SettingsStore& store, Program program) {
    if (program == Program::Mednafen) {
        return {base::ReadYesNo(store, base::keys::MednafenEnabled),
                base::ReadText(store, base::keys::MednafenProgram)};
    }
    const auto& keys = base::keys::Programs[static_cast<std::size_t>(program)];
    return {base::ReadYesNo(store, keys.enabled), base::ReadText(store, keys.directory)};
}

std::optional<std::string> FindProgramFile(Program program, const std::string& directory) {
    if (program == Program::Mednafen) return FindMednafen(directory, CurrentMednafenEnvironment());
    for (std::string_view name : InfoOf(program).files) {
        if (auto found = base::FindFileNoCase(directory, name)) return found;
    }
    return std::nullopt;
}

namespace {

// The first line and where the program was looked for: its directory, or
// for Mednafen the program or the places searched.
std::pair<std::string, std::string> MissingLines(Program program, std::string_view firstLine,
                                                 const std::string& directory) {
    if (program != Program::Mednafen) return {std::string(firstLine), directory};
    const std::vector<std::string> lines = MednafenMissingLines(directory, CurrentMednafenEnvironment());
    return {lines[0], lines[1]};
}

}  // namespace

Message MissingOnChange(Program program, const std::string& directory) {
    const ProgramInfo& info = InfoOf(program);
    const auto [first, where] = MissingLines(program, info.optionsLine, directory);
    const char* another =
        program == Program::Mednafen ? "Please choose another program." : "Please choose another directory.";
    return {std::string(info.title), base::JoinCr({first, where, another}), MessageIcon::Exclamation};
}

Message MissingOnApply(Program program, const std::string& directory) {
    const ProgramInfo& info = InfoOf(program);
    const auto [first, where] = MissingLines(program, info.optionsLine, directory);
    const char* another = program == Program::Mednafen ? "Please choose another program or disable this option."
                                                       : "Please choose another directory or disable this option.";
    return {std::string(info.title), base::JoinCr({first, where, another}), MessageIcon::Exclamation};
}

Message MissingInChooser(Program program, const std::string& directory) {
    const ProgramInfo& info = InfoOf(program);
    const auto [first, where] = MissingLines(program, info.chooserLine, directory);
    return {std::string(info.title), base::JoinCr({first, where}), MessageIcon::Exclamation};
}

Message NotEnabledMessage(Program program) {
    const ProgramInfo& info = InfoOf(program);
    return {std::string(info.title == kUtilityNotFound ? "Utility not enabled" : "Emulator not enabled"),
            std::string(info.entry) +
                " is switched off in the options of Kestro Utilities (its \"Enabled\" box is not checked).",
            MessageIcon::Exclamation};
}

Choice ChooseProgram(Program program, const std::string& directory) {
    Choice choice;
    auto file = FindProgramFile(program, directory);
    if (!file) {
        choice.message = MissingInChooser(program, directory);
        return choice;
    }
    choice.found = true;
    choice.programFile = *file;
    if (program == Program::VeCCompiler) {
        choice.message = Message{"Out of order", "Currently unavailable in beta version.", MessageIcon::Exclamation};
    } else if (program == Program::VEnvironment || program == Program::VbDevKit) {
        // The tools find their own files relative to where they lie.
        choice.start = base::LaunchRequest{*file, {}, directory};
    }
    return choice;
}

Message StartFailedMessage(Program program, const std::string& error) {
    return {"Utility not started", base::JoinCr({"Could not start " + std::string(InfoOf(program).entry) + ":", error}),
            MessageIcon::Exclamation};
}

}  // namespace kestro::emus
