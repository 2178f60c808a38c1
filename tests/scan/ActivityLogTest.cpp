#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "scan/ActivityLogFile.h"
#include "scan/ActivityLogFolder.h"
#include "scan/DataFolder.h"
#include "scan/SplitFields.h"
#include "support/TestMachine.h"
#include "support/Times.h"

namespace brisko::scan {
namespace {

using namespace platform;

constexpr const char* kLogs = "C:\\ProgramData\\Brisko\\LOGS";

using test::At;

bool WriteFile(FileSystem& files, const std::string& path, std::string_view text) {
    FileHandle file;
    if (files.OpenFile(path, kGenericWrite, 0, kCreateAlways, file) != kOk) return false;
    std::uint32_t written = 0;
    return file->Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), written) ==
           kOk;
}

std::string ReadFile(FileSystem& files, const std::string& path) {
    FileHandle file;
    if (files.OpenFile(path, kGenericRead, kShareRead, kOpenExisting, file) != kOk) return "<missing>";
    std::vector<std::uint8_t> buffer(65536);
    std::uint32_t read = 0;
    file->Read(buffer, read);
    return std::string(buffer.begin(), buffer.begin() + read);
}

std::vector<std::string> Listing(FileSystem& files, const std::string& folder) {
    std::vector<std::string> names;
    FindHandle search;
    FindData entry;
    if (files.FindFirst(folder + "\\*.*", search, entry) != kOk) return names;
    do {
        if (!(entry.attributes & kAttrDirectory)) names.push_back(entry.name);
    } while (search->Next(entry) == kOk);
    return names;
}

TEST(SplitFields, KeepsEmptyFields) {
    using Fields = std::vector<std::string>;
    EXPECT_EQ(SplitFields("a--b", "-"), (Fields{"a", "", "b"}));
    EXPECT_EQ(SplitFields("-a-", "-"), (Fields{"", "a", ""}));
    EXPECT_EQ(SplitFields("", "-"), (Fields{""}));
    EXPECT_EQ(SplitFields("a-b", "--"), (Fields{""}));
    EXPECT_EQ(SplitFields("a-b", ""), (Fields{""}));
}

TEST(ActivityLogFolder, NamesALogByTheTimeOfItsFirstRecord) {
    EXPECT_EQ(LogFileName(At(2013, 5, 16, 9, 32, 46)), "BRK_LOGS_05_16_2013_09_32_46_AM.log");
    EXPECT_EQ(LogFileName(At(2013, 5, 16, 14, 5, 9)), "BRK_LOGS_05_16_2013_14_05_09_PM.log");
    EXPECT_EQ(LogFileName(At(2013, 5, 16, 12, 0, 0)), "BRK_LOGS_05_16_2013_12_00_00_PM.log");
    std::optional<SystemTime> back = LogFileTime("BRK_LOGS_12_31_2012_23_59_59_PM.log");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->year, 2012);
    EXPECT_EQ(back->second, 59);
    EXPECT_FALSE(LogFileTime("BRK_LOGS_12_31_2012.log"));
    EXPECT_FALSE(LogFileTime("BRK_LOGS_13_31_2012_23_59_59_PM.log"));
    EXPECT_FALSE(LogFileTime("notes.log"));
}

TEST(ActivityLogFolder, LaysOutOneRecordPerCall) {
    SystemTime t = At(2013, 5, 16, 9, 32, 46);
    struct Case {
        const char* message;
        const char* record;
    };
    const Case cases[] = {
        {"Stated Scan", "05-16-2013 09:32:46Stated Scan\r\n"},
        {"\n  Scan Finished  ", "05-16-2013 09:32:46Scan Finished\r\n"},
        {" \t\r\n ", "\r\n"},
        {"", "\r\n"},
        {"banner\nStart Fixing here\n", "05-16-2013 09:32:46banner\r\nStart Fixing here\r\n"},
        {"already\r\nwindows", "05-16-2013 09:32:46already\r\nwindows\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LogRecord(t, c.message), c.record) << c.message;
}

class ActivityLogFileTest : public ::testing::Test {
protected:
    void SetClock(const SystemTime& t) { machine->SimulatedClock().Set(t); }
    test::TestMachine machine;
};

TEST_F(ActivityLogFileTest, AppendsRecordsToTheFileNamedByTheFirstOne) {
    ActivityLogFile log(*machine);
    EXPECT_EQ(log.CurrentLogPath(), "");
    SetClock(At(2013, 5, 16, 9, 32, 46));
    EXPECT_TRUE(log.Append("Stated Scan"));
    const std::string path = std::string(kLogs) + "\\BRK_LOGS_05_16_2013_09_32_46_AM.log";
    EXPECT_EQ(log.CurrentLogPath(), path);
    SetClock(At(2013, 5, 16, 9, 32, 47));
    log.WriteLog("Stated Scan for :Software Locations");
    log.WriteLog("   ");
    EXPECT_EQ(log.CurrentLogPath(), path);
    EXPECT_EQ(
        ReadFile(machine->files, path),
        "05-16-2013 09:32:46Stated Scan\r\n05-16-2013 09:32:47Stated Scan for :Software Locations\r\n\r\n");

    // Deleted while the program runs: the next record makes it again, under the same name.
    ASSERT_EQ(machine->files.DeleteFile(path), kOk);
    EXPECT_TRUE(log.Append("Scan Finished"));
    EXPECT_EQ(ReadFile(machine->files, path), "05-16-2013 09:32:47Scan Finished\r\n");
}

TEST_F(ActivityLogFileTest, ARecordThatCannotBeWrittenIsReportedAndLost) {
    machine.EditConfig([](auto& config) { config.deniedPaths.push_back("C:\\ProgramData\\Brisko\\LOGS"); });
    ActivityLogFile log(*machine);
    EXPECT_FALSE(log.Append("Stated Scan"));
}

TEST_F(ActivityLogFileTest, PrunesToNineOldLogsByTheTimeInTheirNames) {
    ASSERT_TRUE(CreateFolderTree(machine->files, kLogs));
    std::vector<std::string> ours;
    // Eleven days of December 2012, then January 2013: the listing puts January first.
    for (int day = 20; day <= 30; ++day)
        ours.push_back(LogFileName(At(2012, 12, day, 10, 0, 0)));
    ours.push_back(LogFileName(At(2013, 1, 2, 10, 0, 0)));
    for (const std::string& name : ours)
        ASSERT_TRUE(WriteFile(machine->files, std::string(kLogs) + "\\" + name, "x\r\n"));
    ASSERT_TRUE(WriteFile(machine->files, std::string(kLogs) + "\\BRK_LOGS_empty.log", ""));
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(
            WriteFile(machine->files, std::string(kLogs) + "\\other" + std::to_string(10 + i) + ".log", "x"));
    ASSERT_TRUE(WriteFile(machine->files, std::string(kLogs) + "\\keep.txt", "x"));

    SetClock(At(2013, 1, 3, 8, 0, 0));
    ActivityLogFile log(*machine);
    ASSERT_TRUE(log.Append("Starting Application: Ver"));

    std::vector<std::string> left = Listing(machine->files, kLogs);
    auto has = [&](const std::string& name) {
        return std::find(left.begin(), left.end(), name) != left.end();
    };
    for (std::size_t i = 0; i < ours.size(); ++i)
        EXPECT_EQ(has(ours[i]), i >= 3) << ours[i];  // the three oldest went, the new year's log stayed
    EXPECT_TRUE(has("BRK_LOGS_01_03_2013_08_00_00_AM.log"));
    EXPECT_TRUE(has("BRK_LOGS_empty.log"));
    EXPECT_FALSE(has("other10.log"));
    EXPECT_FALSE(has("other11.log"));
    EXPECT_TRUE(has("other12.log"));
    EXPECT_TRUE(has("keep.txt"));
}

}  // namespace
}  // namespace brisko::scan
