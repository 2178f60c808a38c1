// What the program decides while it starts, apart from its windows: the start record of the log, the
// switches, whether this instance runs or hands over to the one already running, the elevated restart,
// the scan item table, the first run after installation, the splash screen and what the start timer does.
#pragma once

#include <string>
#include <string_view>

#include "app/CommandLine.h"
#include "app/Elevation.h"
#include "platform/Machine.h"
#include "scan/ActivityLog.h"
#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"

namespace brisko::app {

enum class InstanceAction {
    kRun,       // no other instance: start up
    kTakeOver,  // an elevated restart: start up, then replace the instance that asked for it
    kHandOver,  // activate the running instance's window (and ask it to scan when scheduled), then end
    kEnd,       // another instance holds the mutex but has no window: end silently
};

struct InstanceDecision {
    InstanceAction action = InstanceAction::kRun;
    bool sendScheduledStart = false;  // with kHandOver
};

struct StartTimerActions {
    bool checkForUpdates = false;
    bool startScan = false;
};

struct StartupState {
    std::string productName;
    CommandLineSwitches switches;
    bool elevatedRestart = false;  // cleared once the hand-over is done
    int restartAction = 0;         // 1 to 7 when the restart is in force
    bool firstRun = false;
};

class StartupLogic {
public:
    StartupLogic(platform::Machine& machine, scan::SettingsStore& store, scan::ActivityLog& log,
                 Elevation& elevation)
        : machine_(machine), store_(store), log_(log), elevation_(elevation) {}

    // Writes the start record with the version text and reads the switches from the arguments (the command
    // line without the program's name).
    void Begin(std::string_view arguments, std::string_view versionText);
    // Once the single-instance mutex is made: whether it existed already, and whether a window titled
    // with the product name was found.
    InstanceDecision DecideInstance(bool mutexExisted, bool runningWindowFound) const;
    // For an elevated restart: records it and reads the request. A request that does not parse or names
    // no action of 1 to 7 is recorded in the log and ignored; the instance then starts as usual.
    void ReadRestartRequest();
    void LoadScanItems(scan::ScanItemTable& items);
    // The first run after installation ("new" is 1): the default general settings are applied and saved
    // once and "new" is removed. True when this is that run.
    bool HandleFirstRun();
    // The splash screen shows on a normal start when its setting is on.
    bool ShowSplashScreen();
    // The hand-over of an elevated restart is done.
    void EndRestart() { state_.elevatedRestart = false; }
    // What the start timer does, one second after the main window is up.
    StartTimerActions OnStartTimer();

    const StartupState& State() const { return state_; }

private:
    platform::Machine& machine_;
    scan::SettingsStore& store_;
    scan::ActivityLog& log_;
    Elevation& elevation_;
    StartupState state_;
};

// Whole days since the program's uninstaller was last written, by which the automatic update check knows
// the installation's age; -1 when there is no uninstaller beside the program.
long long InstallationAgeInDays(platform::Machine& machine);

}  // namespace brisko::app
