// Deep Scan at scale: a machine with 1,000,000 values under HKLM\SOFTWARE, all naming files that exist (so
// nothing is found), scanned by the registry engine; beside it, bare existence tests of the same paths in
// the same run. Peak memory is reported with both.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/sim/MachineBuilder.h"
#include "platform/sim/RegFile.h"
#include "platform/sim/SimMachine.h"
#include "scan/ActivityLog.h"
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

// Answers every notification and releases what is reported, counting it.
class CountingWindow final : public Notifier {
public:
    std::intptr_t Send(std::uint32_t message, std::uintptr_t, std::intptr_t lParam) override {
        if (message == scan::kMsgProblemFound) {
            delete reinterpret_cast<scan::CRegistryProblem*>(lParam);
            ++found;
        }
        return 1;
    }
    long found = 0;
};

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Resident memory now, from /proc.
double ResidentMegabytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return 0;
    long pages = 0;
    long resident = 0;
    int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
    std::fclose(statm);
    return read == 2 ? static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0) : 0;
}

// The generated machine, made once for both benchmarks.
struct BenchMachine {
    std::filesystem::path folder;
    std::unique_ptr<sim::SimMachine> machine;

    BenchMachine() {
        folder = std::filesystem::temp_directory_path() / "brisko-bench-deepscan";
        std::filesystem::remove_all(folder);
        std::string error;
        if (!sim::CreateMachine(folder, "win7", error)) throw std::runtime_error(error);
        machine = sim::SimMachine::Open(folder, error);
        if (!machine) throw std::runtime_error(error);
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
                std::string path = FilePath(static_cast<int>(random() % kFiles));
                std::u16string wide(path.begin(), path.end());
                Bytes data;
                for (char16_t c : wide)
                    data.push_back(static_cast<std::uint8_t>(c)), data.push_back(0);
                data.push_back(0), data.push_back(0);
                writer.WriteValue("File" + std::to_string(v), kRegSz, data);
            }
        }
        machine->SimulatedRegistry().Import(writer.Finish());
        // What the generation freed goes back to the system, so resident memory is the machine's.
        malloc_trim(0);
    }
    ~BenchMachine() {
        machine.reset();
        std::filesystem::remove_all(folder);
    }
};

BenchMachine& Machine() {
    static BenchMachine bench;
    return bench;
}

void BM_DeepScanOfAMillionValues(benchmark::State& state) {
    BenchMachine& bench = Machine();
    scan::MemoryLog log;
    scan::ProblemLists problems;
    scan::ScanContext context{*bench.machine, log, problems, {}, {}};
    bool enabled[12] = {};
    enabled[scan::REG_DEEP_SCAN] = true;
    CountingWindow window;
    double before = ResidentMegabytes();
    double growth = 0;
    for (auto _ : state) {
        scanners::RegistryScanner scanner(context, enabled);
        scanner.Scan(window);
        growth = std::max(growth, ResidentMegabytes() - before);
    }
    state.counters["resident MB"] = before;
    state.counters["scan growth MB"] = growth;
    state.counters["values/s"] = benchmark::Counter(
        static_cast<double>(kValues) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["found"] = static_cast<double>(window.found);
    state.counters["peak MB"] = PeakMegabytes();
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
            present += bench.machine->shell.PathFileExists(path);
    }
    state.counters["paths/s"] = benchmark::Counter(
        static_cast<double>(kValues) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["present"] = static_cast<double>(present);
    state.counters["peak MB"] = PeakMegabytes();
}
BENCHMARK(BM_ExistenceTestsOfTheSamePaths)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
