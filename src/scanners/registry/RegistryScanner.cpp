#include "scanners/registry/RegistryScanner.h"

namespace brisko::scanners {

RegistryScanner::RegistryScanner(scan::ScanContext& context, std::span<const bool> enabled)
    : CBaseScanner(context, scan::kRegistryEngine, enabled) {}

void RegistryScanner::Scan(platform::Notifier& window) {
    SetWindow(&window);
    // The registry engine sends its category notifications with engine 0.
    for (int category = 0; category < scan::kCategoryCounts[scan::kRegistryEngine]; ++category) {
        RunCategory(category, [] {}, 0);
    }
}

}  // namespace brisko::scanners
