// The machine a command works on: on Windows the machine the program runs on; elsewhere a simulated
// machine kept in a folder (--machine DIR).
#pragma once

#include <memory>
#include <string>

#include "platform/Machine.h"

namespace CLI {
class App;
}

namespace brisko::cli {

class CommandMachine {
public:
    virtual ~CommandMachine() = default;
    virtual platform::Machine& Get() = 0;
    // Keeps what the command changed (a simulated machine writes its folder; the real one has nothing to do).
    virtual bool Save(std::string& error) = 0;
};

// Where the machine comes from, as the command line says.
struct MachineChoice {
    std::string folder;  // simulated machines only
};

// Adds the options that choose the machine (none on Windows).
void AddMachineOptions(CLI::App& command, MachineChoice& choice);
// Opens the chosen machine; on failure null and a one-line reason.
std::unique_ptr<CommandMachine> OpenMachine(const MachineChoice& choice, std::string& error);
// The same for a command: on failure the reason is printed as the command's error and null returned (the
// command then ends with kExitMachine).
std::unique_ptr<CommandMachine> OpenMachineForCommand(const MachineChoice& choice);
// Saves what a command changed; on failure prints why and returns false (the command ends with kExitFailed).
bool SaveMachineForCommand(CommandMachine& machine);

}  // namespace brisko::cli
