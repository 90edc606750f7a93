// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering one full tile view (48 × 28 tiles into 384 × 224 pixels), beside
// copying as many bytes as the render writes, in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "tiles/TileRender.h"

namespace {

using namespace kestro::tiles;

constexpr std::size_t kRomBytes = 1 << 20;  // a 1 MB (8 MBit) ROM
constexpr std::size_t kViewBytes = std::size_t{kViewWidth} * kViewHeight * sizeof(std::uint32_t);

std::vector<std::uint8_t> RandomRom() {
    std::vector<std::uint8_t> rom(kRomBytes);
    std::mt19937 random(6);
    for (auto& b : rom) b = static_cast<std::uint8_t>(random());
    return rom;
}

// A full view: 48 tiles of 16 bytes across, 28 rows down.
void BM_RenderFullView(benchmark::State& state) {
    const std::vector<std::uint8_t> rom = RandomRom();
    PixelImage image(kViewWidth, kViewHeight, kSurfaceColour);
    TileView view{static_cast<std::int64_t>(state.range(0)), kViewColumns};
    for (auto _ : state) {
        RenderView(rom, view, kVbPalette, kSurfaceColour, image);
        benchmark::DoNotOptimize(image.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kViewBytes));
    state.counters["tiles"] = kViewColumns * kViewRows;
}
BENCHMARK(BM_RenderFullView)->Arg(0)->Arg(512 * 1024 + 3)->Unit(benchmark::kMicrosecond);

// Baseline: copying the 344,064 bytes of pixels that a render writes.
void BM_MemcpyViewBytes(benchmark::State& state) {
    std::vector<std::uint32_t> from(kViewBytes / sizeof(std::uint32_t), 0xFF008080u);
    std::vector<std::uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kViewBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kViewBytes));
}
BENCHMARK(BM_MemcpyViewBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
