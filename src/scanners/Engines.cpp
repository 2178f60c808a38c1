#include "scanners/Engines.h"

#include "scanners/disk/CDiskCleanupScanner.h"
#include "scanners/privacy/CPrivacyScanner.h"
#include "scanners/registry/RegistryScanner.h"
#include "scanners/tuneup/CTuneupScanner.h"

namespace brisko::scanners {

scan::Engines MakeEngines(scan::ScanContext& context, const std::array<bool, scan::kScanItemCount>& enabled) {
    auto group = [&](int engine) {
        return std::span<const bool>(enabled.data() + scan::kFirstScanItem[engine],
                                     static_cast<std::size_t>(scan::kCategoryCounts[engine]));
    };
    return scan::Engines{
        std::make_unique<RegistryScanner>(context, group(scan::kRegistryEngine)),
        std::make_unique<CDiskCleanupScanner>(context, group(scan::kJunkFileEngine)),
        std::make_unique<CPrivacyScanner>(context, group(scan::kPrivacyEngine)),
        std::make_unique<CTuneupScanner>(context, group(scan::kTuneupEngine)),
    };
}

}  // namespace brisko::scanners
