// The registry engine's checks of installed software: Registry Integrity, fonts, help files, shared DLLs,
// startup items, uninstall entries and virtual devices.
#include <algorithm>
#include <memory>
#include <optional>

#include "platform/PathText.h"
#include "scan/RegistryPaths.h"
#include "scanners/registry/RegistryScanner.h"
#include "scanners/registry/RegistryText.h"

namespace brisko::scanners {

using namespace platform;
using scan::kRegistryEngine;

namespace {

// Read, create subkey and set value: what these checks open their keys with, unless they need all access.
constexpr Access kCheckAccess = 0x2001F;

constexpr std::string_view kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr std::string_view kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::string_view kFontsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr std::string_view kHelpKey = "SOFTWARE\\Microsoft\\Windows\\HELP";
constexpr std::string_view kHtmlHelpKey = "SOFTWARE\\Microsoft\\Windows\\HTML Help";
constexpr std::string_view kSharedDllsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view kDisabledFolderItems =
    "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder";
constexpr std::string_view kDisabledRunItems = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\Startupreg";
constexpr std::string_view kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr std::string_view kInstallerFoldersKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
constexpr std::string_view kVirtualDevicesKey = "SYSTEM\\CurrentControlSet\\Control\\VirtualDeviceDrivers";

constexpr EnumLimits kLimits{scan::kNameBufferLength, scan::kDataBufferLength};

// Visits every value of an open key in index order. A value too large for the buffers cannot be read and
// is passed over; the walk goes on with the next one, so one oversized value hides nothing after it.
template <class Visit>
void ForEachValue(Registry& registry, HKey key, Visit&& visit) {
    RegValue value;
    for (std::uint32_t index = 0;; ++index) {
        Status status = registry.EnumValue(key, index, kLimits, value);
        if (status == kMoreData) continue;
        if (status != kOk) return;
        visit(value);
    }
}

// The same for the direct subkeys' names.
template <class Visit>
void ForEachSubkey(Registry& registry, HKey key, Visit&& visit) {
    std::string name;
    for (std::uint32_t index = 0;; ++index) {
        Status status = registry.EnumKey(key, index, scan::kNameBufferLength, name);
        if (status == kMoreData) continue;
        if (status != kOk) return;
        visit(name);
    }
}

bool IsBlankText(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

// A drive path ("X:\") somewhere after the text's first character: only such texts are judged by the
// startup, installer-folder and virtual-device checks.
bool HasDrivePath(std::string_view text) {
    std::size_t at = text.find(":\\");
    return at != std::string_view::npos && at > 0;
}

// Reads a text value of root\subKey as the scanners read data; false when the key or value cannot be read.
bool ReadText(Registry& registry, HKey root, std::string_view subKey, std::string_view name, Access access,
              std::string& text) {
    RegKey key;
    if (registry.OpenKey(root, subKey, access, key) != kOk) return false;
    ValueType type = 0;
    Bytes data;
    if (registry.QueryValue(key.Get(), name, scan::kDataBufferLength, type, data) != kOk) return false;
    text = scan::DataText(data);
    return true;
}

// The text cut before its first double quote.
void CutAtQuote(std::string& text) {
    text.erase(std::min(text.find('"'), text.size()));
}

}  // namespace

void RegistryScanner::ScanRegistryIntegrity() {
    CheckShellFolders();
}

void RegistryScanner::ScanFonts() {
    CheckFonts();
}

void RegistryScanner::ScanHelpFiles() {
    CheckHelpFiles();
}

void RegistryScanner::ScanSharedDlls() {
    CheckSharedDlls();
}

void RegistryScanner::ScanStartup() {
    CheckRunValues(kLocalMachine, kRunKey);
    CheckRunValues(kCurrentUser, kRunKey);
    CheckDisabledStartup(kDisabledFolderItems);
    CheckDisabledStartup(kDisabledRunItems);
}

void RegistryScanner::ScanUninstall() {
    CheckUninstallEntries(kLocalMachine, kUninstallKey);
    CheckInstallerFolders(kLocalMachine, kInstallerFoldersKey);
    CheckUninstallEntries(kCurrentUser, kUninstallKey);
}

void RegistryScanner::ScanVirtualDevices() {
    CheckVirtualDevices();
}

void RegistryScanner::CheckShellFolders() {
    RegKey key;
    if (machine_.registry.OpenKey(kCurrentUser, kUserShellFolders, kKeyAllAccess, key) != kOk) return;
    ForEachValue(machine_.registry, key.Get(), [&](const RegValue& value) {
        std::string data = scan::DataText(value.data);
        if (!data.empty()) scan::ExpandDataText(machine_.shell, data);
        if (!CheckFileRef(data))
            ReportValue(kCurrentUser, kUserShellFolders, value.name, data, scan::REG_INTEGRITY);
    });
}

bool RegistryScanner::FolderHoldsFile(const std::string& folder, std::string_view name) {
    // A wildcard would match some other file: only the exact name counts.
    if (name.empty() || pathtext::HasWildcards(name)) return false;
    FindHandle search;
    FindData found;
    if (machine_.files.FindFirst(folder + "\\" + std::string(name), search, found) != kOk) return false;
    return (found.attributes & kAttrDirectory) == 0;
}

void RegistryScanner::CheckFonts() {
    NotifyCurrentItem(kRegistryEngine, kUserShellFolders);
    std::string userFonts;
    bool haveUserFonts =
        ReadText(machine_.registry, kCurrentUser, kUserShellFolders, "Fonts", kCheckAccess, userFonts);
    // The per-user folder is usually kept unexpanded ("%windir%\Fonts"); unexpanded it names no folder and
    // every font would look missing, so it is expanded before use.
    if (haveUserFonts) {
        std::string expanded;
        std::uint32_t needed =
            machine_.shell.ExpandEnvironmentStrings(userFonts, scan::kDataBufferLength, expanded);
        if (needed != 0 && needed <= scan::kDataBufferLength) userFonts = std::move(expanded);
    }
    NotifyCurrentItem(kRegistryEngine, kShellFolders);
    std::string shellFonts;
    bool haveShellFonts =
        ReadText(machine_.registry, kCurrentUser, kShellFolders, "Fonts", kCheckAccess, shellFonts);
    // Windows itself looks for a bare font file name in its fonts folder: without it, a profile missing both
    // folder values would have every installed font reported, and the repair would unregister them all.
    std::string systemFonts;
    bool haveSystemFonts = machine_.shell.GetFolderPath(kCsidlFonts, false, systemFonts) == kOk;

    NotifyCurrentItem(kRegistryEngine, kFontsKey);
    RegKey key;
    if (machine_.registry.OpenKey(kLocalMachine, kFontsKey, kCheckAccess, key) != kOk) return;
    ForEachValue(machine_.registry, key.Get(), [&](const RegValue& value) {
        std::string file = scan::DataText(value.data);
        bool found = (haveShellFonts && FolderHoldsFile(shellFonts, file)) ||
                     (haveUserFonts && FolderHoldsFile(userFonts, file)) ||
                     (haveSystemFonts && FolderHoldsFile(systemFonts, file));
        if (!found && !CheckFileRef(file))
            ReportValue(kLocalMachine, kFontsKey, value.name, file, scan::REG_FONTS);
    });
}

void RegistryScanner::CheckHelpFiles() {
    for (std::string_view path : {kHelpKey, kHtmlHelpKey}) {
        RegKey key;
        if (machine_.registry.OpenKey(kLocalMachine, path, kCheckAccess, key) != kOk) {
            if (path == kHtmlHelpKey) return;
            continue;
        }
        ForEachValue(machine_.registry, key.Get(), [&](const RegValue& value) {
            // The data is the folder the help file lies in; the value's name is the file's name.
            std::string folder = scan::DataText(value.data);
            std::string file = folder;
            if (folder.empty() || folder.back() != '\\') file += '\\';
            file += value.name;
            std::string stripped;
            StripVerbPrefix(file, stripped);
            std::string cleaned;
            // A path too long to expand whole is not judged by half.
            if (!CleanExePath(machine_.shell, stripped, cleaned)) return;
            NotifyCurrentItem(kRegistryEngine, cleaned);
            std::string onPath = cleaned;
            if (machine_.shell.PathFindOnPath(onPath, nullptr)) return;
            // What lies on a drive that comes and goes (a disc, a stick, a share) is never judged.
            if (cleaned.size() < 2 || cleaned[1] != ':' || !IsJudgeableDrive(cleaned[0])) return;
            if (machine_.shell.PathFileExists(cleaned)) return;
            ReportValue(kLocalMachine, path, value.name, folder, scan::REG_HELP_FILES);
        });
    }
}

void RegistryScanner::CheckSharedDlls() {
    RegKey key;
    if (machine_.registry.OpenKey(kLocalMachine, kSharedDllsKey, kCheckAccess, key) != kOk) return;
    ForEachValue(machine_.registry, key.Get(), [&](const RegValue& value) {
        NotifyCurrentItem(kRegistryEngine, value.name);
        // The value's name is the library; its data only counts the programs that use it.
        std::string name = value.name;
        scan::ExpandDataText(machine_.shell, name);
        std::optional<std::string> candidate = PathCandidate(name);
        if (candidate && !CheckFileRef(*candidate)) {
            ReportValue(kLocalMachine, kSharedDllsKey, value.name, scan::DataText(value.data),
                        scan::REG_SHARED_DLLS);
        }
    });
}

void RegistryScanner::CheckRunValues(HKey root, std::string_view path) {
    RegKey key;
    if (machine_.registry.OpenKey(root, path, kCheckAccess, key) != kOk) return;
    ForEachValue(machine_.registry, key.Get(), [&](const RegValue& value) {
        std::string data = scan::DataText(value.data);
        NotifyCurrentItem(kRegistryEngine, data);
        if (data.empty()) return;
        scan::ExpandDataText(machine_.shell, data);
        std::string text = PathCandidate(data).value_or(data);
        CutAtQuote(text);
        // A bare program name is found on the search path at log-on: only drive paths are judged.
        if (!CheckFileRef(text) && HasDrivePath(text))
            ReportValue(root, path, value.name, data, scan::REG_STARTUP);
    });
}

void RegistryScanner::CheckDisabledStartup(std::string_view path) {
    NotifyCurrentItem(kRegistryEngine, path);
    RegKey key;
    if (machine_.registry.OpenKey(kLocalMachine, path, kCheckAccess, key) != kOk) return;
    ForEachSubkey(machine_.registry, key.Get(), [&](const std::string& name) {
        std::string entry = std::string(path) + "\\" + name;
        NotifyCurrentItem(kRegistryEngine, entry);
        std::string command;
        if (!ReadText(machine_.registry, kLocalMachine, entry, "command", kCheckAccess, command)) return;
        std::string expanded;
        std::uint32_t needed =
            machine_.shell.ExpandEnvironmentStrings(command, scan::kDataBufferLength, expanded);
        // A command too long to expand whole is not judged by half.
        if (needed == 0 || needed > scan::kDataBufferLength) return;
        if (!CheckFileRef(expanded) && HasDrivePath(expanded))
            ReportValue(kLocalMachine, entry, "command", command, scan::REG_STARTUP);
    });
}

void RegistryScanner::CheckUninstallEntries(HKey root, std::string_view path) {
    RegKey list;
    if (machine_.registry.OpenKey(root, path, kKeyAllAccess, list) != kOk) return;
    ForEachSubkey(machine_.registry, list.Get(), [&](const std::string& name) {
        std::string entry = std::string(path) + "\\" + name;
        NotifyCurrentItem(kRegistryEngine, entry);
        RegKey key;
        if (machine_.registry.OpenKey(root, entry, kKeyAllAccess, key) != kOk) return;
        ForEachValue(machine_.registry, key.Get(), [&](const RegValue& value) {
            std::string data = scan::DataText(value.data);
            if (data.empty()) return;
            std::string lower = data;
            ToLowerAscii(lower);
            scan::ExpandDataText(machine_.shell, data);
            std::optional<std::string> candidate = PathCandidate(data);
            NotifyCurrentItem(kRegistryEngine, entry + candidate.value_or(std::string()));
            // Uninstallers run through rundll or the installer service, and uninst.exe stubs, are the
            // system's or the installer's to judge.
            if (!candidate) return;
            if (candidate->find("rundll") != std::string::npos ||
                candidate->find("msiexec.exe") != std::string::npos ||
                lower.find("uninst.exe") != std::string::npos)
                return;
            if (!IsBlankText(*candidate) && !CheckFileRef(*candidate))
                ReportValue(root, entry, value.name, data, scan::REG_UNINSTALL);
        });
    });
}

void RegistryScanner::CheckInstallerFolders(HKey root, std::string_view path) {
    RegKey key;
    if (machine_.registry.OpenKey(root, path, kKeyAllAccess, key) != kOk) return;
    ForEachValue(machine_.registry, key.Get(), [&](const RegValue& value) {
        NotifyCurrentItem(kRegistryEngine, std::string(path) + ":" + value.name);
        // The value's name is the folder the installer keeps; its data says nothing.
        if (!CheckFileRef(value.name) && HasDrivePath(value.name) && !IsBlankText(value.name))
            ReportValue(root, path, value.name, scan::DataText(value.data), scan::REG_UNINSTALL);
    });
}

void RegistryScanner::CheckVirtualDevices() {
    RegKey key;
    if (machine_.registry.OpenKey(kLocalMachine, kVirtualDevicesKey, kKeyAllAccess, key) != kOk) return;
    ForEachValue(machine_.registry, key.Get(), [&](const RegValue& value) {
        NotifyCurrentItem(kRegistryEngine, kVirtualDevicesKey);
        if (value.type != kRegSz && value.type != kRegMultiSz) return;
        // Of a list of drivers only the first is read.
        std::string data = scan::DataText(value.data);
        if (IsBlankText(data)) return;
        if (!CheckFileRef(data) && HasDrivePath(data))
            ReportValue(kLocalMachine, kVirtualDevicesKey, value.name, data, scan::REG_VIRTUAL_DEVICES);
    });
}

}  // namespace brisko::scanners
