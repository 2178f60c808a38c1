#include "scanners/tuneup/CTuneupScanner.h"

namespace brisko::scanners {

CTuneupScanner::CTuneupScanner(scan::ScanContext& context, std::span<const bool> enabled)
    : CBaseScanner(context, scan::kTuneupEngine, enabled) {}

void CTuneupScanner::Scan(platform::Notifier& window) {
    SetWindow(&window);
    for (int category = 0; category < scan::kCategoryCounts[scan::kTuneupEngine]; ++category) {
        RunCategory(
            category, [] {}, scan::kTuneupEngine);
    }
}

}  // namespace brisko::scanners
