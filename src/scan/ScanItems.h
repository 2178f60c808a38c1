// The scan item table: one row for each of the 45 selectable scan items of the four engines, with the
// user's selection and the counts and sizes of the last scan and repair, persisted in the settings store.
#pragma once

#include <array>
#include <string>

#include "scan/Problem.h"
#include "scan/SettingsStore.h"

namespace brisko::scan {

struct ScanItem {
    std::string key;  // base of the names the row is stored under
    std::string displayName;
    std::string note;
    int enabled = 1;
    int found = 0;
    int fixed = 0;
    double foundSize = 0;  // kilobytes (junk files and privacy only)
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

    // Sums over an engine's rows, or over all rows. A hand-edited store can hold any count, so sums
    // stop at the limits of int instead of overflowing. An engine outside 0 to 3 sums to 0.
    int FoundCount(int engine) const;
    int FixedCount(int engine) const;
    int TotalFound() const;
    int TotalFixed() const;
    // Sums of the sizes in kilobytes, unscaled (junk files and privacy; other engines have none).
    double FoundSize(int engine) const;
    double FixedSize(int engine) const;
    double JunkSize() const;  // found sizes of junk files and privacy together
    // The same sums scaled for display: the value, and the unit ("KB", "MB", "GB" or "TB") in `unit`.
    double FoundSize(int engine, std::string& unit) const;
    double FixedSize(int engine, std::string& unit) const;
    double JunkSize(std::string& unit) const;

private:
    std::array<ScanItem, kScanItemCount> rows_;
};

// Scales kilobytes for display: above 1024 KB to MB, above 1024 MB to GB, above 1024 GB to TB (exactly
// 1024 stays in the smaller unit). Returns the value and sets `unit`.
double ScaleSize(double kilobytes, std::string& unit);

}  // namespace brisko::scan
