// The registry engine's checks of COM classes, interfaces, type libraries and applications: registrations
// under HKEY_CLASSES_ROOT that name files which are gone, or classes that are no longer registered.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"
#include "scan/RegistryPaths.h"
#include "scanners/registry/RegistryScanner.h"
#include "scanners/registry/RegistryText.h"

namespace brisko::scanners {

using namespace platform;
using scan::kRegistryEngine;

namespace {

constexpr int kCategory = scan::REG_CUSTOM_CONTROLS;
// KEY_READ | KEY_WRITE: what the commands and type library paths are opened with.
constexpr Access kReadWrite = 0x2001F;
// The type library and application walks read names and commands into smaller buffers.
constexpr std::uint32_t kShortNameLength = 299;
constexpr std::uint32_t kCommandDataLength = 299;
constexpr std::size_t kMaxWalkDepth = 512;
constexpr std::string_view kClassesRootPrefix = "HKEY_CLASSES_ROOT\\";
constexpr std::string_view kDefaultName = "(Default)";

// True when `part` first occurs in `text` somewhere after its start.
bool OccursInside(std::string_view text, std::string_view part) {
    std::size_t at = text.find(part);
    return at != std::string_view::npos && at > 0;
}

bool StartsWithAny(std::string_view name, std::string_view firsts) {
    return !name.empty() && firsts.find(name.front()) != std::string_view::npos;
}

std::string_view TrimWhite(std::string_view text) {
    constexpr std::string_view kWhite = " \t\r\n";
    std::size_t first = text.find_first_not_of(kWhite);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kWhite) - first + 1);
}

// The unnamed value of an open key as text, or false when it cannot be read within `capacity` bytes.
bool ReadDefaultText(Registry& registry, HKey key, std::uint32_t capacity, std::string& text) {
    ValueType type = kRegNone;
    Bytes data;
    if (registry.QueryValue(key, "", capacity, type, data) != kOk) return false;
    text = scan::DataText(data);
    return true;
}

}  // namespace

void RegistryScanner::ScanCustomControls() {
    WalkClassKeys(kClassesRoot, "", kCategory, true);
    CheckClassIdKeys(kClassesRoot, "CLSID", kCategory);
    CheckTypeLibraries();
    CheckApplicationCommands();
    CheckInterfaceProxies();
    CheckProgIdClasses();
}

void RegistryScanner::WalkClassKeys(HKey root, std::string_view path, int category, bool skipNestedClsid) {
    // Below a key whose path holds "Wow6432Node" (a 32-bit mirror) or, for the walk of the whole class
    // registry, "CLSID" further in, nothing is examined.
    auto leavesChildren = [&](std::string_view keyPath) {
        return OccursInside(keyPath, "Wow6432Node") || (skipNestedClsid && OccursInside(keyPath, "CLSID"));
    };
    // The class keys below the top-level CLSID key are examined by CheckClassIdKeys; walking them here too
    // would list every broken class value twice.
    auto leftToClassCheck = [&](std::string_view keyPath) {
        return skipNestedClsid && root == kClassesRoot && EqualsNoCase(keyPath, "CLSID");
    };
    // Depth first with an explicit stack of open keys, so no tree can exhaust the worker's stack.
    struct Level {
        RegKey key;
        std::string path;
        std::uint32_t index = 0;
    };
    std::vector<Level> levels;
    auto enter = [&](RegKey key, std::string keyPath) {
        if (leavesChildren(keyPath) || leftToClassCheck(keyPath)) return;
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
        // Extensions, "*" and "%" keys are file associations, judged by their own category.
        if (StartsWithAny(name, ".*%")) continue;
        std::string child = level.path.empty() ? name : level.path + "\\" + name;
        NotifyCurrentItem(kRegistryEngine, child);
        RegKey key;
        if (machine_.registry.OpenKey(level.key.Get(), name, kKeyAllAccess, key) != kOk) continue;
        CheckOpenKeyValues(key.Get(), root, child, category, false);
        enter(std::move(key), std::move(child));
    }
}

void RegistryScanner::CheckClassIdKeys(HKey root, std::string_view path, int category) {
    RegKey classes;
    if (machine_.registry.OpenKey(root, path, kKeyAllAccess, classes) != kOk) return;
    std::string name;
    for (std::uint32_t index = 0;; ++index) {
        Status status = machine_.registry.EnumKey(classes.Get(), index, scan::kNameBufferLength, name);
        // One class whose name does not fit the buffer does not hide the classes after it; any other
        // failure is the key's own and would repeat at every index, so it ends the walk.
        if (status == kMoreData) continue;
        if (status != kOk) break;
        std::string child = std::string(path) + "\\" + name;
        NotifyCurrentItem(kRegistryEngine, child);
        CheckKeyValues(root, child, category, false);
        WalkClassKeys(root, child, category, false);
    }
}

void RegistryScanner::CheckTypeLibraries() {
    Registry& registry = machine_.registry;
    RegKey libraries;
    if (registry.OpenKey(kClassesRoot, "TypeLib", kKeyRead, libraries) != kOk) return;
    std::string library;
    for (std::uint32_t l = 0; registry.EnumKey(libraries.Get(), l, kShortNameLength, library) == kOk; ++l) {
        const std::string libraryText = std::string(kClassesRootPrefix) + "TypeLib\\" + library + "\\";
        NotifyCurrentItem(kRegistryEngine, libraryText);
        RegKey libraryKey;
        if (registry.OpenKey(libraries.Get(), library, kKeyRead, libraryKey) != kOk) continue;
        std::string version;
        for (std::uint32_t v = 0; registry.EnumKey(libraryKey.Get(), v, kShortNameLength, version) == kOk;
             ++v) {
            const std::string versionText = libraryText + version + "\\";
            NotifyCurrentItem(kRegistryEngine, versionText);
            CheckHelpDir(versionText);
            RegKey versionKey;
            if (registry.OpenKey(libraryKey.Get(), version, kKeyRead, versionKey) != kOk) continue;
            // The subkeys are locale identifiers, each with its "win32" path; "FLAGS" and "HELPDIR" have
            // none and are passed over when it does not open.
            std::string locale;
            for (std::uint32_t w = 0; registry.EnumKey(versionKey.Get(), w, kShortNameLength, locale) == kOk;
                 ++w) {
                const std::string pathKey = locale + "\\win32";
                NotifyCurrentItem(kRegistryEngine, versionText + pathKey);
                RegKey win32;
                std::string text;
                if (registry.OpenKey(versionKey.Get(), pathKey, kReadWrite, win32) != kOk) continue;
                if (!ReadDefaultText(registry, win32.Get(), scan::kDataBufferLength, text)) continue;
                std::string stripped;
                std::string cleaned;
                StripVerbPrefix(text, stripped);
                if (!CleanExePath(machine_.shell, stripped, cleaned)) continue;
                // Only a full drive path is judged: a bare name is found through the search path when
                // the library is loaded. A drive that comes and goes is not judged either.
                if (cleaned.size() < 2 || cleaned[1] != ':' || !IsJudgeableDrive(cleaned[0])) continue;
                std::string onPath = cleaned;
                if (machine_.shell.PathFindOnPath(onPath, nullptr) || machine_.shell.PathFileExists(cleaned))
                    continue;
                ReportClassDefault(versionText + pathKey, cleaned);
            }
        }
    }
}

void RegistryScanner::CheckHelpDir(const std::string& prefix) {
    const std::string keyPath = prefix + "HELPDIR";
    std::size_t slash = keyPath.find('\\');
    if (slash == std::string::npos) return;
    RegKey key;
    std::string folder;
    if (machine_.registry.OpenKey(kClassesRoot, std::string_view(keyPath).substr(slash + 1), kKeyAllAccess,
                                  key) != kOk ||
        !ReadDefaultText(machine_.registry, key.Get(), scan::kDataBufferLength, folder) || folder.empty()) {
        return;
    }
    // A folder whose expansion does not fit the buffer is not judged half-expanded.
    std::string expanded;
    std::uint32_t needed = machine_.shell.ExpandEnvironmentStrings(folder, scan::kDataBufferLength, expanded);
    if (needed == 0 || needed > scan::kDataBufferLength) return;
    if (!CheckFileRef(expanded) && OccursInside(expanded, ":\\")) ReportClassDefault(keyPath, expanded);
}

void RegistryScanner::CheckApplicationCommands() {
    Registry& registry = machine_.registry;
    RegKey applications;
    if (registry.OpenKey(kClassesRoot, "Applications", kKeyRead, applications) != kOk) return;
    std::string application;
    for (std::uint32_t a = 0; registry.EnumKey(applications.Get(), a, kShortNameLength, application) == kOk;
         ++a) {
        const std::string commandKey = "Applications\\" + application + "\\shell\\open\\command";
        RegKey key;
        std::string command;
        if (registry.OpenKey(kClassesRoot, commandKey, kReadWrite, key) != kOk ||
            !ReadDefaultText(registry, key.Get(), kCommandDataLength, command) || command.empty()) {
            continue;
        }
        std::string expanded = command;
        scan::ExpandDataText(machine_.shell, expanded);
        std::optional<std::string> candidate = PathCandidate(expanded);
        // Commands that run a library's entry point, an installer or an uninstaller are the system's.
        if (candidate && (candidate->find("rundll") != std::string::npos ||
                          candidate->find("msiexec.exe") != std::string::npos)) {
            continue;
        }
        std::string lowered = command;
        ToLowerAscii(lowered);
        if (lowered.find("uninst.exe") != std::string::npos) continue;
        if (!candidate) continue;
        std::string_view program = TrimWhite(*candidate);
        if (!program.empty() && !CheckFileRef(program))
            ReportClassDefault(std::string(kClassesRootPrefix) + commandKey, expanded);
    }
}

void RegistryScanner::CheckInterfaceProxies() {
    RegKey interfaces;
    if (machine_.registry.OpenKey(kClassesRoot, "Interface", kKeyAllAccess, interfaces) != kOk) return;
    std::string name;
    for (std::uint32_t i = 0;
         machine_.registry.EnumKey(interfaces.Get(), i, scan::kNameBufferLength, name) == kOk; ++i) {
        if (StartsWithAny(name, ".*")) continue;
        const std::string key = "Interface\\" + name + "\\ProxyStubClsid32";
        NotifyCurrentItem(kRegistryEngine, key);
        CheckClassReference(key);
    }
}

void RegistryScanner::CheckProgIdClasses() {
    RegKey root;
    if (machine_.registry.OpenKey(kClassesRoot, "", kKeyAllAccess, root) != kOk) return;
    std::string name;
    for (std::uint32_t i = 0; machine_.registry.EnumKey(root.Get(), i, scan::kNameBufferLength, name) == kOk;
         ++i) {
        if (StartsWithAny(name, ".*")) continue;
        // A programmatic identifier holds its CLSID key alone; one with a current version or other keys
        // beside it is not judged.
        if (scan::CountSubkeys(machine_.registry, kClassesRoot, name) != 1) continue;
        const std::string key = name + "\\CLSID";
        NotifyCurrentItem(kRegistryEngine, key);
        CheckClassReference(key);
    }
}

void RegistryScanner::CheckClassReference(const std::string& subKey) {
    RegKey key;
    std::string classId;
    if (machine_.registry.OpenKey(kClassesRoot, subKey, kKeyAllAccess, key) != kOk ||
        !ReadDefaultText(machine_.registry, key.Get(), scan::kDataBufferLength, classId) ||
        !classId.starts_with('{')) {
        return;
    }
    // Only a class that is plainly absent counts: one that cannot be opened for another reason (such as
    // access rights) is there.
    RegKey classKey;
    if (machine_.registry.OpenKey(kClassesRoot, "CLSID\\" + classId, kKeyAllAccess, classKey) ==
        kFileNotFound)
        ReportClassDefault(std::string(kClassesRootPrefix) + subKey, classId);
}

void RegistryScanner::ReportClassDefault(const std::string& keyPath, const std::string& data) {
    // The walk of the whole class registry judges these values too; what it already listed is not listed
    // a second time under the other spelling of the unnamed value.
    for (const auto& earlier : context_.problems.RegistryProblems) {
        if (earlier->category == kCategory && EqualsNoCase(earlier->keyPath, keyPath) &&
            EqualsNoCase(scan::ShownValueName(earlier->valueName), kDefaultName)) {
            return;
        }
    }
    ReportProblem(std::make_unique<scan::CRegistryProblem>(keyPath, std::string(kDefaultName), data,
                                                           kRegistryEngine, kCategory));
}

}  // namespace brisko::scanners
