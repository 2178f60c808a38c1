// Every text the user sees, in one table: the GUI's string table is made from it and the command line
// reads the same entries, so the two never say different things. Ids are those of the GUI's resources.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace brisko::strings {

inline constexpr int kIdCustomControls = 102;
inline constexpr int kIdProductName = 103;
inline constexpr int kIdSoftwareLocations = 104;
inline constexpr int kIdRegistryIntegrity = 105;
inline constexpr int kIdFontEntries = 106;
inline constexpr int kIdInvalidKeyTemplate = 107;
inline constexpr int kIdSharedDlls = 108;
inline constexpr int kIdAddRemovePrograms = 110;
inline constexpr int kIdHelpFiles = 112;
inline constexpr int kIdStartupItems = 114;
inline constexpr int kIdVirtualDevices = 116;
inline constexpr int kIdProgramShortcuts = 118;
inline constexpr int kIdFileExtensions = 122;
// The general settings: each text is both the check box's caption and the name its value is stored under.
inline constexpr int kIdRunOnStartupValue = 128;
inline constexpr int kIdShowSplashValue = 129;
inline constexpr int kIdCloseAfterRepairValue = 130;
inline constexpr int kIdShortcutTemplate = 132;
inline constexpr int kIdMinimizeWhileScanningValue = 133;
inline constexpr int kIdSharedDllTemplate = 135;
inline constexpr int kIdRepairAutomaticallyValue = 136;
inline constexpr int kIdCreateRestorePointValue = 138;
inline constexpr int kIdCheckForUpdatesValue = 140;
inline constexpr int kIdPromptBeforeDownloadValue = 142;
inline constexpr int kIdScanAtLaunchValue = 144;
inline constexpr int kIdDeepScan = 175;

// Texts the GUI's resources give no number of their own: from 2000 on.
inline constexpr int kIdMediumPriority = 2001;
inline constexpr int kIdLowPriority = 2002;
inline constexpr int kIdHighPriority = 2003;
inline constexpr int kIdNoErrorsFound = 2004;
// The engines' names, as the main window's header shows them while they run.
inline constexpr int kIdEngineRegistry = 2010;
inline constexpr int kIdEngineDisk = 2011;
inline constexpr int kIdEnginePrivacy = 2012;
inline constexpr int kIdEngineTuneup = 2013;
// The ignore-list page and its add dialog.
inline constexpr int kIdIgnoreListIntro = 2100;
inline constexpr int kIdIgnoreListColumn = 2101;
inline constexpr int kIdAddIgnoreHeading = 2102;
inline constexpr int kIdAddIgnoreRootLabel = 2103;
inline constexpr int kIdAddIgnorePathLabel = 2104;
inline constexpr int kIdAddIgnoreEmptyPath = 2105;
// General settings, ratings, health, statistics, summary and home page, scan options, log details.
inline constexpr int kIdCaptionRunOnStartup = 2200;
inline constexpr int kIdCaptionCloseAfterRepair = 2201;
inline constexpr int kIdRatingUnknown = 2210;
inline constexpr int kIdRatingPoor = 2211;
inline constexpr int kIdRatingLow = 2212;
inline constexpr int kIdRatingMedium = 2213;
inline constexpr int kIdRatingGood = 2214;
inline constexpr int kIdRatingHigh = 2215;
inline constexpr int kIdSpeedLossTemplate = 2216;
inline constexpr int kIdRegistryHealthCaption = 2220;
inline constexpr int kIdHealthLow = 2221;
inline constexpr int kIdHealthFair = 2222;
inline constexpr int kIdHealthGood = 2223;
inline constexpr int kIdHealthUnknown = 2224;
inline constexpr int kIdHealthExcellent = 2225;
inline constexpr int kIdScanNotYetPerformed = 2230;
inline constexpr int kIdToday = 2231;
inline constexpr int kIdDaysAgoTemplate = 2232;
inline constexpr int kIdSummaryDateTemplate = 2233;
inline constexpr int kIdRegistryErrorsToFix = 2234;
inline constexpr int kIdDiskItemsToClean = 2235;
inline constexpr int kIdFixedToDate = 2236;
inline constexpr int kIdFoundToDate = 2237;
inline constexpr int kIdScanRecommended = 2240;
inline constexpr int kIdLastScanPrefix = 2241;
inline constexpr int kIdErrorsToCleanTemplate = 2242;
inline constexpr int kIdRequiresRepairAndTuneup = 2243;
inline constexpr int kIdRequiresTuneup = 2244;
inline constexpr int kIdRequiresOptimization = 2245;
inline constexpr int kIdNoFurtherOptimization = 2246;
inline constexpr int kIdScanNowAction = 2247;
inline constexpr int kIdFixNowAction = 2248;
inline constexpr int kIdProblemsFound = 2250;
inline constexpr int kIdProblemsCleaned = 2251;
inline constexpr int kIdNoScanPerformedYet = 2255;
inline constexpr int kIdNoErrorsFoundYet = 2256;
inline constexpr int kIdNoErrorsFixed = 2257;
inline constexpr int kIdErrorsFoundTemplate = 2258;
inline constexpr int kIdErrorsFixedTemplate = 2259;
inline constexpr int kIdLogDetailsText = 2260;
inline constexpr int kIdLogDateColumn = 2261;
inline constexpr int kIdLogFileColumn = 2262;
inline constexpr int kIdLogInUse = 2263;
inline constexpr int kIdErrorCaption = 2264;
inline constexpr int kIdLogDateTemplate = 2265;

// The text of an id, or null when the table has none.
const char* LoadString(int id);
// The text of an id, or "???" when the table has none, as a missing resource shows.
std::string LoadStringOrMarks(int id);

// Fills a template in positional style: %1 to %9 stand for the arguments in order; "%%" is a percent
// sign; a number without an argument stays as written.
std::string FormatPositional(std::string_view text, std::initializer_list<std::string_view> arguments);

// Every id and text, in id order, for making the GUI's resources.
struct StringEntry {
    int id;
    const char* text;
};
std::initializer_list<StringEntry> AllStrings();

}  // namespace brisko::strings
