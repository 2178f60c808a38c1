// The nine general settings, apart from their page: read when the page is shown, written (with the Run
// entry that mirrors the first one) when it is hidden, and set to their defaults on request or on the
// first run after installation.
#pragma once

#include <array>
#include <string>

#include "platform/Machine.h"
#include "scan/SettingsStore.h"

namespace brisko::app {

enum GeneralSetting : int {
    kRunOnStartup = 0,
    kShowSplashScreen,
    kCloseAfterRepair,
    kMinimizeWhileScanning,
    kRepairAutomatically,
    kCreateRestorePoint,
    kCheckForUpdates,
    kPromptBeforeDownloading,
    kScanAtLaunch,
    kGeneralSettingCount,
};

// The name a setting is stored under (also the caption the first builds showed).
std::string GeneralSettingName(int setting);
// The caption of its box on the page.
std::string GeneralSettingCaption(int setting);

// The value "Brisko" of HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run.
inline constexpr std::string_view kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// The Run entry's data: the start-up launcher beside the program, with " -s" when the program is to
// scan at once.
std::string RunEntryData(const std::string& programPath, bool scanAtLaunch);

class GeneralSettings {
public:
    bool Get(int setting) const {
        return setting >= 0 && setting < kGeneralSettingCount && checked_[setting];
    }
    void Set(int setting, bool on) {
        if (setting >= 0 && setting < kGeneralSettingCount) checked_[setting] = on;
    }

    void Load(scan::SettingsStore& store);
    // Replaces the Run entry as the first setting says, then writes the nine values in order.
    void Save(scan::SettingsStore& store, platform::Machine& machine) const;
    // Splash screen, update check, prompt before downloading and restore point on; the rest off.
    void ApplyDefaults();

private:
    std::array<bool, kGeneralSettingCount> checked_{};
};

}  // namespace brisko::app
