// The registry tab of the scan settings: one box per registry category, bound to the enabled flags of the
// scan item table, and a box that tells when the last scan ran and what it found and fixed.
#pragma once

#include <string>

#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"

namespace brisko::app {

struct LastScanBox {
    std::string when;   // "Sun May 2010, 14:03:22", or "Last Scan : No Scan Performed Yet"
    std::string found;  // "12 \nErrors(s) Found"
    std::string fixed;  // "3 \nError(s) Fixed"
};

class RegistryOptionsModel {
public:
    explicit RegistryOptionsModel(scan::ScanItemTable& items) : items_(items) {}

    bool Checked(int category) const;
    // A change goes into the table at once, so a scan started meanwhile already uses it.
    void SetChecked(int category, bool on);
    // When the tab is hidden: the twelve flags go to the store.
    void Save(scan::SettingsStore& store) const;
    // When the tab is shown.
    LastScanBox LastScan(scan::SettingsStore& store) const;

private:
    scan::ScanItemTable& items_;
};

}  // namespace brisko::app
