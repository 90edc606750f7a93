// SPDX-License-Identifier: GPL-3.0-or-later
// Every tile of a 2 MiB ROM (131,072 tiles, 32 a row) out to an indexed PNG
// picture and back in, beside copying the ROM's bytes once, in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "tiles/TilePng.h"

namespace {

using namespace kestro::tiles;

constexpr std::size_t kRomBytes = 2 << 20;
constexpr TileBlock kWholeRom{0, 32, 32, static_cast<int>(kRomBytes / kTileBytes / 32)};

std::vector<std::uint8_t> RandomRom() {
    std::vector<std::uint8_t> rom(kRomBytes);
    std::mt19937 random(24);
    for (auto& b : rom) b = static_cast<std::uint8_t>(random());
    return rom;
}

void BM_ExportWholeRomToPng(benchmark::State& state) {
    const std::vector<std::uint8_t> rom = RandomRom();
    for (auto _ : state) {
        auto png = EncodeTilePng(ReadTiles(rom, kWholeRom), kVbPalette, {"bench.vb", 0, 32});
        benchmark::DoNotOptimize(png.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kRomBytes));
    state.counters["tiles"] = kWholeRom.columns * kWholeRom.rows;
}
BENCHMARK(BM_ExportWholeRomToPng)->Unit(benchmark::kMillisecond);

void BM_ImportWholeRomFromPng(benchmark::State& state) {
    const std::vector<std::uint8_t> rom = RandomRom();
    const auto png = EncodeTilePng(ReadTiles(rom, kWholeRom), kVbPalette, {"bench.vb", 0, 32});
    for (auto _ : state) {
        auto imported = ImportTiles(rom, png, kVbPalette, {}, false);
        benchmark::DoNotOptimize(&imported);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kRomBytes));
}
BENCHMARK(BM_ImportWholeRomFromPng)->Unit(benchmark::kMillisecond);

// Baseline: writing the ROM's 2 MiB once, as a copy in memory.
void BM_MemcpyRomBytes(benchmark::State& state) {
    const std::vector<std::uint8_t> rom = RandomRom();
    std::vector<std::uint8_t> to(rom.size());
    for (auto _ : state) {
        std::memcpy(to.data(), rom.data(), rom.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kRomBytes));
}
BENCHMARK(BM_MemcpyRomBytes)->Unit(benchmark::kMillisecond);

}  // namespace
