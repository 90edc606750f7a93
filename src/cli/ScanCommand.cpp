// SPDX-License-Identifier: GPL-3.0-or-later
// kestro scan: the collection window's identification run without a window,
// as if its option boxes were set from the flags and its question answered Yes.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <ostream>

#include "cli/Cli.h"
#include "cli/CommandSupport.h"
#include "romdb/Catalogue.h"
#include "romdb/Collection.h"
#include "romdb/DetailReport.h"
#include "romdb/Listing.h"
#include "romdb/Reports.h"
#include "romdb/RomDbTexts.h"
#include "romdb/SummaryWording.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace kestro::cli {

namespace {

using nlohmann::ordered_json;

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) {
    g_interrupted = 1;
}

bool IsFailure(const base::Message& m) {
    return m.title == "Files not moved" || m.title == "Files not read" || m.title == "Files not renamed" ||
           m.title == "Files not saved" || m.title == "Identification stopped" || m.title == "Missing games not saved";
}

// Answers the run's question Yes, keeps every other box, and draws progress
// on standard error when that is a terminal. Ctrl+C cancels as the Cancel
// button does, so a run is never cut off half-way through a move.
class ScanHost final : public romdb::CollectionHost {
public:
    ScanHost(std::ostream& err, bool drawProgress) : m_err(err), m_drawProgress(drawProgress) {}

    base::MessageResult ShowMessage(const base::Message& m) override {
        // The flags answer the run's question; only what the run reports is kept.
        if (m.buttons == base::MessageButtons::YesNo) return base::MessageResult::Yes;
        if (m.title == "Complete") {
            completion = m;
        } else {
            shown.push_back(m);
        }
        return base::MessageResult::Ok;
    }
    void ShowProgress(int percent) override {
        if (!m_drawProgress || m_hidden) return;
        constexpr int kWidth = 40;
        const int filled = std::clamp(percent, 0, 100) * kWidth / 100;
        m_err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << percent << "%   " << std::flush;
        m_drawn = true;
    }
    void LetEventsRun() override {
        if (g_interrupted != 0 && collection != nullptr && !collection->CancelRequested()) collection->RequestCancel();
    }
    void ListingChanged() override {}
    void RowChanged(std::size_t) override {}
    void RunStepReached(romdb::RunStep step) override {
        if (step != romdb::RunStep::ProgressHidden) return;
        // The bar goes with the window's; the run's last "0%" is not drawn.
        if (m_drawn) m_err << "\r" << std::string(52, ' ') << "\r" << std::flush;
        m_hidden = true;
    }

    romdb::Collection* collection = nullptr;
    std::vector<base::Message> shown;
    std::optional<base::Message> completion;

private:
    std::ostream& m_err;
    bool m_drawProgress;
    bool m_drawn = false;
    bool m_hidden = false;
};

bool ErrIsTerminal(const std::ostream& err) {
#if defined(_WIN32)
    return false;
#else
    return &err == &std::cerr && ::isatty(STDERR_FILENO) != 0;
#endif
}

std::string Absolute(const std::string& directory) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(directory, ec);
    return romdb::ListingDirectoryText(ec ? directory : path.lexically_normal().string());
}

ordered_json TextOrNull(const std::string& text) {
    return text.empty() ? ordered_json(nullptr) : ordered_json(text);
}

ordered_json FileJson(const romdb::Collection& c, std::size_t i) {
    const romdb::FileRow& row = c.Rows()[i];
    ordered_json size = nullptr;
    if (!row.size.empty()) size = std::stoll(row.size);
    ordered_json file = {{"name", row.name}, {"status", c.Status(i)}, {"size", size}, {"checksum", row.checksum}};
    if (!c.catalogue().IsBuiltIn()) {
        // The archive and entry apart, and the hashes the DAT was matched by.
        file["archive"] = TextOrNull(row.archive);
        file["entry"] = TextOrNull(row.entry);
        file.update(HashesJson(row.hashes));
    }
    return file;
}

ordered_json ScanJson(const romdb::Collection& c, const ScanHost& host) {
    const romdb::Reports& r = c.reports();
    ordered_json json;
    json["directory"] = c.ListingDirectory();
    if (const romdb::DatFile* dat = c.catalogue().Dat()) {
        json["catalogue"] = {{"name", dat->name},
                             {"description", dat->description},
                             {"format", dat->format == romdb::DatFile::Format::Logiqx ? "logiqx" : "clrmamepro"},
                             {"games", c.catalogue().Names().size()}};
    }
    json["files"] = ordered_json::array();  // written row by row
    json["reports"] = {{"have", r.have()}, {"miss", r.miss()}, {"dupes", r.dupes()}, {"log", r.log()}};
    if (host.completion) {
        json["summaries"] = {{"have", romdb::HaveSummary(r.counters(), r.catalogue()).text},
                             {"miss", romdb::MissSummary(r.counters(), r.catalogue()).text},
                             {"dupes", romdb::DupesSummary(r.counters(), r.catalogue()).text}};
        json["completion"] = host.completion->text;
    } else {
        json["summaries"] = nullptr;
        json["completion"] = nullptr;
    }
    json["messages"] = ordered_json::array();
    for (const base::Message& m : host.shown) json["messages"].push_back({{"title", m.title}, {"text", m.text}});
    return json;
}

// A summary as lines, without the offer of the full report that closes it.
void PrintSummary(std::ostream& out, const base::Message& summary) {
    std::string text = summary.text.substr(0, summary.text.rfind("\r\r"));
    for (char& ch : text) ch = ch == '\r' ? '\n' : ch;
    out << '\n' << text << '\n';
}

void PrintScan(std::ostream& out, const romdb::Collection& c, const ScanHost& host, bool log) {
    // Names are printed as the file system gives them (UTF-8), not as single-byte header text.
    out << "Directory: " << PrintableName(c.ListingDirectory()) << '\n';
    for (const romdb::FileRow& row : c.Rows()) out << PrintableName(row.displayLine) << '\n';
    for (const base::Message& m : host.shown) out << '\n' << PrintableName(MessageLine(m)) << '\n';
    if (!host.completion) return;
    out << '\n' << MessageLine(*host.completion) << '\n';
    PrintSummary(out, romdb::HaveSummary(c.reports().counters(), c.reports().catalogue()));
    PrintSummary(out, romdb::MissSummary(c.reports().counters(), c.reports().catalogue()));
    PrintSummary(out, romdb::DupesSummary(c.reports().counters(), c.reports().catalogue()));
    if (log) {
        const std::string& text = c.reports().log();
        out << '\n';
        for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
            end = std::min(text.find("\r\n", at), text.size());
            out << PrintableName(text.substr(at, end - at)) << '\n';
        }
    }
}

}  // namespace

int ScanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App command{
        "Identifies every .vb file of a directory as the VB ROM Database window does, builds its reports and, "
        "when asked, renames and moves the ROMs. Exit status 0 when the run completed without a failure, 1 "
        "otherwise (a file that could not be read counts as a failure).",
        "kestro scan"};
    romdb::CollectionOptions options;
    bool save = false, json = false;
    std::string directory, datPath, fixdat, missingCsv;
    command.add_flag("--rename", options.rename, "Rename identified ROMs to their catalogue names");
    command.add_flag("--move", options.move, "Move the renamed ROMs into the sub-directory VBoyRen (with --rename)");
    command.add_flag("--detailed", options.detailed, "Detailed reports: every file with its checksum");
    command.add_flag("--log", options.changeLog, "Keep the change log (printed, and saved with --save)");
    command.add_flag("--save", save, "Write VBoyHave.txt, VBoyMiss.txt, VBoyDupes.txt (and VBoyLog.txt)");
    command.add_flag("--json", json, "Write one JSON object: files, reports, summaries and messages");
    auto* datOption = command
                          .add_option("--dat", datPath,
                                      "Identify against this DAT file (Logiqx XML or clrmamepro) instead of the "
                                      "built-in table; .zip archives are read too")
                          ->type_name("FILE");
    command.add_option("--fixdat", fixdat, "Write the games the directory lacks as a Logiqx DAT")
        ->type_name("OUT")
        ->needs(datOption);
    command
        .add_option("--missing-csv", missingCsv,
                    "Write the games the directory lacks as CSV: name,size,crc,sha1 (with --dat)")
        ->needs(datOption);
    command.add_option("DIR", directory, "The directory of ROM images")->required()->check(CLI::ExistingDirectory);
    if (auto status = ParseCommand(command, args, out, err)) return *status;
    std::shared_ptr<const romdb::Catalogue> catalogue;
    if (!datPath.empty()) {
        if (auto status = ReadDatOption(datPath, "kestro scan", err, catalogue)) return *status;
    }
    if (options.move && !options.rename) {
        // As in the window, where "Move ROMs" is usable only with "Rename ROMs".
        err << "kestro scan: --move has no effect without --rename.\n";
        options.move = false;
    }

    romdb::DiskFileOps disk;
    ScanHost host(err, !json && ErrIsTerminal(err));
    romdb::Collection collection(disk, host);
    host.collection = &collection;
    if (catalogue) collection.SetCatalogue(catalogue);
    g_interrupted = 0;
    auto previous = std::signal(SIGINT, OnInterrupt);
    collection.SetListingDirectory(Absolute(directory));
    // Listing an empty directory has said "No ROMs found" already; a run would say it again.
    if (!collection.Rows().empty()) collection.Run(options);
    std::signal(SIGINT, previous == SIG_ERR ? SIG_DFL : previous);

    if (save && host.completion) {
        host.shown.push_back(
            romdb::SaveListFiles(disk, collection.ListingDirectory(), collection.reports(), options.changeLog));
    } else if (save) {
        err << "kestro scan: the list files were not saved: the run did not complete.\n";
    }
    for (const auto& [path, csv] : {std::pair{fixdat, false}, std::pair{missingCsv, true}}) {
        if (path.empty()) continue;
        if (!host.completion) {
            err << "kestro scan: " << path << " was not written: the run did not complete.\n";
            continue;
        }
        const romdb::FileResult written =
            romdb::SaveMissingGames(disk, path, *catalogue, collection.ReportFiles(), csv);
        host.shown.push_back(written ? romdb::MissingSavedMessage(path)
                                     : romdb::MissingNotSavedMessage(path, written.reason));
    }
    if (json) {
        // One file's object at a time: memory stays flat however many files there are.
        WriteJsonStreamingList(out, ScanJson(collection, host), "files", collection.Rows().size(),
                               [&](std::size_t i) { return FileJson(collection, i); });
        out << '\n';
    } else {
        PrintScan(out, collection, host, options.changeLog);
    }
    const bool failed = std::any_of(host.shown.begin(), host.shown.end(), IsFailure);
    return host.completion && !failed ? kExitOk : kExitRefused;
}

}  // namespace kestro::cli
