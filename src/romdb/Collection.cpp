#include "romdb/Collection.h"

#include <exception>
#include <random>

#include "base/Paths.h"
#include "rom/KnownRomTable.h"
#include "romdb/Listing.h"
#include "romdb/RomScan.h"

namespace kestro::romdb {

namespace {

std::function<double()> DefaultRandom() {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

}  // namespace

Collection::Collection(FileOps& files, CollectionHost& host, std::function<double()> random)
    : m_files(files), m_host(host), m_random(random ? std::move(random) : DefaultRandom()) {}

void Collection::SetListingDirectory(const std::string& directory) {
    m_directory = ListingDirectoryText(directory);
    List();
}

void Collection::Refresh() {
    List();
}

void Collection::List() {
    std::vector<std::string> names = ListRomFiles(m_files, m_directory);
    m_longest = romdb::LongestNameLength(names);
    m_rows.clear();
    for (std::string& name : names) {
        FileRow row;
        row.displayLine = DisplayLine(name, m_longest, kYetToBeIdentified);
        row.name = std::move(name);
        m_rows.push_back(std::move(row));
    }
    m_host.ListingChanged();
    if (m_rows.empty()) m_host.ShowMessage(NoRomsFoundMessage(m_directory));
}

std::string Collection::DirectoryLabel() const {
    return romdb::DirectoryLabel(m_directory);
}

std::string Collection::Status(std::size_t row) const {
    return StatusOfLine(m_rows[row].displayLine, m_longest);
}

void Collection::SetStatus(std::size_t row, std::string_view status) {
    m_rows[row].displayLine = DisplayLine(m_rows[row].name, m_longest, status);
    m_host.RowChanged(row);
}

std::vector<ReportFile> Collection::ReportFiles() const {
    std::vector<ReportFile> files;
    files.reserve(m_rows.size());
    for (const FileRow& row : m_rows) files.push_back({row.name, TrimSpaces(row.identified), row.checksum});
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
    for (FileRow& row : m_rows) row.checksum.clear(), row.header.clear(), row.size.clear(), row.identified.clear();
    m_cancel = false;
    m_failures.clear();
    m_unread.clear();
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
    for (std::size_t i = 0; i < n; ++i) {
        m_current = i;
        IdentifyRomFile(base::JoinPath(m_directory, m_rows[i].name));
        m_host.ShowProgress(ProgressAt(start, span, i, n));
    }
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

void Collection::IdentifyRomFile(const std::string& path) {
    const std::size_t i = m_current;
    if (m_cancel) return SetStatus(i, kYetToBeIdentified);
    RomScan scan = ScanRomFile(m_files, path, m_buffer, [this] { m_host.LetEventsRun(); });
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
