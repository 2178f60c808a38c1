// The junk-file engine. Its categories run in order with their notifications; their checks arrive with the
// engine's own work.
#pragma once

#include "scan/CBaseScanner.h"

namespace brisko::scanners {

class CDiskCleanupScanner final : public scan::CBaseScanner {
public:
    CDiskCleanupScanner(scan::ScanContext& context, std::span<const bool> enabled);
    void Scan(platform::Notifier& window) override;
};

}  // namespace brisko::scanners
