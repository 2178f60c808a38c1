// `brisko ignore`: the user's ignore list, as the Ignore List page shows and edits it.
#pragma once

#include <string>

#include "cli/CommandMachine.h"

namespace CLI {
class App;
}

namespace brisko::cli {

struct IgnoreOptions {
    MachineChoice machine;
    enum class Action { kList, kAdd, kRemove } action = Action::kList;
    std::string root;  // add: one of the four root names
    std::string path;  // add: the registry path
    std::string text;  // remove: the entry's text
};

void AddIgnoreCommand(CLI::App& app, IgnoreOptions& options);
int RunIgnoreCommand(const IgnoreOptions& options);

}  // namespace brisko::cli
