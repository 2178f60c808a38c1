// The settings store and the scan item table on each backend's registry: what is written reads back the
// same, and what is not a proper setting reads as the default.
#include "contract/ContractEnv.h"
#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"

namespace brisko::contract {
namespace {

using namespace platform;

class SettingsStoreContract : public ::testing::Test {
protected:
    void TearDown() override { M().registry.DeleteTree(kCurrentUser, KeyPath()); }
    static std::string KeyPath() { return Env().scratchKey + "\\Settings"; }
    scan::SettingsStore store{M().registry, kCurrentUser, KeyPath()};
};

TEST_F(SettingsStoreContract, ValuesReadBackAsWritten) {
    ASSERT_TRUE(store.WriteSettingInt("pshred", 2));
    ASSERT_TRUE(store.WriteSettingInt("negative", -15));
    ASSERT_TRUE(store.WriteSettingString("lastScan", "05-09-2010 14:03:22"));
    ASSERT_TRUE(store.WriteSettingString("Caf\xc3\xa9", "na\xc3\xafve"));
    ASSERT_TRUE(store.WriteSettingSize("sIE Cookies", 1234.5));
    EXPECT_EQ(store.ReadSettingInt("pshred", 0), 2);
    EXPECT_EQ(store.ReadSettingInt("negative", 0), -15);
    EXPECT_EQ(store.ReadSettingString("lastScan", ""), "05-09-2010 14:03:22");
    EXPECT_EQ(store.ReadSettingString("caf\xc3\xa9", ""), "na\xc3\xafve");
    EXPECT_DOUBLE_EQ(store.ReadSettingSize("sIE Cookies", 0), 1234.5);

    // Every value is text in the registry, as other programs reading the store expect.
    RegKey key;
    ASSERT_EQ(M().registry.OpenKey(kCurrentUser, KeyPath(), kKeyRead, key), kOk);
    ValueType type = 0;
    Bytes data;
    ASSERT_EQ(M().registry.QueryValue(key.Get(), "pshred", 64, type, data), kOk);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(data, (Bytes{'2', 0}));
}

TEST_F(SettingsStoreContract, WhatIsNotAProperSettingReadsAsTheDefault) {
    RegKey key;
    ASSERT_EQ(M().registry.CreateKey(kCurrentUser, KeyPath(), kKeyAllAccess, key), kOk);
    const Bytes dword{5, 0, 0, 0};
    ASSERT_EQ(M().registry.SetValue(key.Get(), "dword", kRegDword, dword), kOk);
    const Bytes empty{0};
    ASSERT_EQ(M().registry.SetValue(key.Get(), "empty", kRegSz, empty), kOk);
    const std::string longText(2000, '7');
    Bytes tooLong(longText.begin(), longText.end());
    tooLong.push_back(0);
    ASSERT_EQ(M().registry.SetValue(key.Get(), "long", kRegSz, tooLong), kOk);
    for (const char* name : {"dword", "empty", "long", "missing"}) {
        EXPECT_EQ(store.ReadSettingInt(name, 42), 42) << name;
        EXPECT_EQ(store.ReadSettingString(name, "fallback"), "fallback") << name;
    }
}

TEST_F(SettingsStoreContract, TheScanItemTableSurvivesSaveAndLoad) {
    scan::ScanItemTable saved;
    saved.At(scan::kRegistryEngine, scan::REG_DEEP_SCAN).enabled = 0;
    saved.At(scan::kRegistryEngine, scan::REG_FONTS).found = 17;
    saved.At(scan::kJunkFileEngine, 3).foundSize = 2048.25;
    saved.At(scan::kPrivacyEngine, 13).fixed = 3;
    saved.At(scan::kTuneupEngine, 6).enabled = 1;
    saved.SaveScanItems(store);
    scan::ScanItemTable loaded;
    loaded.LoadScanItems(store);
    for (int row = 0; row < scan::kScanItemCount; ++row) {
        EXPECT_EQ(loaded.Row(row).enabled, saved.Row(row).enabled) << row;
        EXPECT_EQ(loaded.Row(row).found, saved.Row(row).found) << row;
        EXPECT_EQ(loaded.Row(row).fixed, saved.Row(row).fixed) << row;
        EXPECT_DOUBLE_EQ(loaded.Row(row).foundSize, saved.Row(row).foundSize) << row;
    }
}

}  // namespace
}  // namespace brisko::contract
