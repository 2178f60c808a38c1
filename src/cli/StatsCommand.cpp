#include "cli/StatsCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "app/HealthStatus.h"
#include "app/HomeStatusModel.h"
#include "app/StatisticsModel.h"
#include "app/SummaryModel.h"
#include "cli/ExitCodes.h"
#include "scan/IgnoreList.h"
#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"

namespace brisko::cli {

namespace {

// The pages lay some lines out with tabs and line breaks; a terminal line reads better with one blank.
std::string OneLine(std::string text) {
    std::string out;
    for (char c : text) {
        bool blank = c == '\t' || c == '\n';
        if (blank && (out.empty() || out.back() == ' ')) continue;
        out += blank ? ' ' : c;
    }
    return out;
}

}  // namespace

void AddStatsCommand(CLI::App& app, StatsOptions& options) {
    CLI::App* stats =
        app.add_subcommand("stats", "Statistics and health of the last scan, as the program shows them");
    AddMachineOptions(*stats, options.machine);
}

int RunStatsCommand(const StatsOptions& options) {
    std::unique_ptr<CommandMachine> opened = OpenMachineForCommand(options.machine);
    if (!opened) return kExitMachine;
    platform::Machine& machine = opened->Get();
    scan::SettingsStore store(machine.registry);
    scan::ScanItemTable items;
    items.LoadScanItems(store);
    scan::IgnoreList ignored(machine.files, scan::IgnoreListPath(machine.system));
    ignored.LoadIgnoreList();  // a missing list is an empty one
    std::array<int, 12> ignoredCounts{};
    for (int category = 0; category < 12; ++category)
        ignoredCounts[category] = ignored.CountForCategory(category);

    platform::SystemTime now = machine.clock.GetLocalTime();
    app::StatisticsView statistics = app::BuildStatistics(store, items, ignoredCounts);
    app::SummaryView summary = app::BuildSummary(store, items, now);
    app::HomeView home = app::BuildHomeStatus(store, items, now);
    app::HealthLabel health = app::RegistryHealthLabel(store, now);

    std::printf("Last scan: %s%s%s\n", summary.dateLine.c_str(), summary.ageVisible ? ", " : "",
                summary.ageVisible ? summary.ageLine.c_str() : "");
    std::printf("%s %s\n", health.caption.c_str(), health.text.c_str());
    std::printf("%s\n", statistics.speedLoss.text.c_str());
    if (home.scanned) {
        std::printf("Ratings: registry %d, disk %d, privacy %d, tune-up %d, overall %d\n", home.ratings[0],
                    home.ratings[1], home.ratings[2], home.ratings[3], home.ratings[4]);
        std::printf("%s\n", home.summaryLine.c_str());
    }
    std::printf("%s\n\n", home.alertTitle.c_str());

    std::printf("%-28s %7s %7s %7s  %s\n", "Registry category", "Found", "Fixed", "Ignored", "Priority");
    for (const app::StatisticsRow& row : statistics.rows) {
        std::printf("%-28s %7s %7s %7s  %s\n", row.name.c_str(), row.found.c_str(), row.fixed.c_str(),
                    row.ignored.c_str(), row.showPriority ? row.priority.c_str() : "");
    }
    std::printf("%s\n%s\n\n", statistics.problemsFoundLine.c_str(), statistics.problemsCleanedLine.c_str());
    for (const std::string* line : {&summary.registryErrorsLine, &summary.diskItemsLine,
                                    &summary.fixedToDateLine, &summary.foundToDateLine}) {
        std::printf("%s\n", OneLine(*line).c_str());
    }
    return kExitOk;
}

}  // namespace brisko::cli
