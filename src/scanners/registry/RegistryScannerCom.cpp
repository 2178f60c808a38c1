// The registry engine's checks of COM classes, interfaces, type libraries and applications.
#include "scanners/registry/RegistryScanner.h"

namespace brisko::scanners {

void RegistryScanner::ScanCustomControls() {}

}  // namespace brisko::scanners
