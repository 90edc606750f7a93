// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/EmulatorRun.h"

#include <filesystem>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/Paths.h"
#include "rom/RomImage.h"

namespace kestro::emus {

using base::Message;
using base::MessageButtons;
using base::MessageIcon;
using base::MessageResult;

base::FileWriteResult WriteRunFile(const FileToWrite& file) {
    if (file.makeDirectory) {
        std::error_code ec;
        std::filesystem::create_directories(base::DirectoryOf(file.path), ec);
    }
    return base::WriteFileAtomically(file.path, file.content);
}

RunOutcome CarryOut(const PreparedRun& run, base::ProcessLauncher& launcher) {
    RunOutcome outcome;
    if (run.refusal) {
        outcome.messages.push_back(*run.refusal);
        return outcome;
    }
    for (const FileToWrite& file : run.files) {
        if (auto written = WriteRunFile(file); !written) {
            outcome.messages.push_back(FileNotWrittenMessage(run.emulator, file.path, written.reason));
            return outcome;
        }
        ++outcome.filesWritten;
    }
    const base::LaunchResult result = launcher.Start(run.request);
    outcome.started = result.started;
    if (!result.started) outcome.messages.push_back(StartFailedMessage(run.emulator, result.error));
    return outcome;
}

Message SelectRomMessage() {
    return {"Select ROM", "Select a ROM image to run.", MessageIcon::Exclamation, MessageButtons::Ok,
            MessageResult::Ok};
}

Message StartFailedMessage(std::string_view emulator, const std::string& reason) {
    return {"Unable to start " + std::string(emulator), reason, MessageIcon::Exclamation, MessageButtons::Ok,
            MessageResult::Ok};
}

Message FileNotWrittenMessage(std::string_view emulator, const std::string& path, const std::string& reason) {
    return {"Unable to save options",
            base::JoinCr({"Unable to write the file:", path, reason, "", std::string(emulator) + " was not started."}),
            MessageIcon::Exclamation, MessageButtons::Ok, MessageResult::Ok};
}

Message RevertToSavedQuestion() {
    return {"Revert to saved", "Do you wish to revert to saved settings?", MessageIcon::Question, MessageButtons::YesNo,
            MessageResult::No};
}

Message RevertToDefaultQuestion() {
    return {"Revert to default", "Do you wish to revert to default settings?", MessageIcon::Question,
            MessageButtons::YesNo, MessageResult::No};
}

std::optional<Message> CheckRomToRun(const std::string& path) {
    // A window's dialog never returns a directory; a script can name one.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return Message{"Invalid filename", path + " is a directory, not a ROM image.", MessageIcon::Exclamation,
                       MessageButtons::Ok, MessageResult::Ok};
    }
    rom::RomOpenResult opened = rom::OpenRom(path);
    if (opened.Accepted()) return std::nullopt;
    return opened.message;
}

}  // namespace kestro::emus
