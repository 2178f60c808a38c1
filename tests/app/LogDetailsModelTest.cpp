#include "app/LogDetailsModel.h"

#include <gtest/gtest.h>

#include "scan/DataFolder.h"
#include "support/TestMachine.h"

namespace brisko::app {
namespace {

using namespace platform;

constexpr const char* kLogs = "C:\\ProgramData\\Brisko\\LOGS";

void WriteFile(FileSystem& files, const std::string& name, std::string_view text) {
    FileHandle file;
    ASSERT_EQ(files.OpenFile(std::string(kLogs) + "\\" + name, kGenericWrite, 0, kCreateAlways, file), kOk);
    std::uint32_t written = 0;
    file->Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), written);
}

class LogDetails : public ::testing::Test {
protected:
    LogDetails() : model(*machine, log) {
        scan::CreateFolderTree(machine->files, kLogs);
        for (const char* name : {"BRK_LOGS_12_31_2012_23_59_59_PM.log", "BRK_LOGS_01_02_2013_08_00_00_AM.log",
                                 "BRK_LOGS_12_30_2012_10_00_00_AM.log", "notes.txt"})
            WriteFile(machine->files, name, "x\r\n");
        WriteFile(machine->files, "BRK_LOGS_12_29_2012_10_00_00_AM.log", "");  // empty: not listed
    }
    test::TestMachine machine;
    scan::MemoryLog log;
    LogDetailsModel model;
};

TEST_F(LogDetails, ListsTheLogsNewestFirstWithTheTimeTheirNamesTell) {
    model.ListLogs();
    ASSERT_EQ(model.Rows().size(), 4u);
    EXPECT_EQ(model.Rows()[0].fileName, "BRK_LOGS_01_02_2013_08_00_00_AM.log");
    EXPECT_EQ(model.Rows()[0].dateTime, "01-02-2013, 08:00:00");
    EXPECT_EQ(model.Rows()[1].dateTime, "12-31-2012, 23:59:59");
    EXPECT_EQ(model.Rows()[2].fileName, "BRK_LOGS_12_30_2012_10_00_00_AM.log");
    EXPECT_EQ(model.Rows()[3].fileName, "notes.txt");  // no time to show, still listed
    EXPECT_EQ(model.Rows()[3].dateTime, "");
    EXPECT_EQ(
        LogDetailsModel::IntroText(),
        "Brisko records all changes made to the registry. Simply click on any report below to inspect the "
        "log file.");
}

TEST_F(LogDetails, OpensAndDeletesARow) {
    model.ListLogs();
    EXPECT_EQ(model.Open(1), std::string(kLogs) + "\\BRK_LOGS_12_31_2012_23_59_59_PM.log");
    EXPECT_EQ(log.Lines().back(), std::string(kLogs) + "\\BRK_LOGS_12_31_2012_23_59_59_PM.log");
    EXPECT_EQ(model.Open(9), "");

    EXPECT_EQ(model.Delete(1), std::nullopt);
    EXPECT_EQ(model.Rows().size(), 3u);
    EXPECT_FALSE(machine->shell.PathFileExists(std::string(kLogs) + "\\BRK_LOGS_12_31_2012_23_59_59_PM.log"));
    EXPECT_EQ(model.Delete(9), std::nullopt);
    EXPECT_EQ(model.Rows().size(), 3u);
}

TEST_F(LogDetails, AFileHeldByAnotherProgramKeepsItsRow) {
    machine.EditConfig([](auto& config) {
        config.lockedFiles.push_back("C:\\ProgramData\\Brisko\\LOGS\\BRK_LOGS_01_02_2013_08_00_00_AM.log");
    });
    LogDetailsModel locked(*machine, log);
    locked.ListLogs();
    EXPECT_EQ(locked.Delete(0), "selected file already using by some other proccess");
    EXPECT_EQ(locked.Rows().size(), 4u);
}

}  // namespace
}  // namespace brisko::app
