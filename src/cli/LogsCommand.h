// `brisko logs [list | show FILE | delete FILE]`: the activity logs in the data folder, as the log
// details page lists them. FILE is a name from the list, never a path.
#pragma once

#include <string>

#include "cli/CommandMachine.h"

namespace CLI {
class App;
}

namespace brisko::cli {

struct LogsOptions {
    MachineChoice machine;
    std::string file;
    CLI::App* show = nullptr;
    CLI::App* remove = nullptr;
};

void AddLogsCommand(CLI::App& app, LogsOptions& options);
int RunLogsCommand(const LogsOptions& options);

}  // namespace brisko::cli
