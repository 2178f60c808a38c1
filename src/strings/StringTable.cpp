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
    {kIdRunOnStartupValue, "Run Brisko on windows startup"},
    {kIdShowSplashValue, "Show splash screen when launched"},
    {kIdCloseAfterRepairValue, "Close program after repair"},
    {kIdShortcutTemplate,
     "<font color=#ff0000><b> %1: The file referenced doesn't exist.</b></font> <br>Key:%2<br>%3=%4<br>"},
    {kIdMinimizeWhileScanningValue, "Minimize software while scanning"},
    {kIdSharedDllTemplate,
     "<font color=#ff0000><b> %1: The file (%2) doesn't exist.</b></font> <br><b> Key:</b>%3<br>  Value: "
     "%4<br>"},
    {kIdRepairAutomaticallyValue, "Repair errors automatically after found"},
    {kIdCreateRestorePointValue, "Create a system restore point before repairing errors"},
    {kIdCheckForUpdatesValue, "Check for updates automatically"},
    {kIdPromptBeforeDownloadValue, "Prompt me before downloading updates"},
    {kIdScanAtLaunchValue, "Start scanning automatically when software is launched"},
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
     "The following registry value and keys will be ignored. Simply click on 'Add Item' and add the "
     "specified "
     "registry path to the 'Ignore List'"},
    {kIdIgnoreListColumn, "Items"},
    {kIdAddIgnoreHeading, "Add To Ignore List"},
    {kIdAddIgnoreRootLabel, "Select Selection:"},
    {kIdAddIgnorePathLabel, "Registry Path:"},
    {kIdAddIgnoreEmptyPath, "Please enter a registry path for ignore list"},
    {kIdCaptionRunOnStartup, "Run on startup"},
    {kIdCaptionCloseAfterRepair, "Close software after repair"},
    {kIdRatingUnknown, "UNKNOWN"},
    {kIdRatingPoor, "POOR"},
    {kIdRatingLow, "LOW"},
    {kIdRatingMedium, "MEDIUM"},
    {kIdRatingGood, "GOOD"},
    {kIdRatingHigh, "HIGH"},
    {kIdSpeedLossTemplate, "Speed Loss level: %1"},
    {kIdRegistryHealthCaption, "Registry Health is"},
    {kIdHealthLow, "LOW"},
    {kIdHealthFair, "FAIR"},
    {kIdHealthGood, "GOOD"},
    {kIdHealthUnknown, "UNKNOWN"},
    {kIdHealthExcellent, "EXCELLENT"},
    {kIdScanNotYetPerformed, "Scan not yet performed"},
    {kIdToday, "Today"},
    {kIdDaysAgoTemplate, "%1 days ago"},
    {kIdSummaryDateTemplate, "%1 %2 %3, %4:%5:%6"},
    {kIdRegistryErrorsToFix, "Registry Errors to Fix:\t%1"},
    {kIdDiskItemsToClean, "Disk Items to Clean:\t\t%1 %2 (%3 Files)"},
    {kIdFixedToDate, "Registry Error(s)\t%1\nFixed to Date"},
    {kIdFoundToDate, "Invalid Error(s)\t%1\nFound to Date"},
    {kIdScanRecommended, "Attention: System scan is recommended"},
    {kIdLastScanPrefix, "Last Scan: "},
    {kIdErrorsToCleanTemplate, "%1 errors and %2 %3 to clean"},
    {kIdRequiresRepairAndTuneup, "Attention: Your PC requires repair and tune-up"},
    {kIdRequiresTuneup, "Attention: Your PC requires tune up"},
    {kIdRequiresOptimization, "Your PC requires some optimization"},
    {kIdNoFurtherOptimization, "No further optimization required"},
    {kIdScanNowAction,
     "Recommended action: <font color=\"#1257F9\" size=\"-1\"><a href=\"app:WM_APP_FIXNOW\"> "
     "<u><b>Scan Now</b></u></a></font>"},
    {kIdFixNowAction,
     "Recommended action: <font color=\"#1257F9\" size=\"-1\"><a href=\"app:WM_APP_FIXNOW\"> "
     "<u><b>Fix Now</b></u></a></font>"},
    {kIdProblemsFound, "Problems Found: %1"},
    {kIdProblemsCleaned, "Problems Cleaned: %1"},
    {kIdNoScanPerformedYet, "Last Scan : No Scan Performed Yet"},
    {kIdNoErrorsFoundYet, "0 \nError(s) Found"},
    {kIdNoErrorsFixed, "0 \nError(s) Fixed"},
    {kIdErrorsFoundTemplate, "%1 \nErrors(s) Found"},
    {kIdErrorsFixedTemplate, "%1 \nError(s) Fixed"},
    {kIdLogDetailsText,
     "%1 records all changes made to the registry. Simply click on any report below to inspect the "
     "log file."},
    {kIdLogDateColumn, "Date & Time"},
    {kIdLogFileColumn, "File Name"},
    {kIdLogInUse, "selected file already using by some other proccess"},
    {kIdErrorCaption, "Error"},
    {kIdLogDateTemplate, "%1-%2-%3, %4:%5:%6"},
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
