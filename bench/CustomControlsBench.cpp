// Custom Controls at scale: a class registry of 200,000 keys (classes with their servers, programmatic
// identifiers, interfaces and type libraries, all naming files and classes that exist, so nothing is
// found), scanned by the registry engine. Peak memory is reported beside the rate.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/sim/MachineBuilder.h"
#include "platform/sim/RegFile.h"
#include "platform/sim/SimMachine.h"
#include "scan/ActivityLog.h"
#include "scan/ScanMessages.h"
#include "scanners/registry/RegistryScanner.h"

namespace {

using namespace brisko;
using namespace brisko::platform;

// Each component makes ten keys: its class and server, a programmatic identifier and its CLSID key, an
// interface and its proxy key, and a type library with its version, locale and win32 keys.
constexpr int kKeysPerComponent = 10;
constexpr int kComponents = 20'000;
constexpr int kKeys = kComponents * kKeysPerComponent;
constexpr int kFiles = 1000;
constexpr const char* kClasses = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";

std::string FilePath(int file) {
    return "C:\\Program Files\\Bench\\ctl" + std::to_string(file) + ".dll";
}

std::string Guid(char kind, int number) {
    char text[40];
    const auto value = static_cast<unsigned>(number);
    std::snprintf(text, sizeof text, "{%c%07X-0000-4000-8000-%012X}", kind, value, value);
    return text;
}

Bytes Utf16(const std::string& text) {
    Bytes data;
    for (char c : text)
        data.push_back(static_cast<std::uint8_t>(c)), data.push_back(0);
    data.push_back(0), data.push_back(0);
    return data;
}

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

struct BenchMachine {
    std::filesystem::path folder;
    std::unique_ptr<sim::SimMachine> machine;

    BenchMachine() {
        folder = std::filesystem::temp_directory_path() / "brisko-bench-customcontrols";
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
        const std::string root = kClasses;
        for (int c = 0; c < kComponents; ++c) {
            const std::string classId = Guid('C', c);
            const std::string file = FilePath(c % kFiles);
            writer.BeginKey(root + "CLSID\\" + classId);
            writer.WriteValue("", kRegSz, Utf16("Bench Control " + std::to_string(c)));
            writer.BeginKey(root + "CLSID\\" + classId + "\\InprocServer32");
            writer.WriteValue("", kRegSz, Utf16(file));
            writer.WriteValue("ThreadingModel", kRegSz, Utf16("Apartment"));
            const std::string progId = root + "Bench.Control" + std::to_string(c);
            writer.BeginKey(progId);
            writer.BeginKey(progId + "\\CLSID");
            writer.WriteValue("", kRegSz, Utf16(classId));
            const std::string iface = root + "Interface\\" + Guid('1', c);
            writer.BeginKey(iface);
            writer.BeginKey(iface + "\\ProxyStubClsid32");
            writer.WriteValue("", kRegSz, Utf16(classId));
            const std::string library = root + "TypeLib\\" + Guid('7', c);
            writer.BeginKey(library);
            writer.BeginKey(library + "\\1.0");
            writer.BeginKey(library + "\\1.0\\0");
            writer.BeginKey(library + "\\1.0\\0\\win32");
            writer.WriteValue("", kRegSz, Utf16(file));
        }
        machine->SimulatedRegistry().Import(writer.Finish());
        // A rate over keys that were never made would mean nothing.
        RegKey classes;
        KeyInfo info;
        if (machine->registry.OpenKey(kClassesRoot, "CLSID", kKeyRead, classes) != kOk ||
            machine->registry.QueryInfoKey(classes.Get(), info) != kOk || info.subKeys < kComponents) {
            throw std::runtime_error("the generated class registry was not imported");
        }
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

void BM_CustomControlsOf200kKeys(benchmark::State& state) {
    BenchMachine& bench = Machine();
    scan::MemoryLog log;
    scan::ProblemLists problems;
    scan::ScanContext context{*bench.machine, log, problems, {}, {}};
    bool enabled[12] = {};
    enabled[scan::REG_CUSTOM_CONTROLS] = true;
    CountingWindow window;
    for (auto _ : state) {
        scanners::RegistryScanner scanner(context, enabled);
        scanner.Scan(window);
    }
    state.counters["keys/s"] = benchmark::Counter(
        static_cast<double>(kKeys) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["found"] = static_cast<double>(window.found);
    state.counters["peak MB"] = PeakMegabytes();
}
BENCHMARK(BM_CustomControlsOf200kKeys)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
