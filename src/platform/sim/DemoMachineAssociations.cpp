// The demo machine's documented entries for file associations and program shortcuts.
#include "platform/sim/DemoMachine.h"

namespace brisko::platform::sim {

std::span<const DemoEntry> DemoAssociationEntries() {
    return {};
}

std::span<const std::string_view> DemoAssociationFiles() {
    return {};
}

bool AddDemoAssociationExtras(SimMachine&, std::string&) {
    return true;
}

}  // namespace brisko::platform::sim
