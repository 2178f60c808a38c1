// The one record every engine reports its findings in, the engine and registry category numbers, and the
// four lists that own the findings of a scan.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace brisko::scan {

// Engines, numbered in the order a scan runs them.
inline constexpr int kRegistryEngine = 0;
inline constexpr int kJunkFileEngine = 1;
inline constexpr int kPrivacyEngine = 2;
inline constexpr int kTuneupEngine = 3;
inline constexpr int kEngineCount = 4;
// Categories of each engine; together the 45 rows of the scan item table.
inline constexpr std::array<int, kEngineCount> kCategoryCounts = {12, 12, 14, 7};
inline constexpr int kScanItemCount = 45;
// The first scan item row of each engine.
inline constexpr std::array<int, kEngineCount> kFirstScanItem = {0, 12, 24, 38};

// The registry engine's categories: both a problem's category and its row in the registry group.
enum REG_TYPES : int {
    REG_SOFTWARE_LOCATIONS = 0,
    REG_INTEGRITY = 1,
    REG_FONTS = 2,
    REG_HELP_FILES = 3,
    REG_SHARED_DLLS = 4,
    REG_STARTUP = 5,
    REG_UNINSTALL = 6,
    REG_VIRTUAL_DEVICES = 7,
    REG_FILE_EXTENSIONS = 8,
    REG_SHORTCUTS = 9,
    REG_CUSTOM_CONTROLS = 10,
    REG_DEEP_SCAN = 11,
};

struct RegTypeInfo {
    const char* optionKey;  // "sftloc"
    int nameId;             // string-table id of the display name
};
// The option key and display-name id of a registry category (0 to 11).
const RegTypeInfo& RegType(int category);

// A finding of any engine: an invalid registry value or key, a junk file, a privacy trace or a setting
// that can be tuned.
struct CRegistryProblem {
    // `count` is passed as 0 by every caller and read by nothing; it is kept so that makers read as the
    // record is documented.
    CRegistryProblem(std::string keyPath, std::string valueName, std::string data, int engine, int category,
                     int count = 0, bool wholeKey = false, bool isFile = false);

    std::string keyPath;    // full key path, or the file's full path
    std::string data;       // the data as read, or the text the check found broken
    std::string valueName;  // "(Default)" or empty for the unnamed value; empty for files and whole keys
    int engine = 0;
    int category = 0;       // a REG_TYPES value, or the index in the engine's group
    bool selected = true;   // the repair acts on it
    bool wholeKey = false;  // the repair deletes the key (file extensions: and its parent)
    bool isFile = false;    // a file rather than a registry entry
};

using ProblemList = std::vector<std::unique_ptr<CRegistryProblem>>;

// The program-wide lists, one per engine, in the order the problems were reported. A list owns its
// problems; lists are emptied only as a whole, at the start of a scan.
struct ProblemLists {
    ProblemList RegistryProblems;
    ProblemList JunkFileProblems;
    ProblemList PrivacyProblems;
    ProblemList TuneupProblems;

    ProblemList& ForEngine(int engine);
    const ProblemList& ForEngine(int engine) const;
    void Clear();
};

// The unnamed value as a display shows it: "(Default)" for the empty name and for "@".
std::string ShownValueName(const std::string& valueName);

}  // namespace brisko::scan
