// The registry engine's checks of installed software: Registry Integrity, fonts, help files, shared DLLs,
// startup items, uninstall entries and virtual devices.
#include "scanners/registry/RegistryScanner.h"

namespace brisko::scanners {

void RegistryScanner::ScanRegistryIntegrity() {}
void RegistryScanner::ScanFonts() {}
void RegistryScanner::ScanHelpFiles() {}
void RegistryScanner::ScanSharedDlls() {}
void RegistryScanner::ScanStartup() {}
void RegistryScanner::ScanUninstall() {}
void RegistryScanner::ScanVirtualDevices() {}

}  // namespace brisko::scanners
