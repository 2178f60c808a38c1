// The registry engine: twelve categories of registry entries, judged mainly by whether the files they name
// still exist.
#pragma once

#include "scan/CBaseScanner.h"

namespace brisko::scanners {

class RegistryScanner final : public scan::CBaseScanner {
public:
    RegistryScanner(scan::ScanContext& context, std::span<const bool> enabled);
    void Scan(platform::Notifier& window) override;
};

}  // namespace brisko::scanners
