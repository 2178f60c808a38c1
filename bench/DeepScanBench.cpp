// Deep Scan at scale: a machine with 1,000,000 values under HKLM\SOFTWARE, all naming files that exist (so
// nothing is found), scanned by the registry engine; beside it, bare existence tests of the same paths in
// the same run. Peak memory is reported with both.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "platform/sim/MachineBuilder.h"
#include "platform/sim/RegFile.h"
#include "platform/sim/SimMachine.h"
#include "scan/ScanMessages.h"
#include "scanners/registry/RegistryScanner.h"

namespace {

using namespace brisko;
using namespace brisko::platform;

constexpr int kValues = 1'000'000;
constexpr int kValuesPerKey = 10;
constexpr int kFiles = 1000;
constexpr unsigned kSeed = 7;

std::string FilePath(int file) {
    return "C:\\Program Files\\Bench\\lib" + std::to_string(file) + ".dll";
}

// The generated machine, made once for both benchmarks.
struct BenchMachine : bench::GeneratedMachine {
    BenchMachine() : GeneratedMachine("deepscan") {
        BenchMachine& machine = *this;
        machine->files.CreateDirectory("C:\\Program Files\\Bench");
        for (int file = 0; file < kFiles; ++file) {
            FileHandle handle;
            machine->files.OpenFile(FilePath(file), kGenericWrite, 0, kCreateAlways, handle);
        }
        sim::RegFileWriter writer;
        std::mt19937 random(kSeed);
        for (int key = 0; key < kValues / kValuesPerKey; ++key) {
            writer.BeginKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor" + std::to_string(key / 1000) +
                            "\\Product" + std::to_string(key));
            for (int v = 0; v < kValuesPerKey; ++v) {
                writer.WriteValue("File" + std::to_string(v), kRegSz,
                                  bench::StoredString(FilePath(static_cast<int>(random() % kFiles))));
            }
        }
        Import(writer.Finish());
    }
};

BenchMachine& Machine() {
    static BenchMachine bench;
    return bench;
}

void BM_DeepScanOfAMillionValues(benchmark::State& state) {
    BenchMachine& bench = Machine();
    bench::CategoryScan scan(*bench, scan::REG_DEEP_SCAN);
    bench::CountingWindow window;
    double before = bench::ResidentMegabytes();
    double growth = 0;
    for (auto _ : state) {
        scan.Run(window);
        growth = std::max(growth, bench::ResidentMegabytes() - before);
    }
    state.counters["resident MB"] = before;
    state.counters["scan growth MB"] = growth;
    state.counters["values/s"] = benchmark::Counter(
        static_cast<double>(kValues) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["found"] = static_cast<double>(window.found);
    state.counters["peak MB"] = bench::PeakMegabytes();
}
BENCHMARK(BM_DeepScanOfAMillionValues)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ExistenceTestsOfTheSamePaths(benchmark::State& state) {
    BenchMachine& bench = Machine();
    // The values' data again, drawn as the machine drew them.
    std::vector<std::string> paths;
    paths.reserve(kValues);
    std::mt19937 random(kSeed);
    for (int value = 0; value < kValues; ++value)
        paths.push_back(FilePath(static_cast<int>(random() % kFiles)));
    long present = 0;
    for (auto _ : state) {
        for (const std::string& path : paths)
            present += bench->shell.PathFileExists(path);
    }
    state.counters["paths/s"] = benchmark::Counter(
        static_cast<double>(kValues) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["present"] = static_cast<double>(present);
    state.counters["peak MB"] = bench::PeakMegabytes();
}
BENCHMARK(BM_ExistenceTestsOfTheSamePaths)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
