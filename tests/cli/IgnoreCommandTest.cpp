// `brisko ignore` edits the same list file the program reads at start.
#include <gtest/gtest.h>

#include "scan/IgnoreList.h"
#include "support/CliRunner.h"
#include "support/TestMachine.h"

namespace brisko::cli {
namespace {

TEST(IgnoreCommand, AddsListsAndRemovesEntries) {
    test::TestMachine machine;
    std::string on = " --machine " + machine.Folder().string();
    struct Step {
        std::string arguments;
        int exitCode;
        std::string out;
    };
    const Step steps[] = {
        {"ignore add HKEY_LOCAL_MACHINE 'SOFTWARE\\Vendor'", 0, ""},
        {"ignore add hkey_current_user 'Software\\Mine'", 0, ""},
        {"ignore list", 0, "HKEY_CURRENT_USER\\Software\\Mine|\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor|\n"},
        {"ignore add HKLM 'SOFTWARE\\X'", 2, ""},
        {"ignore add HKEY_USERS '  '", 2, ""},
        {"ignore remove 'hkey_local_machine\\software\\vendor|'", 0, ""},
        {"ignore remove 'nothing like it'", 1, ""},
        {"ignore", 0, "HKEY_CURRENT_USER\\Software\\Mine|\n"},
    };
    for (const Step& step : steps) {
        test::CommandRun run = test::RunBrisko(step.arguments + on);
        EXPECT_EQ(run.exitCode, step.exitCode) << step.arguments << "\n" << run.output;
        EXPECT_EQ(run.out, step.out) << step.arguments;
    }
    machine.Reopen();
    scan::IgnoreList list(machine->files, scan::IgnoreListPath(machine->system));
    ASSERT_TRUE(list.LoadIgnoreList());
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries()[0].text, "HKEY_CURRENT_USER\\Software\\Mine|");
}

}  // namespace
}  // namespace brisko::cli
