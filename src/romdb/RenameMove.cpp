// SPDX-License-Identifier: GPL-3.0-or-later
// Renaming identified ROMs to their catalogue names, through a temporary
// directory, and moving them into VBoyRen. Within one file system a file is
// renamed, never copied; across file systems a source file is deleted only
// after its copy has been read back and found equal. Every failure leaves the
// file where it was, goes into the change log and is reported to the user.
#include <algorithm>
#include <cmath>

#include "base/Paths.h"
#include "base/Utf8Text.h"
#include "romdb/Collection.h"
#include "romdb/Listing.h"
#include "romdb/ZipArchive.h"

namespace kestro::romdb {

namespace {

constexpr std::string_view kRenameDirectory = "VBoyRen";
// Every one of the thousand names may be taken; give up after drawing this many.
constexpr int kTemporaryNameDraws = 20000;

std::string Padding(std::size_t longest, std::size_t length) {
    return std::string(longest > length ? longest - length : 0, ' ');
}

std::string ThreeDigits(int number) {
    std::string digits = std::to_string(number);
    return std::string(3 - std::min<std::size_t>(3, digits.size()), '0') + digits;
}

// A name split before its ".vb" or ".zip"; other names have no extension here.
std::pair<std::string, std::string> SplitExtension(const std::string& name) {
    const std::size_t length = IsRomFileName(name) ? 3 : IsZipFileName(name) ? 4 : 0;
    return {name.substr(0, name.size() - length), name.substr(name.size() - length)};
}

// The name a file is renamed to, split for the copy names: a DAT's name
// for the rom's file when it is a .vb name (a game's name can leave out what
// tells its dumps apart), else the catalogue name with ".vb".
std::pair<std::string, std::string> RenamedName(const FileRow& row) {
    if (row.romName.size() > 3 && IsRomFileName(row.romName)) return SplitExtension(SafeFileName(row.romName));
    return {SafeFileName(row.identified), ".vb"};
}

bool IsCatalogueName(const std::string& status) {
    return status != kInvalidRom && status != kUnknownRom && status != kYetToBeIdentified && status != kIdentifying;
}

}  // namespace

void Collection::RenameAndMoveRoms(bool move) {
    if (m_cancel) return;
    m_nextCopy.clear();
    m_given.clear(), m_straight.clear(), m_temporary.clear();
    m_madeDestination = false;
    m_reports.StartChangeLog();
    const std::string base = base::WithTrailingSeparator(m_directory);
    std::string temporary;
    if (!MakeTemporaryDirectory(base, temporary)) return;
    m_reports.AppendLog("Creating temporary directory: " + temporary);
    const std::string destination =
        move ? base::JoinPath(base, std::string(kRenameDirectory)) + base::kPathSeparator : base;
    m_destination = destination;
    if (!PlanOneRename(base, temporary, destination, move)) m_temporary.clear();

    MoveIntoTemporary(base, temporary);
    // One sync per directory and phase makes the renames durable.
    m_files.SyncDirectory(base);
    m_files.SyncDirectory(temporary);
    m_host.ShowProgress(50);
    if (m_cancel) {
        for (const std::string& name : std::set<std::string>(m_straight)) PutBackIntoTemporary(name);
        if (m_madeDestination) m_files.RemoveDirectory(base + std::string(kRenameDirectory));
        // The temporary directory stays, with whatever was moved into it.
        const bool holdsFiles = !m_files.ListFiles(temporary).empty();
        m_host.ShowMessage(FilesNotMovedMessage(m_failures, temporary,
                                                holdsFiles ? "" : "The run was cancelled with nothing moved into it."));
        return;
    }
    if (move) MakeDestination(base);
    MoveOutOfTemporary(temporary, destination);
    m_files.SyncDirectory(temporary);
    m_files.SyncDirectory(destination);
    m_host.ShowProgress(75);
    SetListingDirectory(move ? base + std::string(kRenameDirectory) : base);
    // Only an empty directory is removed: anything left in it stays safe.
    const FileResult removed = m_files.RemoveDirectory(temporary);
    const bool holdsFiles = !removed && !m_files.ListFiles(temporary).empty();
    if (!m_failures.empty() || !removed) {
        m_host.ShowMessage(
            FilesNotMovedMessage(m_failures, removed ? "" : temporary, holdsFiles ? "" : removed.reason));
    }
    if (m_cancel) return;
    IdentifyAll(75, 25);
}

bool Collection::MakeTemporaryDirectory(const std::string& base, std::string& temporary) {
    std::string reason = "Every temporary directory name is taken.";
    for (int draw = 0; draw < kTemporaryNameDraws; ++draw) {
        const int number = std::clamp(static_cast<int>(std::floor(m_random() * 1000.0)), 0, 999);
        const std::string candidate = base + "~ROMTMP" + ThreeDigits(number);
        if (m_files.Exists(candidate)) continue;
        FileResult made = m_files.MakeDirectory(candidate);
        if (made) {
            temporary = candidate + base::kPathSeparator;
            return true;
        }
        reason = made.reason;
        break;
    }
    m_reports.AppendLog("Cannot create temporary directory: " + reason);
    m_host.ShowMessage(NoTemporaryDirectoryMessage(reason));
    return false;
}

void Collection::MoveIntoTemporary(const std::string& base, const std::string& temporary) {
    const std::size_t n = m_rows.size();
    for (std::size_t i = 0; i < n; ++i) {
        const FileRow& row = m_rows[i];
        if (!row.archive.empty()) {
            // An archive spans the rows of its entries; it moves once, with its contents as they are.
            const std::size_t rows = MoveArchive(base, temporary, i);
            for (std::size_t k = i; k < i + rows; ++k) m_host.ShowProgress(ProgressAt(25, 25, k, n));
            i += rows - 1;
            m_host.LetEventsRun();
            continue;
        }
        const std::string source = base + row.name;
        const std::string padding = Padding(m_longest, base::DisplayWidth(row.name));
        if (row.identified == kInvalidRom) {
            m_reports.AppendLog("Skipping " + source + padding + " : INVALID ROM");
            LogIfUnread(source);
        } else if (row.identified == kUnknownRom) {
            m_reports.AppendLog("Skipping " + source + padding + " : UNKNOWN ROM");
        } else {
            const auto [stem, extension] = RenamedName(row);
            std::string destination = temporary + FreeName(temporary, stem, extension);
            const MoveResult result = MoveIntoPlace(source, destination);
            LogMove(source, base::DisplayWidth(row.name), destination, result);
        }
        m_host.ShowProgress(ProgressAt(25, 25, i, n));
        m_host.LetEventsRun();
    }
}

std::size_t Collection::MoveArchive(const std::string& base, const std::string& temporary, std::size_t first) {
    const std::string& archive = m_rows[first].archive;
    std::size_t end = first;
    std::vector<std::string> games;
    bool allInvalid = true;
    for (; end < m_rows.size() && m_rows[end].archive == archive; ++end) {
        const std::string& status = m_rows[end].identified;
        allInvalid = allInvalid && status == kInvalidRom;
        // Two games are enough to tell: such an archive stays as it is.
        if (IsCatalogueName(status) && games.size() < 2 && std::find(games.begin(), games.end(), status) == games.end())
            games.push_back(status);
    }
    const std::string source = base + archive;
    const std::string padding = Padding(m_longest, base::DisplayWidth(archive));
    if (games.size() == 1) {
        // Named after its one game, whatever else (a text file, say) it holds.
        std::string destination = temporary + FreeName(temporary, SafeFileName(games.front()), ".zip");
        const MoveResult result = MoveRomFile(source, destination, false);
        LogMove(source, base::DisplayWidth(archive), destination, result);
    } else if (games.size() > 1) {
        m_reports.AppendLog("Skipping " + source + padding + " : ARCHIVE OF SEVERAL GAMES");
    } else {
        m_reports.AppendLog("Skipping " + source + padding + (allInvalid ? " : INVALID ROM" : " : UNKNOWN ROM"));
        for (std::size_t k = first; k < end; ++k) LogIfUnread(base + m_rows[k].name);
    }
    return end - first;
}

void Collection::MakeDestination(const std::string& base) {
    const std::string directory = base + std::string(kRenameDirectory);
    if (!m_madeDestination && m_files.IsDirectory(directory)) return;
    FileResult made = m_madeDestination ? FileResult{} : m_files.MakeDirectory(directory);
    if (made) {
        m_reports.AppendLog("Rename directory: " + directory + base::kPathSeparator + " created");
    } else {
        m_reports.AppendLog("Cannot create rename directory: " + made.reason);
        m_failures.push_back({directory, made.reason, {}});
    }
}

void Collection::MoveOutOfTemporary(const std::string& temporary, const std::string& destination) {
    SetListingDirectory(temporary);
    // An archive is one file however many entries it lists.
    std::vector<std::string> names;
    for (const FileRow& row : m_rows) {
        const std::string& file = row.archive.empty() ? row.name : row.archive;
        if (names.empty() || names.back() != file) names.push_back(file);
    }
    const std::size_t m = names.size();
    for (std::size_t j = 0; j < m; ++j) {
        const std::string& name = names[j];
        const std::string source = temporary + name;
        std::string target = destination + name;
        MoveResult result = MoveResult::Moved;
        if (!m_straight.contains(name)) {
            result = MoveRomFile(source, target, true);
        } else if (m_cancel) {
            PutBackIntoTemporary(name);
            result = MoveResult::Skipped;
        }
        LogMove(source, base::DisplayWidth(name), target, result);
        if (result == MoveResult::Moved) {
            // A copy left beside an original that could not be deleted has moved on with it.
            for (MoveFailure& failure : m_failures) {
                if (failure.copy == source) failure.copy = target;
            }
        }
        m_host.ShowProgress(ProgressAt(50, 25, j, m));
        m_host.LetEventsRun();
    }
}

std::string Collection::FreeName(const std::string& directory, const std::string& status, std::string_view extension) {
    const std::string ext(extension);
    auto candidate = [&](int k) {
        if (k == 0) return status + ext;
        if (k == 1) return "Copy of " + status + ext;
        return "Copy (" + std::to_string(k) + ") of " + status + ext;
    };
    // A name found taken stays taken during the run, so the search goes on
    // from where the last one for this name stopped: n files of one name
    // cost about 2n checks, not n * n / 2.
    int& k = m_nextCopy[directory + status + ext];
    // Names given in the temporary directory are taken, whether a file went there or straight on.
    while (m_files.Exists(directory + candidate(k)) || (directory == m_temporary && m_given.contains(candidate(k))))
        ++k;
    return candidate(k);
}

bool Collection::PlanOneRename(const std::string& base, const std::string& temporary, const std::string& destination,
                               bool move) {
    if (!m_files.RenamesInPlace()) return false;
    if (std::any_of(m_rows.begin(), m_rows.end(), [](const FileRow& row) { return !row.archive.empty(); }))
        return false;
    m_temporary = temporary;
    // The names the files get in the temporary directory, given as the move into it will give them again.
    std::vector<std::string> names;
    std::set<std::string> moving;
    for (const FileRow& row : m_rows) {
        if (row.identified == kInvalidRom || row.identified == kUnknownRom) continue;
        const auto [stem, extension] = RenamedName(row);
        names.push_back(FreeName(temporary, stem, extension));
        m_given.insert(names.back());
        moving.insert(row.name);
    }
    m_nextCopy.clear(), m_given.clear();
    // Moved back in name order, each file finds its name free, or held by a file of the run that moves away.
    for (const std::string& name : names) {
        if (m_files.Exists(destination + name) && !(destination == base && moving.contains(name))) return false;
    }
    if (move && !m_files.IsDirectory(base + std::string(kRenameDirectory))) {
        if (!m_files.MakeDirectory(base + std::string(kRenameDirectory))) return false;
        m_madeDestination = true;  // logged where the move out of the temporary directory makes it
    }
    return true;
}

Collection::MoveResult Collection::MoveIntoPlace(const std::string& source, std::string& destination) {
    if (m_temporary.empty() || m_cancel) return MoveRomFile(source, destination, false);
    const std::string name = base::FileNameOf(destination);
    const std::string target = m_destination + name;
    const bool known = Known(source) != nullptr;
    std::string error;
    if (target == source || m_files.RenameFile(source, target, false, error) == FileOps::Renamed::Yes) {
        if (target != source) CarryKnown(source, target, known);
        m_given.insert(name), m_straight.insert(name);
        return MoveResult::Moved;
    }
    // The final name is still held by a file of the run, or the rename cannot be made there: through the
    // temporary directory, as always.
    const MoveResult result = MoveRomFile(source, destination, false);
    if (result == MoveResult::Moved) m_given.insert(name);
    return result;
}

void Collection::PutBackIntoTemporary(const std::string& name) {
    std::string error;
    m_files.RenameFile(m_destination + name, m_temporary + name, false, error);
    m_straight.erase(name);
}

Collection::MoveResult Collection::MoveRomFile(const std::string& source, std::string& destination, bool keepOther) {
    if (m_cancel) return MoveResult::Skipped;
    bool replace = false;
    if (keepOther && m_files.Exists(destination)) {
        // The same bytes are overwritten by the move back; another file keeps
        // its name, and this one gets a copy name.
        bool same = false;
        replace = CompareFiles(m_files, source, destination, same) && same;
        if (!replace) {
            const std::string directory = base::DirectoryOf(destination);
            const auto [stem, extension] = SplitExtension(base::FileNameOf(destination));
            destination = directory + FreeName(directory, stem, extension.empty() ? ".vb" : extension);
        }
    }
    const bool known = Known(source) != nullptr;
    std::string error;
    switch (m_files.RenameFile(source, destination, replace, error)) {
        case FileOps::Renamed::Yes: CarryKnown(source, destination, known); return MoveResult::Moved;
        case FileOps::Renamed::Failed: return Failed(source, error);
        case FileOps::Renamed::NeedsCopy: break;
    }
    // A copy is another file, read again when it is identified.
    CarryKnown(source, destination, false);
    return CopyAndDelete(source, destination);
}

Collection::MoveResult Collection::Failed(const std::string& source, std::string reason, std::string copy) {
    m_failures.push_back({source, std::move(reason), std::move(copy)});
    m_lastFailure = MoveFailureText(m_failures.back());
    return MoveResult::Failed;
}

Collection::MoveResult Collection::CopyAndDelete(const std::string& source, const std::string& destination) {
    const bool existed = m_files.Exists(destination);
    if (FileResult copied = m_files.CopyFile(source, destination); !copied) {
        // Whatever a failed copy left behind is not a file of the user's.
        if (!existed && m_files.Exists(destination)) m_files.RemoveFile(destination);
        return Failed(source, copied.reason);
    }
    // Byte for byte: a copy with every byte right but some in the wrong place is no copy.
    bool same = false;
    const FileResult check = CompareFiles(m_files, source, destination, same);
    if (!check || !same) {
        // A bad copy goes; the source still holds the bytes.
        m_files.RemoveFile(destination);
        return Failed(source, check ? "The copy at " + destination + " did not match the original." : check.reason);
    }
    if (FileResult removed = m_files.RemoveFile(source); !removed) {
        return Failed(source, "the original could not be deleted: " + removed.reason, destination);
    }
    return MoveResult::Moved;
}

void Collection::LogMove(const std::string& source, std::size_t nameLength, const std::string& destination,
                         MoveResult result) {
    const std::string padding = Padding(m_longest, nameLength);
    if (result == MoveResult::Failed) {
        m_reports.AppendLog(source + padding + " NOT moved to " + destination + " : " + m_lastFailure);
    } else {
        m_reports.AppendLog(source + padding + " moved to " + destination);
    }
}

}  // namespace kestro::romdb
