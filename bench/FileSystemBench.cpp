// Existence tests through the simulated file system against a plain stat() of the same host files: paths
// in their own case, in another case, and missing, in a small folder and in one of 5,000 entries.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sim/SimFileSystem.h"

namespace {

using namespace brisko::platform;
namespace fs = std::filesystem;

// The file system needs a registry only for delayed moves, which these runs never make.
class NoRegistry final : public Registry {
public:
    Status OpenKey(HKey, std::string_view, Access, RegKey&) override { return kAccessDenied; }
    Status CreateKey(HKey, std::string_view, Access, RegKey&, bool*) override { return kAccessDenied; }
    Status CloseKey(HKey) override { return kOk; }
    Status EnumKey(HKey, std::uint32_t, std::uint32_t, std::string&) override { return kNoMoreItems; }
    Status EnumValue(HKey, std::uint32_t, const EnumLimits&, RegValue&, bool) override {
        return kNoMoreItems;
    }
    Status QueryValue(HKey, std::string_view, std::uint32_t, ValueType&, Bytes&, std::uint32_t*) override {
        return kFileNotFound;
    }
    Status SetValue(HKey, std::string_view, ValueType, std::span<const std::uint8_t>) override {
        return kAccessDenied;
    }
    Status DeleteValue(HKey, std::string_view) override { return kAccessDenied; }
    Status DeleteKey(HKey, std::string_view) override { return kAccessDenied; }
    Status DeleteTree(HKey, std::string_view) override { return kAccessDenied; }
    Status QueryInfoKey(HKey, KeyInfo&) override { return kAccessDenied; }
};

constexpr int kSmall = 20;
constexpr int kLarge = 5000;

// One machine for all runs: C:\Windows\Small with 20 files and C:\Windows\System32 with 5,000.
struct Machine {
    Machine() : dir(fs::temp_directory_path() / ("brisko-fsbench-" + std::to_string(::getpid()))) {
        for (auto [folder, count] : {std::pair{"Small", kSmall}, std::pair{"System32", kLarge}}) {
            fs::create_directories(dir / "drives/C/Windows" / folder);
            for (int i = 0; i < count; ++i) {
                std::ofstream(dir / "drives/C/Windows" / folder / ("Module" + std::to_string(i) + ".dll"))
                    << "x";
            }
        }
        config.version.major = 6;
        config.drives = {{'C', kDriveFixed, 1, 1}};
        files = std::make_unique<sim::SimFileSystem>(config, dir, registry);
    }
    ~Machine() {
        files.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    fs::path dir;
    sim::MachineConfig config;
    NoRegistry registry;
    std::unique_ptr<sim::SimFileSystem> files;
};

Machine& TheMachine() {
    static Machine machine;
    return machine;
}

enum Spelling { kOwnCase, kOtherCase, kMissing };

std::vector<std::string> Names(int count, Spelling spelling) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string name = "Module" + std::to_string(spelling == kMissing ? i + count : i) + ".dll";
        if (spelling == kOtherCase) name = "MODULE" + std::to_string(i) + ".DLL";
        names.push_back(name);
    }
    return names;
}

void Simulated(benchmark::State& state, Spelling spelling) {
    Machine& machine = TheMachine();
    int count = static_cast<int>(state.range(0));
    std::string folder = spelling == kOtherCase ? "C:\\WINDOWS\\" : "C:\\Windows\\";
    folder += count == kLarge ? (spelling == kOtherCase ? "SYSTEM32\\" : "System32\\") : "Small\\";
    std::vector<std::string> paths;
    for (const std::string& name : Names(count, spelling))
        paths.push_back(folder + name);
    std::size_t i = 0;
    for (auto _ : state) {
        std::uint32_t attributes = 0;
        benchmark::DoNotOptimize(machine.files->GetAttributes(paths[i], attributes));
        i = (i + 1) % paths.size();
    }
}

void Native(benchmark::State& state, Spelling spelling) {
    Machine& machine = TheMachine();
    int count = static_cast<int>(state.range(0));
    fs::path folder = machine.dir / "drives/C/Windows" / (count == kLarge ? "System32" : "Small");
    std::vector<std::string> paths;
    for (const std::string& name : Names(count, spelling))
        paths.push_back((folder / name).string());
    std::size_t i = 0;
    for (auto _ : state) {
        struct stat info {};
        benchmark::DoNotOptimize(::stat(paths[i].c_str(), &info));
        i = (i + 1) % paths.size();
    }
}

BENCHMARK_CAPTURE(Native, present, kOwnCase)->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(Simulated, present, kOwnCase)->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(Simulated, present_other_case, kOtherCase)->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(Native, missing, kMissing)->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(Simulated, missing, kMissing)->Arg(kSmall)->Arg(kLarge);

}  // namespace
