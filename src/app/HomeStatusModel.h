// What the home page shows each time it appears: when the last scan ran, what it left to repair, and an
// alert chosen by the overall rating.
#pragma once

#include <string>

#include "platform/Clock.h"
#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"

namespace brisko::app {

struct HomeView {
    std::string heading;       // "Attention: System scan is recommended"
    bool scanned = false;      // false: no scan yet, the two lines below are empty
    std::string lastScanLine;  // "Last Scan: Today" or "Last Scan: 3 days ago"
    std::string summaryLine;   // "12 errors and 3.50 MB to clean"
    int ratings[5] = {};       // registry, disk, privacy, tune-up, overall
    int picture = 0;
    int alertRow = 0;  // 0 to 5
    std::string alertTitle;
    std::string alertText;  // markup; may hold an "app:WM_APP_FIXNOW" link
};

HomeView BuildHomeStatus(scan::SettingsStore& store, const scan::ScanItemTable& items,
                         const platform::SystemTime& now);

}  // namespace brisko::app
