#include "cli/MachineCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <functional>
#include <string>

#include "cli/ExitCodes.h"
#include "platform/sim/MachineBuilder.h"
#include "platform/sim/SimMachine.h"

namespace brisko::cli {

namespace {

using namespace platform;

struct TreeCount {
    std::uint64_t keys = 0;
    std::uint64_t values = 0;
};

void CountKeys(Registry& registry, HKey key, TreeCount& count) {
    KeyInfo info;
    if (registry.QueryInfoKey(key, info) == kOk) count.values += info.values;
    std::string name;
    for (std::uint32_t i = 0; registry.EnumKey(key, i, 1024, name) == kOk; ++i) {
        RegKey child;
        if (registry.OpenKey(key, name, kKeyRead, child) != kOk) continue;
        ++count.keys;
        CountKeys(registry, child.Get(), count);
    }
}

struct FileCount {
    std::uint64_t files = 0;
    std::uint64_t folders = 0;
    std::uint64_t bytes = 0;
};

void CountFiles(FileSystem& files, const std::string& folder, FileCount& count) {
    FindHandle search;
    FindData entry;
    if (files.FindFirst(folder + "\\*", search, entry) != kOk) return;
    do {
        if (entry.name == "." || entry.name == "..") continue;
        if (entry.attributes & kAttrDirectory) {
            ++count.folders;
            // Links are counted, never followed.
            if (!(entry.attributes & kAttrReparsePoint)) CountFiles(files, folder + "\\" + entry.name, count);
        } else {
            ++count.files;
            count.bytes += entry.size;
        }
    } while (search->Next(entry) == kOk);
}

const char* DriveTypeName(std::uint32_t type) {
    switch (type) {
        case kDriveFixed:
            return "fixed";
        case kDriveRemovable:
            return "removable";
        case kDriveCdrom:
            return "CD-ROM";
        case kDriveRemote:
            return "network";
        case kDriveRamdisk:
            return "RAM disk";
        default:
            return "unknown";
    }
}

std::string SizeText(std::uint64_t bytes) {
    const char* units[] = {"bytes", "KB", "MB", "GB", "TB"};
    double size = static_cast<double>(bytes);
    int unit = 0;
    while (size >= 1024 && unit < 4)
        size /= 1024, ++unit;
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", size, units[unit]);
    return text;
}

struct NamedFolder {
    int csidl;
    const char* name;
};
constexpr NamedFolder kShownFolders[] = {
    {kCsidlWindows, "Windows"},
    {kCsidlSystem, "System"},
    {kCsidlProgramFiles, "Program Files"},
    {kCsidlProfile, "Profile"},
    {kCsidlAppData, "Application Data"},
    {kCsidlLocalAppData, "Local Application Data"},
    {kCsidlCommonAppData, "All Users Data"},
    {kCsidlInternetCache, "Internet Cache"},
};

}  // namespace

int ShowMachine(sim::SimMachine& machine, std::FILE* out) {
    const sim::MachineConfig& config = machine.Config();
    OsVersion version = machine.system.GetVersion();
    std::fprintf(out, "Machine %s\n", machine.Folder().string().c_str());
    std::fprintf(out, "  Windows %u.%u build %u%s%s\n", version.major, version.minor, version.build,
                 version.servicePack.empty() ? "" : ", ", version.servicePack.c_str());
    std::fprintf(out, "  User %s on %s%s\n", config.userName.c_str(), config.computerName.c_str(),
                 machine.system.IsElevated()    ? ", administrator (elevated)"
                 : machine.system.IsUserAdmin() ? ", administrator (not elevated)"
                                                : "");
    std::fprintf(out, "Registry\n");
    for (HKey root : {kLocalMachine, kCurrentUser, kUsers, kClassesRoot}) {
        TreeCount count;
        CountKeys(machine.registry, root, count);
        const char* name = root == kLocalMachine  ? "HKEY_LOCAL_MACHINE"
                           : root == kCurrentUser ? "HKEY_CURRENT_USER"
                           : root == kUsers       ? "HKEY_USERS"
                                                  : "HKEY_CLASSES_ROOT";
        std::fprintf(out, "  %-20s %8llu keys %8llu values\n", name,
                     static_cast<unsigned long long>(count.keys),
                     static_cast<unsigned long long>(count.values));
    }
    std::fprintf(out, "Drives\n");
    std::uint32_t drives = machine.files.GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        std::string root = std::string(1, static_cast<char>('A' + i)) + ":";
        std::uint32_t type = machine.files.GetDriveType(root + "\\");
        std::fprintf(out, "  %s %-9s", root.c_str(), DriveTypeName(type));
        std::uint64_t freeBytes = 0;
        std::uint64_t totalBytes = 0;
        if (machine.files.GetDiskFreeSpace(root + "\\", freeBytes, totalBytes) == kOk) {
            std::fprintf(out, " %s free of %s", SizeText(freeBytes).c_str(), SizeText(totalBytes).c_str());
            FileCount count;
            CountFiles(machine.files, root, count);
            std::fprintf(out, "; %llu files (%s) in %llu folders",
                         static_cast<unsigned long long>(count.files), SizeText(count.bytes).c_str(),
                         static_cast<unsigned long long>(count.folders));
        } else {
            std::fprintf(out, type == kDriveRemote ? " not connected" : " no media");
        }
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "Known folders\n");
    for (const NamedFolder& folder : kShownFolders) {
        std::string path;
        if (machine.shell.GetFolderPath(folder.csidl, false, path) != kOk) path = "(none)";
        std::fprintf(out, "  %-24s %s\n", folder.name, path.c_str());
    }
    return kExitOk;
}

void AddMachineCommand(CLI::App& app, MachineOptions& options) {
    CLI::App* machine = app.add_subcommand("machine", "Create or inspect a simulated Windows machine");
    machine->require_subcommand(1);
    CLI::App* create = machine->add_subcommand("create", "Write a new simulated machine into DIR");
    create->add_option("DIR", options.folder, "Folder of the new machine (must not exist or be empty)")
        ->required();
    std::string presets;
    for (const auto& p : sim::MachinePresets())
        presets += std::string(p.name) + " ";
    create->add_option("--preset", options.preset, "The kind of machine: " + presets)->capture_default_str();
    create->callback([&options] { options.create = true; });
    CLI::App* show = machine->add_subcommand("show", "Show what a simulated machine holds");
    show->add_option("DIR", options.folder, "Folder of the machine")->required();
    show->callback([&options] { options.show = true; });
}

int RunMachineCommand(const MachineOptions& options) {
    if (options.create) return CreateMachineCommand(options.folder, options.preset);
    if (options.show) return ShowMachineCommand(options.folder);
    return kExitUsage;
}

int CreateMachineCommand(const std::string& folder, const std::string& preset) {
    std::string error;
    if (!sim::CreateMachine(folder, preset, error)) {
        std::fprintf(stderr, "brisko: cannot create the machine: %s\n", error.c_str());
        return kExitMachine;
    }
    std::printf("Created a %s machine in %s\n", preset.c_str(), folder.c_str());
    return kExitOk;
}

int ShowMachineCommand(const std::string& folder) {
    std::string error;
    std::unique_ptr<sim::SimMachine> machine = sim::SimMachine::Open(folder, error);
    if (!machine) {
        std::fprintf(stderr, "brisko: cannot load the machine: %s\n", error.c_str());
        return kExitMachine;
    }
    return ShowMachine(*machine, stdout);
}

}  // namespace brisko::cli
