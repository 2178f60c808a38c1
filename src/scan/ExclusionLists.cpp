#include "scan/ExclusionLists.h"

#include "platform/Text.h"
#include "scan/DataFolder.h"
#include "scan/ExclusionBuiltins.h"
#include "scan/ExclusionTextReader.h"

namespace brisko::scan {

using namespace platform;

namespace {

// What a matcher entry came from, so that one pass serves every substring test.
constexpr ExclusionMatcher::Kinds kMatchKind = 1;
constexpr ExclusionMatcher::Kinds kKeyKind = 2;
constexpr ExclusionMatcher::Kinds kKeyClassesKind = 4;  // a key-list entry naming "classes"
constexpr ExclusionMatcher::Kinds kValueKind = 8;

// A list file line longer than this is passed over: no finding's text is nearly as long (key and value
// names and the scanners' data buffer are bounded), so such an entry could never match, and holding a
// huge line of a damaged file would only cost memory.
constexpr std::size_t kMaxListLineLength = 64 * 1024;

bool NamesClasses(std::string_view entry) {
    return FoldCase(entry).find("CLASSES") != std::string::npos;
}

void AddBuiltins(std::vector<std::string>& list, std::span<const char* const> entries) {
    list.clear();
    list.reserve(entries.size());
    for (const char* entry : entries)
        list.emplace_back(TrimSpace(entry));
}

}  // namespace

ExclusionLists::ExclusionLists(const IgnoreList* userList) : userList_(userList) {
    matcher_.Build();
}

void ExclusionLists::BuildBuiltinExclusions() {
    FillBuiltins();
    RebuildMatcher();
}

void ExclusionLists::FillBuiltins() {
    AddBuiltins(keyList_, BuiltinKeyEntries());
    AddBuiltins(matchList_, BuiltinMatchEntries());
    AddBuiltins(valueList_, BuiltinValueEntries());
}

void ExclusionLists::LoadExclusionLists(Machine& machine) {
    exactList_.clear();
    blockList_.clear();
    exactFolded_.clear();
    FillBuiltins();

    std::string folder = ProgramFolderPath(machine.system);
    FindHandle search;
    FindData found;
    if (machine.files.FindFirst(folder + "\\*.wls", search, found) == kOk) {
        do {
            if (found.size != 0 && !(found.attributes & kAttrDirectory)) {
                ReadPairs(machine.files, folder + "\\" + found.name, false);
            }
        } while (search->Next(found) == kOk);
    }
    search.reset();

    ReadPairs(machine.files, DataFolderPath(machine, "ignore.wls"), false);
    ReadPairs(machine.files, DataFolderPath(machine, "block.wls"), true);
    RebuildMatcher();
}

int ExclusionLists::ReadListFile(FileSystem& files, std::string_view path, bool isBlock) {
    int pairs = ReadPairs(files, path, isBlock);
    RebuildMatcher();
    return pairs;
}

int ExclusionLists::ReadPairs(FileSystem& files, std::string_view path, bool isBlock) {
    FileHandle file;
    if (files.OpenFile(path, kGenericRead, kShareRead | kShareWrite, kOpenExisting, file) != kOk) return 0;
    ExclusionTextReader reader(*file, kMaxListLineLength);
    std::string typeLine;
    std::string entryLine;
    bool typeTooLong = false;
    bool entryTooLong = false;
    int pairs = 0;
    while (reader.ReadLine(typeLine, typeTooLong) && reader.ReadLine(entryLine, entryTooLong)) {
        ++pairs;
        if (typeTooLong || entryTooLong) continue;
        std::string_view type = TrimSpace(typeLine);
        std::string entry = LowerAscii(TrimSpace(entryLine));
        int number = LeadingNumber(type);
        if (number >= 12) continue;
        if (!isBlock && number == 0) {
            char letter = type.empty() ? '\0' : type.front();
            std::vector<std::string>* substrings = nullptr;
            switch (letter) {
                case '0':
                    AddExact(exactList_, std::move(entry), 0);
                    break;
                case 'K':
                case 'k':
                    substrings = &keyList_;
                    break;
                case 'M':
                case 'm':
                    substrings = &matchList_;
                    break;
                case 'V':
                case 'v':
                    substrings = &valueList_;
                    break;
                default:
                    break;
            }
            // An empty substring entry would occur in every text and hide every finding.
            if (substrings != nullptr && !entry.empty()) substrings->push_back(std::move(entry));
            continue;
        }
        AddExact(isBlock ? blockList_ : exactList_, std::move(entry), number);
    }
    return pairs;
}

void ExclusionLists::AddExact(std::vector<NumberedEntry>& list, std::string entry, int number) {
    exactFolded_.insert(FoldCase(entry));
    list.push_back({std::move(entry), number});
}

void ExclusionLists::RebuildMatcher() {
    matcher_.Clear();
    for (const std::string& entry : matchList_)
        matcher_.Add(entry, kMatchKind);
    for (const std::string& entry : keyList_)
        matcher_.Add(entry, NamesClasses(entry) ? kKeyClassesKind : kKeyKind);
    for (const std::string& entry : valueList_)
        matcher_.Add(entry, kValueKind);
    matcher_.Build();
}

bool ExclusionLists::IsExcluded(const CRegistryProblem& problem) const {
    // Every test ends in the same answer, so they are asked in the cheapest order: the order of the
    // lists decides nothing.
    const bool haveExact = !exactFolded_.empty();
    const bool haveUser = userList_ != nullptr && !userList_->Entries().empty();
    if (haveExact || haveUser) {
        std::string text = IgnoreEntryText(problem);
        if (haveUser && userList_->Contains(text)) return true;
        if (haveExact && exactFolded_.contains(FoldCase(text))) return true;
    }

    // The key list's entries that name "classes" do not apply to file-extension findings; the match list
    // still does.
    ExclusionMatcher::Kinds keyKinds = kMatchKind | kKeyKind;
    if (problem.category != REG_FILE_EXTENSIONS) keyKinds |= kKeyClassesKind;
    if (matcher_.Contains({problem.keyPath, "/", problem.valueName}, keyKinds)) return true;

    return matcher_.Contains({problem.valueName}, kValueKind) ||
           matcher_.Contains({problem.data}, kValueKind);
}

}  // namespace brisko::scan
