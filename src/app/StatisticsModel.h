// What the statistics page shows each time it appears: per registry category the problems found, fixed
// and ignored, the totals, and the speed-loss level.
#pragma once

#include <array>
#include <string>

#include "app/HealthStatus.h"
#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"

namespace brisko::app {

struct StatisticsRow {
    std::string name;
    std::string found;
    std::string fixed;
    std::string ignored;        // entries of the user's ignore list in this category
    bool showPriority = false;  // only for a category with problems found
    std::string priority;       // "High Priority", ...
};

struct StatisticsView {
    std::array<StatisticsRow, 12> rows;
    std::string problemsFoundLine;    // "Problems Found: 12"
    std::string problemsCleanedLine;  // "Problems Cleaned: 3"
    SpeedLoss speedLoss;
};

// `ignoredCounts` holds the number of ignore-list entries of each registry category.
StatisticsView BuildStatistics(scan::SettingsStore& store, const scan::ScanItemTable& items,
                               const std::array<int, 12>& ignoredCounts);

}  // namespace brisko::app
