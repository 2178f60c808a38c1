// The demo machine's documented entries for installed software: registry integrity, fonts, help files, shared DLLs, startup, uninstall entries and virtual devices.
#include "platform/sim/DemoMachine.h"

namespace brisko::platform::sim {

std::span<const DemoEntry> DemoInstalledSoftwareEntries() {
    return {};
}

std::span<const std::string_view> DemoInstalledSoftwareFiles() {
    return {};
}

bool AddDemoInstalledSoftwareExtras(SimMachine&, std::string&) {
    return true;
}

}  // namespace brisko::platform::sim
