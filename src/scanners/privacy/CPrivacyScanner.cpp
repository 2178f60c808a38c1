#include "scanners/privacy/CPrivacyScanner.h"

namespace brisko::scanners {

CPrivacyScanner::CPrivacyScanner(scan::ScanContext& context, std::span<const bool> enabled)
    : CBaseScanner(context, scan::kPrivacyEngine, enabled) {}

void CPrivacyScanner::Scan(platform::Notifier& window) {
    SetWindow(&window);
    for (int category = 0; category < scan::kCategoryCounts[scan::kPrivacyEngine]; ++category) {
        RunCategory(
            category, [] {}, scan::kPrivacyEngine);
    }
}

}  // namespace brisko::scanners
