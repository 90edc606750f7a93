// SPDX-License-Identifier: GPL-3.0-or-later
// The checksum is the hot path of identification: one pass over a ROM image.
// Measured beside memcpy of the same bytes, so the ratio survives a noisy machine.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "kestro/VbChecksum.h"
#include "rom/Checksum.h"

namespace {

// A realistic ROM: 1 MiB and 2 MiB are the common cartridge sizes.
std::vector<std::uint8_t> RomBytes(std::size_t size) {
    std::vector<std::uint8_t> data(size);
    std::mt19937 random(7);
    for (auto& b : data) b = static_cast<std::uint8_t>(random());
    return data;
}

void BM_Checksum(benchmark::State& state) {
    const auto data = RomBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string text = kestro::rom::Checksum(data, false);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_ChecksumByteSum(benchmark::State& state) {
    const auto data = RomBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::uint32_t sum = kestro::checksum::ByteSum(data.data(), data.size());
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_Memcpy(benchmark::State& state) {
    const auto data = RomBytes(static_cast<std::size_t>(state.range(0)));
    std::vector<std::uint8_t> copy(data.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), data.data(), data.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

}  // namespace

BENCHMARK(BM_Checksum)->Arg(1 << 20)->Arg(2 << 20);
BENCHMARK(BM_ChecksumByteSum)->Arg(1 << 20)->Arg(2 << 20);
BENCHMARK(BM_Memcpy)->Arg(1 << 20)->Arg(2 << 20);
