// The four engines of a scan controller, each made with its group's enabled flags.
#pragma once

#include <array>

#include "scan/CScanEngine.h"

namespace brisko::scanners {

scan::Engines MakeEngines(scan::ScanContext& context, const std::array<bool, scan::kScanItemCount>& enabled);

}  // namespace brisko::scanners
