// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/RomDbTexts.h"

#include "base/Paths.h"
#include "help/HelpTopics.h"

namespace kestro::romdb {

namespace {

using base::Message;
using base::MessageButtons;
using base::MessageIcon;
using base::MessageResult;

Message Notice(std::string title, std::string text, MessageIcon icon = MessageIcon::Exclamation) {
    return {std::move(title), std::move(text), icon, MessageButtons::Ok, MessageResult::Ok};
}

Message Question(std::string title, std::string text) {
    return {std::move(title), std::move(text), MessageIcon::Exclamation, MessageButtons::YesNo, MessageResult::No};
}

// The longest list of files a message names before it refers to the change log.
constexpr std::size_t kFailuresShown = 10;

}  // namespace

Message NoRomsFoundMessage(const std::string& directory) {
    return Notice("No ROMs found",
                  base::JoinCr({"No ROMs found in directory:", directory, "Please choose another directory."}));
}

Message NoSuchDirectoryMessage(const std::string& typed) {
    return Notice("Directory not found", base::JoinCr({"There is no directory:", typed, "Please check the path."}));
}

Message ConfirmRunMessage(bool rename) {
    if (rename) {
        return Question("Continue operation?",
                        "NOTE: Identifying ROMs may take a long while.\n"
                        "Existing files will be overwritten. Please make sure you\n"
                        "have any files you do not wish to lose backed up.\n"
                        "\n"
                        "Do you still wish to continue?");
    }
    return Question("Continue operation?", "NOTE: Identifying ROMs may take a while.\n\nDo you wish to continue?");
}

Message CancelQuestion() {
    return Question("Cancel operation?", "Do you wish to stop analysing ROMs?");
}

Message AbortedMessage() {
    return Notice("Cancelled", "ROM identiification aborted.");
}

Message CompletionMessage(bool rename, bool move, const std::string& directory) {
    if (move) {
        return Notice("Complete", "ROM identification & rename complete.\n\nFiles moved to:\n" +
                                      base::WithTrailingSeparator(directory));
    }
    if (rename) return Notice("Complete", "ROM identification & rename complete.");
    return Notice("Complete", "ROM identification complete.");
}

Message FilesSavedMessage(bool changeLog) {
    if (changeLog) {
        return Notice("Files saved",
                      base::JoinCr({"List files have been saved to:", "VBoyHave.txt, VBoyMiss.txt",
                                    "VBoyDupes.txt, VBoyLog.txt"}),
                      MessageIcon::Information);
    }
    return Notice("Files saved",
                  base::JoinCr({"List files have been saved to:", "VBoyHave.txt, VBoyMiss.txt, VBoyDupes.txt"}),
                  MessageIcon::Information);
}

std::string MoveFailureText(const MoveFailure& failure) {
    return failure.copy.empty() ? failure.reason : "A copy is at " + failure.copy + ", but " + failure.reason;
}

Message FilesNotMovedMessage(const std::vector<MoveFailure>& failures, const std::string& keptDirectory,
                             const std::string& leftReason) {
    std::string text;
    if (!failures.empty()) {
        text = "These files could not be moved and were left where they were:";
        for (std::size_t i = 0; i < failures.size() && i < kFailuresShown; ++i) {
            text += "\r" + failures[i].path + "\r    " + MoveFailureText(failures[i]);
        }
        if (failures.size() > kFailuresShown) {
            text += "\rand " + std::to_string(failures.size() - kFailuresShown) + " more (see the change log).";
        }
    }
    if (!keptDirectory.empty()) {
        if (!text.empty()) text += "\r\r";
        if (leftReason.empty()) {
            text += base::JoinCr({"Renamed files that were not moved back are kept in:", keptDirectory});
        } else {
            text += base::JoinCr({"The temporary directory was left behind:", keptDirectory, leftReason});
        }
    }
    return Notice("Files not moved", text);
}

Message FilesNotReadMessage(const std::vector<UnreadFile>& files) {
    std::string text = "These files could not be read and are listed as invalid:";
    for (std::size_t i = 0; i < files.size() && i < kFailuresShown; ++i) {
        text += "\r" + files[i].path + "\r    " + files[i].reason;
    }
    if (files.size() > kFailuresShown) {
        text += "\rand " + std::to_string(files.size() - kFailuresShown) + " more (see the change log).";
    }
    return Notice("Files not read", text);
}

Message NoTemporaryDirectoryMessage(const std::string& reason) {
    return Notice(
        "Files not renamed",
        base::JoinCr({"No file was renamed or moved: the temporary directory could not be created.", reason}));
}

Message RunStoppedMessage(const std::string& reason) {
    return Notice("Identification stopped", base::JoinCr({"The run stopped before its end:", reason}));
}

Message FilesNotSavedMessage(const std::string& path, const std::string& reason) {
    return Notice("Files not saved", base::JoinCr({"The list file could not be written:", path, reason}));
}

Message DatNotReadMessage(const std::string& reason) {
    return Notice("DAT file not read", base::JoinCr({reason, "The catalogue stays as it was."}));
}

Message SaveMissingQuestion() {
    return {"Save missing games?", "Do you wish to save the missing games as a DAT file (or, named .csv, a CSV list)?",
            MessageIcon::Question, base::MessageButtons::YesNo, base::MessageResult::No};
}

Message MissingSavedMessage(const std::string& path) {
    return Notice("Missing games saved", base::JoinCr({"The missing games have been saved to:", path}),
                  MessageIcon::Information);
}

Message MissingNotSavedMessage(const std::string& path, const std::string& reason) {
    return Notice("Missing games not saved",
                  base::JoinCr({"The list of missing games could not be written:", path, reason}));
}

std::string RomDatabaseHelpText() {
    return help::JoinParagraphs({
        "VB ROM Database:",
        "This window identifies every Virtual Boy ROM image (.vb file) in one directory against the table of known "
        "ROMs, and tells you which known ROMs you have, which you are missing and which you have more than once.",
        "ROM Directory...: Choose the directory to work on. Refresh List reads it again.",
        "Identify ROMs: Identifies every listed file. Each line of the list shows the file's result: the catalogue "
        "name of a known ROM, the name followed by [h] when its header was changed, [UNKNOWN VB ROM] for a ROM "
        "that is not in the table, or [INVALID VB ROM IMAGE] for a file that is not a Virtual Boy ROM image. Cancel "
        "Identify stops the run. Double-click a file for its details.",
        "A file that cannot be read (one you have no permission to read, or a read error) is listed as "
        "[INVALID VB ROM IMAGE]; a message at the end of the run names each such file with the reason, and the "
        "change log says \"could not be read\".",
        "Detailed ROM Lists: The reports name every file with its checksum.",
        "Rename ROMs: After identifying, every known ROM is renamed to its catalogue name. Copies of the same ROM "
        "are named \"Copy of\" and \"Copy (2) of\" and so on. Unknown and invalid files are left as they are.",
        "Move ROMs: The renamed ROMs are moved into the sub-directory VBoyRen. Within one file system a ROM is "
        "only renamed, never copied; onto another it is copied, checked, and only then deleted.",
        "Create Change Log: Lets you display and save the list of every file renamed or moved.",
        "Display Collected, Display Missing, Display Duplicates: A summary of each report, with the full report on "
        "request. The save button writes the reports as VBoyHave.txt, VBoyMiss.txt, VBoyDupes.txt and VBoyLog.txt "
        "in the listed directory.",
        "",
    });
}

}  // namespace kestro::romdb
