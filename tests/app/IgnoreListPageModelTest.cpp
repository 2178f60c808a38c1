#include "app/IgnoreListPageModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/IgnoreListPageAddItemModel.h"
#include "scan/ExclusionTestFiles.h"
#include "support/TestMachine.h"

namespace brisko::app {
namespace {

using scan::CRegistryProblem;
using Rows = std::vector<std::string>;

constexpr const char* kPath = "C:\\Program Files\\Brisko\\ignorelist.dat";

void Add(scan::IgnoreList& list, const char* valueName, int type = 0) {
    ASSERT_TRUE(list.AddToIgnoreList(CRegistryProblem("HKEY_USERS", valueName, "", 0, type)));
}

TEST(IgnoreListPageModel, ShowsTheNewestEntryFirst) {
    test::TestMachine machine;
    scan::IgnoreList list(machine->files, kPath);
    IgnoreListPageModel page(list);
    page.Refresh();
    EXPECT_TRUE(page.Rows().empty());
    Add(list, "A");
    Add(list, "B");
    // Rows are what the page last filled in, until it is shown again.
    EXPECT_TRUE(page.Rows().empty());
    page.Refresh();
    EXPECT_EQ(page.Rows(), (Rows{"HKEY_USERS\\B|", "HKEY_USERS\\A|"}));
}

TEST(IgnoreListPageModel, RemoveTakesTheFirstEqualEntryForEachSelectedRowAndSaves) {
    test::TestMachine machine;
    scan::IgnoreList list(machine->files, kPath);
    Add(list, "A", 1);
    Add(list, "B", 2);
    Add(list, "a", 3);
    Add(list, "C", 4);
    IgnoreListPageModel page(list);
    page.Refresh();
    ASSERT_EQ(page.Rows(), (Rows{"HKEY_USERS\\C|", "HKEY_USERS\\a|", "HKEY_USERS\\B|", "HKEY_USERS\\A|"}));

    // The row "a" names the entry "A" too, and the first of the two goes; a row past the end is passed over.
    const std::size_t selected[] = {1, 0, 9};
    page.Remove(selected);
    EXPECT_EQ(page.Rows(), (Rows{"HKEY_USERS\\a|", "HKEY_USERS\\B|"}));
    EXPECT_EQ(test::GetFile(machine->files, kPath), "2\r\nHKEY_USERS\\B|\r\n3\r\nHKEY_USERS\\a|\r\n");

    // Selecting both rows of equal text removes both entries.
    Add(list, "b", 5);
    page.Refresh();
    const std::size_t both[] = {0, 2};
    page.Remove(both);
    EXPECT_EQ(page.Rows(), (Rows{"HKEY_USERS\\a|"}));
}

TEST(IgnoreListPageAddItemModel, AddsTheRootAndTrimmedPathAsAnEntryOfCategoryZero) {
    test::TestMachine machine;
    scan::IgnoreList list(machine->files, kPath);
    IgnoreListPageAddItemModel dialog(list);
    EXPECT_EQ(dialog.SelectedRoot(), 0);
    EXPECT_EQ(IgnoreListPageAddItemModel::kRoots[dialog.SelectedRoot()], "HKEY_CLASSES_ROOT");
    dialog.SelectRoot(1);
    dialog.SelectRoot(4);  // not a choice
    dialog.SetPath("  Software\\X \t");
    auto result = dialog.Ok();
    EXPECT_TRUE(result.closeWithOk);
    EXPECT_EQ(result.messageId, 0);
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries()[0].text, "HKEY_CURRENT_USER\\Software\\X|");
    EXPECT_EQ(list.Entries()[0].type, 0);
    EXPECT_EQ(test::GetFile(machine->files, kPath), "0\r\nHKEY_CURRENT_USER\\Software\\X|\r\n");
}

TEST(IgnoreListPageAddItemModel, AnEmptyPathAsksForOneAndAddsNothing) {
    test::TestMachine machine;
    scan::IgnoreList list(machine->files, kPath);
    IgnoreListPageAddItemModel dialog(list);
    for (const char* path : {"", "   \t ", "Software\nX"}) {
        dialog.SetPath(path);
        auto result = dialog.Ok();
        EXPECT_FALSE(result.closeWithOk) << path;
        EXPECT_STREQ(strings::LoadString(result.messageId), "Please enter a registry path for ignore list");
        EXPECT_STREQ(strings::LoadString(result.titleId), "Brisko");
        EXPECT_TRUE(result.focusPath);
    }
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(test::GetFile(machine->files, kPath), "<missing>");
}

}  // namespace
}  // namespace brisko::app
