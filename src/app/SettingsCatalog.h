// The settings the program knows by name, with their kind and default: what `brisko settings` reads with
// the same rules and defaults as the pages, and checks before it writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::app {

enum class SettingKind {
    kFlag,     // 0 or 1
    kInteger,  // any int the store can read back
    kLevel,    // 0 to `maximum`
    kText,
    kTime,  // "%m-%d-%Y %H:%M:%S"
    kSize,  // kilobytes, "%f"
};

struct KnownSetting {
    std::string name;
    SettingKind kind = SettingKind::kText;
    int defaultValue = 0;   // the numeric kinds
    int maximum = 0;        // kLevel
    bool scanItem = false;  // a value of the scan item table
};

// Every known setting: the program's own values, then those of the 45 scan items.
const std::vector<KnownSetting>& KnownSettings();
// The entry of a name, compared as the registry compares names (without regard to case).
const KnownSetting* FindKnownSetting(std::string_view name);

// Whether `text` may be stored for a setting of this kind: the whole text must be a value of the kind
// that reads back as written. On success the text to store (a number in its plain form); otherwise none
// and the reason in `problem`.
std::optional<std::string> CheckSettingValue(const KnownSetting& setting, std::string_view text,
                                             std::string& problem);

}  // namespace brisko::app
