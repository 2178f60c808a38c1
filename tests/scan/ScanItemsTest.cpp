#include "scan/ScanItems.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/TestMachine.h"

namespace brisko::scan {
namespace {

TEST(ScanItemTable, HoldsTheFortyFiveRowsWithTheirKeysNamesAndSelection) {
    ScanItemTable table;
    struct Row {
        int row;
        const char* key;
        const char* name;
        int enabled;
    };
    const Row expected[] = {
        {0, "sftloc", "Software Locations", 1},
        {7, "fileref", "Virtual Devices", 1},
        {10, "custctrls", "Custom Controls", 1},
        {11, "deepscan", "Deep Scan", 1},
        {12, "Windows Temp Files", "Windows Temp Files", 1},
        {22, "Log Files(*.log)", "Log Files(*.log)", 1},
        {25, "IE Cookies", "IE Cookies", 1},
        {37, "Macromedia Flash", "Macromedia Flash", 0},
        {38, "clearpaging", "Don\xE2\x80\x99t clear paging files on shutdown", 1},
        {41, "search", "Disable Search for Network Files/ Printers", 1},
        {44, "bestper", "Reduce UI Effects for Best Performance", 0},
    };
    for (const Row& r : expected) {
        EXPECT_EQ(table.Row(r.row).key, r.key) << r.row;
        EXPECT_EQ(table.Row(r.row).displayName, r.name) << r.row;
        EXPECT_EQ(table.Row(r.row).enabled, r.enabled) << r.row;
        EXPECT_EQ(table.Row(r.row).note, "");
    }
    EXPECT_EQ(&table.At(kPrivacyEngine, 1), &table.Row(25));
    EXPECT_EQ(&table.At(kTuneupEngine, 6), &table.Row(44));
}

// Every field of every row different, so a value saved under the wrong name shows.
void FillDistinct(ScanItemTable& table) {
    for (int row = 0; row < kScanItemCount; ++row) {
        ScanItem& item = table.Row(row);
        item.enabled = row % 3 == 0 ? 0 : 1;
        item.found = 100 + row;
        item.fixed = 200 + row;
        item.foundSize = 1000.25 + row;
        item.fixedSize = 2000.5 + row;
    }
}

TEST(ScanItemTable, SurvivesSaveAndLoadInALaterRun) {
    test::TestMachine machine;
    {
        SettingsStore store(machine->registry);
        ScanItemTable table;
        FillDistinct(table);
        table.SaveScanItems(store);
    }
    machine.Reopen();
    SettingsStore store(machine->registry);
    ScanItemTable loaded;
    loaded.LoadScanItems(store);
    ScanItemTable expected;
    FillDistinct(expected);
    for (int row = 0; row < kScanItemCount; ++row) {
        const ScanItem& a = loaded.Row(row);
        const ScanItem& b = expected.Row(row);
        bool sized = row >= 12 && row < 38;  // tune-up and registry rows keep no sizes
        EXPECT_EQ(a.enabled, b.enabled) << row;
        EXPECT_EQ(a.found, b.found) << row;
        EXPECT_EQ(a.fixed, b.fixed) << row;
        EXPECT_EQ(a.foundSize, sized ? b.foundSize : 0) << row;
        EXPECT_EQ(a.fixedSize, sized ? b.fixedSize : 0) << row;
        EXPECT_EQ(a.displayName, b.displayName) << row;
    }
    // The names other parts and earlier versions rely on.
    EXPECT_EQ(store.ReadSettingInt("esftloc", -1), 100);
    EXPECT_EQ(store.ReadSettingString("sfIE Cookies", ""), "2025.500000");
    EXPECT_EQ(store.ReadSettingInt("fbestper", -1), 244);
    EXPECT_EQ(store.ReadSettingString("sclearpaging", "none"), "none");
}

TEST(ScanItemTable, LoadingAnEmptyStoreGivesTheDefaultsWhateverTheTableHeld) {
    test::TestMachine machine;
    SettingsStore store(machine->registry);
    ScanItemTable table;
    FillDistinct(table);
    table.LoadScanItems(store);
    ScanItemTable fresh;
    for (int row = 0; row < kScanItemCount; ++row) {
        EXPECT_EQ(table.Row(row).enabled, fresh.Row(row).enabled) << row;
        EXPECT_EQ(table.Row(row).found, 0);
        EXPECT_EQ(table.Row(row).foundSize, 0);
    }
    EXPECT_FALSE(table.EnabledFlags()[37]);
    EXPECT_TRUE(table.EnabledFlags()[36]);
}

TEST(ScanItemTable, SumsEachGroupAndAll) {
    ScanItemTable table;
    table.At(kRegistryEngine, 0).found = 5;
    table.At(kRegistryEngine, 11).found = 7;
    table.At(kRegistryEngine, 11).fixed = 2;
    table.At(kJunkFileEngine, 0).found = 3;
    table.At(kJunkFileEngine, 0).foundSize = 1000;
    table.At(kJunkFileEngine, 11).foundSize = 24;
    table.At(kJunkFileEngine, 11).fixedSize = 10;
    table.At(kPrivacyEngine, 13).found = 1;
    table.At(kPrivacyEngine, 13).foundSize = 1;
    table.At(kTuneupEngine, 6).found = 4;
    EXPECT_EQ(table.FoundCount(kRegistryEngine), 12);
    EXPECT_EQ(table.FixedCount(kRegistryEngine), 2);
    EXPECT_EQ(table.FoundCount(kTuneupEngine), 4);
    EXPECT_EQ(table.TotalFound(), 20);
    EXPECT_EQ(table.TotalFixed(), 2);
    EXPECT_EQ(table.FoundSize(kJunkFileEngine), 1024);
    EXPECT_EQ(table.FixedSize(kJunkFileEngine), 10);
    EXPECT_EQ(table.JunkSize(), 1025);
    std::string unit;
    EXPECT_EQ(table.FoundSize(kJunkFileEngine, unit), 1024);
    EXPECT_EQ(unit, "KB");
    EXPECT_DOUBLE_EQ(table.JunkSize(unit), 1025.0 / 1024);
    EXPECT_EQ(unit, "MB");
    EXPECT_EQ(table.FoundCount(4), 0);
    EXPECT_EQ(table.FoundSize(kRegistryEngine), 0);

    // A hand-edited store can hold counts whose sum does not fit an int.
    table.At(kRegistryEngine, 1).found = INT_MAX - 1;
    table.At(kRegistryEngine, 2).found = INT_MAX - 1;
    EXPECT_EQ(table.FoundCount(kRegistryEngine), INT_MAX);
    EXPECT_EQ(table.TotalFound(), INT_MAX);
}

TEST(ScanItemTable, ResetCountsClearsCountsAndSizesButNotTheSelection) {
    ScanItemTable table;
    FillDistinct(table);
    table.ResetCounts();
    for (int row = 0; row < kScanItemCount; ++row) {
        EXPECT_EQ(table.Row(row).found + table.Row(row).fixed, 0);
        EXPECT_EQ(table.Row(row).foundSize + table.Row(row).fixedSize, 0);
        EXPECT_EQ(table.Row(row).enabled, row % 3 == 0 ? 0 : 1);
    }
}

TEST(ScaleSize, MovesToTheNextUnitOnlyAboveTenTwentyFour) {
    struct Case {
        double kilobytes;
        double value;
        const char* unit;
    };
    const Case cases[] = {
        {0, 0, "KB"},
        {1024, 1024, "KB"},
        {1025, 1025.0 / 1024, "MB"},
        {1024.0 * 1024, 1024, "MB"},
        {1024.0 * 1024 + 1024, 1025.0 / 1024, "GB"},
        {1024.0 * 1024 * 1024 * 2, 2, "TB"},
        {1024.0 * 1024 * 1024 * 1024 * 3, 3072, "TB"},  // TB is the largest unit
    };
    for (const Case& c : cases) {
        std::string unit;
        EXPECT_DOUBLE_EQ(ScaleSize(c.kilobytes, unit), c.value) << c.kilobytes;
        EXPECT_EQ(unit, c.unit) << c.kilobytes;
    }
}

}  // namespace
}  // namespace brisko::scan
