// `brisko machine create` and `brisko machine show`: simulated machines for tests and the demo.
#pragma once

#include <cstdio>
#include <string>

#include "platform/sim/SimMachine.h"

namespace brisko::cli {

int CreateMachineCommand(const std::string& folder, const std::string& preset);
int ShowMachineCommand(const std::string& folder);
// What a machine holds: version, user, registry and drive sizes, known folders.
int ShowMachine(platform::sim::SimMachine& machine, std::FILE* out);

}  // namespace brisko::cli
