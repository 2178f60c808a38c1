// The registry engine: twelve categories of registry entries, judged mainly by whether the files they name
// still exist.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "scan/CBaseScanner.h"
#include "scanners/registry/FileRefChecker.h"

namespace brisko::scanners {

class RegistryScanner final : public scan::CBaseScanner {
public:
    RegistryScanner(scan::ScanContext& context, std::span<const bool> enabled);

    // Runs the enabled categories in order, each between its start and end notifications.
    void Scan(platform::Notifier& window) override;

    // The file-reference tests every category judges its entries with.
    bool CheckFileRef(std::string_view text) { return fileRefs_.CheckFileRef(text); }
    bool CheckPathToken(std::string_view token, const std::vector<std::string>* searchDirs) {
        return fileRefs_.CheckPathToken(token, searchDirs);
    }
    bool IsJudgeableDrive(char driveLetter) { return fileRefs_.IsJudgeableDrive(driveLetter); }

    // Reports every value of root\subKey whose data names a missing file; with `checkNames`, also a value
    // without a path in its data whose name names a missing file.
    void CheckKeyValues(platform::HKey root, std::string_view subKey, int category, bool checkNames);
    // The same for a key already open; `root` and `subKey` name it in what is reported.
    void CheckOpenKeyValues(platform::HKey key, platform::HKey root, std::string_view subKey, int category,
                            bool checkNames);
    // Checks the values of every key below root\path, depth first in index order. Below keys whose path
    // holds "Wow6432Node", "Classes\" or ".DEFAULT" nothing is examined: those trees mirror others or
    // belong to no one user.
    void WalkKeyTree(platform::HKey root, std::string_view path, int category);

private:
    using Checks = void (RegistryScanner::*)();

    void ScanSoftwareLocations();
    void ScanDeepScan();

    // Installed software (RegistryScannerInstalledSoftware.cpp).
    void ScanRegistryIntegrity();
    void ScanFonts();
    void ScanHelpFiles();
    void ScanSharedDlls();
    void ScanStartup();
    void ScanUninstall();
    void ScanVirtualDevices();
    void CheckShellFolders();
    void CheckFonts();
    void CheckHelpFiles();
    void CheckSharedDlls();
    void CheckRunValues(platform::HKey root, std::string_view path);
    void CheckDisabledStartup(std::string_view path);
    void CheckUninstallEntries(platform::HKey root, std::string_view path);
    void CheckInstallerFolders(platform::HKey root, std::string_view path);
    void CheckVirtualDevices();
    // True when the folder holds a file of exactly that name (no wildcards).
    bool FolderHoldsFile(const std::string& folder, std::string_view name);

    // File associations and shortcuts (RegistryScannerAssociations.cpp).
    void ScanFileExtensions();
    void ScanShortcuts();
    // Extension keys below root\path that hold nothing but an empty open-with list.
    void CheckOpenWithLists(platform::HKey root, std::string_view path);
    // Extensions under HKEY_CLASSES_ROOT whose file type's open command names a missing program.
    void CheckExtensionCommands();
    // Shortcuts with a missing target below the folder of `pattern` (a folder path and "\*.*").
    void ScanShortcutFolder(std::string_view pattern);

    // COM classes, interfaces, type libraries and applications (RegistryScannerCom.cpp).
    void ScanCustomControls();
    void ReportValue(platform::HKey root, std::string_view subKey, const std::string& valueName,
                     const std::string& data, int category);
    // The values of every key below root\path, depth first; keys named ".x", "*x" or "%x" are left out
    // with everything below them.
    void WalkClassKeys(platform::HKey root, std::string_view path, int category, bool skipNestedClsid);
    // The values of every class key below root\path and of the keys below each.
    void CheckClassIdKeys(platform::HKey root, std::string_view path, int category);
    void CheckTypeLibraries();
    // `prefix` is a type library version's full key path ending in a backslash.
    void CheckHelpDir(const std::string& prefix);
    void CheckApplicationCommands();
    void CheckInterfaceProxies();
    void CheckProgIdClasses();
    // The class named by the unnamed value of HKEY_CLASSES_ROOT\subKey, reported when it is not registered.
    void CheckClassReference(const std::string& subKey);
    // Reports the unnamed value of a class registration, unless this category already listed it.
    void ReportClassDefault(const std::string& keyPath, const std::string& data);

    // The checks of each category in scan order; a category without checks yet only sends its
    // notifications.
    static const std::array<Checks, 12> kCategoryChecks;

    FileRefChecker fileRefs_;
};

}  // namespace brisko::scanners
