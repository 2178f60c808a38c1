// The simulated machine's shell: its known folders (KnownFolders), the environment a process of the
// configured user gets on that Windows version, and the shlwapi Path tests over the simulated file system.
#pragma once

#include "platform/Shell.h"
#include "platform/sim/KnownFolders.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimFileSystem.h"

namespace brisko::platform::sim {

class SimShell final : public Shell {
public:
    SimShell(const MachineConfig& config, SimFileSystem& files);

    Status GetFolderPath(int csidl, bool create, std::string& path) override;
    bool GetEnvironmentVariable(std::string_view name, std::string& value) override;
    std::uint32_t ExpandEnvironmentStrings(std::string_view text, std::uint32_t capacity,
                                           std::string& out) override;
    bool PathFileExists(std::string_view path) override;
    bool PathIsDirectory(std::string_view path) override;
    bool PathIsRelative(std::string_view path) override;
    bool PathIsRoot(std::string_view path) override;
    bool PathFindOnPath(std::string& path, const std::vector<std::string>* otherDirs) override;
    bool PathRenameExtension(std::string& path, std::string_view ext) override;
    Status GetShortcutTarget(std::string_view path, std::string& target) override;

private:
    void SetDefaultEnvironment(const MachineConfig& config);
    // Creates a folder and its missing parents.
    Status CreateFolders(const std::string& path);

    SimFileSystem& files_;
    KnownFolders folders_;
    SimEnvironment environment_;
};

}  // namespace brisko::platform::sim
