// What the system service tells about the machine and the running program.
#include "contract/ContractEnv.h"

namespace brisko::contract {
namespace {

using namespace platform;

TEST(SystemContract, VersionIsAnNtVersion) {
    OsVersion version = M().system.GetVersion();
    EXPECT_GE(version.major, 5u);
    EXPECT_EQ(version.platformId, 2u);
}

TEST(SystemContract, TheProgramPathNamesAnExistingExecutable) {
    std::string path = M().system.GetProgramPath();
    ASSERT_GT(path.size(), 4u);
    EXPECT_EQ(path[1], ':');
    EXPECT_TRUE(M().shell.PathFileExists(path)) << path;
    EXPECT_FALSE(M().shell.PathIsRelative(path)) << path;
}

TEST(SystemContract, AnElevatedProcessBelongsToAnAdministrator) {
    if (M().system.IsElevated()) {
        EXPECT_TRUE(M().system.IsUserAdmin());
    }
    EXPECT_FALSE(M().system.GetUserName().empty());
    EXPECT_FALSE(M().system.GetComputerName().empty());
}

}  // namespace
}  // namespace brisko::contract
