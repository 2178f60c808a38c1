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
inline constexpr int kIdShortcutTemplate = 132;
inline constexpr int kIdSharedDllTemplate = 135;
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
