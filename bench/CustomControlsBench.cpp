// Custom Controls at scale: a class registry of 200,000 keys (classes with their servers, programmatic
// identifiers, interfaces and type libraries, all naming files and classes that exist, so nothing is
// found), scanned by the registry engine. Peak memory is reported beside the rate.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "BenchSupport.h"
#include "platform/sim/MachineBuilder.h"
#include "platform/sim/RegFile.h"
#include "platform/sim/SimMachine.h"
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

struct BenchMachine : bench::GeneratedMachine {
    BenchMachine() : GeneratedMachine("customcontrols") {
        BenchMachine& machine = *this;
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
            writer.WriteValue("", kRegSz, bench::StoredString("Bench Control " + std::to_string(c)));
            writer.BeginKey(root + "CLSID\\" + classId + "\\InprocServer32");
            writer.WriteValue("", kRegSz, bench::StoredString(file));
            writer.WriteValue("ThreadingModel", kRegSz, bench::StoredString("Apartment"));
            const std::string progId = root + "Bench.Control" + std::to_string(c);
            writer.BeginKey(progId);
            writer.BeginKey(progId + "\\CLSID");
            writer.WriteValue("", kRegSz, bench::StoredString(classId));
            const std::string iface = root + "Interface\\" + Guid('1', c);
            writer.BeginKey(iface);
            writer.BeginKey(iface + "\\ProxyStubClsid32");
            writer.WriteValue("", kRegSz, bench::StoredString(classId));
            const std::string library = root + "TypeLib\\" + Guid('7', c);
            writer.BeginKey(library);
            writer.BeginKey(library + "\\1.0");
            writer.BeginKey(library + "\\1.0\\0");
            writer.BeginKey(library + "\\1.0\\0\\win32");
            writer.WriteValue("", kRegSz, bench::StoredString(file));
        }
        Import(writer.Finish());
        // A rate over keys that were never made would mean nothing.
        RegKey classes;
        KeyInfo info;
        if (machine->registry.OpenKey(kClassesRoot, "CLSID", kKeyRead, classes) != kOk ||
            machine->registry.QueryInfoKey(classes.Get(), info) != kOk || info.subKeys < kComponents) {
            throw std::runtime_error("the generated class registry was not imported");
        }
    }
};

BenchMachine& Machine() {
    static BenchMachine bench;
    return bench;
}

void BM_CustomControlsOf200kKeys(benchmark::State& state) {
    BenchMachine& bench = Machine();
    bench::CategoryScan scan(*bench, scan::REG_CUSTOM_CONTROLS);
    bench::CountingWindow window;
    for (auto _ : state)
        scan.Run(window);
    state.counters["keys/s"] = benchmark::Counter(
        static_cast<double>(kKeys) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["found"] = static_cast<double>(window.found);
    state.counters["peak MB"] = bench::PeakMegabytes();
}
BENCHMARK(BM_CustomControlsOf200kKeys)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
