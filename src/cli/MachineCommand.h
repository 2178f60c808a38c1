// `brisko machine create` and `brisko machine show`: simulated machines for tests and the demo.
#pragma once

#include <cstdio>
#include <string>

#include "platform/sim/SimMachine.h"

namespace CLI {
class App;
}

namespace brisko::cli {

struct MachineOptions {
    std::string folder;
    std::string preset = "demo";
    bool create = false;
    bool show = false;
};

// `brisko machine create DIR [--preset NAME]` and `brisko machine show DIR`.
void AddMachineCommand(CLI::App& app, MachineOptions& options);
int RunMachineCommand(const MachineOptions& options);

int CreateMachineCommand(const std::string& folder, const std::string& preset);
int ShowMachineCommand(const std::string& folder);
// What a machine holds: version, user, registry and drive sizes, known folders.
int ShowMachine(platform::sim::SimMachine& machine, std::FILE* out);

}  // namespace brisko::cli
