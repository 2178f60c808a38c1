#include "app/SettingsCatalog.h"

#include <charconv>
#include <climits>
#include <cmath>

#include "app/GeneralSettings.h"
#include "app/LastScan.h"
#include "platform/Text.h"
#include "scan/ScanItems.h"

namespace brisko::app {

namespace {

std::vector<KnownSetting> MakeCatalog() {
    std::vector<KnownSetting> all;
    auto add = [&all](std::string name, SettingKind kind, int defaultValue = 0, int maximum = 0) {
        all.push_back({std::move(name), kind, defaultValue, maximum, false});
    };
    for (int setting = 0; setting < kGeneralSettingCount; ++setting)
        add(GeneralSettingName(setting), SettingKind::kFlag);
    add("GSRestore", SettingKind::kFlag, 1);
    add("pshred", SettingKind::kLevel, 0, 2);
    add("new", SettingKind::kFlag);
    add("lastScan", SettingKind::kTime);
    add("errs", SettingKind::kInteger);
    add("fixed", SettingKind::kInteger);
    add("lastRfounderrors", SettingKind::kInteger);
    add("RErrorsFixed", SettingKind::kInteger);
    add("actionperformed", SettingKind::kText);
    add("defrages", SettingKind::kInteger);
    for (const char* name :
         {"alldrives", "wndoldfiles", "pffiles", "tempoff", "setupfiles", "offtemp", "thumbnails"})
        add(name, SettingKind::kFlag, 1);

    scan::ScanItemTable table;
    for (int row = 0; row < scan::kScanItemCount; ++row) {
        const scan::ScanItem& item = table.Row(row);
        all.push_back({item.key, SettingKind::kFlag, item.enabled, 0, true});
        all.push_back({"e" + item.key, SettingKind::kInteger, 0, 0, true});
        all.push_back({"f" + item.key, SettingKind::kInteger, 0, 0, true});
        if (row >= scan::kFirstScanItem[scan::kJunkFileEngine] &&
            row < scan::kFirstScanItem[scan::kTuneupEngine]) {
            all.push_back({"s" + item.key, SettingKind::kSize, 0, 0, true});
            all.push_back({"sf" + item.key, SettingKind::kSize, 0, 0, true});
        }
    }
    return all;
}

}  // namespace

const std::vector<KnownSetting>& KnownSettings() {
    static const std::vector<KnownSetting> catalog = MakeCatalog();
    return catalog;
}

const KnownSetting* FindKnownSetting(std::string_view name) {
    for (const KnownSetting& setting : KnownSettings())
        if (platform::EqualsNoCase(setting.name, name)) return &setting;
    return nullptr;
}

std::optional<std::string> CheckSettingValue(const KnownSetting& setting, std::string_view text,
                                             std::string& problem) {
    switch (setting.kind) {
        case SettingKind::kText:
            return std::string(text);
        case SettingKind::kTime:
            if (!ParseLastScan(text)) {
                problem = "a time of the form MM-DD-YYYY HH:MM:SS";
                return std::nullopt;
            }
            return std::string(text);
        case SettingKind::kSize: {
            double value = 0;
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
                !std::isfinite(value)) {
                problem = "a number of kilobytes";
                return std::nullopt;
            }
            return std::string(text);
        }
        default:
            break;
    }
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    bool whole = !digits.empty() && error == std::errc() && end == digits.data() + digits.size();
    // The two extreme values read back as the default, so they cannot be stored.
    bool ok = whole && value != INT_MAX && value != INT_MIN;
    if (setting.kind == SettingKind::kFlag) ok = ok && (value == 0 || value == 1);
    if (setting.kind == SettingKind::kLevel) ok = ok && value >= 0 && value <= setting.maximum;
    if (!ok) {
        problem = setting.kind == SettingKind::kFlag ? "0 or 1"
                  : setting.kind == SettingKind::kLevel
                      ? "a whole number from 0 to " + std::to_string(setting.maximum)
                      : "a whole number from -2147483647 to 2147483646";
        return std::nullopt;
    }
    return std::to_string(value);
}

}  // namespace brisko::app
