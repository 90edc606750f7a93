// SPDX-License-Identifier: GPL-3.0-or-later
// The rename and move of a collection (kestro scan --rename --move) beside
// copying the same files once, in the same run: as cp does (into the page
// cache), and as the program copies (each copy flushed to disk). Within one
// file system the rename/move phase should cost a small fraction of either;
// what it has left is a sync of each directory it touched, once per phase.
//
//   build/bin/bench_rename --benchmark_counters_tabular=true
//
// Only the phase from the end of the first identification to the listing of
// VBoyRen is timed; identifying the files before and after is the scan's own
// cost, measured by bench_scan.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchRoms.h"
#include "romdb/Collection.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace kestro;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 64;
constexpr std::size_t kRomSize = 1024 * 1024;

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
        // this, the first sync of a directory would write the fresh copies.
        ::sync();
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
        if (m.title == "Complete") ++completed;
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

    double PhaseSeconds() const { return std::chrono::duration<double>(listed - identified).count(); }

    bool renaming = false;
    Clock::time_point identified, listed;
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

// The rename/move phase of kestro scan --rename --move over the same files.
void BM_RenameAndMove(benchmark::State& state) {
    Originals& originals = TheOriginals();
    romdb::DiskFileOps disk;
    int moved = 0;
    for (auto _ : state) {
        const fs::path work = originals.FreshCopy();
        PhaseTimer timer;
        romdb::Collection collection(disk, timer);
        collection.SetListingDirectory(work.string());
        collection.Run({.rename = true, .move = true});
        if (timer.completed != 1 || timer.failed != 0 || collection.Rows().size() != kFiles) {
            state.SkipWithError("the run did not move every file");
        }
        state.SetIterationTime(timer.PhaseSeconds());
        moved = static_cast<int>(collection.Rows().size());
    }
    state.SetBytesProcessed(state.iterations() * originals.bytes);
    state.counters["files"] = moved;
}

}  // namespace

BENCHMARK(BM_CopyFilesOnce)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFilesOnceDurably)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenameAndMove)->UseManualTime()->Unit(benchmark::kMillisecond);
