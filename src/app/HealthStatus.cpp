#include "app/HealthStatus.h"

#include "app/LastScan.h"
#include "app/Ratings.h"
#include "strings/StringTable.h"

namespace brisko::app {

using strings::LoadStringOrMarks;

HealthLabel RegistryHealthLabel(scan::SettingsStore& store, const platform::SystemTime& now) {
    HealthLabel label;
    label.caption = LoadStringOrMarks(strings::kIdRegistryHealthCaption);
    int fixed = store.ReadSettingInt("fixed", 0);
    long long remaining = static_cast<long long>(store.ReadSettingInt("errs", 0)) - fixed;
    if (remaining > 400) {
        label = {label.caption, LoadStringOrMarks(strings::kIdHealthLow), {240, 10, 10}, 304};
    } else if (remaining > 200) {
        label = {label.caption, LoadStringOrMarks(strings::kIdHealthFair), {10, 10, 240}, 310};
    } else if (remaining <= 0 && fixed > 0 && store.ReadSettingInt("new", 0) != 1) {
        // Only reached once something keeps "fixed"; nothing in the program writes it today.
        label = {label.caption, LoadStringOrMarks(strings::kIdHealthExcellent), {0, 64, 0}, 311};
    } else {
        label = {label.caption, LoadStringOrMarks(strings::kIdHealthGood), {0, 64, 0}, 303};
    }
    std::optional<LastScan> last = ReadLastScan(store);
    if (!last || AgeOf(last->time, now).days > 13) {
        label = {label.caption, LoadStringOrMarks(strings::kIdHealthUnknown), {240, 10, 10}, 302};
    }
    return label;
}

SpeedLoss SpeedLossLevel(scan::SettingsStore& store, const scan::ScanItemTable& items) {
    SpeedLoss level;
    if (!ReadLastScan(store)) {
        level.label = RatingLabel(0);
        level.picture = 520;
    } else if (items.FoundCount(scan::kRegistryEngine) == items.FixedCount(scan::kRegistryEngine)) {
        level.label = LoadStringOrMarks(strings::kIdRatingLow);
        level.picture = 521;
    } else {
        int overall = OverallRating(items);
        level.label = RatingLabel(overall);
        level.picture = 520 + overall;
    }
    level.text = strings::FormatPositional(LoadStringOrMarks(strings::kIdSpeedLossTemplate), {level.label});
    return level;
}

}  // namespace brisko::app
