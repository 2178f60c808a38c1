// Opening, creating and saving simulated machines: a machine that cannot be loaded gives one clear
// message and no machine.
#include "platform/sim/SimMachine.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/sim/MachineBuilder.h"
#include "support/TestMachine.h"

namespace brisko::platform::sim {
namespace {

void Write(const std::filesystem::path& file, std::string_view text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

constexpr std::string_view kMinimal =
    R"({"windows": {"major": 6, "minor": 1}, "drives": {"C": {"type": "fixed"}}})";

TEST(SimMachineOpen, RefusesWhatCannotBeLoadedWithOneMessage) {
    struct Case {
        const char* what;
        std::string_view machineJson;  // empty: no machine.json at all
        bool driveFolder;
        std::string_view hive;  // HKCU.reg, when not empty
        const char* message;    // part of the error
    };
    const Case cases[] = {
        {"no machine.json", "", true, "", "machine.json: no such file"},
        {"not JSON", "{\"windows\": ", true, "", "machine.json: not valid JSON"},
        {"not an object", "[1, 2]", true, "", "not a JSON object"},
        {"unknown field", R"({"windows": {"major": 6}, "colour": "blue"})", true, "",
         "unknown field \"colour\""},
        {"no version", R"({"userName": "Bob"})", true, "", "windows.major"},
        {"wrong type", R"({"windows": {"major": "six"}})", true, "", "\"windows.major\" has the wrong type"},
        {"bad drive letter", R"({"windows": {"major": 6}, "drives": {"CD": {}}})", true, "",
         "not a drive letter"},
        {"bad drive type", R"({"windows": {"major": 6}, "drives": {"C": {"type": "floppy"}}})", true, "",
         "unknown type \"floppy\""},
        {"bad clock", R"({"windows": {"major": 6}, "clock": "yesterday"})", true, "", "\"clock\""},
        {"fixed drive without folder", kMinimal, false, "", "fixed drive C: has no folder"},
        {"malformed hive", kMinimal, true,
         "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\X]\r\n\"v\"=dword:xyz\r\n",
         "HKCU.reg:4"},
        {"wrong header", kMinimal, true, "REGEDIT5\r\n", "HKCU.reg:1"},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        if (!c.machineJson.empty()) Write(folder.Path() / "machine.json", c.machineJson);
        if (c.driveFolder) std::filesystem::create_directories(folder.Path() / "drives" / "C");
        if (!c.hive.empty()) Write(folder.Path() / "registry" / "HKCU.reg", c.hive);
        std::string error;
        EXPECT_EQ(SimMachine::Open(folder.Path(), error), nullptr) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    }
    std::string error;
    EXPECT_EQ(SimMachine::Open("/nonexistent/brisko", error), nullptr);
    EXPECT_NE(error.find("no such machine folder"), std::string::npos);
}

TEST(SimMachineOpen, AMinimalMachineOpensWithEmptyHives) {
    test::TempFolder folder;
    Write(folder.Path() / "machine.json", kMinimal);
    std::filesystem::create_directories(folder.Path() / "drives" / "C");
    std::string error;
    auto machine = SimMachine::Open(folder.Path(), error);
    ASSERT_NE(machine, nullptr) << error;
    EXPECT_EQ(machine->system.GetVersion().major, 6u);
    EXPECT_EQ(machine->files.GetDriveType("C:\\"), kDriveFixed);
    EXPECT_EQ(machine->files.GetDriveType("Q:\\"), kDriveNoRootDir);
}

TEST(MachineConfigFile, SavedConfigReadsBackTheSame) {
    test::TempFolder folder;
    MachineConfig config;
    config.version = OsVersion{5, 1, 2600, 2, "Service Pack 3", 1};
    config.userName = "Bob";
    config.environment = {{"Zeta", "1"}, {"Alpha", "%Zeta%"}};
    config.drives = {DriveConfig{'C', kDriveFixed, 100, 50}, DriveConfig{'D', kDriveCdrom, 0, 0}};
    config.knownFolders["appdata"] = "D:\\Roaming";
    config.lockedFiles = {"C:\\pagefile.sys"};
    config.deniedKeys = {"HKEY_LOCAL_MACHINE\\SAM\\SAM"};
    config.clock = SystemTime{2026, 12, 5, 11, 9, 30, 0, 0};
    std::string error;
    ASSERT_TRUE(SaveMachineConfig(folder.Path() / "machine.json", config, error)) << error;
    MachineConfig read;
    ASSERT_TRUE(LoadMachineConfig(folder.Path() / "machine.json", read, error)) << error;
    EXPECT_EQ(read.version.servicePack, "Service Pack 3");
    EXPECT_EQ(read.userName, "Bob");
    EXPECT_EQ(read.environment, config.environment);  // in the order written
    ASSERT_EQ(read.drives.size(), 2u);
    EXPECT_EQ(read.drives[1].type, kDriveCdrom);
    EXPECT_EQ(read.drives[0].freeBytes, 50u);
    EXPECT_EQ(read.knownFolders, config.knownFolders);
    EXPECT_EQ(read.lockedFiles, config.lockedFiles);
    EXPECT_EQ(read.deniedKeys, config.deniedKeys);
    ASSERT_TRUE(read.clock);
    EXPECT_EQ(read.clock->dayOfWeek, 5);  // 11 December 2026 is a Friday
    EXPECT_EQ(read.clock->hour, 9);
}

TEST(MachineBuilder, PresetsFollowTheirWindowsVersion) {
    test::TestMachine xp("xp");
    std::string appData;
    ASSERT_EQ(xp->shell.GetFolderPath(kCsidlAppData, false, appData), kOk);
    EXPECT_EQ(appData, "C:\\Documents and Settings\\Alice\\Application Data");
    EXPECT_TRUE(xp->shell.PathFileExists("C:\\WINDOWS\\SYSTEM32\\notepad.exe"));

    test::TestMachine seven("win7");
    ASSERT_EQ(seven->shell.GetFolderPath(kCsidlAppData, false, appData), kOk);
    EXPECT_EQ(appData, "C:\\Users\\Alice\\AppData\\Roaming");
    std::string temp;
    ASSERT_TRUE(seven->shell.GetEnvironmentVariable("TEMP", temp));
    EXPECT_TRUE(seven->shell.PathIsDirectory(temp));
}

TEST(MachineBuilder, RefusesAFolderInUseAndAnUnknownPreset) {
    test::TempFolder folder;
    Write(folder.Path() / "keep.txt", "mine");
    std::string error;
    EXPECT_FALSE(CreateMachine(folder.Path(), "win7", error));
    EXPECT_NE(error.find("not empty"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "keep.txt"));
    EXPECT_FALSE(CreateMachine(folder.Path() / "new", "win95", error));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "new"));
}

TEST(SimMachineSave, ChangesSurviveAReopen) {
    test::TestMachine machine;
    RegKey key;
    ASSERT_EQ(machine->registry.CreateKey(kLocalMachine, "SOFTWARE\\Brisko", kKeyAllAccess, key), kOk);
    const Bytes value{'1', 0};
    ASSERT_EQ(machine->registry.SetValue(key.Get(), "lastScan", kRegSz, value), kOk);
    key.Close();
    ASSERT_EQ(machine->files.SetAttributes("C:\\Windows\\notepad.exe", kAttrReadOnly | kAttrHidden), kOk);
    machine.Reopen();
    ASSERT_EQ(machine->registry.OpenKey(kLocalMachine, "software\\brisko", kKeyRead, key), kOk);
    ValueType type = 0;
    Bytes data;
    EXPECT_EQ(machine->registry.QueryValue(key.Get(), "LASTSCAN", 1024, type, data), kOk);
    EXPECT_EQ(data, value);
    std::uint32_t attributes = 0;
    ASSERT_EQ(machine->files.GetAttributes("C:\\WINDOWS\\NOTEPAD.EXE", attributes), kOk);
    EXPECT_EQ(attributes & (kAttrReadOnly | kAttrHidden), kAttrReadOnly | kAttrHidden);
}

}  // namespace
}  // namespace brisko::platform::sim
