// SPDX-License-Identifier: GPL-3.0-or-later
// Saving Virtual-E's twelve options into a Wine prefix's user.reg of about
// 2 MB, as a save does (one group: one rewrite of the file), beside the same
// twelve values each written on its own (one rewrite, and one flush to disk,
// a value), as they were before saves were grouped.
//
//   build/bin/bench_registry
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/WineRegistry.h"

namespace {

namespace fs = std::filesystem;
using namespace kestro::base;

constexpr const char* kNames[] = {"Display",    "CPU",     "Brtness", "Style", "Skip",     "FPS",
                                  "DisplayInt", "TimeInt", "KeyInt",  "RAM",   "NPalette", "Sound"};

// A prefix whose user.reg holds about 2 MB of other programs' keys, made once.
std::string Prefix() {
    static const std::string prefix = [] {
        const fs::path dir = fs::temp_directory_path() / "kestro-bench-registry";
        fs::create_directories(dir);
        std::ofstream out(dir / "user.reg", std::ios::binary);
        out << "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n";
        char line[160];
        for (int key = 0; out.tellp() < 2 * 1024 * 1024; ++key) {
            std::snprintf(line, sizeof line, "[Software\\\\Vendor%04d\\\\Program] 1796539211\n#time=1dd854ca497f536\n",
                          key);
            out << line;
            for (int value = 0; value < 20; ++value) {
                std::snprintf(line, sizeof line, "\"Setting%02d\"=\"C:\\\\Program Files\\\\Vendor\\\\%d\"\n", value,
                              key * value);
                out << line;
            }
            out << '\n';
        }
        return dir.string();
    }();
    return prefix;
}

void Save(benchmark::State& state, bool grouped) {
    WineRegistryBackend backend(Prefix(), {[](const std::string&) { return false; }, nullptr, WineFileTimeNow});
    cRegistry reg(backend);
    reg.SetClassKey(HKEY_CURRENT_USER_);
    reg.SetSectionKey("Software\\Virtual-E\\VIRTUALE\\Options");
    reg.SetValueType(REG_DWORD_);
    std::int32_t round = 0;
    for (auto _ : state) {
        ++round;
        if (grouped) reg.BeginWrites();
        for (const char* name : kNames) {
            reg.SetValueKey(name);
            reg.SetValue(round);
        }
        if (grouped) reg.EndWrites();
    }
    state.counters["user.reg MB"] = static_cast<double>(fs::file_size(fs::path(Prefix()) / "user.reg")) / 1e6;
}

void BM_SaveTwelveValuesInOneGroup(benchmark::State& state) {
    Save(state, true);
}
void BM_SaveTwelveValuesOneByOne(benchmark::State& state) {
    Save(state, false);
}

BENCHMARK(BM_SaveTwelveValuesInOneGroup)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveTwelveValuesOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
