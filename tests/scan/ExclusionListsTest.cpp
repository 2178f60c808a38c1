#include "scan/ExclusionLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "scan/DataFolder.h"
#include "scan/ExclusionTestFiles.h"
#include "support/TestMachine.h"

namespace brisko::scan {
namespace {

using test::PutFile;

constexpr const char* kProgramFolder = "C:\\Program Files\\Brisko";
constexpr const char* kDataFolder = "C:\\ProgramData\\Brisko";

CRegistryProblem Finding(std::string keyPath, std::string valueName, std::string data, int category = 0,
                         int engine = kRegistryEngine) {
    return CRegistryProblem(std::move(keyPath), std::move(valueName), std::move(data), engine, category);
}

bool Has(const std::vector<std::string>& list, std::string_view entry) {
    return std::find(list.begin(), list.end(), entry) != list.end();
}

TEST(ExclusionListsBuiltins, FillsTheThreeListsInOrderWithDuplicatesAndHeadings) {
    ExclusionLists lists;
    lists.BuildBuiltinExclusions();
    ASSERT_EQ(lists.KeyList().size(), 267u);
    ASSERT_EQ(lists.MatchList().size(), 291u);
    ASSERT_EQ(lists.ValueList().size(), 217u);

    EXPECT_EQ(lists.KeyList().front(), "office");
    EXPECT_EQ(lists.KeyList()[19], "!ADOBE CLSIDS");
    EXPECT_EQ(lists.KeyList().back(), "\\HP\\");
    EXPECT_EQ(std::count(lists.KeyList().begin(), lists.KeyList().end(), "\\HP\\"), 2);
    EXPECT_EQ(lists.MatchList()[44], "!pando");
    EXPECT_TRUE(
        Has(lists.MatchList(),
            "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Loc ations"));
    EXPECT_EQ(lists.MatchList().back(), "{0002E540-0000-0000-C000-000000000046}");
    EXPECT_EQ(lists.ValueList()[176], "' startspan");
    EXPECT_EQ(lists.ValueList().back(), "{0002E540-0000-0000-C000-000000000046}");

    // Built again, the lists are replaced, not extended.
    lists.BuildBuiltinExclusions();
    EXPECT_EQ(lists.KeyList().size(), 267u);
}

struct ExclusionCase {
    const char* why;
    const char* keyPath;
    const char* valueName;
    const char* data;
    int category;
    bool excluded;
};

TEST(ExclusionListsIsExcluded, MatchesTheBuiltinListsWithoutRegardToCase) {
    const ExclusionCase cases[] = {
        {"key list: the key path names a vendor", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\X", "Path",
         "C:\\X\\x.exe", 0, true},
        {"key list: in any case", "HKEY_LOCAL_MACHINE\\SOFTWARE\\ADOBE\\X", "Path", "C:\\X\\x.exe", 0, true},
        {"key list: through the value name", "HKEY_LOCAL_MACHINE\\SOFTWARE\\App", "SourceList", "C:\\a.exe",
         5, true},
        {"match list: a whole root", "HKEY_USERS\\S-1-5-18\\Software\\App", "Path", "C:\\a.exe", 0, true},
        {"match list: file extensions too", "HKEY_CLASSES_ROOT\\Classes\\MIME\\x", "", "", 8, true},
        {"value list: the data", "HKEY_LOCAL_MACHINE\\SOFTWARE\\App", "Run", "RunDll32.exe shell32.dll", 5,
         true},
        {"value list: the value name", "HKEY_LOCAL_MACHINE\\SOFTWARE\\App", "uninst.exe", "", 6, true},
        {"a finding no entry names", "HKEY_LOCAL_MACHINE\\SOFTWARE\\App", "Path", "C:\\App\\app.exe", 0,
         false},
        {"the value list does not look at the key path", "HKEY_LOCAL_MACHINE\\SOFTWARE\\App\\rundll32.exe",
         "Path", "C:\\App\\app.exe", 0, false},
        {"the key lists do not look at the data", "HKEY_LOCAL_MACHINE\\SOFTWARE\\App", "Path",
         "C:\\HKEY_USERS\\S-1-5-18", 0, false},
        {"a key text B made of key path, slash and value name", "HKEY_CURRENT_USER", "Console", "", 0, false},
    };
    ExclusionLists lists;
    lists.BuildBuiltinExclusions();
    for (const auto& c : cases) {
        EXPECT_EQ(lists.IsExcluded(Finding(c.keyPath, c.valueName, c.data, c.category)), c.excluded) << c.why;
    }
}

TEST(ExclusionListsIsExcluded, NothingIsExcludedBeforeTheListsAreBuilt) {
    ExclusionLists lists;
    EXPECT_FALSE(lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe", "x", "rundll32.exe")));
}

TEST(ExclusionListsIsExcluded, KeyListEntriesNamingClassesPassOverFileExtensions) {
    test::TestMachine machine;
    PutFile(machine->files, "C:\\lists.wls", "K\r\nMyClasses\\Tools\r\nM\r\nOtherClasses\\Tools\r\n");
    ExclusionLists lists;
    ASSERT_EQ(lists.ReadListFile(machine->files, "C:\\lists.wls", false), 2);

    EXPECT_FALSE(lists.IsExcluded(Finding("HKEY_CLASSES_ROOT\\MyClasses\\Tools\\.abc", "", "", 8)));
    EXPECT_TRUE(lists.IsExcluded(Finding("HKEY_CLASSES_ROOT\\MyClasses\\Tools\\.abc", "", "", 2)));
    // The key list's other entries and the match list still hold for file extensions.
    EXPECT_TRUE(lists.IsExcluded(Finding("HKEY_CLASSES_ROOT\\OtherClasses\\Tools\\.abc", "", "", 8)));
    lists.BuildBuiltinExclusions();
    EXPECT_TRUE(lists.IsExcluded(Finding("HKEY_CLASSES_ROOT\\Classes\\MIME\\x", "", "", 8)));
    EXPECT_TRUE(lists.IsExcluded(Finding("HKEY_CLASSES_ROOT\\.pdf\\adobe", "", "", 8)));
}

TEST(ExclusionListsReadListFile, SortsEachPairByItsTypeLine) {
    test::TestMachine machine;
    PutFile(machine->files, "C:\\vendors.wls", test::Fixture("vendors.wls"));
    ExclusionLists lists;
    lists.BuildBuiltinExclusions();

    // Ten pairs; the odd last line is not one.
    EXPECT_EQ(lists.ReadListFile(machine->files, "C:\\vendors.wls", false), 10);
    EXPECT_EQ(lists.KeyList().size(), 268u);
    EXPECT_EQ(lists.KeyList().back(), "contoso tools");
    EXPECT_EQ(lists.MatchList().back(), "fabrikam\\shared");
    EXPECT_EQ(lists.ValueList().back(), "notepad2.exe");
    ASSERT_EQ(lists.ExactIgnoreList().size(), 4u);
    EXPECT_EQ(lists.ExactIgnoreList()[0].text,
              "hkey_local_machine\\software\\litware\\path|c:\\litware\\lw.exe");
    EXPECT_EQ(lists.ExactIgnoreList()[0].number, 0);
    EXPECT_EQ(lists.ExactIgnoreList()[1].number, 5);
    EXPECT_EQ(lists.ExactIgnoreList()[2].number, 11);
    EXPECT_EQ(lists.ExactIgnoreList()[3].text, "northwind|");
    EXPECT_EQ(lists.ExactIgnoreList()[3].number, 7);
    EXPECT_TRUE(lists.BlockList().empty());

    EXPECT_TRUE(lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\SOFTWARE\\CONTOSO TOOLS\\A", "x", "y")));
    EXPECT_TRUE(
        lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\Software\\Litware", "Path", "C:\\LITWARE\\LW.EXE")));
    // The exact list names a whole finding: the same key with other data is reported.
    EXPECT_FALSE(
        lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\Software\\Litware", "Path", "C:\\Litware\\lw2.exe")));
}

TEST(ExclusionListsReadListFile, ABlockFileAddsEveryPairBelowTwelveToTheBlockList) {
    test::TestMachine machine;
    PutFile(machine->files, "C:\\block.wls", test::Fixture("vendors.wls"));
    ExclusionLists lists;
    lists.BuildBuiltinExclusions();
    EXPECT_EQ(lists.ReadListFile(machine->files, "C:\\block.wls", true), 10);

    EXPECT_EQ(lists.KeyList().size(), 267u);
    EXPECT_TRUE(lists.ExactIgnoreList().empty());
    // Only the pair numbered 12 is skipped; letters and unknown types are numbered 0.
    ASSERT_EQ(lists.BlockList().size(), 9u);
    EXPECT_EQ(lists.BlockList()[0].text, "contoso tools");
    EXPECT_EQ(lists.BlockList()[0].number, 0);
    EXPECT_EQ(lists.BlockList()[6].text, "skipped by its letter");
    EXPECT_EQ(lists.BlockList()[7].text, "");
    EXPECT_FALSE(lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\SOFTWARE\\Contoso Tools\\A", "x", "y")));
}

TEST(ExclusionListsReadListFile, DamagedFilesAddNothingHarmful) {
    test::TestMachine machine;
    auto& files = machine->files;
    std::string hugeEntry(200 * 1024, 'a');
    PutFile(files, "C:\\empty.wls", "");
    PutFile(files, "C:\\garbage.wls", test::Fixture("garbage.wls"));
    PutFile(files, "C:\\huge.wls", "K\n" + hugeEntry + "\nK\nkept\n" + hugeEntry + "\nsmall\n");
    PutFile(files, "C:\\unix.wls", "k\nLF Only\nv\n\t\n");
    PutFile(files, "C:\\empty-entries.wls", "K\r\n\r\nM\r\n \r\nV\r\n\r\n");

    struct Case {
        const char* path;
        int pairs;
        std::size_t keys, matches, values;
    } cases[] = {
        {"C:\\missing.wls", 0, 267, 291, 217},
        {"C:\\empty.wls", 0, 267, 291, 217},
        {"C:\\garbage.wls", 2, 267, 291, 217},
        // A line too long for any finding is passed over with its pair; the pairs after it still count.
        {"C:\\huge.wls", 3, 268, 291, 217},
        {"C:\\unix.wls", 2, 268, 291, 217},
        {"C:\\empty-entries.wls", 3, 267, 291, 217},
    };
    for (const auto& c : cases) {
        ExclusionLists lists;
        lists.BuildBuiltinExclusions();
        EXPECT_EQ(lists.ReadListFile(files, c.path, false), c.pairs) << c.path;
        EXPECT_EQ(lists.KeyList().size(), c.keys) << c.path;
        EXPECT_EQ(lists.MatchList().size(), c.matches) << c.path;
        EXPECT_EQ(lists.ValueList().size(), c.values) << c.path;
        EXPECT_TRUE(lists.ExactIgnoreList().empty()) << c.path;
        for (const auto* list : {&lists.KeyList(), &lists.MatchList(), &lists.ValueList()}) {
            EXPECT_FALSE(Has(*list, "")) << c.path;
        }
        EXPECT_FALSE(
            lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\SOFTWARE\\App", "Path", "C:\\App\\app.exe")))
            << c.path;
    }
}

TEST(ExclusionListsLoad, ReadsTheProgramsListsThenTheDataFolders) {
    test::TestMachine machine;
    auto& files = machine->files;
    ASSERT_TRUE(CreateFolderTree(files, kProgramFolder));
    PutFile(files, std::string(kProgramFolder) + "\\vendors.wls", "K\r\nContoso\r\n");
    PutFile(files, std::string(kProgramFolder) + "\\empty.wls", "");
    PutFile(files, std::string(kProgramFolder) + "\\notes.txt", "K\r\nFabrikam\r\n");
    ASSERT_TRUE(CreateFolderTree(files, kDataFolder));
    PutFile(files, std::string(kDataFolder) + "\\ignore.wls",
            "3\r\nHKEY_CURRENT_USER\\Software\\Tailspin\\Run|\r\n");
    PutFile(files, std::string(kDataFolder) + "\\block.wls", "K\r\nHKEY_USERS\\Woodgrove\\Run|\r\n");

    ExclusionLists lists;
    // Loading twice gives the same lists: every list starts over.
    for (int load = 0; load < 2; ++load) {
        lists.LoadExclusionLists(*machine);
        EXPECT_EQ(lists.KeyList().size(), 268u);
        EXPECT_EQ(lists.KeyList().back(), "contoso");
        ASSERT_EQ(lists.ExactIgnoreList().size(), 1u);
        EXPECT_EQ(lists.ExactIgnoreList()[0].number, 3);
        ASSERT_EQ(lists.BlockList().size(), 1u);
        EXPECT_EQ(lists.BlockList()[0].text, "hkey_users\\woodgrove\\run|");
    }

    EXPECT_TRUE(lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\SOFTWARE\\Contoso\\App", "Path", "C:\\a.exe")));
    EXPECT_FALSE(
        lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\SOFTWARE\\Fabrikam\\App", "Path", "C:\\a.exe")));
    EXPECT_TRUE(lists.IsExcluded(Finding("hkey_current_user\\software\\TAILSPIN", "Run", "")));
    EXPECT_TRUE(lists.IsExcluded(Finding("HKEY_USERS\\WOODGROVE", "Run", "")));
    EXPECT_FALSE(lists.IsExcluded(Finding("HKEY_USERS\\Woodgrove", "Run", "x")));
}

TEST(ExclusionListsLoad, WorksWithoutAnyListFiles) {
    test::TestMachine machine;
    ExclusionLists lists;
    lists.LoadExclusionLists(*machine);
    EXPECT_EQ(lists.KeyList().size(), 267u);
    EXPECT_TRUE(lists.ExactIgnoreList().empty());
    EXPECT_TRUE(lists.BlockList().empty());
}

TEST(ExclusionListsIsExcluded, HonoursTheUsersIgnoreListAsItStandsAtEachCall) {
    test::TestMachine machine;
    IgnoreList user(machine->files, "C:\\ignorelist.dat");
    ExclusionLists lists(&user);
    lists.LoadExclusionLists(*machine);

    CRegistryProblem found("HKEY_LOCAL_MACHINE\\SOFTWARE\\App\\Settings", "Path", "C:\\App\\app.exe", 0, 0);
    EXPECT_FALSE(lists.IsExcluded(found));
    ASSERT_TRUE(user.AddToIgnoreList(found));
    EXPECT_TRUE(lists.IsExcluded(found));
    // The next scan finds it again with the path in another case.
    EXPECT_TRUE(
        lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\Software\\APP\\settings", "PATH", "c:\\app\\APP.EXE")));
    EXPECT_FALSE(
        lists.IsExcluded(Finding("HKEY_LOCAL_MACHINE\\SOFTWARE\\App\\Settings", "Path", "C:\\App\\b.exe")));

    // An entry typed as root and path names a value of that name with empty data in the key above.
    ASSERT_TRUE(user.AddToIgnoreList(CRegistryProblem("HKEY_CURRENT_USER", "Software\\X", "", 0, 0)));
    EXPECT_EQ(user.Entries().back().text, "HKEY_CURRENT_USER\\Software\\X|");
    EXPECT_TRUE(lists.IsExcluded(Finding("HKEY_CURRENT_USER\\Software", "X", "")));
    EXPECT_FALSE(lists.IsExcluded(Finding("HKEY_CURRENT_USER\\Software\\X", "Path", "")));
    EXPECT_FALSE(lists.IsExcluded(Finding("HKEY_CURRENT_USER\\Software", "X", "C:\\x.exe")));
}

}  // namespace
}  // namespace brisko::scan
