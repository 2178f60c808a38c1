#include "platform/sim/SimMachine.h"

#include <system_error>

#include "platform/FileSystem.h"

namespace brisko::platform::sim {

SimServices::SimServices(const std::filesystem::path& folder, MachineConfig config)
    : machineFolder(folder),
      machineConfig(std::move(config)),
      simFiles(machineConfig, machineFolder, simRegistry),
      simShell(machineConfig, simFiles),
      simSystem(machineConfig) {
    if (machineConfig.clock) simClock.Set(*machineConfig.clock);
}

SimMachine::SimMachine(OpenToken, const std::filesystem::path& machineFolder, MachineConfig machineConfig)
    : SimServices(machineFolder, std::move(machineConfig)),
      Machine(simRegistry, simFiles, simShell, simSystem, simClock) {}

std::unique_ptr<SimMachine> SimMachine::Open(const std::filesystem::path& folder, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        error = folder.string() + ": no such machine folder";
        return nullptr;
    }
    MachineConfig config;
    if (!LoadMachineConfig(folder / "machine.json", config, error)) return nullptr;
    for (const DriveConfig& drive : config.drives) {
        if (drive.type != kDriveFixed) continue;
        std::filesystem::path contents = folder / "drives" / std::string(1, drive.letter);
        if (!std::filesystem::is_directory(contents, ec)) {
            error = (folder / "machine.json").string() + ": fixed drive " + std::string(1, drive.letter) +
                    ": has no folder " + contents.string();
            return nullptr;
        }
    }
    auto machine = std::make_unique<SimMachine>(OpenToken{}, folder, std::move(config));
    if (!machine->simRegistry.Load(folder / "registry", machine->Config().deniedKeys, error)) {
        return nullptr;
    }
    return machine;
}

bool SimMachine::Save(std::string& error) {
    return simRegistry.Save(machineFolder / "registry", error);
}

}  // namespace brisko::platform::sim
