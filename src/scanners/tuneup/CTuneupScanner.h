// The tune-up engine. Its categories run in order with their notifications; their checks arrive with the
// engine's own work.
#pragma once

#include "scan/CBaseScanner.h"

namespace brisko::scanners {

class CTuneupScanner final : public scan::CBaseScanner {
public:
    CTuneupScanner(scan::ScanContext& context, std::span<const bool> enabled);
    void Scan(platform::Notifier& window) override;
};

}  // namespace brisko::scanners
