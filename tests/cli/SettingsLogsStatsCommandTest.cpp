// `brisko settings`, `brisko stats` and `brisko logs` as scripts use them.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <string>

#include "scan/DataFolder.h"
#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"
#include "support/TestMachine.h"

namespace brisko::cli {
namespace {

struct CommandRun {
    int exitCode = -1;
    std::string output;  // standard output and error together
};

CommandRun Brisko(const std::string& arguments) {
    CommandRun run;
    std::string command = std::string(BRISKO_CLI) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.output.append(buffer.data(), n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class Commands : public ::testing::Test {
protected:
    std::string On(const std::string& arguments) {
        return arguments + " --machine '" + machine.Folder().string() + "'";
    }
    test::TestMachine machine;
};

TEST_F(Commands, SettingsSetAreWhatTheProgramReads) {
    for (const char* set :
         {"settings set pshred 2", "settings set GSRESTORE 0", "settings set esftloc 12",
          "settings set 'sIE Cookies' 2048.5", "settings set lastScan '12-31-2010 23:59:00'",
          "settings set 'Windows Run Command History' 0"}) {
        CommandRun run = Brisko(On(set));
        EXPECT_EQ(run.exitCode, 0) << set << "\n" << run.output;
    }
    machine.Reopen();
    scan::SettingsStore store(machine->registry);
    EXPECT_EQ(store.ReadSettingInt("pshred", 0), 2);
    EXPECT_EQ(store.ReadSettingInt("GSRestore", 1), 0);
    EXPECT_EQ(store.ReadSettingInt("Windows Run Command History", 1), 0);
    scan::ScanItemTable items;
    items.LoadScanItems(store);
    EXPECT_EQ(items.Row(0).found, 12);
    EXPECT_EQ(items.Row(25).foundSize, 2048.5);

    CommandRun got = Brisko(On("settings get gsrestore"));
    EXPECT_EQ(got.output, "0\n");
    EXPECT_EQ(Brisko(On("settings get 'Close program after repair'")).output, "0\n");  // the default
    CommandRun listed = Brisko(On("settings list"));
    EXPECT_NE(listed.output.find("pshred = 2\n"), std::string::npos) << listed.output;
    EXPECT_NE(listed.output.find("new = 0 (default)\n"), std::string::npos) << listed.output;
}

TEST_F(Commands, SettingsRefuseValuesTheProgramWouldNotReadBack) {
    struct Case {
        const char* arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"settings set pshred 3", 2, "\"pshred\" takes a whole number from 0 to 2"},
        {"settings set GSRestore yes", 2, "takes 0 or 1"},
        {"settings set errs 2147483647", 2, "takes a whole number"},
        {"settings set errs 12abc", 2, "takes a whole number"},
        {"settings set lastScan '31-12-2010 23:59:00'", 2, "MM-DD-YYYY"},
        {"settings set pshred", 2, "VALUE"},
        {"settings get nothingStoredHere", 1, "is not set"},
    };
    for (const Case& c : cases) {
        CommandRun run = Brisko(On(c.arguments));
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
    }
    CommandRun missing = Brisko("settings list --machine /nonexistent/brisko-machine");
    EXPECT_EQ(missing.exitCode, 3) << missing.output;
}

TEST_F(Commands, StatsShowThePagesFigures) {
    scan::SettingsStore store(machine->registry);
    scan::ScanItemTable items;
    items.At(scan::kRegistryEngine, 1).found = 30;
    items.SaveScanItems(store);
    store.WriteSettingString("lastScan", "12-31-2010 23:59:00");
    store.WriteSettingInt("errs", 401);
    machine.Reopen();
    CommandRun run = Brisko(On("stats"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const char* expected : {"Last scan: 31 Dec 2010, 23:59:00", "Speed Loss level: POOR",
                                 "Problems Found: 30", "Registry Integrity", "High Priority",
                                 "Registry Errors to Fix: 30", "Disk Items to Clean: 0.00 KB (0 Files)"}) {
        EXPECT_NE(run.output.find(expected), std::string::npos) << expected << "\n" << run.output;
    }
}

TEST_F(Commands, LogsListShowAndDeleteOnlyTheLogFolder) {
    std::string logs = scan::DataFolderPath(*machine, "LOGS");
    ASSERT_TRUE(scan::CreateFolderTree(machine->files, logs));
    platform::FileHandle file;
    ASSERT_EQ(machine->files.OpenFile(logs + "\\BRK_LOGS_12_31_2012_23_59_59_PM.log", platform::kGenericWrite,
                                      0, platform::kCreateAlways, file),
              platform::kOk);
    std::string text = "12-31-2012 23:59:59Stated Scan\r\n";
    std::uint32_t written = 0;
    file->Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), written);
    file.reset();

    CommandRun listed = Brisko(On("logs"));
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_NE(listed.output.find("12-31-2012, 23:59:59     BRK_LOGS_12_31_2012_23_59_59_PM.log"),
              std::string::npos)
        << listed.output;
    CommandRun shown = Brisko(On("logs show BRK_LOGS_12_31_2012_23_59_59_PM.log"));
    EXPECT_EQ(shown.output, text);
    CommandRun outside = Brisko(On("logs delete '..\\..\\..\\..\\..\\machine.json'"));
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_NE(outside.output.find("no log named"), std::string::npos);
    EXPECT_EQ(Brisko(On("logs delete BRK_LOGS_12_31_2012_23_59_59_PM.log")).exitCode, 0);
    EXPECT_FALSE(machine->shell.PathFileExists(logs + "\\BRK_LOGS_12_31_2012_23_59_59_PM.log"));
}

}  // namespace
}  // namespace brisko::cli
