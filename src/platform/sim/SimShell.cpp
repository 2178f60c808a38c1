#include "platform/sim/SimShell.h"

#include "platform/PathText.h"
#include "platform/ShellLink.h"
#include "platform/sim/SimPath.h"

namespace brisko::platform::sim {

namespace {

// Shortcut files are a few kilobytes; anything far larger is not one, and is not read into memory.
constexpr std::uint64_t kMaxShortcutBytes = 1 << 20;

std::string Combine(const std::string& folder, std::string_view name) {
    if (name.empty()) return folder;
    std::string path = folder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    path += name;
    return path;
}

}  // namespace

SimShell::SimShell(const MachineConfig& config, SimFileSystem& files) : files_(files), folders_(config) {
    SetDefaultEnvironment(config);
    // Values from the machine are written as the registry keeps them, with references to other variables
    // that the logon expands before the process sees them.
    for (const auto& [name, value] : config.environment)
        environment_.Set(name, environment_.Expand(value));
}

void SimShell::SetDefaultEnvironment(const MachineConfig& config) {
    bool vista = config.version.major >= 6;
    std::string windows = folders_.FindByName("windows");
    std::string system = folders_.FindByName("system");
    std::string profile = folders_.FindByName("profile");
    std::string localAppData = folders_.FindByName("local_appdata");
    std::string systemDrive = windows.substr(0, 2);

    std::string path = system + ';' + windows + ';' + system + "\\Wbem";
    if (config.version.major > 6 || (vista && config.version.minor >= 1)) {
        path += ';' + system + "\\WindowsPowerShell\\v1.0\\";
    }
    const std::pair<const char*, std::string> defaults[] = {
        {"ALLUSERSPROFILE", folders_.FindByName("allusers_profile")},
        {"APPDATA", folders_.FindByName("appdata")},
        {"CommonProgramFiles", folders_.FindByName("program_files_common")},
        {"COMPUTERNAME", config.computerName},
        {"ComSpec", system + "\\cmd.exe"},
        {"HOMEDRIVE", profile.substr(0, 2)},
        {"HOMEPATH", profile.size() > 2 ? profile.substr(2) : std::string("\\")},
        {"OS", "Windows_NT"},
        {"Path", path},
        {"PATHEXT", vista ? ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC"
                          : ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH"},
        {"ProgramFiles", folders_.FindByName("program_files")},
        {"SystemDrive", systemDrive},
        {"SystemRoot", windows},
        {"TEMP", vista ? localAppData + "\\Temp" : profile + "\\Local Settings\\Temp"},
        {"TMP", vista ? localAppData + "\\Temp" : profile + "\\Local Settings\\Temp"},
        {"USERDOMAIN", config.computerName},
        {"USERNAME", config.userName},
        {"USERPROFILE", profile},
        {"windir", windows},
    };
    for (const auto& [name, value] : defaults)
        environment_.Set(name, value);
    if (vista) {
        environment_.Set("LOCALAPPDATA", localAppData);
        environment_.Set("ProgramData", folders_.FindByName("allusers_profile"));
        environment_.Set("PUBLIC", folders_.FindByName("public"));
    }
}

Status SimShell::GetFolderPath(int csidl, bool create, std::string& path) {
    create = create || (csidl & kCsidlFlagCreate) != 0;
    std::string folder;
    if (!folders_.FindByCsidl(csidl & ~0xFF00, folder)) return kInvalidParameter;
    if (!PathIsDirectory(folder)) {
        if (!create) return kFileNotFound;
        if (Status status = CreateFolders(folder); status != kOk) return status;
    }
    path = std::move(folder);
    return kOk;
}

Status SimShell::CreateFolders(const std::string& path) {
    WindowsPath parsed;
    if (!ParseWindowsPath(path, parsed)) return kPathNotFound;
    WindowsPath step;
    step.drive = parsed.drive;
    for (const std::string& name : parsed.names) {
        step.names.push_back(name);
        Status status = files_.CreateDirectory(step.Text());
        if (status != kOk && status != kAlreadyExists) return status;
    }
    return PathIsDirectory(path) ? kOk : kFileNotFound;
}

bool SimShell::GetEnvironmentVariable(std::string_view name, std::string& value) {
    return environment_.Get(name, value);
}

std::uint32_t SimShell::ExpandEnvironmentStrings(std::string_view text, std::uint32_t capacity,
                                                 std::string& out) {
    std::string expanded = environment_.Expand(text);
    auto needed = static_cast<std::uint32_t>(expanded.size() + 1);
    if (needed <= capacity) out = std::move(expanded);
    return needed;
}

bool SimShell::PathFileExists(std::string_view path) {
    std::uint32_t attributes = 0;
    return !path.empty() && files_.GetAttributes(path, attributes) == kOk;
}

bool SimShell::PathIsDirectory(std::string_view path) {
    std::uint32_t attributes = 0;
    return !path.empty() && files_.GetAttributes(path, attributes) == kOk &&
           (attributes & kAttrDirectory) != 0;
}

bool SimShell::PathIsRelative(std::string_view path) {
    return pathtext::IsRelative(path);
}

bool SimShell::PathIsRoot(std::string_view path) {
    return pathtext::IsRoot(path);
}

bool SimShell::PathFindOnPath(std::string& path, const std::vector<std::string>* otherDirs) {
    // Only a bare file name is looked for; a name with a folder or drive in it is left alone.
    if (path.size() >= kMaxPath || path.find_first_of("\\:") != std::string::npos) return false;
    std::vector<std::string> folders;
    if (otherDirs != nullptr) {
        for (const std::string& folder : *otherDirs) {
            if (folder.empty()) break;  // the caller's list ends at its first empty entry
            folders.push_back(folder);
        }
    }
    std::string windows = folders_.FindByName("windows");
    folders.push_back(folders_.FindByName("system"));
    folders.push_back(windows + "\\System");
    folders.push_back(windows);
    std::string searchPath;
    environment_.Get("PATH", searchPath);
    for (std::size_t start = 0; start <= searchPath.size();) {
        std::size_t end = searchPath.find(';', start);
        if (end == std::string::npos) end = searchPath.size();
        std::string folder = searchPath.substr(start, end - start);
        folder.erase(0, folder.find_first_not_of(' '));
        // An empty entry would mean the current folder, which the simulated process does not have.
        if (!folder.empty()) folders.push_back(std::move(folder));
        start = end + 1;
    }
    for (const std::string& folder : folders) {
        std::string candidate = Combine(folder, path);
        if (PathFileExists(candidate)) {
            path = std::move(candidate);
            return true;
        }
    }
    return false;
}

bool SimShell::PathRenameExtension(std::string& path, std::string_view ext) {
    return pathtext::RenameExtension(path, ext);
}

Status SimShell::GetShortcutTarget(std::string_view path, std::string& target) {
    FileHandle file;
    if (Status status =
            files_.OpenFile(path, kGenericRead, kShareRead | kShareWrite | kShareDelete, kOpenExisting, file);
        status != kOk) {
        return status;
    }
    std::uint64_t size = 0;
    if (Status status = file->GetSize(size); status != kOk) return status;
    if (size > kMaxShortcutBytes) return kInvalidData;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        std::uint32_t read = 0;
        if (Status status = file->Read(std::span(bytes).subspan(filled), read); status != kOk) return status;
        if (read == 0) break;
        filled += read;
    }
    bytes.resize(filled);
    return shelllink::ReadRawTargetPath(bytes, target);
}

}  // namespace brisko::platform::sim
