// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a 100 MB DAT file, in either form, into a catalogue, beside a
// plain pass that counts the text's lines (the least any reader must do).
//
//   build/bin/bench_dat
//
// BM_LoadDat's counter x_count_lines is the load's time over that of
// counting the lines of the same text, the two taken in turns in each
// iteration (CPU time of this thread), so that a busy machine spoils neither.
// The target is at most 3. For memory, bench/make_large_dat.py.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "romdb/Catalogue.h"
#include "romdb/DatFile.h"

namespace {

using namespace kestro;

constexpr std::size_t kTarget = 100u << 20;

// Games of one rom each, with all three hashes, until the text is 100 MB.
std::string MakeDat(bool xml) {
    std::string text = xml ? "<?xml version=\"1.0\"?>\n<datafile>\n\t<header>\n\t\t<name>Big</name>\n\t\t"
                             "<description>Big</description>\n\t</header>\n"
                           : "clrmamepro (\n\tname \"Big\"\n\tdescription \"Big\"\n)\n\n";
    text.reserve(kTarget + 4096);
    char hashes[128];
    for (unsigned i = 0; text.size() < kTarget; ++i) {
        std::snprintf(hashes, sizeof hashes, "%08x", i * 2654435761u);
        const std::string crc = hashes;
        std::snprintf(hashes, sizeof hashes, "%08x%08x%08x%08x", i, ~i, i * 7, i * 13);
        const std::string md5 = hashes;
        std::snprintf(hashes, sizeof hashes, "%08x%08x%08x%08x%08x", i, ~i, i * 3, i * 5, i * 11);
        const std::string sha1 = hashes;
        const std::string name = "Game number " + std::to_string(i) + " (World) (Rev " + std::to_string(i % 4) + ")";
        if (xml) {
            text += "\t<game name=\"" + name + "\">\n\t\t<description>" + name + "</description>\n\t\t<rom name=\"" +
                    name + ".vb\" size=\"" + std::to_string(524288u << (i % 3)) + "\" crc=\"" + crc + "\" md5=\"" +
                    md5 + "\" sha1=\"" + sha1 + "\"/>\n\t</game>\n";
        } else {
            text += "game (\n\tname \"" + name + "\"\n\tdescription \"" + name + "\"\n\trom ( name \"" + name +
                    ".vb\" size " + std::to_string(524288u << (i % 3)) + " crc " + crc + " md5 " + md5 + " sha1 " +
                    sha1 + " )\n)\n\n";
        }
    }
    if (xml) text += "</datafile>\n";
    return text;
}

const std::string& Dat(bool xml) {
    static const std::string logiqx = MakeDat(true);
    static const std::string clrmamepro = MakeDat(false);
    return xml ? logiqx : clrmamepro;
}

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_CountLines(benchmark::State& state) {
    const std::string& text = Dat(state.range(0) == 1);
    for (auto _ : state) benchmark::DoNotOptimize(std::count(text.begin(), text.end(), '\n'));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// The DAT read from a file (in the page cache after the first pass) into a
// catalogue, as `kestro scan --dat` and the window do; freeing it afterwards
// is not counted.
void BM_LoadDat(benchmark::State& state) {
    const std::string& text = Dat(state.range(0) == 1);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kestro-bench-dat-" + std::to_string(::getpid()) + ".dat")).string();
    std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    std::size_t games = 0;
    double load = 0, count = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        romdb::DatRead read = romdb::ReadDatFile(path);
        if (!read) state.SkipWithError(read.error.c_str());
        auto catalogue = std::make_unique<romdb::Catalogue>(std::move(*read.dat));
        games = catalogue->Names().size();
        state.PauseTiming();
        load += ThreadSeconds() - start;
        catalogue.reset();
        const double counting = ThreadSeconds();
        benchmark::DoNotOptimize(std::count(text.begin(), text.end(), '\n'));
        count += ThreadSeconds() - counting;
        state.ResumeTiming();
    }
    state.counters["x_count_lines"] = load / count;
    std::filesystem::remove(path);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.counters["games"] = static_cast<double>(games);
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}

}  // namespace

BENCHMARK(BM_CountLines)->ArgName("xml")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDat)->ArgName("xml")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);
