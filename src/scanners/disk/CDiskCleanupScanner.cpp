#include "scanners/disk/CDiskCleanupScanner.h"

namespace brisko::scanners {

CDiskCleanupScanner::CDiskCleanupScanner(scan::ScanContext& context, std::span<const bool> enabled)
    : CBaseScanner(context, scan::kJunkFileEngine, enabled) {}

void CDiskCleanupScanner::Scan(platform::Notifier& window) {
    SetWindow(&window);
    for (int category = 0; category < scan::kCategoryCounts[scan::kJunkFileEngine]; ++category) {
        RunCategory(
            category, [] {}, scan::kJunkFileEngine);
    }
}

}  // namespace brisko::scanners
