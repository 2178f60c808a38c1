// The demo machine's documented registry entries: broken ones the registry scan must report and sound
// ones it must leave alone, each chosen to show one rule of the checks. The demo is built from this table
// and its tests read the same table, so the two cannot drift; docs/demo-machine.md describes it for
// people.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace brisko::platform::sim {

class SimMachine;

enum class DemoVerdict {
    kFound,     // the scan reports it in its category
    kHealthy,   // the scan reports nothing: it is sound, or not the scan's to judge
    kExcluded,  // broken, but an entry of the built-in exclusion lists keeps it out of the results
};

// How an entry's data text becomes the value's bytes.
enum class DemoData {
    kText,          // the text and a terminating zero
    kUnterminated,  // the text's bytes without a terminating zero, as a careless program writes them
    kDword,         // a decimal number, stored as four bytes
    kOversized,     // the text repeated to kOversizedLength bytes: more than a scanner's buffer
};

inline constexpr std::size_t kOversizedLength = 2000;

struct DemoEntry {
    int category;  // the registry category that judges it (0 Software Locations ... 11 Deep Scan)
    HKey root;
    std::string_view key;
    std::string_view name;  // empty: the unnamed value
    ValueType type;
    std::string_view data;
    DemoData form;
    DemoVerdict verdict;
    std::string_view excludedBy;  // kExcluded: the list entry that drops it
};

// The documented entries, in the order they are created (values enumerate in that order).
std::span<const DemoEntry> DemoRegistryEntries();
// Files the demo installs so that the sound entries name something that exists.
std::span<const std::string_view> DemoFiles();
// The value's bytes as the demo stores them.
Bytes DemoValueBytes(const DemoEntry& entry);

// Adds the documented entries and their files to a newly created machine.
bool AddDemoEntries(SimMachine& machine, std::string& error);

// The entries, files and anything else of each group of registry categories, each in a file of its own:
// COM and type libraries (DemoMachineCom.cpp), installed software (DemoMachineInstalledSoftware.cpp),
// file associations and shortcuts (DemoMachineAssociations.cpp).
std::span<const DemoEntry> DemoComEntries();
std::span<const std::string_view> DemoComFiles();
bool AddDemoComExtras(SimMachine& machine, std::string& error);
std::span<const DemoEntry> DemoInstalledSoftwareEntries();
std::span<const std::string_view> DemoInstalledSoftwareFiles();
bool AddDemoInstalledSoftwareExtras(SimMachine& machine, std::string& error);
std::span<const DemoEntry> DemoAssociationEntries();
std::span<const std::string_view> DemoAssociationFiles();
bool AddDemoAssociationExtras(SimMachine& machine, std::string& error);

}  // namespace brisko::platform::sim
