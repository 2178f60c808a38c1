#include "strings/StringTable.h"

#include <algorithm>

namespace brisko::strings {

namespace {

constexpr std::initializer_list<StringEntry> kStrings = {
    {kIdCustomControls, "Custom Controls"},
    {kIdProductName, "Brisko"},
    {kIdSoftwareLocations, "Software Locations"},
    {kIdRegistryIntegrity, "Registry Integrity"},
    {kIdFontEntries, "Font Entries"},
    {kIdInvalidKeyTemplate,
     "<font color=#ff0000><b>%1: The key is invalid. The file referenced (%2) doesn't exist.</b></font> "
     "<br><b>Key:</b> %3<br>%4=%5<br>"},
    {kIdSharedDlls, "Shared DLLs"},
    {kIdAddRemovePrograms, "Add Remove Programs"},
    {kIdHelpFiles, "Help Files Information"},
    {kIdStartupItems, "Startup Items"},
    {kIdVirtualDevices, "Virtual Devices"},
    {kIdProgramShortcuts, "Program Shortcuts"},
    {kIdFileExtensions, "File Extensions"},
    {kIdShortcutTemplate,
     "<font color=#ff0000><b> %1: The file referenced doesn't exist.</b></font> <br>Key:%2<br>%3=%4<br>"},
    {kIdSharedDllTemplate,
     "<font color=#ff0000><b> %1: The file (%2) doesn't exist.</b></font> <br><b> Key:</b>%3<br>  Value: "
     "%4<br>"},
    {kIdDeepScan, "Deep Scan"},
    {kIdMediumPriority, "Medium Priority"},
    {kIdLowPriority, "Low Priority"},
    {kIdHighPriority, "High Priority"},
    {kIdNoErrorsFound, "No Errors Found"},
    {kIdEngineRegistry, "System Registry"},
    {kIdEngineDisk, "Disk Performance Issues"},
    {kIdEnginePrivacy, "Privacy Traces"},
    {kIdEngineTuneup, "System Tweaks"},
    {kIdIgnoreListIntro,
     "The following registry value and keys will be ignored. Simply click on 'Add Item' and add the specified "
     "registry path to the 'Ignore List'"},
    {kIdIgnoreListColumn, "Items"},
    {kIdAddIgnoreHeading, "Add To Ignore List"},
    {kIdAddIgnoreRootLabel, "Select Selection:"},
    {kIdAddIgnorePathLabel, "Registry Path:"},
    {kIdAddIgnoreEmptyPath, "Please enter a registry path for ignore list"},
};

}  // namespace

const char* LoadString(int id) {
    auto it =
        std::find_if(kStrings.begin(), kStrings.end(), [id](const StringEntry& e) { return e.id == id; });
    return it == kStrings.end() ? nullptr : it->text;
}

std::string LoadStringOrMarks(int id) {
    const char* text = LoadString(id);
    return text == nullptr ? "???" : text;
}

std::string FormatPositional(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next == '%') {
            out += '%';
            ++i;
        } else if (text[i] == '%' && next >= '1' && next <= '9' &&
                   static_cast<std::size_t>(next - '1') < arguments.size()) {
            out += *(arguments.begin() + (next - '1'));
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::initializer_list<StringEntry> AllStrings() {
    return kStrings;
}

}  // namespace brisko::strings
