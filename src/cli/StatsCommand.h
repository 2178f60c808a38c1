// `brisko stats`: the statistics and health figures of the last scan, as the statistics, summary and home
// pages show them.
#pragma once

#include "cli/CommandMachine.h"

namespace CLI {
class App;
}

namespace brisko::cli {

struct StatsOptions {
    MachineChoice machine;
};

void AddStatsCommand(CLI::App& app, StatsOptions& options);
int RunStatsCommand(const StatsOptions& options);

}  // namespace brisko::cli
