#include "scan/DataFolder.h"

#include <gtest/gtest.h>

#include "support/TestMachine.h"

namespace brisko::scan {
namespace {

TEST(DataFolderPath, IsCreatedBelowTheAllUsersDataFolder) {
    test::TestMachine machine;
    EXPECT_EQ(DataFolderPath(*machine), "C:\\ProgramData\\Brisko");
    EXPECT_TRUE(machine->shell.PathIsDirectory("C:\\ProgramData\\Brisko"));
    EXPECT_EQ(DataFolderPath(*machine, "LOGS"), "C:\\ProgramData\\Brisko\\LOGS");
    EXPECT_FALSE(machine->shell.PathFileExists("C:\\ProgramData\\Brisko\\LOGS"));

    test::TestMachine xp("xp");
    EXPECT_EQ(DataFolderPath(*xp, "Backup"),
              "C:\\Documents and Settings\\All Users\\Application Data\\Brisko\\Backup");
}

TEST(DataFolderPath, CreatesMissingParents) {
    test::TestMachine machine;
    // A machine whose all-users folder was moved to a place that does not exist yet.
    machine.EditConfig([](auto& config) { config.knownFolders["common_appdata"] = "C:\\Data\\Shared"; });
    EXPECT_EQ(DataFolderPath(*machine), "C:\\Data\\Shared\\Brisko");
    EXPECT_TRUE(machine->shell.PathIsDirectory("C:\\Data\\Shared\\Brisko"));
}

TEST(DataFolderPath, FallsBackToTheProgramsFolderWhenTheSystemNamesNone) {
    test::TestMachine machine;
    machine.EditConfig([](auto& config) { config.knownFolders["common_appdata"] = ""; });
    EXPECT_EQ(DataFolderPath(*machine), "C:\\Program Files\\Brisko");
    EXPECT_EQ(DataFolderPath(*machine, "ignore.wls"), "C:\\Program Files\\Brisko\\ignore.wls");
}

}  // namespace
}  // namespace brisko::scan
