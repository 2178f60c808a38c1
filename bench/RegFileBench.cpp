// Speed of the .reg reader and writer on a hive of 1,000,000 values (100,000 keys of ten values each, the
// mix of a real software hive: strings, dwords, binary and multi-string data). Reports bytes per second.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/sim/RegFile.h"

namespace {

using namespace brisko::platform;
using namespace brisko::platform::sim;

constexpr int kKeys = 100'000;
constexpr int kValuesPerKey = 10;

struct Value {
    std::string name;
    ValueType type;
    Bytes data;
};

std::vector<Value> MakeValues(int key) {
    auto text = [](const std::u16string& s) {
        std::string bytes;
        AppendUtf16Bytes(s + u'\0', bytes);
        return Bytes(bytes.begin(), bytes.end());
    };
    std::u16string n = std::u16string(u"") + static_cast<char16_t>(u'0' + key % 10);
    Bytes binary(24 + key % 40);
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<std::uint8_t>(i * 31 + key);
    return {
        {"", kRegSz, text(u"Default value " + n)},
        {"DisplayName", kRegSz, text(u"Some Program " + n + u" (x64)")},
        {"InstallLocation", kRegSz, text(u"C:\\Program Files\\Vendor\\Program " + n + u"\\")},
        {"UninstallString", kRegSz, text(u"\"C:\\Program Files\\Vendor\\uninstall.exe\" /S")},
        {"EstimatedSize", kRegDword, Bytes{0x10, 0x27, 0, 0}},
        {"NoModify", kRegDword, Bytes{1, 0, 0, 0}},
        {"Path", kRegExpandSz, text(u"%ProgramFiles%\\Vendor\\bin")},
        {"Settings", kRegBinary, binary},
        {"Files", kRegMultiSz, text(std::u16string(u"a.dll\0b.dll\0", 12))},
        {"Stamp", kRegQword, Bytes{1, 2, 3, 4, 5, 6, 7, 8}},
    };
}

std::string MakeHive() {
    RegFileWriter writer;
    for (int k = 0; k < kKeys; ++k) {
        writer.BeginKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{" +
                        std::to_string(k) + "}");
        for (const Value& v : MakeValues(k))
            writer.WriteValue(v.name, v.type, v.data);
    }
    return writer.Finish();
}

const std::string& Hive() {
    static const std::string hive = MakeHive();
    return hive;
}

// Counts what it is told and copies each value's data, as a registry filling itself would.
class CopyingSink : public RegFileSink {
public:
    void OnKey(std::string_view path) override { keys += !path.empty(); }
    void OnDeleteKey(std::string_view) override {}
    void OnValue(std::string_view name, ValueType, std::span<const std::uint8_t> data) override {
        ++values;
        last.assign(data.begin(), data.end());
        bytes += name.size() + data.size();
    }
    void OnDeleteValue(std::string_view) override {}
    std::size_t keys = 0, values = 0, bytes = 0;
    Bytes last;
};

void BM_ReadRegFile(benchmark::State& state) {
    const std::string& hive = Hive();
    for (auto _ : state) {
        CopyingSink sink;
        RegFileResult result = ReadRegFile(hive, RegFileMode::kStrict, sink);
        if (!result.ok || sink.values != kKeys * kValuesPerKey) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(sink.bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * hive.size()));
    state.counters["values"] = kKeys * kValuesPerKey;
}
BENCHMARK(BM_ReadRegFile)->Unit(benchmark::kMillisecond);

void BM_ReadRegFileUtf16(benchmark::State& state) {
    static const std::string hive = EncodeUtf16File(Hive());
    for (auto _ : state) {
        CopyingSink sink;
        RegFileResult result = ReadRegFile(hive, RegFileMode::kStrict, sink);
        if (!result.ok || sink.values != kKeys * kValuesPerKey) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(sink.bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * hive.size()));
}
BENCHMARK(BM_ReadRegFileUtf16)->Unit(benchmark::kMillisecond);

void BM_WriteRegFile(benchmark::State& state) {
    std::vector<std::vector<Value>> values;
    values.reserve(kKeys);
    std::vector<std::string> paths;
    for (int k = 0; k < kKeys; ++k) {
        values.push_back(MakeValues(k));
        paths.push_back("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{" +
                        std::to_string(k) + "}");
    }
    std::size_t size = 0;
    for (auto _ : state) {
        RegFileWriter writer;
        for (int k = 0; k < kKeys; ++k) {
            writer.BeginKey(paths[k]);
            for (const Value& v : values[k])
                writer.WriteValue(v.name, v.type, v.data);
        }
        std::string text = writer.Finish();
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_WriteRegFile)->Unit(benchmark::kMillisecond);

}  // namespace
