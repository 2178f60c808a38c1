// The scan item table: one row for each of the 45 selectable scan items of the four engines, with the
// user's selection and the counts and sizes of the last scan and repair, persisted in the settings store.
#pragma once

#include <array>
#include <string>

#include "scan/Problem.h"
#include "scan/SettingsStore.h"

namespace brisko::scan {

struct ScanItem {
    std::string key;          // base of the names the row is stored under
    std::string displayName;
    std::string note;
    int enabled = 1;
    int found = 0;
    int fixed = 0;
    double foundSize = 0;     // kilobytes (junk files and privacy only)
    double fixedSize = 0;
};

class ScanItemTable {
public:
    // The 45 rows with their keys, names and default selection.
    ScanItemTable();

    ScanItem& At(int engine, int category) { return rows_[kFirstScanItem[engine] + category]; }
    const ScanItem& At(int engine, int category) const { return rows_[kFirstScanItem[engine] + category]; }
    ScanItem& Row(int row) { return rows_[row]; }
    const ScanItem& Row(int row) const { return rows_[row]; }

    // The enabled flags in row order, as a scan controller is made with them.
    std::array<bool, kScanItemCount> EnabledFlags() const;
    // Sets the found and fixed counts and sizes of every row to zero.
    void ResetCounts();

    void LoadScanItems(SettingsStore& store);
    void SaveScanItems(SettingsStore& store) const;

    int FoundCount(int engine) const;
    int FixedCount(int engine) const;
    int TotalFound() const;
    int TotalFixed() const;
    double FoundSize(int engine) const;
    double FixedSize(int engine) const;
    double JunkSize() const;

private:
    std::array<ScanItem, kScanItemCount> rows_;
};

}  // namespace brisko::scan
