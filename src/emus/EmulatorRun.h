// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run of an outside emulator, as the front-ends and `kestro play` make it:
// the designed command-line text, the program and arguments actually started,
// the files written first, and what the user is told.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "base/Message.h"
#include "base/ProcessLauncher.h"

namespace kestro::emus {

/// A file a run writes before the emulator starts (Red Dragon's options.dat).
struct FileToWrite {
    std::string path;
    std::string content;
    /// Its directory is made when it is not there yet (Mednafen's per-game folder).
    bool makeDirectory = false;
    friend bool operator==(const FileToWrite&, const FileToWrite&) = default;
};

/// Everything a run button does, worked out before anything is done.
struct PreparedRun {
    std::string emulator;     ///< "Reality Boy", for messages
    std::string commandLine;  ///< the designed text, shown and printed
    base::LaunchRequest request;
    std::vector<FileToWrite> files;
    /// Files the emulator reads as they stand, shown but not written
    /// (Mednafen's per-game file, for `kestro play`).
    std::vector<FileToWrite> filesRead;
    /// Set when the run is refused before anything is written (no ROM chosen,
    /// a ROM that fails its checks); then nothing else counts.
    std::optional<base::Message> refusal;
};

/// What carrying a run out came to.
struct RunOutcome {
    bool started = false;
    std::size_t filesWritten = 0;         ///< how many of the run's files were written
    std::vector<base::Message> messages;  ///< in the order they are shown
};

/// Writes one file in one step (its directory made first when it asks for it).
base::FileWriteResult WriteRunFile(const FileToWrite& file);

/// Writes the run's files, each replaced in one step, then starts the
/// program. A file that cannot be written is reported and nothing is started,
/// so the emulator never runs on stale options; a failed start is reported.
RunOutcome CarryOut(const PreparedRun& run, base::ProcessLauncher& launcher);

/// "Select ROM" / "Select a ROM image to run.", exclamation, OK.
base::Message SelectRomMessage();

/// The emulator could not be started; the reason names the program.
base::Message StartFailedMessage(std::string_view emulator, const std::string& reason);

/// A file the run needs could not be written, so the emulator was not started.
base::Message FileNotWrittenMessage(std::string_view emulator, const std::string& path, const std::string& reason);

/// Revert Settings' question: "Revert to saved", Yes/No, No the default.
base::Message RevertToSavedQuestion();
/// Revert to Default's question: "Revert to default", Yes/No, No the default.
base::Message RevertToDefaultQuestion();

/// The ROM a scripted run is given, checked as a window checks a chosen ROM
/// (missing, too small, invalid; a directory is named as one): nothing when
/// it is accepted, else the refusal message.
std::optional<base::Message> CheckRomToRun(const std::string& path);

}  // namespace kestro::emus
