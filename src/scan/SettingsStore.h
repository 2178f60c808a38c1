// The settings store: every option, scan selection and statistic of the program is a REG_SZ value under
// HKEY_LOCAL_MACHINE\SOFTWARE\Brisko, integers as decimal text and sizes as "%f" text.
#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace brisko::scan {

class SettingsStore {
public:
    explicit SettingsStore(platform::Registry& registry) : registry_(registry) {}

    // A missing, empty, wrongly typed or out-of-range value reads as `defaultValue`.
    int ReadSettingInt(std::string_view name, int defaultValue);
    bool WriteSettingInt(std::string_view name, int value);
    std::string ReadSettingString(std::string_view name, std::string_view defaultValue);
    bool WriteSettingString(std::string_view name, std::string_view value);
    // Sizes in kilobytes, stored with "%f".
    double ReadSettingSize(std::string_view name, double defaultValue);
    bool WriteSettingSize(std::string_view name, double value);

private:
    platform::Registry& registry_;
};

}  // namespace brisko::scan
