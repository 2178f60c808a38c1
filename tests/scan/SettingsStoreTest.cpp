#include "scan/SettingsStore.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/TestMachine.h"

namespace brisko::scan {
namespace {

using namespace platform;

// Stores a value of any type and bytes under the settings key, as a hand edit or another program could.
void StoreRaw(Registry& registry, std::string_view name, ValueType type, Bytes data) {
    RegKey key;
    ASSERT_EQ(registry.CreateKey(kLocalMachine, kSettingsKeyPath, kKeyAllAccess, key), kOk);
    ASSERT_EQ(registry.SetValue(key.Get(), name, type, data), kOk);
}

Bytes Text(std::string_view text, bool terminated = true) {
    Bytes bytes(text.begin(), text.end());
    if (terminated) bytes.push_back(0);
    return bytes;
}

Bytes StoredBytes(Registry& registry, std::string_view name, ValueType& type) {
    RegKey key;
    Bytes data;
    if (registry.OpenKey(kLocalMachine, kSettingsKeyPath, kKeyRead, key) != kOk) return data;
    registry.QueryValue(key.Get(), name, 4096, type, data);
    return data;
}

TEST(SettingsStore, RoundTripsWhatItWritesAsZeroTerminatedText) {
    test::TestMachine machine;
    SettingsStore store(machine->registry);
    for (int value : {0, 1, -1, 1534, INT_MAX - 1, INT_MIN + 1}) {
        ASSERT_TRUE(store.WriteSettingInt("n", value));
        EXPECT_EQ(store.ReadSettingInt("n", 42), value);
    }
    for (const char* text : {"05-09-2010 14:03:22", "Errors Fixed", "Don\u2019t", " padded "}) {
        ASSERT_TRUE(store.WriteSettingString("t", text));
        EXPECT_EQ(store.ReadSettingString("t", "default"), text);
    }
    for (double size : {0.0, 1.5, 1234.000001, 1e12}) {
        ASSERT_TRUE(store.WriteSettingSize("s", size));
        EXPECT_DOUBLE_EQ(store.ReadSettingSize("s", -1), size);
    }

    machine.Reopen();  // and they are what a later run reads
    SettingsStore later(machine->registry);
    EXPECT_EQ(later.ReadSettingString("t", ""), " padded ");

    ValueType type = kRegNone;
    EXPECT_EQ(StoredBytes(machine->registry, "n", type), Text("-2147483647"));
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(StoredBytes(machine->registry, "s", type), Text("1000000000000.000000"));
}

TEST(SettingsStore, ReadsAnythingUnusableAsTheDefault) {
    struct Case {
        const char* what;
        ValueType type;
        Bytes data;
        int expected;  // with default 42
    };
    const Case cases[] = {
        {"empty text", kRegSz, Text(""), 42},
        {"not a number", kRegSz, Text("abc"), 0},
        {"number then text, blanks before", kRegSz, Text(" \t-17xyz"), -17},
        {"plus sign", kRegSz, Text("+3"), 3},
        {"largest int", kRegSz, Text("2147483647"), 42},
        {"smallest int", kRegSz, Text("-2147483648"), 42},
        {"beyond int", kRegSz, Text("99999999999"), 42},
        {"expandable text", kRegExpandSz, Text("5"), 5},
        {"a DWORD", kRegDword, Bytes{5, 0, 0, 0}, 42},
        {"text without its terminating zero", kRegSz, Text("5", false), 42},
        {"200 characters", kRegSz, Text(std::string(199, ' ') + "7"), 42},
        {"199 characters", kRegSz, Text(std::string(198, ' ') + "7"), 7},
    };
    for (const Case& c : cases) {
        test::TestMachine machine;
        StoreRaw(machine->registry, "v", c.type, c.data);
        SettingsStore store(machine->registry);
        EXPECT_EQ(store.ReadSettingInt("v", 42), c.expected) << c.what;
    }
    test::TestMachine machine;
    SettingsStore store(machine->registry);
    EXPECT_EQ(store.ReadSettingInt("missing", 42), 42);
    EXPECT_EQ(store.ReadSettingString("missing", "d"), "d");
    StoreRaw(machine->registry, "empty", kRegSz, Text(""));
    EXPECT_EQ(store.ReadSettingString("empty", "d"), "d");
    StoreRaw(machine->registry, "dword", kRegDword, Bytes{'a', 0, 0, 0});
    EXPECT_EQ(store.ReadSettingString("dword", "d"), "d");
    StoreRaw(machine->registry, "long", kRegSz, Text(std::string(1024, 'x')));
    EXPECT_EQ(store.ReadSettingString("long", "d"), "d");
    StoreRaw(machine->registry, "fits", kRegSz, Text(std::string(1023, 'x')));
    EXPECT_EQ(store.ReadSettingString("fits", "d").size(), 1023u);
    StoreRaw(machine->registry, "size", kRegSz, Text("junk"));
    EXPECT_EQ(store.ReadSettingSize("size", 9), 0);
    StoreRaw(machine->registry, "size", kRegSz, Text("1e999"));
    EXPECT_EQ(store.ReadSettingSize("size", 9), 9);
}

TEST(SettingsStore, AFailedWriteSaysSoAndReadsFallBack) {
    test::TestMachine machine;
    machine.EditConfig(
        [](auto& config) { config.deniedKeys.push_back("HKEY_LOCAL_MACHINE\\SOFTWARE\\Brisko"); });
    SettingsStore store(machine->registry);
    EXPECT_FALSE(store.WriteSettingInt("n", 5));
    EXPECT_FALSE(store.WriteSettingString("t", "x"));
    EXPECT_EQ(store.ReadSettingInt("n", 42), 42);
    std::vector<RegValue> values{RegValue{"sentinel", kRegSz, {}}};
    EXPECT_FALSE(store.ReadAllSettings(values));
    EXPECT_EQ(values.size(), 1u);
}

TEST(SettingsStore, DeletesAndListsValues) {
    test::TestMachine machine;
    SettingsStore store(machine->registry);
    std::vector<RegValue> values;
    EXPECT_TRUE(store.ReadAllSettings(values));  // no key yet
    EXPECT_TRUE(values.empty());
    EXPECT_TRUE(store.DeleteSetting("new"));
    store.WriteSettingInt("new", 1);
    store.WriteSettingString("lastScan", "05-09-2010 14:03:22");
    ASSERT_TRUE(store.ReadAllSettings(values));
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[1].name, "lastScan");
    EXPECT_TRUE(store.DeleteSetting("NEW"));
    EXPECT_EQ(store.ReadSettingInt("new", 0), 0);
}

}  // namespace
}  // namespace brisko::scan
