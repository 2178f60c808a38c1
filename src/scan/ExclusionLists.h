// The lists through which every finding passes before it is reported: the built-in substring lists
// (keys, matches, values), what ".wls" list files add to them, the exact ignore and block lists of those
// files, and the user's ignore list. The program fills them once at start, before any scan, and hands
// them to the scan run; the scan worker only reads them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/Machine.h"
#include "scan/ExclusionMatcher.h"
#include "scan/IgnoreList.h"
#include "scan/Problem.h"

namespace brisko::scan {

// An entry of the exact ignore list or the block list, with the number of its type line (which takes no
// part in matching).
struct NumberedEntry {
    std::string text;
    int number = 0;
};

class ExclusionLists {
public:
    // `userList` is the user's ignore list, consulted by IsExcluded as it stands at each call; null for
    // none. It must outlive these lists.
    explicit ExclusionLists(const IgnoreList* userList = nullptr);

    // Empties the exact ignore and block lists, builds the built-in lists, then reads every non-empty
    // "*.wls" file in the program's folder and "ignore.wls" and "block.wls" (a block file) in the data
    // folder.
    void LoadExclusionLists(platform::Machine& machine);
    // Empties the key, match and value lists and fills them with the built-in entries.
    void BuildBuiltinExclusions();
    // Reads one list file; the number of line pairs read (0 when the file cannot be opened).
    int ReadListFile(platform::FileSystem& files, std::string_view path, bool isBlock);

    // Whether a finding is left out of the results. Safe on the scan worker while nothing changes the
    // lists or the user's ignore list.
    bool IsExcluded(const CRegistryProblem& problem) const;

    const std::vector<std::string>& KeyList() const { return keyList_; }
    const std::vector<std::string>& MatchList() const { return matchList_; }
    const std::vector<std::string>& ValueList() const { return valueList_; }
    const std::vector<NumberedEntry>& ExactIgnoreList() const { return exactList_; }
    const std::vector<NumberedEntry>& BlockList() const { return blockList_; }

private:
    void FillBuiltins();
    int ReadPairs(platform::FileSystem& files, std::string_view path, bool isBlock);
    void AddExact(std::vector<NumberedEntry>& list, std::string entry, int number);
    void RebuildMatcher();

    const IgnoreList* userList_;
    std::vector<std::string> keyList_;
    std::vector<std::string> matchList_;
    std::vector<std::string> valueList_;
    std::vector<NumberedEntry> exactList_;
    std::vector<NumberedEntry> blockList_;

    // Faster forms of the same lists: the substring lists in one automaton, and the case-folded texts of
    // the exact ignore and block lists.
    ExclusionMatcher matcher_;
    std::unordered_set<std::string> exactFolded_;
};

}  // namespace brisko::scan
