// The registry engine's checks of file associations and program shortcuts.
#include "scanners/registry/RegistryScanner.h"

namespace brisko::scanners {

void RegistryScanner::ScanFileExtensions() {}
void RegistryScanner::ScanShortcuts() {}

}  // namespace brisko::scanners
