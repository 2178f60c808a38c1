#include "app/GeneralSettings.h"

#include "strings/StringTable.h"

namespace brisko::app {

using namespace platform;

namespace {

struct SettingText {
    int nameId;
    int captionId;
};
constexpr SettingText kSettings[kGeneralSettingCount] = {
    {strings::kIdRunOnStartupValue, strings::kIdCaptionRunOnStartup},
    {strings::kIdShowSplashValue, strings::kIdShowSplashValue},
    {strings::kIdCloseAfterRepairValue, strings::kIdCaptionCloseAfterRepair},
    {strings::kIdMinimizeWhileScanningValue, strings::kIdMinimizeWhileScanningValue},
    {strings::kIdRepairAutomaticallyValue, strings::kIdRepairAutomaticallyValue},
    {strings::kIdCreateRestorePointValue, strings::kIdCreateRestorePointValue},
    {strings::kIdCheckForUpdatesValue, strings::kIdCheckForUpdatesValue},
    {strings::kIdPromptBeforeDownloadValue, strings::kIdPromptBeforeDownloadValue},
    {strings::kIdScanAtLaunchValue, strings::kIdScanAtLaunchValue},
};

}  // namespace

std::string GeneralSettingName(int setting) {
    return strings::LoadStringOrMarks(kSettings[setting].nameId);
}

std::string GeneralSettingCaption(int setting) {
    return strings::LoadStringOrMarks(kSettings[setting].captionId);
}

std::string RunEntryData(const std::string& programPath, bool scanAtLaunch) {
    std::size_t slash = programPath.rfind('\\');
    std::string folder = slash == std::string::npos ? std::string() : programPath.substr(0, slash);
    return "\"" + folder + "\\Lightstart.exe\"" + (scanAtLaunch ? " -s" : "");
}

void GeneralSettings::Load(scan::SettingsStore& store) {
    for (int setting = 0; setting < kGeneralSettingCount; ++setting)
        checked_[setting] = store.ReadSettingInt(GeneralSettingName(setting), 0) != 0;
}

void GeneralSettings::Save(scan::SettingsStore& store, Machine& machine) const {
    const std::string valueName = strings::LoadStringOrMarks(strings::kIdProductName);
    RegKey run;
    if (machine.registry.OpenKey(kLocalMachine, kRunKeyPath, kKeyAllAccess, run) == kOk)
        machine.registry.DeleteValue(run.Get(), valueName);
    if (checked_[kRunOnStartup] &&
        (run.IsOpen() || machine.registry.CreateKey(kLocalMachine, kRunKeyPath, kKeyAllAccess, run) == kOk)) {
        std::string data = RunEntryData(machine.system.GetProgramPath(), checked_[kScanAtLaunch]);
        Bytes bytes(data.begin(), data.end());
        bytes.push_back(0);
        machine.registry.SetValue(run.Get(), valueName, kRegSz, bytes);
    }
    for (int setting = 0; setting < kGeneralSettingCount; ++setting)
        store.WriteSettingInt(GeneralSettingName(setting), checked_[setting] ? 1 : 0);
}

void GeneralSettings::ApplyDefaults() {
    checked_ = {};
    checked_[kShowSplashScreen] = true;
    checked_[kCheckForUpdates] = true;
    checked_[kPromptBeforeDownloading] = true;
    checked_[kCreateRestorePoint] = true;
}

}  // namespace brisko::app
