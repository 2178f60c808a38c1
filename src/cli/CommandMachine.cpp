#include "cli/CommandMachine.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#ifdef _WIN32
#include "platform/win32/Win32Machine.h"
#else
#include "platform/sim/SimMachine.h"
#endif

namespace brisko::cli {

#ifdef _WIN32

namespace {
class RealMachine final : public CommandMachine {
public:
    platform::Machine& Get() override { return machine_; }
    bool Save(std::string&) override { return true; }

private:
    platform::win32::Win32Machine machine_;
};
}  // namespace

void AddMachineOptions(CLI::App&, MachineChoice&) {}

std::unique_ptr<CommandMachine> OpenMachine(const MachineChoice&, std::string&) {
    return std::make_unique<RealMachine>();
}

#else

namespace {
class SimulatedMachine final : public CommandMachine {
public:
    explicit SimulatedMachine(std::unique_ptr<platform::sim::SimMachine> machine)
        : machine_(std::move(machine)) {}
    platform::Machine& Get() override { return *machine_; }
    bool Save(std::string& error) override { return machine_->Save(error); }

private:
    std::unique_ptr<platform::sim::SimMachine> machine_;
};
}  // namespace

void AddMachineOptions(CLI::App& command, MachineChoice& choice) {
    command.add_option("--machine", choice.folder, "Folder of the simulated machine to work on")
        ->required()
        ->envname("BRISKO_MACHINE");
}

std::unique_ptr<CommandMachine> OpenMachine(const MachineChoice& choice, std::string& error) {
    std::unique_ptr<platform::sim::SimMachine> machine =
        platform::sim::SimMachine::Open(choice.folder, error);
    if (!machine) return nullptr;
    return std::make_unique<SimulatedMachine>(std::move(machine));
}

#endif

std::unique_ptr<CommandMachine> OpenMachineForCommand(const MachineChoice& choice) {
    std::string error;
    std::unique_ptr<CommandMachine> machine = OpenMachine(choice, error);
    if (!machine) std::fprintf(stderr, "brisko: cannot load the machine: %s\n", error.c_str());
    return machine;
}

bool SaveMachineForCommand(CommandMachine& machine) {
    std::string error;
    if (machine.Save(error)) return true;
    std::fprintf(stderr, "brisko: the machine could not be saved: %s\n", error.c_str());
    return false;
}

}  // namespace brisko::cli
