// What the summary page shows each time it appears: when the last scan ran, how long ago, and the
// figures of that scan and of all scans so far.
#pragma once

#include <string>

#include "app/DisplayText.h"
#include "platform/Clock.h"
#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"

namespace brisko::app {

struct SummaryView {
    std::string dateLine;  // "09 May 2010, 14:03:22", or "Scan not yet performed"
    bool ageVisible = false;
    std::string ageLine;  // "Today" or "3 days ago"
    Colour ageColour;
    std::string registryErrorsLine;
    std::string diskItemsLine;
    std::string fixedToDateLine;
    std::string foundToDateLine;
};

SummaryView BuildSummary(scan::SettingsStore& store, const scan::ScanItemTable& items,
                         const platform::SystemTime& now);

// "Jan" to "Dec" for 1 to 12, whatever the system's language.
const char* ShortMonthName(int month);

}  // namespace brisko::app
