// The user's ignore list: findings the user chose to leave alone, kept in "ignorelist.dat" beside the
// program. The file holds one pair of lines per entry, the entry's registry category ("%d") and then its
// text, written in text mode (CR LF), with no header and no count.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/System.h"
#include "scan/Problem.h"

namespace brisko::scan {

struct IgnoreEntry {
    int type = 0;      // the REG_TYPES value, as stored (a file edited by hand may hold any number)
    std::string text;  // "key path\value name|data", compared without regard to case
};

// "key path\value name|data": the text by which an entry names a finding.
std::string IgnoreEntryText(const CRegistryProblem& problem);

// Where "ignorelist.dat" lives: the folder of the running program.
std::string IgnoreListPath(platform::System& system);

class IgnoreList {
public:
    IgnoreList(platform::FileSystem& files, std::string path);

    // Reads the file, replacing the entries. False, with the entries unchanged, when the file cannot be
    // opened. Lines that are not numbers read as category 0; a last type line without its text gives an
    // entry with an empty text, so that saving keeps it.
    bool LoadIgnoreList();
    // Writes every entry. The file is replaced only once the new one is complete, so a failed save keeps
    // the previous file whole; false then.
    bool SaveIgnoreList();
    // Whether the last save reached the file (true before any save). An entry whose save failed still
    // works for this run; a caller that ends with the run (the command line) must say it was not kept.
    bool LastSaveSucceeded() const { return lastSaveOk_; }
    // Appends the finding's text with its category and saves. False, with nothing changed, for a text
    // that holds a line break: the file could not hold it without breaking every later pair.
    bool AddToIgnoreList(const CRegistryProblem& problem);
    // Removes the first entry whose text equals `text` without regard to case (without saving).
    bool RemoveFirst(std::string_view text);

    const std::vector<IgnoreEntry>& Entries() const { return entries_; }
    // Whether an entry's text equals `text` without regard to case. Read by the scan worker while the
    // list does not change.
    bool Contains(std::string_view text) const;
    // Whether the list names this finding.
    bool IsIgnored(const CRegistryProblem& problem) const { return Contains(IgnoreEntryText(problem)); }
    // The number of entries of a registry category.
    int CountForCategory(int category) const;

private:
    bool WriteFile();
    bool lastSaveOk_ = true;
    enum class Stored { kUnknown, kRead, kMissing };
    bool ReadFile(std::vector<IgnoreEntry>& entries, platform::Status& status);

    platform::FileSystem& files_;
    std::string path_;
    std::vector<IgnoreEntry> entries_;
    // What is known of the file: a list that has not read an existing file must not replace it, or the
    // user's earlier entries would be lost to a file that was only briefly unreadable.
    Stored stored_ = Stored::kUnknown;
};

}  // namespace brisko::scan
