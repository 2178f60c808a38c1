// What machine.json says about a simulated machine.
//
//   {
//     "windows": {"major": 6, "minor": 1, "build": 7601, "servicePack": "Service Pack 1"},
//     "userName": "Alice", "computerName": "DEMO-PC", "administrator": true, "elevated": true,
//     "programPath": "C:\\Program Files\\Brisko\\Brisko.exe",
//     "environment": {"SystemRoot": "C:\\Windows", "TEMP": "%USERPROFILE%\\AppData\\Local\\Temp"},
//     "drives": {"C": {"type": "fixed", "totalBytes": 250000000000, "freeBytes": 80000000000},
//                "D": {"type": "cdrom"}},
//     "knownFolders": {"appdata": "C:\\Users\\Alice\\AppData\\Roaming"},
//     "lockedFiles": ["C:\\pagefile.sys"],
//     "deniedKeys": ["HKEY_LOCAL_MACHINE\\SAM\\SAM"],
//     "deniedPaths": ["C:\\System Volume Information"],
//     "clock": "2026-12-11T09:30:00"
//   }
//
// A fixed or removable drive X keeps its contents in the folder drives/X beside machine.json. Known
// folders not named in "knownFolders" follow the layout of the Windows version (XP or Vista and later);
// KnownFolders.h lists their names ("appdata", "local_appdata", "common_appdata", "windows", ...).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/System.h"

namespace brisko::platform::sim {

struct DriveConfig {
    char letter = 'C';       // upper case
    std::uint32_t type = 3;  // a kDrive* type
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;
};

struct MachineConfig {
    OsVersion version;
    std::string userName = "User";
    std::string computerName = "PC";
    // Where the program runs from on this machine.
    std::string programPath = "C:\\Program Files\\Brisko\\Brisko.exe";
    bool administrator = true;
    bool elevated = true;
    std::vector<std::pair<std::string, std::string>> environment;  // in file order
    std::vector<DriveConfig> drives;
    std::map<std::string, std::string> knownFolders;  // by lower-case name, e.g. "appdata"
    std::vector<std::string> lockedFiles;
    std::vector<std::string> deniedKeys;
    std::vector<std::string> deniedPaths;
    std::optional<SystemTime> clock;
};

// Reads machine.json. On failure returns false and says why in `error`, naming the file.
bool LoadMachineConfig(const std::filesystem::path& file, MachineConfig& config, std::string& error);
// Writes machine.json atomically.
bool SaveMachineConfig(const std::filesystem::path& file, const MachineConfig& config, std::string& error);

}  // namespace brisko::platform::sim
