// The simulated registry at scale: loading and saving a hive of 1,000,000 values, and walking a tree of
// 100,000 keys through the registry functions as a scanner does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/sim/RegFile.h"
#include "platform/sim/SimRegistry.h"

namespace {

using namespace brisko::platform;
using namespace brisko::platform::sim;

// A hive of `keys` keys under HKLM\SOFTWARE, ten values each of mixed types, as a program-heavy machine
// would hold.
std::string MakeHive(int keys) {
    RegFileWriter writer;
    std::mt19937 random(42);
    for (int k = 0; k < keys; ++k) {
        std::string path = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor" + std::to_string(k / 1000) + "\\Product" +
                           std::to_string(k / 10) + "\\Key" + std::to_string(k);
        writer.BeginKey(path);
        for (int v = 0; v < 10; ++v) {
            std::string name = "Value" + std::to_string(v);
            if (v % 3 == 0) {
                std::u16string text =
                    u"C:\\Program Files\\Vendor\\Product\\file" + std::u16string(1, u'a' + v) + u".dll";
                Bytes data;
                for (char16_t c : text)
                    data.push_back(static_cast<std::uint8_t>(c)), data.push_back(0);
                data.push_back(0), data.push_back(0);
                writer.WriteValue(name, kRegSz, data);
            } else if (v % 3 == 1) {
                Bytes data{static_cast<std::uint8_t>(random()), 0, 0, 0};
                writer.WriteValue(name, kRegDword, data);
            } else {
                Bytes data(24);
                for (auto& b : data)
                    b = static_cast<std::uint8_t>(random());
                writer.WriteValue(name, kRegBinary, data);
            }
        }
    }
    return writer.Finish();
}

struct HiveFolder {
    std::filesystem::path folder;
    std::size_t bytes = 0;
    explicit HiveFolder(int keys) {
        folder = std::filesystem::temp_directory_path() / ("brisko-bench-" + std::to_string(keys));
        std::filesystem::create_directories(folder);
        std::string text = MakeHive(keys);
        bytes = text.size();
        std::ofstream(folder / "HKLM.reg", std::ios::binary) << text;
    }
    ~HiveFolder() { std::filesystem::remove_all(folder); }
};

void BM_LoadHive(benchmark::State& state) {
    HiveFolder hive(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SimRegistry registry;
        std::string error;
        if (!registry.Load(hive.folder, {}, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(registry);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * hive.bytes));
    state.counters["values"] = static_cast<double>(state.range(0) * 10);
}
BENCHMARK(BM_LoadHive)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveHive(benchmark::State& state) {
    HiveFolder hive(static_cast<int>(state.range(0)));
    SimRegistry registry;
    std::string error;
    registry.Load(hive.folder, {}, error);
    std::filesystem::path out = hive.folder / "out";
    for (auto _ : state) {
        // Touch the hive so that it is written.
        RegKey key;
        registry.CreateKey(kLocalMachine, "SOFTWARE\\Touched", kKeyAllAccess, key);
        registry.DeleteKey(kLocalMachine, "SOFTWARE\\Touched");
        if (!registry.Save(out, error)) state.SkipWithError(error.c_str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * hive.bytes));
}
BENCHMARK(BM_SaveHive)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Opens and enumerates every key below `key`, and with `values` reads every value as a scanner does.
std::uint64_t Walk(Registry& registry, HKey key, bool values) {
    std::uint64_t count = 0;
    std::string name;
    RegValue value;
    for (std::uint32_t i = 0; registry.EnumKey(key, i, 1024, name) == kOk; ++i) {
        RegKey child;
        if (registry.OpenKey(key, name, kKeyRead, child) != kOk) continue;
        ++count;
        if (values) {
            for (std::uint32_t v = 0; registry.EnumValue(child.Get(), v, EnumLimits{}, value) == kOk; ++v) {
            }
        }
        count += Walk(registry, child.Get(), values);
    }
    return count;
}

void BM_EnumerateTree(benchmark::State& state) {
    HiveFolder hive(static_cast<int>(state.range(0)));
    SimRegistry registry;
    std::string error;
    registry.Load(hive.folder, {}, error);
    std::uint64_t keys = 0;
    for (auto _ : state) {
        RegKey software;
        registry.OpenKey(kLocalMachine, "SOFTWARE", kKeyRead, software);
        keys += Walk(registry, software.Get(), state.range(1) != 0);
    }
    state.counters["keys/s"] = benchmark::Counter(static_cast<double>(keys), benchmark::Counter::kIsRate);
}
// Second argument: 0 walks the keys, 1 also reads their ten values each.
BENCHMARK(BM_EnumerateTree)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);

}  // namespace
