// `brisko settings [list | get NAME | set NAME VALUE]`: the program's settings store, read with the same
// rules and defaults as the program and written with the same encoding, so what the command sets is what
// the program reads.
#pragma once

#include <string>

#include "cli/CommandMachine.h"

namespace CLI {
class App;
}

namespace brisko::cli {

struct SettingsOptions {
    MachineChoice machine;
    std::string name;
    std::string value;
    CLI::App* get = nullptr;
    CLI::App* set = nullptr;
};

void AddSettingsCommand(CLI::App& app, SettingsOptions& options);
int RunSettingsCommand(const SettingsOptions& options);

}  // namespace brisko::cli
