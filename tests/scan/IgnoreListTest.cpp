#include "scan/IgnoreList.h"

#include <gtest/gtest.h>

#include <string>

#include "scan/ExclusionTestFiles.h"
#include "support/TestMachine.h"

namespace brisko::scan {
namespace {

using test::GetFile;
using test::PutFile;

constexpr const char* kPath = "C:\\Program Files\\Brisko\\ignorelist.dat";

std::vector<std::pair<int, std::string>> Pairs(const IgnoreList& list) {
    std::vector<std::pair<int, std::string>> pairs;
    for (const auto& entry : list.Entries())
        pairs.emplace_back(entry.type, entry.text);
    return pairs;
}

TEST(IgnoreList, LivesBesideTheProgram) {
    test::TestMachine machine;
    EXPECT_EQ(IgnoreListPath(machine->system), kPath);
}

TEST(IgnoreList, AddWritesTypeAndTextLinesWithCrLf) {
    test::TestMachine machine;
    IgnoreList list(machine->files, kPath);
    ASSERT_TRUE(
        list.AddToIgnoreList(CRegistryProblem("HKEY_CLASSES_ROOT\\.abc", "", "", 0, REG_FILE_EXTENSIONS)));
    ASSERT_TRUE(list.AddToIgnoreList(CRegistryProblem("HKEY_CURRENT_USER", "Software\\X", "", 0, 0)));
    ASSERT_TRUE(list.AddToIgnoreList(
        CRegistryProblem("HKEY_LOCAL_MACHINE\\SOFTWARE\\App", "Path", "C:\\Ünïcode\\a b.exe", 0, 11)));
    EXPECT_EQ(GetFile(machine->files, kPath),
              "8\r\nHKEY_CLASSES_ROOT\\.abc\\|\r\n"
              "0\r\nHKEY_CURRENT_USER\\Software\\X|\r\n"
              "11\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\App\\Path|C:\\Ünïcode\\a b.exe\r\n");
    // Duplicates are kept.
    ASSERT_TRUE(list.AddToIgnoreList(CRegistryProblem("HKEY_CURRENT_USER", "Software\\X", "", 0, 0)));
    EXPECT_EQ(list.Entries().size(), 4u);
    EXPECT_EQ(list.CountForCategory(0), 2);
    EXPECT_EQ(list.CountForCategory(8), 1);
    EXPECT_EQ(GetFile(machine->files, std::string(kPath) + ".tmp"), "<missing>");
}

TEST(IgnoreList, SavedListReadsBackTheSame) {
    test::TestMachine machine;
    IgnoreList list(machine->files, kPath);
    const CRegistryProblem problems[] = {
        {"HKEY_LOCAL_MACHINE\\Software\\A", "v", "d", 0, 3},
        {"hkey_local_machine\\software\\a", "v", "d", 0, 0},
        {"HKEY_CURRENT_USER\\K", "\t", "  spaces kept  ", 0, 11},
        {"HKEY_USERS\\x", "\xff\x01\r", std::string(70000, 'z') + "\r", 0, 5},
    };
    for (const auto& problem : problems)
        ASSERT_TRUE(list.AddToIgnoreList(problem));
    IgnoreList again(machine->files, kPath);
    ASSERT_TRUE(again.LoadIgnoreList());
    EXPECT_EQ(Pairs(again), Pairs(list));
    EXPECT_EQ(again.Entries()[3].text, "HKEY_USERS\\x\\\xff\x01\r|" + std::string(70000, 'z') + "\r");
}

TEST(IgnoreList, ReadsDamagedFilesAndKeepsWhatTheyHoldOnSave) {
    struct Case {
        const char* why;
        std::string file;
        std::vector<std::pair<int, std::string>> entries;
        std::string saved;
    } cases[] = {
        {"empty", "", {}, ""},
        {"an odd last line is a type without text",
         "3\r\nA|\r\n5\r\n",
         {{3, "A|"}, {5, ""}},
         "3\r\nA|\r\n5\r\n\r\n"},
        {"cut off within a text", "3\r\nA|\r\n4\r\nB", {{3, "A|"}, {4, "B"}}, "3\r\nA|\r\n4\r\nB\r\n"},
        {"line feeds only", "3\nA|\n", {{3, "A|"}}, "3\r\nA|\r\n"},
        {"types that are not numbers read as 0",
         "x7\r\nA|\r\n 7x \r\nB|\r\n-2\r\nC|\r\n",
         {{0, "A|"}, {7, "B|"}, {-2, "C|"}},
         "0\r\nA|\r\n7\r\nB|\r\n-2\r\nC|\r\n"},
        {"a number too large",
         "99999999999999999999\r\nA|\r\n",
         {{2147483647, "A|"}},
         "2147483647\r\nA|\r\n"},
        {"binary bytes are kept",
         std::string("1\r\n\x00\xff\x1a\r|\r\n", 10),
         {{1, std::string("\x00\xff\x1a\r|", 5)}},
         std::string("1\r\n\x00\xff\x1a\r|\r\n", 10)},
        {"empty lines", "\r\n\r\n\r\n", {{0, ""}, {0, ""}}, "0\r\n\r\n0\r\n\r\n"},
    };
    for (const auto& c : cases) {
        test::TestMachine machine;
        PutFile(machine->files, kPath, c.file);
        IgnoreList list(machine->files, kPath);
        ASSERT_TRUE(list.LoadIgnoreList()) << c.why;
        EXPECT_EQ(Pairs(list), c.entries) << c.why;
        ASSERT_TRUE(list.SaveIgnoreList()) << c.why;
        EXPECT_EQ(GetFile(machine->files, kPath), c.saved) << c.why;
    }
}

TEST(IgnoreList, ReadsALineEndSplitBetweenReads) {
    test::TestMachine machine;
    // The reader takes the file in pieces of 64 KiB: put the CR of a line end last in the first piece.
    std::string text(65536 - 3 - 1, 't');
    PutFile(machine->files, kPath, "1\r\n" + text + "\r\n2\r\nB|\r\n");
    IgnoreList list(machine->files, kPath);
    ASSERT_TRUE(list.LoadIgnoreList());
    EXPECT_EQ(Pairs(list), (std::vector<std::pair<int, std::string>>{{1, text}, {2, "B|"}}));
}

TEST(IgnoreList, AMissingFileLeavesTheListAsItWas) {
    test::TestMachine machine;
    IgnoreList list(machine->files, kPath);
    ASSERT_TRUE(list.AddToIgnoreList(CRegistryProblem("HKEY_USERS", "X", "", 0, 0)));
    ASSERT_EQ(machine->files.DeleteFile(kPath), platform::kOk);
    EXPECT_FALSE(list.LoadIgnoreList());
    EXPECT_EQ(list.Entries().size(), 1u);
}

TEST(IgnoreList, RefusesATextWithALineBreak) {
    test::TestMachine machine;
    IgnoreList list(machine->files, kPath);
    ASSERT_TRUE(list.AddToIgnoreList(CRegistryProblem("HKEY_USERS", "X", "", 0, 0)));
    std::string before = GetFile(machine->files, kPath);
    // Data with a line break would split the entry over two pairs and shift every entry after it.
    EXPECT_FALSE(list.AddToIgnoreList(CRegistryProblem("HKEY_USERS\\Y", "Text", "line one\nline two", 0, 1)));
    EXPECT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(GetFile(machine->files, kPath), before);
}

TEST(IgnoreList, AFailedSaveKeepsThePreviousFileWhole) {
    test::TestMachine machine;
    {
        IgnoreList list(machine->files, kPath);
        ASSERT_TRUE(list.AddToIgnoreList(CRegistryProblem("HKEY_USERS", "Old", "", 0, 0)));
    }
    std::string before = GetFile(machine->files, kPath);
    machine.EditConfig([](auto& config) { config.lockedFiles.push_back(kPath); });

    IgnoreList list(machine->files, kPath);
    EXPECT_FALSE(list.LoadIgnoreList());
    // The file exists but could not be read: a save must not replace the user's earlier entries with the
    // one added now. The entry still counts for this run.
    EXPECT_TRUE(list.AddToIgnoreList(CRegistryProblem("HKEY_USERS", "New", "", 0, 0)));
    EXPECT_FALSE(list.SaveIgnoreList());
    EXPECT_TRUE(list.Contains("hkey_users\\new|"));
    EXPECT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(GetFile(machine->files, std::string(kPath) + ".tmp"), "<missing>");

    machine.EditConfig([](auto& config) { config.lockedFiles.clear(); });
    EXPECT_EQ(GetFile(machine->files, kPath), before);
    IgnoreList later(machine->files, kPath);
    ASSERT_TRUE(later.AddToIgnoreList(CRegistryProblem("HKEY_USERS", "New", "", 0, 0)));
    // Once readable, the file's entries come first and the new one follows.
    EXPECT_EQ(GetFile(machine->files, kPath), "0\r\nHKEY_USERS\\Old|\r\n0\r\nHKEY_USERS\\New|\r\n");
}

TEST(IgnoreList, RemovesOnlyTheFirstEntryEqualWithoutRegardToCase) {
    test::TestMachine machine;
    IgnoreList list(machine->files, kPath);
    for (auto [name, type] : {std::pair{"A", 1}, std::pair{"B", 2}, std::pair{"a", 3}}) {
        ASSERT_TRUE(list.AddToIgnoreList(CRegistryProblem("HKEY_USERS", name, "", 0, type)));
    }
    EXPECT_TRUE(list.RemoveFirst("hkey_users\\a|"));
    EXPECT_EQ(Pairs(list),
              (std::vector<std::pair<int, std::string>>{{2, "HKEY_USERS\\B|"}, {3, "HKEY_USERS\\a|"}}));
    EXPECT_FALSE(list.RemoveFirst("HKEY_USERS\\C|"));
    EXPECT_EQ(list.Entries().size(), 2u);
}

}  // namespace
}  // namespace brisko::scan
