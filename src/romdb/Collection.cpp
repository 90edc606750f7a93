// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/Collection.h"

#include <algorithm>
#include <exception>
#include <random>

#include "base/Paths.h"
#include "rom/KnownRomTable.h"
#include "romdb/Listing.h"
#include "romdb/RomScan.h"
#include "romdb/ZipArchive.h"

namespace kestro::romdb {

namespace {

std::function<double()> DefaultRandom() {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

}  // namespace

Collection::Collection(FileOps& files, CollectionHost& host, std::function<double()> random)
    : m_files(files),
      m_host(host),
      m_random(random ? std::move(random) : DefaultRandom()),
      m_catalogue(std::make_shared<const Catalogue>()) {}

void Collection::SetCatalogue(std::shared_ptr<const Catalogue> catalogue) {
    m_catalogue = catalogue ? std::move(catalogue) : std::make_shared<const Catalogue>();
    m_reports.SetCatalogue(m_catalogue);
}

void Collection::SetListingDirectory(const std::string& directory) {
    m_directory = ListingDirectoryText(directory);
    List();
}

void Collection::Refresh() {
    List();
}

void Collection::List() {
    // Archives are read only against a DAT: the built-in table's listing stays the .vb files.
    const bool archives = !m_catalogue->IsBuiltIn();
    m_rows.clear();
    std::vector<std::string> listed = ListRomFiles(m_files, m_directory, archives);
    if (!m_straight.empty() && base::WithTrailingSeparator(m_directory) == m_temporary) {
        // Files that went straight to their final names still pass through here, as names.
        listed.insert(listed.end(), m_straight.begin(), m_straight.end());
        std::sort(listed.begin(), listed.end(), FileListOrder);
    }
    for (std::string& name : listed) {
        if (archives && IsZipFileName(name)) {
            AddArchiveRows(name);
            continue;
        }
        FileRow row;
        row.name = std::move(name);
        m_rows.push_back(std::move(row));
    }
    std::vector<std::string> names;
    names.reserve(m_rows.size());
    for (const FileRow& row : m_rows) names.push_back(row.name);
    m_longest = romdb::LongestNameLength(names);
    for (FileRow& row : m_rows) row.displayLine = DisplayLine(row.name, m_longest, kYetToBeIdentified);
    m_host.ListingChanged();
    if (m_rows.empty()) m_host.ShowMessage(NoRomsFoundMessage(m_directory));
}

std::string Collection::DirectoryLabel() const {
    // Against a DAT the archives are listed too, and the label says so.
    const std::string label = romdb::DirectoryLabel(m_directory);
    return m_catalogue->IsBuiltIn() ? label : label + ", *.zip";
}

std::string Collection::Status(std::size_t row) const {
    return StatusOfLine(m_rows[row].displayLine, m_longest);
}

void Collection::SetStatus(std::size_t row, std::string_view status) {
    m_rows[row].displayLine = DisplayLine(m_rows[row].name, m_longest, status);
    m_host.RowChanged(row);
}

std::string ReportChecksum(const FileRow& row) {
    if (row.romName.empty() || !row.hashes.hasCrc) return row.checksum;
    std::string crc = CrcText(row.hashes.crc);
    for (char& c : crc) c = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
    return crc;
}

std::vector<ReportFile> Collection::ReportFiles() const {
    std::vector<ReportFile> files;
    files.reserve(m_rows.size());
    for (const FileRow& row : m_rows) files.push_back({row.name, TrimSpaces(row.identified), ReportChecksum(row)});
    return files;
}

void Collection::Run(const CollectionOptions& options) {
    if (m_running) return;  // a cancelled run is still unwinding
    if (m_rows.empty()) {
        m_host.ShowMessage(NoRomsFoundMessage(m_directory));
        return;
    }
    if (m_host.ShowMessage(ConfirmRunMessage(options.rename)) != base::MessageResult::Yes) return;
    m_running = true;
    m_reports.ResetHaveList();
    m_reports.ResetMissList();
    m_reports.ResetDupesList();
    m_reports.ResetChangeLog();
    for (FileRow& row : m_rows) {
        row.checksum.clear(), row.header.clear(), row.size.clear(), row.identified.clear();
        row.hashes = {};
        row.romName.clear();
    }
    m_cancel = false;
    m_failures.clear();
    m_unread.clear();
    m_known.clear();
    m_host.RunStepReached(RunStep::Started);
    m_host.LetEventsRun();
    try {
        for (std::size_t i = 0; i < m_rows.size(); ++i) SetStatus(i, kYetToBeIdentified);
        m_host.ShowProgress(0);
        IdentifyAll(0, options.rename ? 25 : 100);
        if (options.rename) {
            CopyStatuses();
            RenameAndMoveRoms(options.move);
        } else {
            for (const FileRow& row : m_rows) LogIfUnread(base::JoinPath(m_directory, row.name));
        }
    } catch (const std::exception& e) {
        // Whatever went wrong, the window gets its controls back.
        m_host.ShowMessage(RunStoppedMessage(e.what()));
        m_cancel = true;
    }
    Finish(options);
}

void Collection::IdentifyAll(int start, int span) {
    const std::size_t n = m_rows.size();
    // Against a DAT, hashing is the run's cost: workers read and hash the
    // next files while this thread fills in the rows, in their order.
    m_archives = std::make_shared<ZipArchives>();
    std::unique_ptr<ScanAhead> ahead;
    // Files this run has read and that are still as they were are not read
    // again (the identification after renaming); the workers pass them by.
    std::vector<char> known(n, 0);
    if (!m_catalogue->IsBuiltIn() && m_scanThreads > 0 && m_files.OpensFromAnyThread()) {
        for (std::size_t i = 0; i < n && !m_known.empty(); ++i)
            known[i] = m_rows[i].archive.empty() && Known(base::JoinPath(m_directory, m_rows[i].name)) != nullptr;
        // The workers get their own copy of the rows; this thread changes them meanwhile.
        ahead = std::make_unique<ScanAhead>(
            n,
            [&files = m_files, archives = m_archives, directory = m_directory, rows = m_rows, known](
                std::size_t i, std::string& error) -> std::unique_ptr<InputFile> {
                if (known[i]) return nullptr;  // never taken
                return OpenRow(files, *archives, directory, rows[i], error);
            },
            m_catalogue->Needs(), m_scanThreads);
    }
    for (std::size_t i = 0; i < n; ++i) {
        m_current = i;
        IdentifyRomFile(base::JoinPath(m_directory, m_rows[i].name), known[i] ? nullptr : ahead.get());
        m_host.ShowProgress(ProgressAt(start, span, i, n));
    }
    ahead.reset();
    m_archives.reset();  // no archive stays open between runs
}

const RomScan* Collection::Known(const std::string& path) {
    const auto found = m_known.find(path);
    if (found == m_known.end()) return nullptr;
    if (m_files.Identity(path) == found->second.identity) return &found->second;
    m_known.erase(found);
    return nullptr;
}

void Collection::Remember(const std::string& path, const RomScan& scan) {
    if (scan.identity.known) m_known[path] = scan;
}

void Collection::CarryKnown(const std::string& source, const std::string& destination, bool known) {
    auto node = m_known.extract(source);
    m_known.erase(destination);  // a file replaced there
    if (!known || node.empty()) return;
    const FileIdentity renamed = m_files.Identity(destination);
    if (!renamed.SameButChanged(node.mapped().identity)) return;
    node.mapped().identity = renamed;
    node.key() = destination;
    m_known.insert(std::move(node));
}

void Collection::Finish(const CollectionOptions& options) {
    m_host.RunStepReached(RunStep::ControlsRestored);
    if (!m_unread.empty()) m_host.ShowMessage(FilesNotReadMessage(m_unread));
    if (m_cancel) {
        m_host.ShowProgress(0);
        m_host.RunStepReached(RunStep::ReportsWithdrawn);
        m_host.ShowMessage(AbortedMessage());
    } else {
        CopyStatuses();
        BuildReports(options.detailed);
        m_host.ShowProgress(100);
        m_host.ShowMessage(CompletionMessage(options.rename, options.move, m_directory));
    }
    m_host.RunStepReached(RunStep::ProgressHidden);
    m_archives.reset();
    m_known.clear();
    m_cancel = false;
    m_host.ShowProgress(0);
    m_running = false;
}

void Collection::CopyStatuses() {
    for (std::size_t i = 0; i < m_rows.size(); ++i) m_rows[i].identified = Status(i);
}

void Collection::BuildReports(bool detailed) {
    const std::vector<ReportFile> files = ReportFiles();
    if (detailed) {
        m_reports.BuildHaveListDetailed(files, m_longest);
        m_reports.BuildMissListDetailed(files);
        m_reports.BuildDupesListDetailed(files, m_longest);
    } else {
        m_reports.BuildHaveList(files);
        m_reports.BuildMissList(files);
        m_reports.BuildDupesList(files);
    }
}

void Collection::NoteUnreadable(const std::string& path, std::string reason) {
    // The file system's words without the path, which the message gives.
    const std::string prefix = "Cannot open " + path + ": ";
    if (reason.starts_with(prefix)) reason.erase(0, prefix.size());
    if (reason.empty()) reason = "The file could not be read.";
    for (UnreadFile& known : m_unread) {
        if (known.path == path) return void(known.reason = reason);
    }
    m_unread.push_back({path, std::move(reason)});
}

void Collection::LogIfUnread(const std::string& path) {
    for (const UnreadFile& file : m_unread) {
        if (file.path != path) continue;
        const std::size_t length = base::FileNameOf(path).size();
        m_reports.AppendLog(path + std::string(m_longest > length ? m_longest - length : 0, ' ') +
                            " could not be read: " + file.reason);
    }
}

void Collection::AddArchiveRows(const std::string& archive) {
    std::vector<ZipEntry> entries;
    std::string error;
    if (!ListZipEntries(base::JoinPath(m_directory, archive), entries, error)) {
        // Listed as one row, so that the run names it as a file it could not read.
        FileRow row;
        row.name = row.archive = archive;
        row.archiveError = error;
        m_rows.push_back(std::move(row));
        return;
    }
    // Inside an archive as in the directory, only .vb files are ROMs: a
    // readme or a picture beside the game is no invalid ROM.
    std::erase_if(entries, [](const ZipEntry& entry) { return !IsRomFileName(entry.name); });
    if (entries.empty()) {
        FileRow row;
        row.name = row.archive = archive;
        row.archiveError = "the archive holds no .vb file";
        m_rows.push_back(std::move(row));
    }
    for (const ZipEntry& entry : entries) {
        FileRow row;
        row.name = ZipRowName(archive, entry.name);
        row.archive = archive;
        row.entry = entry.name;
        row.entryIndex = entry.index;
        m_rows.push_back(std::move(row));
    }
}

std::unique_ptr<InputFile> Collection::OpenRow(FileOps& files, ZipArchives& archives, const std::string& directory,
                                               const FileRow& row, std::string& error) {
    error = row.archiveError;
    if (row.archive.empty()) return files.OpenRead(base::JoinPath(directory, row.name), error);
    if (!error.empty()) return nullptr;
    return archives.OpenEntry(base::JoinPath(directory, row.archive), row.entryIndex, error);
}

void Collection::IdentifyAgainstDat(const std::string& path, ScanAhead* ahead) {
    const std::size_t i = m_current;
    FileRow& row = m_rows[i];
    RomScan scan;
    if (ahead != nullptr) {
        scan = ahead->Take(i, [this] { m_host.LetEventsRun(); });
    } else if (const RomScan* known = row.archive.empty() ? Known(path) : nullptr) {
        scan = *known;
    } else if (std::string error; auto input = OpenRow(m_files, *m_archives, m_directory, row, error)) {
        scan = ScanInput(
            *input, m_buffer, [this] { m_host.LetEventsRun(); }, &m_hashRun, m_catalogue->Needs());
    } else {
        scan.result = RomScan::Result::Unreadable;
        scan.error = error;
    }
    if (row.archive.empty()) Remember(path, scan);
    if (scan.result == RomScan::Result::Unreadable) NoteUnreadable(path, scan.error);
    if (!scan.Valid()) return SetStatus(i, kInvalidRom);
    row.size = std::to_string(scan.size);
    SetStatus(i, kIdentifying);
    row.header = HeaderDigits(scan.header);
    row.hashes = scan.hashes;
    if (m_cancel) return SetStatus(i, kYetToBeIdentified);
    std::string_view romName;
    const std::optional<std::size_t> game = m_catalogue->Match(scan.size, scan.hashes, &romName);
    if (!game) return SetStatus(i, kUnknownRom);
    row.romName = romName;
    row.checksum = scan.ChecksumB();
    SetStatus(i, m_catalogue->Names()[*game]);
    m_host.LetEventsRun();
}

void Collection::IdentifyRomFile(const std::string& path, ScanAhead* ahead) {
    const std::size_t i = m_current;
    if (m_cancel) return SetStatus(i, kYetToBeIdentified);
    if (!m_catalogue->IsBuiltIn()) return IdentifyAgainstDat(path, ahead);
    const RomScan* known = Known(path);
    const RomScan scan =
        known != nullptr ? *known : ScanRomFile(m_files, path, m_buffer, [this] { m_host.LetEventsRun(); });
    Remember(path, scan);
    // An empty, short, unreadable or ill-formed file is no ROM image; one
    // that could not be read is also named to the user, with the reason.
    if (scan.result == RomScan::Result::Unreadable) NoteUnreadable(path, scan.error);
    if (!scan.Valid()) return SetStatus(i, kInvalidRom);
    FileRow& row = m_rows[i];
    row.size = std::to_string(scan.size);
    SetStatus(i, kIdentifying);
    row.header = HeaderDigits(scan.header);
    const std::string nameA = rom::LookupRomInCollection(scan.ChecksumA(), rom::ChecksumColumn::A);
    if (m_cancel) return SetStatus(i, kYetToBeIdentified);
    if (nameA == rom::kUnknownRomName) return SetStatus(i, kUnknownRom);
    if (rom::IsKnownName(nameA)) SetStatus(i, nameA);
    row.checksum = scan.ChecksumB();
    const std::string nameB = rom::LookupRomInCollection(row.checksum, rom::ChecksumColumn::B);
    if (nameB == nameA) return m_host.LetEventsRun();
    if (m_cancel) return SetStatus(i, kYetToBeIdentified);
    // The bytes outside the header are a known dump's, the header is not.
    row.displayLine = rom::HackedForm(row.displayLine);
    m_host.RowChanged(i);
    m_host.LetEventsRun();
}

}  // namespace kestro::romdb
