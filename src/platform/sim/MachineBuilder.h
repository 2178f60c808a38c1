// Writes new simulated machines: the standard keys, folders and system files of a fresh Windows
// installation for one user, as a starting point for tests and for the demo machine.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::platform::sim {

struct MachinePreset {
    std::string_view name;
    std::string_view description;
};

// "win7" and "xp": a freshly installed system; "demo": the machine the main job runs on.
const std::vector<MachinePreset>& MachinePresets();

// Creates the machine in `folder`, which must not exist or be empty. On failure nothing usable is left
// behind and `error` says why.
bool CreateMachine(const std::filesystem::path& folder, std::string_view preset, std::string& error);

}  // namespace brisko::platform::sim
