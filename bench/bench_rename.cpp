// SPDX-License-Identifier: GPL-3.0-or-later
// The rename and move of a collection (kestro scan --rename --move) beside
// moving the same files by hand in the same run: a plain `mv` of them into
// VBoyRen and the renames mv makes, each alone (synced:0) and followed by one
// sync of each of the two directories they change (synced:1); and beside
// copying them once, as cp does and as the program copies across file
// systems (each copy flushed to disk).
//
//   build/bin/bench_rename --benchmark_counters_tabular=true
//
// BM_RenameAndMove times the run from the end of the first identification to
// its completion message: the renames, their syncs and the identification of
// the moved files in VBoyRen (its listed_ms counter stops at the listing of
// VBoyRen, before that identification). The first identification is the
// scan's own cost, measured by bench_scan.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchRoms.h"
#include "romdb/Collection.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace kestro;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 64;
constexpr std::size_t kRomSize = 1024 * 1024;
// Runs of each benchmark: every run copies 64 MiB afresh and syncs it first.
constexpr int kRuns = 16;
// Long enough for a file's change time to tell later changes apart.
constexpr auto kAtRest = std::chrono::milliseconds(200);

// Known dumps (1 MiB each, so of dumps whose checksum fits that size),
// several copies of each, written once; every run works on a
// fresh copy of them.
struct Originals {
    fs::path root;
    std::vector<fs::path> files;
    std::int64_t bytes = 0;

    Originals() {
        root = fs::temp_directory_path() / ("kestro-bench-rename-" + std::to_string(::getpid()));
        fs::create_directories(root / "originals");
        const char* names[] = {"3D Tetris (U) [!]", "Red Alarm (U) [!]", "Mario Clash (JU) [b1]",
                               "Teleroboxer (JU) [!]"};
        for (int i = 0; i < kFiles; ++i) {
            const auto data = bench::KnownRom(kRomSize, names[i % 4]);
            const fs::path path = root / "originals" / ("rom" + std::to_string(i) + ".vb");
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
            files.push_back(path);
            bytes += static_cast<std::int64_t>(data.size());
        }
    }
    ~Originals() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    // A fresh working directory holding the originals' bytes.
    fs::path FreshCopy() const {
        const fs::path work = root / "work";
        fs::remove_all(work);
        fs::create_directory(work);
        for (const fs::path& f : files) fs::copy_file(f, work / f.filename());
        // A collection is at rest on disk before anyone renames it: without
        // this, the first sync of a directory would write the fresh copies,
        // and the run would read again files changed a moment before.
        ::sync();
        std::this_thread::sleep_for(kAtRest);
        return work;
    }
};

Originals& TheOriginals() {
    static Originals originals;
    return originals;
}

// Takes the times that bound the rename/move phase from the run's own signals:
// the last progress step of the first identification, and the listing of the
// destination that ends the phase.
class PhaseTimer final : public romdb::CollectionHost {
public:
    base::MessageResult ShowMessage(const base::Message& m) override {
        if (m.title == "Complete") ++completed, done = Clock::now();
        if (m.title == "Files not moved" || m.title == "Files not renamed") ++failed;
        return base::MessageResult::Yes;
    }
    void ShowProgress(int percent) override {
        if (percent < 25 && !renaming) identified = Clock::now();
        if (percent >= 25) renaming = true;
    }
    void LetEventsRun() override {}
    void ListingChanged() override {
        if (renaming) listed = Clock::now();
    }
    void RowChanged(std::size_t) override {}
    void RunStepReached(romdb::RunStep) override {}

    double Seconds(Clock::time_point end) const { return std::chrono::duration<double>(end - identified).count(); }

    bool renaming = false;
    Clock::time_point identified, listed, done;
    int completed = 0;
    int failed = 0;
};

// Times copying every file once into another directory of the same file
// system with copy(from, to), which says whether the copy succeeded.
template <typename Copy>
void TimeCopies(benchmark::State& state, Copy copy) {
    Originals& originals = TheOriginals();
    for (auto _ : state) {
        const fs::path work = originals.FreshCopy();
        const fs::path target = originals.root / "copied";
        fs::remove_all(target);
        fs::create_directory(target);
        const auto start = Clock::now();
        for (const auto& entry : fs::directory_iterator(work)) {
            if (!copy(entry.path(), target / entry.path().filename())) state.SkipWithError("a copy failed");
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.SetBytesProcessed(state.iterations() * originals.bytes);
    state.counters["files"] = kFiles;
}

// In 256 KiB reads and writes, without a sync: what cp does.
void BM_CopyFilesOnce(benchmark::State& state) {
    std::vector<char> buffer(romdb::kReadChunkSize);
    TimeCopies(state, [&buffer](const fs::path& from, const fs::path& to) {
        const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
        const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        bool whole = in >= 0 && out >= 0;
        for (ssize_t n; whole && (n = ::read(in, buffer.data(), buffer.size())) > 0;) {
            whole = ::write(out, buffer.data(), static_cast<std::size_t>(n)) == n;
        }
        ::close(in);
        ::close(out);
        return whole;
    });
}

// As the program copies when it must (another file system): through the
// atomic writer, each copy flushed to disk with its directory. This is what
// each of the two copies per ROM cost before moves became renames.
void BM_CopyFilesOnceDurably(benchmark::State& state) {
    romdb::DiskFileOps disk;
    TimeCopies(state, [&disk](const fs::path& from, const fs::path& to) {
        return static_cast<bool>(disk.CopyFile(from.string(), to.string()));
    });
}

void SyncDirectory(const fs::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(fd);
    ::close(fd);
}

// Times moving every file of a fresh copy into its VBoyRen with
// move(files, VBoyRen), then with the argument synced:1 syncing the two
// directories the moves changed.
template <typename Move>
void TimeMoves(benchmark::State& state, Move move) {
    Originals& originals = TheOriginals();
    for (auto _ : state) {
        const fs::path work = originals.FreshCopy();
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(work)) files.push_back(entry.path());
        const auto start = Clock::now();
        fs::create_directory(work / "VBoyRen");
        if (!move(files, work / "VBoyRen")) state.SkipWithError("a move failed");
        if (state.range(0) != 0) {
            SyncDirectory(work);
            SyncDirectory(work / "VBoyRen");
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["files"] = kFiles;
}

// mkdir VBoyRen; mv *.vb VBoyRen/ as a user types it: the mv program started and waited for.
void BM_MvCommand(benchmark::State& state) {
    TimeMoves(state, [](const std::vector<fs::path>& files, const fs::path& directory) {
        std::vector<std::string> words{"mv"};
        for (const fs::path& f : files) words.push_back(f.string());
        words.push_back(directory.string() + "/");
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        pid_t child = 0;
        int status = 0;
        if (::posix_spawnp(&child, "mv", nullptr, nullptr, argv.data(), environ) != 0) return false;
        return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    });
}

// What mv does inside, without starting a program: one rename per file.
void BM_Renames(benchmark::State& state) {
    TimeMoves(state, [](const std::vector<fs::path>& files, const fs::path& directory) {
        bool all = true;
        for (const fs::path& f : files) all = ::rename(f.c_str(), (directory / f.filename()).c_str()) == 0 && all;
        return all;
    });
}

// The rename/move phase of kestro scan --rename --move over the same files.
void BM_RenameAndMove(benchmark::State& state) {
    Originals& originals = TheOriginals();
    romdb::DiskFileOps disk;
    int moved = 0;
    double listedSeconds = 0;
    for (auto _ : state) {
        const fs::path work = originals.FreshCopy();
        PhaseTimer timer;
        romdb::Collection collection(disk, timer);
        collection.SetListingDirectory(work.string());
        collection.Run({.rename = true, .move = true});
        if (timer.completed != 1 || timer.failed != 0 || collection.Rows().size() != kFiles) {
            state.SkipWithError("the run did not move every file");
        }
        state.SetIterationTime(timer.Seconds(timer.done));
        listedSeconds += timer.Seconds(timer.listed);
        moved = static_cast<int>(collection.Rows().size());
    }
    state.counters["listed_ms"] = 1000.0 * listedSeconds / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * originals.bytes);
    state.counters["files"] = moved;
}

// The moves by hand, without and with a sync of both directories.
void SyncedOrNot(benchmark::internal::Benchmark* b) {
    b->ArgName("synced")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kRuns);
}

}  // namespace

BENCHMARK(BM_MvCommand)->Apply(SyncedOrNot);
BENCHMARK(BM_Renames)->Apply(SyncedOrNot);
BENCHMARK(BM_CopyFilesOnce)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kRuns);
BENCHMARK(BM_CopyFilesOnceDurably)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kRuns);
BENCHMARK(BM_RenameAndMove)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kRuns);
