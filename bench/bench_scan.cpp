// SPDX-License-Identifier: GPL-3.0-or-later
// A collection scan over many ROM files, beside reading the same files' bytes
// once as cat does, in the same run: the ratio of the two is what counts.
// The scan runs against the built-in table and against a Logiqx DAT of the
// files (CRC32, MD5 and SHA-1 listed, so every file's SHA-1 is taken).
//
//   build/bin/bench_scan --benchmark_counters_tabular=true
//
// Both read from the page cache once the first pass has warmed it, so the
// comparison is of the work done per byte, not of the disk.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchRoms.h"
#include "base/Paths.h"
#include "rom/KnownRomTable.h"
#include "rom/RomHeader.h"
#include "romdb/Catalogue.h"
#include "romdb/Collection.h"
#include "romdb/ContentHash.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace kestro;
using bench::KnownRom;
using bench::UnknownRom;

constexpr int kFiles = 96;

// The directory of generated ROMs, made once for the whole program.
struct Corpus {
    fs::path directory;
    std::vector<std::string> paths;
    std::int64_t bytes = 0;

    Corpus() {
        directory = fs::temp_directory_path() / ("kestro-bench-scan-" + std::to_string(::getpid()));
        fs::create_directories(directory);
        std::mt19937 random(11);
        for (int i = 0; i < kFiles; ++i) {
            // The common cartridge sizes, 512 KiB, 1 MiB and 2 MiB; every fourth file a known dump.
            const std::size_t size = std::size_t{512 * 1024} << (i % 3);
            const char* known = i % 3 == 0   ? "Red Alarm (U) [!]"
                                : i % 3 == 1 ? "Mario Clash (JU) [b1]"
                                             : "Golf (U) [!]";
            const auto data = i % 4 == 0 ? KnownRom(size, known) : UnknownRom(size, random);
            const std::string path = (directory / ("rom" + std::to_string(i) + ".vb")).string();
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
            paths.push_back(path);
            bytes += static_cast<std::int64_t>(size);
        }
    }
    ~Corpus() {
        std::error_code ec;
        fs::remove_all(directory, ec);
    }
};

Corpus& TheCorpus() {
    static Corpus corpus;
    return corpus;
}

class QuietHost final : public romdb::CollectionHost {
public:
    base::MessageResult ShowMessage(const base::Message& m) override {
        if (m.title == "Complete") ++completed;
        return base::MessageResult::Yes;
    }
    void ShowProgress(int) override {}
    void LetEventsRun() override {}
    void ListingChanged() override {}
    void RowChanged(std::size_t) override {}
    void RunStepReached(romdb::RunStep) override {}
    int completed = 0;
};

// Every file read once, start to end, in 256 KiB reads: what cat does.
void BM_ReadFilesOnce(benchmark::State& state) {
    Corpus& corpus = TheCorpus();
    std::vector<char> buffer(romdb::kReadChunkSize);
    for (auto _ : state) {
        std::uint64_t seen = 0;
        for (const std::string& path : corpus.paths) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) seen += static_cast<std::uint64_t>(n);
            ::close(fd);
        }
        benchmark::DoNotOptimize(seen);
    }
    state.SetBytesProcessed(state.iterations() * corpus.bytes);
    state.counters["files"] = kFiles;
}

// A DAT listing every third file of the corpus, the others unknown to it.
std::shared_ptr<const romdb::Catalogue> CorpusDat(const Corpus& corpus) {
    romdb::DatFile dat;
    dat.name = "Bench";
    romdb::HashRun run;
    for (std::size_t i = 0; i < corpus.paths.size(); i += 3) {
        std::vector<char> bytes;
        std::ifstream in(corpus.paths[i], std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        run.Start({.crc = true, .sha1 = true, .md5 = true});
        run.Update(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        const romdb::FileHashes h = run.Finish();
        dat.games.push_back(
            {"Game " + std::to_string(i),
             "",
             {{"rom.vb", static_cast<std::int64_t>(bytes.size()), romdb::CrcText(h.crc), h.md5, h.sha1}}});
    }
    return std::make_shared<const romdb::Catalogue>(std::move(dat));
}

// The identification run of the collection window over the same files,
// against the built-in table (dat 0) or a DAT (dat 1), with the files hashed
// on this thread (threads 0) or on worker threads.
void BM_ScanCollection(benchmark::State& state) {
    Corpus& corpus = TheCorpus();
    romdb::DiskFileOps disk;
    QuietHost host;
    romdb::Collection collection(disk, host);
    collection.SetScanThreads(static_cast<unsigned>(state.range(1)));
    if (state.range(0) == 1) collection.SetCatalogue(CorpusDat(corpus));
    int known = 0;
    for (auto _ : state) {
        collection.SetListingDirectory(corpus.directory.string());
        collection.Run({});
        known = 0;
        for (std::size_t i = 0; i < collection.Rows().size(); ++i)
            known += collection.Rows()[i].checksum.empty() ? 0 : 1;
    }
    if (host.completed != static_cast<int>(state.iterations())) state.SkipWithError("a run did not complete");
    state.SetBytesProcessed(state.iterations() * corpus.bytes);
    state.counters["files"] = static_cast<double>(collection.Rows().size());
    state.counters["known"] = known;
}

}  // namespace

BENCHMARK(BM_ReadFilesOnce)->Unit(benchmark::kMillisecond);
// Wall time: against a DAT the files are hashed on worker threads.
BENCHMARK(BM_ScanCollection)
    ->ArgNames({"dat", "threads"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
