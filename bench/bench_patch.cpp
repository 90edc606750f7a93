// SPDX-License-Identifier: GPL-3.0-or-later
// Patches: applying one to a 16 MiB ROM, beside copying the same bytes, and
// creating BPS and IPS patches between two 2 MiB ROMs with a few scattered
// changes and one moved block (the patch sizes are the counters).
#include <benchmark/benchmark.h>

#include <random>

#include "BenchRoms.h"
#include "patch/Patch.h"

namespace {

using kestro::patch::Bytes;

// The modified ROM: a 64 KiB block moved, a few hundred scattered edits.
Bytes Modified(const Bytes& original, std::mt19937& random) {
    Bytes out = original;
    const std::size_t n = out.size();
    std::copy_n(original.begin() + n / 8, 64 * 1024, out.begin() + n / 2);
    for (int i = 0; i < 300; ++i) out[random() % n] ^= 0xA5;
    return out;
}

struct Pair {
    Bytes original;
    Bytes modified;
    explicit Pair(std::size_t size) {
        std::mt19937 random(11);
        original = kestro::bench::UnknownRom(size, random);
        modified = Modified(original, random);
    }
};

const Pair& Large() {
    static const Pair pair(16u << 20);
    return pair;
}

void BM_CopyBaseline16MiB(benchmark::State& state) {
    const Pair& pair = Large();
    for (auto _ : state) {
        Bytes copy(pair.original.begin(), pair.original.end());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (16 << 20));
}

void BM_Apply16MiB(benchmark::State& state) {
    const Pair& pair = Large();
    const auto format = static_cast<kestro::patch::PatchFormat>(state.range(0));
    const Bytes patch = kestro::patch::CreatePatch(format, pair.original, pair.modified).patch;
    if (kestro::patch::ApplyPatch(patch, pair.original).target != pair.modified) {
        state.SkipWithError("wrong result");
        return;
    }
    for (auto _ : state) {
        auto result = kestro::patch::ApplyPatch(patch, pair.original);
        benchmark::DoNotOptimize(result.target.data());
    }
    state.SetLabel(std::string(kestro::patch::FormatName(format)));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (16 << 20));
}

void BM_Create2MiB(benchmark::State& state) {
    const Pair pair(2u << 20);
    const auto format = static_cast<kestro::patch::PatchFormat>(state.range(0));
    std::size_t size = 0;
    for (auto _ : state) {
        const auto created = kestro::patch::CreatePatch(format, pair.original, pair.modified);
        size = created.patch.size();
        benchmark::DoNotOptimize(created.patch.data());
    }
    state.SetLabel(std::string(kestro::patch::FormatName(format)));
    state.counters["patch_bytes"] = static_cast<double>(size);
}

using kestro::patch::PatchFormat;
constexpr auto kIps = static_cast<std::int64_t>(PatchFormat::Ips);
constexpr auto kBps = static_cast<std::int64_t>(PatchFormat::Bps);
constexpr auto kUps = static_cast<std::int64_t>(PatchFormat::Ups);

BENCHMARK(BM_CopyBaseline16MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply16MiB)->Arg(kIps)->Arg(kBps)->Arg(kUps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Create2MiB)->Arg(kIps)->Arg(kBps)->Unit(benchmark::kMillisecond);

}  // namespace
