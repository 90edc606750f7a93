// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The collection database's engine: the listing of one directory, the
// identification run with its per-file table, the reports, and the rename
// and move of the files. The window and the command line drive the same
// engine through a small host interface.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/Message.h"
#include "romdb/Catalogue.h"
#include "romdb/ContentHash.h"
#include "romdb/FileOps.h"
#include "romdb/Reports.h"
#include "romdb/RomDbTexts.h"
#include "romdb/RomScan.h"
#include "romdb/ScanAhead.h"
#include "romdb/ZipArchive.h"

namespace kestro::romdb {

/// One row of the per-file table. A cell never written is empty.
struct FileRow {
    std::string name;         ///< the listed file name
    std::string displayLine;  ///< name, padding, " - ", status (the visible list)
    std::string size;         ///< size in bytes, decimal
    std::string header;       ///< the 32 header bytes as 96 decimal digits
    std::string checksum;     ///< whole-file checksum, for a known ROM
    std::string identified;   ///< the status, copied after the run
    // With a DAT as the catalogue: an entry of a .zip archive, and the hashes taken.
    std::string archive;  ///< the archive's file name, for an entry (or a broken archive)
    std::string entry;    ///< the entry's name inside it
    std::uint64_t entryIndex = 0;
    std::string archiveError;  ///< why the archive could not be listed
    FileHashes hashes;
    std::string romName;  ///< the file name the DAT gives the rom these bytes are
};

/// The checksum the reports give an identified file: the upper-case CRC32 it
/// was matched by against a DAT, else its whole-file checksum.
std::string ReportChecksum(const FileRow& row);

struct CollectionOptions {
    bool detailed = false;
    bool rename = false;
    bool move = false;
    bool changeLog = false;
};

/// Moments of a run at which the window changes its controls.
enum class RunStep {
    Started,           ///< disable what could start another run, show the progress bar
    ControlsRestored,  ///< enable everything again, the report buttons included
    ReportsWithdrawn,  ///< a cancelled run: report and save buttons off again
    ProgressHidden,    ///< the progress bar and its label off
};

/// What the engine needs from whoever drives it.
class CollectionHost {
public:
    virtual ~CollectionHost() = default;
    virtual base::MessageResult ShowMessage(const base::Message& message) = 0;
    virtual void ShowProgress(int percent) = 0;
    /// Lets pending window events run (the Cancel button among them).
    virtual void LetEventsRun() = 0;
    /// The listing was read anew: rows, label and longest name changed.
    virtual void ListingChanged() = 0;
    /// The display line of one row changed.
    virtual void RowChanged(std::size_t row) = 0;
    virtual void RunStepReached(RunStep step) = 0;
};

class Collection {
public:
    /// random gives numbers in [0, 1) for the temporary directory's name.
    Collection(FileOps& files, CollectionHost& host, std::function<double()> random = {});

    /// The catalogue files are identified against (the built-in table until
    /// told otherwise); the reports are reset for it. List again afterwards:
    /// with a DAT, .zip archives are listed too.
    void SetCatalogue(std::shared_ptr<const Catalogue> catalogue);
    const Catalogue& catalogue() const { return *m_catalogue; }

    /// Makes the directory the listing directory and lists it.
    void SetListingDirectory(const std::string& directory);
    /// Lists the listing directory again.
    void Refresh();

    /// The identification run, from its question to its last message.
    void Run(const CollectionOptions& options);
    /// Asks a running run to stop at its next test.
    void RequestCancel() { m_cancel = true; }
    bool CancelRequested() const { return m_cancel; }
    bool Running() const { return m_running; }
    /// Worker threads that read and hash files against a DAT while the rows
    /// are filled in order; 0 does it all on the caller's thread.
    void SetScanThreads(unsigned threads) { m_scanThreads = threads; }

    const std::string& ListingDirectory() const { return m_directory; }
    std::string DirectoryLabel() const;
    const std::vector<FileRow>& Rows() const { return m_rows; }
    std::size_t LongestNameLength() const { return m_longest; }
    /// The status part of a row's display line.
    std::string Status(std::size_t row) const;

    Reports& reports() { return m_reports; }
    const Reports& reports() const { return m_reports; }
    /// The files as the reports see them.
    std::vector<ReportFile> ReportFiles() const;

private:
    void List();
    void SetStatus(std::size_t row, std::string_view status);
    void IdentifyRomFile(const std::string& path, ScanAhead* ahead);
    void IdentifyAgainstDat(const std::string& path, ScanAhead* ahead);
    /// Opens row i's file or archive entry, from any thread.
    static std::unique_ptr<InputFile> OpenRow(FileOps& files, ZipArchives& archives, const std::string& directory,
                                              const FileRow& row, std::string& error);
    void AddArchiveRows(const std::string& archive);
    void IdentifyAll(int start, int span);
    /// This run's scan of the file at path, while the file keeps the identity
    /// it had when read; nothing otherwise.
    const RomScan* Known(const std::string& path);
    void Remember(const std::string& path, const RomScan& scan);
    /// What is known of a file renamed goes with it, when the rename is all
    /// that changed it; known says it was checked just before.
    void CarryKnown(const std::string& source, const std::string& destination, bool known);
    void CopyStatuses();
    void BuildReports(bool detailed);
    void Finish(const CollectionOptions& options);
    void NoteUnreadable(const std::string& path, std::string reason);
    /// The change-log line of a file that could not be read, if it is one.
    void LogIfUnread(const std::string& path);

    // Rename and move.
    void RenameAndMoveRoms(bool move);
    bool MakeTemporaryDirectory(const std::string& base, std::string& temporary);
    void MoveIntoTemporary(const std::string& base, const std::string& temporary);
    /// Moves an archive into the temporary directory under its one game's name; returns the rows it spans.
    std::size_t MoveArchive(const std::string& base, const std::string& temporary, std::size_t first);
    void MoveOutOfTemporary(const std::string& temporary, const std::string& destination);
    void MakeDestination(const std::string& base);
    std::string FreeName(const std::string& directory, const std::string& status, std::string_view extension = ".vb");
    enum class MoveResult { Moved, Skipped, Failed };
    MoveResult MoveRomFile(const std::string& source, std::string& destination, bool keepOther);
    MoveResult CopyAndDelete(const std::string& source, const std::string& destination);
    /// Records a file that stayed at source; copy is where a copy of it is, if any.
    MoveResult Failed(const std::string& source, std::string reason, std::string copy = {});
    void LogMove(const std::string& source, std::size_t nameLength, const std::string& destination, MoveResult result);
    /// Whether each file can go to its final name in one rename, the names
    /// and log staying those of the way through the temporary directory:
    /// every final name is free, or is a file of the run that moves away.
    bool PlanOneRename(const std::string& base, const std::string& temporary, const std::string& destination,
                       bool move);
    MoveResult MoveIntoPlace(const std::string& source, std::string& destination);
    /// A cancelled run leaves the files that went straight on in the temporary directory.
    void PutBackIntoTemporary(const std::string& name);

    FileOps& m_files;
    CollectionHost& m_host;
    std::function<double()> m_random;
    std::shared_ptr<const Catalogue> m_catalogue;
    HashRun m_hashRun;
    unsigned m_scanThreads = DefaultScanThreads();
    std::string m_directory;
    std::vector<FileRow> m_rows;
    std::size_t m_longest = 0;
    std::size_t m_current = 0;
    bool m_cancel = false;
    bool m_running = false;
    Reports m_reports;
    std::vector<std::uint8_t> m_buffer;
    /// This run's scans, by path, for identifying a file again without reading it.
    std::map<std::string, RomScan> m_known;
    /// The archives whose entries the identification reads; none between runs.
    std::shared_ptr<ZipArchives> m_archives;
    /// Per directory and name, the copy number the next free-name search starts at.
    std::map<std::string, int> m_nextCopy;
    /// The one-rename way: the temporary directory, the destination, the
    /// names given there, and those of files already at the destination.
    std::string m_temporary, m_destination;
    std::set<std::string> m_given, m_straight;
    bool m_madeDestination = false;
    std::vector<MoveFailure> m_failures;
    std::vector<UnreadFile> m_unread;
    std::string m_lastFailure;
};

}  // namespace kestro::romdb
