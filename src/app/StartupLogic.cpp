#include "app/StartupLogic.h"

#include "app/GeneralSettings.h"
#include "strings/StringTable.h"

namespace brisko::app {

using namespace platform;

namespace {
constexpr FileTime kFileTimePerDay = 864000000000ULL;
// The update check waits until the installation is this old.
constexpr long long kUpdateCheckAgeDays = 31;
}  // namespace

void StartupLogic::Begin(std::string_view arguments, std::string_view versionText) {
    state_.productName = strings::LoadStringOrMarks(strings::kIdProductName);
    log_.WriteLog("Starting Application: Ver" + std::string(versionText));
    state_.switches = ReadCommandLine(arguments);
    state_.elevatedRestart = !state_.switches.restartText.empty() && elevation_.IsElevated();
}

InstanceDecision StartupLogic::DecideInstance(bool mutexExisted, bool runningWindowFound) const {
    if (!mutexExisted) return {InstanceAction::kRun, false};
    if (!runningWindowFound) return {InstanceAction::kEnd, false};
    if (state_.elevatedRestart) return {InstanceAction::kTakeOver, false};
    return {InstanceAction::kHandOver, state_.switches.scheduledStart};
}

void StartupLogic::ReadRestartRequest() {
    if (!state_.elevatedRestart) return;
    log_.WriteLog("ReRan the applicaiton to Elevate");
    RestartRequest request;
    std::string problem;
    if (ParseRestartSwitch(state_.switches.restartText, request, problem)) {
        state_.restartAction = request.action;
        return;
    }
    // The text comes from outside: only a bounded piece of it goes into the log.
    std::string shown = state_.switches.restartText.substr(0, kRestartTextLength + 16);
    log_.WriteLog("Ignored the elevated restart switch (" + problem + "): " + shown);
    state_.elevatedRestart = false;
}

void StartupLogic::LoadScanItems(scan::ScanItemTable& items) {
    items.LoadScanItems(store_);
}

bool StartupLogic::HandleFirstRun() {
    if (store_.ReadSettingInt("new", 0) != 1) return false;
    GeneralSettings settings;
    settings.ApplyDefaults();
    settings.Save(store_, machine_);
    store_.DeleteSetting("new");
    state_.firstRun = true;
    return true;
}

bool StartupLogic::ShowSplashScreen() {
    if (state_.elevatedRestart || state_.switches.contextMenuStart) return false;
    return store_.ReadSettingInt(GeneralSettingName(kShowSplashScreen), 0) != 0;
}

StartTimerActions StartupLogic::OnStartTimer() {
    StartTimerActions actions;
    if (store_.ReadSettingInt(GeneralSettingName(kCheckForUpdates), 0) != 0) {
        // Without an uninstaller the installation's age is unknown: no automatic check then.
        actions.checkForUpdates = InstallationAgeInDays(machine_) >= kUpdateCheckAgeDays;
    }
    actions.startScan =
        store_.ReadSettingInt(GeneralSettingName(kScanAtLaunch), 0) != 0 || state_.switches.scheduledStart;
    return actions;
}

long long InstallationAgeInDays(Machine& machine) {
    std::string program = machine.system.GetProgramPath();
    std::size_t slash = program.rfind('\\');
    if (slash == std::string::npos) return -1;
    FindHandle search;
    FindData found;
    if (machine.files.FindFirst(program.substr(0, slash) + "\\uninst.exe", search, found) != kOk) return -1;
    FileTime now = machine.clock.GetSystemTimeAsFileTime();
    if (now <= found.lastWriteTime) return 0;
    return static_cast<long long>((now - found.lastWriteTime) / kFileTimePerDay);
}

}  // namespace brisko::app
