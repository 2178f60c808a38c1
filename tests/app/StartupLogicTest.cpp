// The windowless part of start-up: switches, the elevated restart, instances, the first run, the start
// timer, the version texts.
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/FileVersion.h"
#include "app/GeneralSettings.h"
#include "app/StartupLogic.h"
#include "app/WindowsVersion.h"
#include "support/TestMachine.h"

namespace brisko::app {
namespace {

using namespace platform;

TEST(CommandLine, ReadsEachSwitchAsAnArgumentOfItsOwn) {
    struct Case {
        const char* arguments;
        bool scheduled;
        bool contextMenu;
        const char* restart;
    };
    const Case cases[] = {
        {"", false, false, ""},
        {"-t", true, false, ""},
        {"-s", true, false, ""},
        {"  -cm ", false, true, ""},
        {"-cm -t", true, true, ""},
        {"-e:7/*", false, false, "-e:7/*"},
        {"-t -e:3/x-s -cm", true, false, "-e:3/x-s -cm"},  // the restart takes the rest of the line
        {"-T -S -cmx", false, false, ""},
    };
    for (const Case& c : cases) {
        CommandLineSwitches switches = ReadCommandLine(c.arguments);
        EXPECT_EQ(switches.scheduledStart, c.scheduled) << c.arguments;
        EXPECT_EQ(switches.contextMenuStart, c.contextMenu) << c.arguments;
        EXPECT_EQ(switches.restartText, c.restart) << c.arguments;
    }
    // The program's own path is no switch, even where it holds one.
    EXPECT_EQ(ArgumentsOf("\"C:\\my -s tools\\Brisko.exe\" -t"), "-t");
    EXPECT_EQ(ArgumentsOf("C:\\my-tools\\Brisko.exe"), "");
    EXPECT_FALSE(ReadCommandLine(ArgumentsOf("\"C:\\my -s tools\\Brisko.exe\"")).scheduledStart);
}

TEST(CommandLine, ParsesTheRestartSwitchSafely) {
    struct Case {
        std::string text;
        bool ok;
        int action;
        std::string rest;
    };
    const Case cases[] = {
        {RestartParameters(7), true, 7, "*"},
        {"-e:1", true, 1, ""},
        {"-e: 3/ abc def", true, 3, "abc"},
        {"-e:+2/x", true, 2, "x"},
        {"-e:7/" + std::string(5000, 'a'), true, 7, std::string(270, 'a')},
        {"-e:0/*", false, 0, ""},
        {"-e:8/*", false, 0, ""},
        {"-e:-1/*", false, 0, ""},
        {"-e:/*", false, 0, ""},
        {"-e:", false, 0, ""},
        {"-e:abc", false, 0, ""},
        {"-e:99999999999999999999999/*", false, 0, ""},
        {"-e:4294967303/*", false, 0, ""},  // 7 more than 2^32
    };
    for (const Case& c : cases) {
        RestartRequest request{99, "sentinel"};
        std::string problem;
        EXPECT_EQ(ParseRestartSwitch(c.text, request, problem), c.ok) << c.text.substr(0, 40);
        EXPECT_EQ(request.action, c.ok ? c.action : 99) << c.text.substr(0, 40);
        EXPECT_EQ(request.text, c.ok ? c.rest : "sentinel") << c.text.substr(0, 40);
        EXPECT_EQ(problem.empty(), c.ok) << c.text.substr(0, 40);
    }
}

TEST(FileVersion, FormatsTheFourParts) {
    EXPECT_EQ(GetFileVersionText(FileVersionNumbers{0x00010002, 0x0003FFFF}), "1.2.3.65535");
    EXPECT_EQ(GetFileVersionText(std::nullopt), "");
}

TEST(WindowsVersion, ClassifiesEverySystemSoTheComparisonsHold) {
    struct Case {
        OsVersion version;
        const char* name;
        int code;
    };
    auto nt = [](std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
        return OsVersion{major, minor, build, 2, "", 1};
    };
    auto nine = [](std::uint32_t minor, std::uint32_t build) { return OsVersion{4, minor, build, 1, "", 1}; };
    const Case cases[] = {
        {nine(0, 950), "Windows 95", 1},
        {nine(0, 1080), "Windows 95 SP1", 2},
        {nine(3, 1081), "Windows 95 OSR2", 3},
        {nine(10, 1998), "Windows 98", 4},
        {nine(10, 0x040A08AE), "Windows 98 SE", 6},  // build 2222 in the low word
        {nine(90, 3000), "Windows ME", 7},
        {nt(3, 51, 1057), "Windows NT 3.51", 101},
        {nt(4, 0, 1381), "Windows NT 4", 102},
        {nt(5, 0, 2195), "Windows 2000", 103},
        {nt(5, 1, 2600), "Windows XP", 104},
        {nt(5, 2, 3790), "Windows XP", 104},
        {nt(6, 0, 6002), "Windows Vista", 105},
        {nt(6, 1, 7601), "Windows 7", 105},
        {nt(6, 2, 9200), "Windows 8", 105},
        {nt(6, 3, 9600), "Windows 8.1", 105},
        {nt(10, 0, 19045), "Windows 10", 107},
        {nt(10, 0, 21999), "Windows 10", 107},
        {nt(10, 0, 22000), "Windows 11", 108},
        {nt(10, 0, 26100), "Windows 11", 108},
        {nt(11, 0, 30000), "Windows NT 11.0", 109},
        {OsVersion{5, 0, 0, 3, "", 1}, "Windows CE", 201},
        {nt(3, 10, 528), "unknown Windows version", 0},
        {OsVersion{0, 0, 0, 0, "", 0}, "unknown Windows version", 0},
    };
    for (const Case& c : cases) {
        WindowsVersion v = ClassifyWindowsVersion(c.version);
        EXPECT_EQ(v.name, c.name) << c.version.major << "." << c.version.minor << " " << c.version.build;
        EXPECT_EQ(v.code, c.code) << c.name;
    }
    // What the backup header and the user's temp folder decide on.
    for (const Case& c : cases) {
        bool ntFrom2000 = c.version.platformId == 2 && c.version.major >= 5;
        if (ntFrom2000) {
            EXPECT_GE(ClassifyWindowsVersion(c.version).code, 103) << c.name;
        }
        if (c.version.platformId == 2 && c.version.major >= 6) {
            EXPECT_GT(ClassifyWindowsVersion(c.version).code, 104) << c.name;
        }
    }
}

class StartupLogicTest : public ::testing::Test {
protected:
    StartupLogicTest() : store(machine->registry), elevation(machine->system) {}
    StartupLogic Start(const char* arguments, const char* version = "1.0.0.1") {
        StartupLogic logic(*machine, store, log, elevation);
        logic.Begin(arguments, version);
        return logic;
    }
    test::TestMachine machine;  // an elevated administrator
    scan::SettingsStore store;
    scan::MemoryLog log;
    Elevation elevation;
};

TEST_F(StartupLogicTest, LogsTheStartAndDecidesWhichInstanceRuns) {
    StartupLogic logic = Start("-t", "");
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "Starting Application: Ver");
    EXPECT_EQ(logic.State().productName, "Brisko");
    EXPECT_EQ(logic.DecideInstance(false, false).action, InstanceAction::kRun);
    EXPECT_EQ(logic.DecideInstance(true, false).action, InstanceAction::kEnd);
    InstanceDecision handOver = logic.DecideInstance(true, true);
    EXPECT_EQ(handOver.action, InstanceAction::kHandOver);
    EXPECT_TRUE(handOver.sendScheduledStart);
    EXPECT_FALSE(Start("").DecideInstance(true, true).sendScheduledStart);
    EXPECT_EQ(Start("-e:7/*").DecideInstance(true, true).action, InstanceAction::kTakeOver);
}

TEST_F(StartupLogicTest, TakesAValidElevatedRestartAndIgnoresAMalformedOne) {
    StartupLogic valid = Start("-e:7/*");
    valid.ReadRestartRequest();
    EXPECT_TRUE(valid.State().elevatedRestart);
    EXPECT_EQ(valid.State().restartAction, 7);
    EXPECT_EQ(log.Lines().back(), "ReRan the applicaiton to Elevate");
    EXPECT_FALSE(valid.ShowSplashScreen());

    for (const std::string& bad :
         {std::string("-e:9/*"), std::string("-e:x"), "-e:" + std::string(100000, '9')}) {
        StartupLogic logic = Start(("-cm " + bad).c_str());
        ASSERT_TRUE(logic.State().elevatedRestart);
        logic.ReadRestartRequest();
        EXPECT_FALSE(logic.State().elevatedRestart) << bad.substr(0, 20);
        EXPECT_EQ(logic.State().restartAction, 0);
        EXPECT_EQ(log.Lines().back().rfind("Ignored the elevated restart switch (", 0), 0u)
            << log.Lines().back();
        EXPECT_LT(log.Lines().back().size(), 400u);
        EXPECT_EQ(logic.DecideInstance(true, true).action, InstanceAction::kHandOver);
    }
}

TEST_F(StartupLogicTest, ARestartRequestInAProcessThatIsNotElevatedIsANormalStart) {
    machine.EditConfig([](auto& config) { config.elevated = false; });
    Elevation notElevated(machine->system);
    StartupLogic logic(*machine, store, log, notElevated);
    logic.Begin("-e:7/*", "");
    logic.ReadRestartRequest();
    EXPECT_FALSE(logic.State().elevatedRestart);
    EXPECT_EQ(log.Lines().size(), 1u);
}

TEST_F(StartupLogicTest, TheFirstRunAppliesTheDefaultGeneralSettingsOnce) {
    store.WriteSettingInt("new", 1);
    store.WriteSettingInt(GeneralSettingName(kScanAtLaunch), 1);
    StartupLogic logic = Start("");
    EXPECT_TRUE(logic.HandleFirstRun());
    EXPECT_TRUE(logic.State().firstRun);
    EXPECT_EQ(store.ReadSettingString("new", "gone"), "gone");
    EXPECT_EQ(store.ReadSettingInt("Show splash screen when launched", 0), 1);
    EXPECT_EQ(store.ReadSettingInt("Create a system restore point before repairing errors", 0), 1);
    EXPECT_EQ(store.ReadSettingInt("Start scanning automatically when software is launched", 1), 0);
    EXPECT_FALSE(Start("").HandleFirstRun());

    EXPECT_TRUE(Start("").ShowSplashScreen());
    EXPECT_FALSE(Start("-cm").ShowSplashScreen());
}

TEST_F(StartupLogicTest, TheStartTimerScansWhenScheduledAndChecksForUpdatesOnceInstalledAMonth) {
    EXPECT_TRUE(Start("-s").OnStartTimer().startScan);
    EXPECT_FALSE(Start("").OnStartTimer().startScan);
    store.WriteSettingInt(GeneralSettingName(kScanAtLaunch), 1);
    EXPECT_TRUE(Start("").OnStartTimer().startScan);

    store.WriteSettingInt(GeneralSettingName(kCheckForUpdates), 1);
    EXPECT_FALSE(Start("").OnStartTimer().checkForUpdates);  // no uninstaller: the age is unknown
    FileHandle file;
    ASSERT_EQ(machine->files.OpenFile("C:\\Program Files\\Brisko\\uninst.exe", kGenericWrite, 0,
                                      kCreateAlways, file),
              kOk);
    file.reset();
    SystemTime longAfter;
    longAfter.year = 2200;
    machine->SimulatedClock().Set(longAfter);
    EXPECT_TRUE(Start("").OnStartTimer().checkForUpdates);
    SystemTime before;
    before.year = 2000;
    machine->SimulatedClock().Set(before);
    EXPECT_FALSE(Start("").OnStartTimer().checkForUpdates);
}

TEST(GeneralSettings, SavingMirrorsTheFirstSettingInTheRunEntry) {
    test::TestMachine machine;
    scan::SettingsStore store(machine->registry);
    auto runEntry = [&]() -> std::string {
        RegKey run;
        ValueType type = 0;
        Bytes data;
        if (machine->registry.OpenKey(kLocalMachine, kRunKeyPath, kKeyRead, run) != kOk ||
            machine->registry.QueryValue(run.Get(), "Brisko", 1024, type, data) != kOk) {
            return "<none>";
        }
        return std::string(data.begin(), data.end() - 1);
    };
    GeneralSettings settings;
    settings.Set(kRunOnStartup, true);
    settings.Set(kScanAtLaunch, true);
    settings.Save(store, *machine);
    EXPECT_EQ(runEntry(), "\"C:\\Program Files\\Brisko\\Lightstart.exe\" -s");
    settings.Set(kScanAtLaunch, false);
    settings.Save(store, *machine);
    EXPECT_EQ(runEntry(), "\"C:\\Program Files\\Brisko\\Lightstart.exe\"");
    settings.Set(kRunOnStartup, false);
    settings.Set(kScanAtLaunch, true);
    settings.Save(store, *machine);
    EXPECT_EQ(runEntry(), "<none>");

    EXPECT_EQ(store.ReadSettingInt("Run Brisko on windows startup", -1), 0);
    EXPECT_EQ(store.ReadSettingInt("Start scanning automatically when software is launched", -1), 1);
    GeneralSettings loaded;
    loaded.Load(store);
    EXPECT_FALSE(loaded.Get(kRunOnStartup));
    EXPECT_TRUE(loaded.Get(kScanAtLaunch));
    EXPECT_EQ(GeneralSettingCaption(kRunOnStartup), "Run on startup");
    EXPECT_EQ(GeneralSettingCaption(kCloseAfterRepair), "Close software after repair");
    EXPECT_EQ(GeneralSettingName(kCloseAfterRepair), "Close program after repair");
}

}  // namespace
}  // namespace brisko::app
