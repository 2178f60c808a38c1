#include "scanners/registry/RegistryScanner.h"

#include <memory>

#include "scan/RegistryPaths.h"
#include "scanners/registry/RegistryText.h"
#include "strings/StringTable.h"

namespace brisko::scanners {

using namespace platform;
using scan::kRegistryEngine;

namespace {

// Paths whose subkeys are never examined: 32-bit mirrors, class registrations (their own categories
// judge them) and the default user's profile.
bool SkipsSubkeys(std::string_view path) {
    std::size_t wow = path.find("Wow6432Node");
    return (wow != std::string_view::npos && wow > 0) || path.find("Classes\\") != std::string_view::npos ||
           path.find(".DEFAULT") != std::string_view::npos;
}

// The current-item text of a value: "subkey || name=data".
std::string ValueItemText(std::string_view subKey, std::string_view name, std::string_view data) {
    std::string text(subKey);
    text += " || ";
    text += name.empty() ? std::string_view("(Default)") : name;
    text += '=';
    text += data;
    return text;
}

std::string DisplayName(int category) {
    return strings::LoadStringOrMarks(scan::RegType(category).nameId);
}

}  // namespace

const std::array<RegistryScanner::Checks, 12> RegistryScanner::kCategoryChecks = {
    &RegistryScanner::ScanSoftwareLocations,  // 0  Software Locations
    &RegistryScanner::ScanRegistryIntegrity,  // 1  Registry Integrity
    &RegistryScanner::ScanFonts,              // 2  Font Entries
    &RegistryScanner::ScanHelpFiles,          // 3  Help Files Information
    &RegistryScanner::ScanSharedDlls,         // 4  Shared DLLs
    &RegistryScanner::ScanStartup,            // 5  Startup Items
    &RegistryScanner::ScanUninstall,          // 6  Add Remove Programs
    &RegistryScanner::ScanVirtualDevices,     // 7  Virtual Devices
    &RegistryScanner::ScanFileExtensions,     // 8  File Extensions
    &RegistryScanner::ScanShortcuts,          // 9  Program Shortcuts
    &RegistryScanner::ScanCustomControls,     // 10 Custom Controls
    &RegistryScanner::ScanDeepScan,           // 11 Deep Scan
};

RegistryScanner::RegistryScanner(scan::ScanContext& context, std::span<const bool> enabled)
    : CBaseScanner(context, kRegistryEngine, enabled), fileRefs_(machine_.shell, machine_.files) {}

void RegistryScanner::Scan(Notifier& window) {
    SetWindow(&window);
    for (int category = 0; category < static_cast<int>(kCategoryChecks.size()); ++category) {
        const std::string name = DisplayName(category);
        if (!IsEnabled(category)) context_.log.WriteLog("Ignonred Scan for :" + name);
        // The registry engine sends its category notifications with engine 0.
        RunCategory(
            category,
            [&] {
                context_.log.WriteLog("Stated Scan for :" + name);
                if (Checks checks = kCategoryChecks[category]; checks != nullptr) (this->*checks)();
                context_.log.WriteLog("End Scan for :" + name);
            },
            kRegistryEngine);
    }
}

void RegistryScanner::ScanSoftwareLocations() {
    WalkKeyTree(kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths",
                scan::REG_SOFTWARE_LOCATIONS);
}

void RegistryScanner::ScanDeepScan() {
    WalkKeyTree(kCurrentUser, "", scan::REG_DEEP_SCAN);
    WalkKeyTree(kLocalMachine, "SOFTWARE", scan::REG_DEEP_SCAN);
}

void RegistryScanner::CheckKeyValues(HKey root, std::string_view subKey, int category, bool checkNames) {
    RegKey key;
    if (machine_.registry.OpenKey(root, subKey, kKeyAllAccess, key) != kOk) return;
    CheckOpenKeyValues(key.Get(), root, subKey, category, checkNames);
}

void RegistryScanner::CheckOpenKeyValues(HKey key, HKey root, std::string_view subKey, int category,
                                         bool checkNames) {
    RegValue value;
    for (std::uint32_t index = 0;
         machine_.registry.EnumValue(key, index, EnumLimits{scan::kNameBufferLength, scan::kDataBufferLength},
                                     value) == kOk;
         ++index) {
        // Whatever the value's type, its bytes are read as text up to the first zero.
        std::string data = scan::DataText(value.data);
        scan::ExpandDataText(machine_.shell, data);
        std::optional<std::string> candidate = PathCandidate(data);
        NotifyCurrentItem(kRegistryEngine, ValueItemText(subKey, value.name, data));
        if (candidate) {
            if (!candidate->empty() && !CheckFileRef(*candidate))
                ReportValue(root, subKey, value.name, data, category);
            continue;
        }
        if (!checkNames) continue;
        // Some programs keep paths as value names (lists of files they know), with data that says nothing.
        std::string name = value.name;
        scan::ExpandDataText(machine_.shell, name);
        candidate = PathCandidate(name);
        NotifyCurrentItem(kRegistryEngine, ValueItemText(subKey, name, data));
        if (candidate && !candidate->empty() && !CheckFileRef(*candidate)) {
            ReportValue(root, subKey, value.name, data, category);
        }
    }
}

namespace {
constexpr std::size_t kMaxWalkDepth = 512;
}  // namespace

void RegistryScanner::WalkKeyTree(HKey root, std::string_view path, int category) {
    // Depth first with an explicit stack of open keys, so a tree of any depth cannot exhaust the
    // worker's stack; the order is that of a recursive walk.
    struct Level {
        RegKey key;
        std::string path;
        std::uint32_t index = 0;
    };
    std::vector<Level> levels;
    auto enter = [&](RegKey key, std::string keyPath) {
        if (SkipsSubkeys(keyPath)) return;
        // Windows keeps keys no deeper than 512 levels; anything deeper is not a registry the walk can
        // trust, and is left out with a line in the log rather than walked without end.
        if (levels.size() >= kMaxWalkDepth) {
            context_.log.WriteLog("Skipped the keys below a tree too deep to walk: " + keyPath);
            return;
        }
        levels.push_back(Level{std::move(key), std::move(keyPath), 0});
    };
    RegKey start;
    if (machine_.registry.OpenKey(root, path, kKeyAllAccess, start) != kOk) return;
    enter(std::move(start), std::string(path));
    std::string name;
    while (!levels.empty()) {
        Level& level = levels.back();
        if (machine_.registry.EnumKey(level.key.Get(), level.index, scan::kNameBufferLength, name) != kOk) {
            levels.pop_back();
            continue;
        }
        ++level.index;
        std::string child = level.path.empty() ? name : level.path + "\\" + name;
        NotifyCurrentItem(kRegistryEngine, child);
        // The child opened once below its parent serves both its values and its own subkeys.
        RegKey key;
        if (machine_.registry.OpenKey(level.key.Get(), name, kKeyAllAccess, key) != kOk) continue;
        CheckOpenKeyValues(key.Get(), root, child, category, true);
        enter(std::move(key), std::move(child));
    }
}

void RegistryScanner::ReportValue(HKey root, std::string_view subKey, const std::string& valueName,
                                  const std::string& data, int category) {
    ReportProblem(std::make_unique<scan::CRegistryProblem>(scan::FullKeyPath(root, subKey), valueName, data,
                                                           kRegistryEngine, category));
}

}  // namespace brisko::scanners
