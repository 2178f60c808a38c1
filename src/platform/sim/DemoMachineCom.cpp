// The demo machine's documented entries for COM classes, interfaces, type libraries and applications.
#include "platform/sim/DemoMachine.h"

namespace brisko::platform::sim {

std::span<const DemoEntry> DemoComEntries() {
    return {};
}

std::span<const std::string_view> DemoComFiles() {
    return {};
}

bool AddDemoComExtras(SimMachine&, std::string&) {
    return true;
}

}  // namespace brisko::platform::sim
