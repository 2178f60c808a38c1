// The registry engine's checks of file associations and program shortcuts.
#include <memory>
#include <optional>

#include "platform/FileSystem.h"
#include "scan/RegistryPaths.h"
#include "scanners/registry/AssociationShortcuts.h"
#include "scanners/registry/RegistryScanner.h"
#include "scanners/registry/RegistryText.h"

namespace brisko::scanners {

using namespace platform;
using scan::kRegistryEngine;

namespace {

// KEY_READ | KEY_WRITE, the access the extension checks open their keys with.
constexpr Access kReadWriteAccess = 0x2001F;
// The buffers of the extension-command reads: key names of HKEY_CLASSES_ROOT, and value data.
constexpr std::uint32_t kClassNameLength = 299;
constexpr std::uint32_t kCommandDataLength = 1023;

// The unnamed value of root\subKey as text; nothing when the key cannot be opened or the value read.
std::optional<std::string> ReadDefaultText(Registry& registry, HKey parent, std::string_view subKey) {
    RegKey key;
    if (registry.OpenKey(parent, subKey, kReadWriteAccess, key) != kOk) return std::nullopt;
    ValueType type = kRegNone;
    Bytes data;
    if (registry.QueryValue(key.Get(), "", kCommandDataLength, type, data) != kOk) return std::nullopt;
    return scan::DataText(data);
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

}  // namespace

void RegistryScanner::ScanFileExtensions() {
    CheckOpenWithLists(kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts");
    CheckExtensionCommands();
}

void RegistryScanner::CheckOpenWithLists(HKey root, std::string_view path) {
    RegKey key;
    if (machine_.registry.OpenKey(root, path, kKeyAllAccess, key) != kOk) return;
    std::string name;
    for (std::uint32_t index = 0;
         machine_.registry.EnumKey(key.Get(), index, scan::kNameBufferLength, name) == kOk; ++index) {
        std::string extension = std::string(path) + "\\" + name;
        std::string list = extension + "\\OpenWithList";
        // The extension's key holds exactly one subkey and nothing else, and that subkey is an existing,
        // empty open-with list: the whole entry says nothing.
        bool extensionHasContent = scan::KeyHasContent(machine_.registry, root, extension, 1);
        bool listHasContent = scan::KeyHasContent(machine_.registry, root, list, 0);
        NotifyCurrentItem(kRegistryEngine, list);
        if (extensionHasContent || listHasContent) continue;
        ReportProblem(std::make_unique<scan::CRegistryProblem>(
            scan::GetRootKeyName(root, false) + "\\" + list, "(Default)", "", kRegistryEngine,
            scan::REG_FILE_EXTENSIONS, 0, true));
    }
}

void RegistryScanner::CheckExtensionCommands() {
    RegKey classes;
    if (machine_.registry.OpenKey(kClassesRoot, "", kReadWriteAccess, classes) != kOk) return;
    std::string name;
    for (std::uint32_t index = 0;
         machine_.registry.EnumKey(classes.Get(), index, kClassNameLength, name) == kOk; ++index) {
        NotifyCurrentItem(kRegistryEngine, name);
        if (name.empty() || name[0] != '.') continue;
        std::optional<std::string> fileType = ReadDefaultText(machine_.registry, kClassesRoot, name);
        if (!fileType) continue;
        std::string commandKey = *fileType + "\\shell\\open\\command\\";
        NotifyCurrentItem(kRegistryEngine, commandKey);
        std::optional<std::string> command = ReadDefaultText(machine_.registry, kClassesRoot, commandKey);
        if (!command) continue;
        scan::ExpandDataText(machine_.shell, *command);
        std::optional<std::string> candidate = PathCandidate(*command);
        NotifyCurrentItem(kRegistryEngine, name + " || (Default) @ " + *command);
        if (!candidate || IsBlank(*candidate) || CheckFileRef(*candidate)) continue;
        ReportProblem(std::make_unique<scan::CRegistryProblem>(
            "HKEY_CLASSES_ROOT\\" + name, "(Default)", *command, kRegistryEngine, scan::REG_FILE_EXTENSIONS));
    }
}

void RegistryScanner::ScanShortcuts() {
    std::string drive;
    std::string profile;
    if (machine_.shell.GetFolderPath(kCsidlProfile, false, profile) == kOk) {
        // Two levels up from the profile (C:\Users\name) is its drive (C:).
        drive = profile;
        for (int level = 0; level < 2; ++level) {
            std::size_t slash = drive.rfind('\\');
            drive.resize(slash == std::string::npos ? 0 : slash);
        }
    }
    ScanShortcutFolder(drive + "\\*.*");
}

void RegistryScanner::ScanShortcutFolder(std::string_view pattern) {
    std::string desktop;
    if (machine_.shell.GetFolderPath(kCsidlDesktopDirectory, false, desktop) != kOk) desktop.clear();
    ShortcutTargetJudge judge(machine_.shell, machine_.files, fileRefs_);

    // Depth first with an explicit stack of open searches, so a deep tree cannot exhaust the worker's
    // stack; the order is that of a recursive walk.
    struct Level {
        FindHandle search;
        std::string folder;
        std::optional<FindData> first;
    };
    std::vector<Level> levels;
    auto enter = [&](std::string folder, std::string_view searchPattern) {
        FindHandle search;
        FindData first;
        if (machine_.files.FindFirst(searchPattern, search, first) != kOk) return;
        levels.push_back(Level{std::move(search), std::move(folder), std::move(first)});
    };
    std::size_t slash = pattern.rfind('\\');
    enter(std::string(pattern.substr(0, slash == std::string_view::npos ? 0 : slash)), pattern);
    while (!levels.empty()) {
        Level& level = levels.back();
        FindData entry;
        if (level.first) {
            entry = std::move(*level.first);
            level.first.reset();
        } else if (level.search->Next(entry) != kOk) {
            levels.pop_back();
            continue;
        }
        std::string path = level.folder + "\\" + entry.name;
        NotifyCurrentItem(kRegistryEngine, path);
        if (entry.name == "." || entry.name == "..") continue;
        if ((entry.attributes & kAttrDirectory) != 0) {
            // A link to a folder is not followed: it leads to a tree walked elsewhere, or back up this one.
            if ((entry.attributes & kAttrReparsePoint) != 0) continue;
            if (IsSkippedShortcutFolder(entry.name, path, desktop)) continue;
            enter(path, path + "\\*.*");
            continue;
        }
        if (!IsExaminedShortcut(entry.name, path) || judge.TargetOk(path)) continue;
        ReportProblem(
            std::make_unique<scan::CRegistryProblem>(path, "", "", kRegistryEngine, scan::REG_SHORTCUTS));
    }
}

}  // namespace brisko::scanners
