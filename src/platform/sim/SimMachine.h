// A simulated Windows machine kept in a folder:
//
//   machine.json        version, user, drives, environment, known folders, locked files, denied keys
//   registry/HKLM.reg   the hives in the registry editor's text format
//   registry/HKCU.reg
//   registry/HKU.reg
//   drives/C/...        the contents of each drive that has any
//
// Opening reads machine.json and the hives; a folder that is missing or malformed gives one message and
// no machine. Files stay on the host's disk and are reached as they are asked for.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Machine.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimShell.h"
#include "platform/sim/SimSystem.h"

namespace brisko::platform::sim {

// The services live here, a base constructed before Machine, which refers to them.
struct SimServices {
    SimServices(const std::filesystem::path& folder, MachineConfig config);
    std::filesystem::path machineFolder;
    MachineConfig machineConfig;
    SimRegistry simRegistry;
    SimFileSystem simFiles;
    SimShell simShell;
    SimSystem simSystem;
    SimClock simClock;
};

class SimMachine final : private SimServices, public Machine {
public:
    // Opens the machine in `folder`; on failure returns null and the reason in `error`.
    static std::unique_ptr<SimMachine> Open(const std::filesystem::path& folder, std::string& error);

    // Writes what changed (the hives that changed) back to the folder.
    bool Save(std::string& error);

    const std::filesystem::path& Folder() const { return machineFolder; }
    const MachineConfig& Config() const { return machineConfig; }
    SimRegistry& SimulatedRegistry() { return simRegistry; }
    SimFileSystem& SimulatedFiles() { return simFiles; }
    SimClock& SimulatedClock() { return simClock; }

private:
    struct OpenToken {
        explicit OpenToken() = default;
    };

public:
    SimMachine(OpenToken, const std::filesystem::path& folder, MachineConfig config);
};

}  // namespace brisko::platform::sim
