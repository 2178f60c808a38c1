#include "app/StatisticsModel.h"

#include "app/ResultsPage.h"
#include "strings/StringTable.h"

namespace brisko::app {

using strings::FormatPositional;
using strings::LoadStringOrMarks;

StatisticsView BuildStatistics(scan::SettingsStore& store, const scan::ScanItemTable& items,
                               const std::array<int, 12>& ignoredCounts) {
    StatisticsView view;
    for (int category = 0; category < 12; ++category) {
        const scan::ScanItem& item = items.At(scan::kRegistryEngine, category);
        StatisticsRow& row = view.rows[category];
        row.name = item.displayName;
        row.found = std::to_string(item.found);
        row.fixed = std::to_string(item.fixed);
        row.ignored = std::to_string(ignoredCounts[category]);
        row.showPriority = item.found != 0;
        row.priority = RegistryPriority(category);
    }
    view.problemsFoundLine = FormatPositional(LoadStringOrMarks(strings::kIdProblemsFound),
                                              {std::to_string(items.FoundCount(scan::kRegistryEngine))});
    view.problemsCleanedLine = FormatPositional(LoadStringOrMarks(strings::kIdProblemsCleaned),
                                                {std::to_string(items.FixedCount(scan::kRegistryEngine))});
    view.speedLoss = SpeedLossLevel(store, items);
    return view;
}

}  // namespace brisko::app
