// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The collection database's messages and help text.

#include <string>
#include <vector>

#include "base/Message.h"

namespace kestro::romdb {

/// "No ROMs found" for a directory without .vb files.
base::Message NoRomsFoundMessage(const std::string& directory);
/// The question before a run; its wording warns more when files are renamed.
/// The directory chooser's answer to a typed path that names no directory.
base::Message NoSuchDirectoryMessage(const std::string& typed);

base::Message ConfirmRunMessage(bool rename);
/// The question of "Cancel Identify".
base::Message CancelQuestion();
base::Message AbortedMessage();
/// The completion message; directory is the listing at the end.
base::Message CompletionMessage(bool rename, bool move, const std::string& directory);
/// After the list files were written.
base::Message FilesSavedMessage(bool changeLog);

/// A file the rename could not move, where it stayed, and why.
struct MoveFailure {
    std::string path;
    std::string reason;
    std::string copy;  ///< where a copy of it is, when one was made but the original stayed
};
/// Why the file stayed, with where its copy is when there is one.
std::string MoveFailureText(const MoveFailure& failure);
/// Tells the user which files stayed where and why; keptDirectory is the
/// temporary directory when it is left behind (empty otherwise), and
/// leftReason why it was left when no file is kept in it.
base::Message FilesNotMovedMessage(const std::vector<MoveFailure>& failures, const std::string& keptDirectory,
                                   const std::string& leftReason = {});
/// A file that could not be read: it is listed as invalid, and the user
/// learns why.
struct UnreadFile {
    std::string path;
    std::string reason;
};
/// Names the files of a run that could not be read, each with its reason.
base::Message FilesNotReadMessage(const std::vector<UnreadFile>& files);

/// The rename could not start: no temporary directory could be made.
base::Message NoTemporaryDirectoryMessage(const std::string& reason);
/// The run met an error it could not go on from.
base::Message RunStoppedMessage(const std::string& reason);
/// A list file could not be written; the reports are unchanged.
base::Message FilesNotSavedMessage(const std::string& path, const std::string& reason);

/// A DAT file chosen as the catalogue that could not be used, and why.
base::Message DatNotReadMessage(const std::string& reason);
/// After "Display Missing" with a DAT: whether to save the missing games.
base::Message SaveMissingQuestion();
/// The missing games were written to path, or could not be.
base::Message MissingSavedMessage(const std::string& path);
base::Message MissingNotSavedMessage(const std::string& path, const std::string& reason);

/// The window's help page (topic "VB ROM DB"), CR LF lines.
std::string RomDatabaseHelpText();

}  // namespace kestro::romdb
