// The brisko command as scripts use it: output, exit codes and one-line errors.
#include <gtest/gtest.h>

#include <string>

#include "support/CliRunner.h"
#include "support/TestMachine.h"

namespace brisko::cli {
namespace {

using test::CommandRun;

CommandRun Brisko(const std::string& arguments) {
    return test::RunBrisko(arguments);
}

TEST(MachineCommand, CreatesADemoMachineAndShowsWhatItHolds) {
    test::TempFolder folder;
    std::string machine = (folder.Path() / "demo").string();
    CommandRun created = Brisko("machine create " + machine + " --preset demo");
    ASSERT_EQ(created.exitCode, 0) << created.output;
    CommandRun shown = Brisko("machine show " + machine);
    ASSERT_EQ(shown.exitCode, 0) << shown.output;
    for (const char* expected : {"Windows 6.1 build 7601", "User Alice on ALICE-PC", "HKEY_LOCAL_MACHINE",
                                 "C: fixed", "D: CD-ROM", "C:\\Users\\Alice\\AppData\\Roaming"}) {
        EXPECT_NE(shown.output.find(expected), std::string::npos) << expected << "\n" << shown.output;
    }
}

TEST(MachineCommand, ExitCodesTellUsageFromMachineErrors) {
    test::TempFolder folder;
    struct Case {
        std::string arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"", 2, ""},
        {"machine", 2, ""},
        {"machine create", 2, "DIR"},
        {"machine frobnicate", 2, ""},
        {"machine create " + (folder.Path() / "m").string() + " --preset win95", 3,
         "unknown preset \"win95\""},
        {"machine show " + (folder.Path() / "missing").string(), 3, "no such machine folder"},
    };
    for (const Case& c : cases) {
        CommandRun run = Brisko(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
    }
}

}  // namespace
}  // namespace brisko::cli
