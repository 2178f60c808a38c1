#include "app/RegistryOptionsModel.h"

#include <cstdio>

#include "app/LastScan.h"
#include "app/SummaryModel.h"
#include "strings/StringTable.h"

namespace brisko::app {

using strings::FormatPositional;
using strings::LoadStringOrMarks;

namespace {
bool IsCategory(int category) {
    return category >= 0 && category < scan::kCategoryCounts[scan::kRegistryEngine];
}
}  // namespace

bool RegistryOptionsModel::Checked(int category) const {
    return IsCategory(category) && items_.At(scan::kRegistryEngine, category).enabled != 0;
}

void RegistryOptionsModel::SetChecked(int category, bool on) {
    if (IsCategory(category)) items_.At(scan::kRegistryEngine, category).enabled = on ? 1 : 0;
}

void RegistryOptionsModel::Save(scan::SettingsStore& store) const {
    for (int category = 0; category < scan::kCategoryCounts[scan::kRegistryEngine]; ++category) {
        const scan::ScanItem& item = items_.At(scan::kRegistryEngine, category);
        store.WriteSettingInt(item.key, item.enabled);
    }
}

LastScanBox RegistryOptionsModel::LastScan(scan::SettingsStore& store) const {
    std::optional<app::LastScan> last = ReadLastScan(store);
    if (!last) {
        return {LoadStringOrMarks(strings::kIdNoScanPerformedYet),
                LoadStringOrMarks(strings::kIdNoErrorsFoundYet),
                LoadStringOrMarks(strings::kIdNoErrorsFixed)};
    }
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const platform::SystemTime& t = last->time;
    // "%a %b %Y, %H:%M:%S": the day of the month is not part of it.
    char when[64];
    std::snprintf(when, sizeof when, "%s %s %04d, %02d:%02d:%02d", kDays[t.dayOfWeek],
                  ShortMonthName(t.month), t.year, t.hour, t.minute, t.second);
    return {when,
            FormatPositional(LoadStringOrMarks(strings::kIdErrorsFoundTemplate),
                             {std::to_string(items_.FoundCount(scan::kRegistryEngine))}),
            FormatPositional(LoadStringOrMarks(strings::kIdErrorsFixedTemplate),
                             {std::to_string(items_.FixedCount(scan::kRegistryEngine))})};
}

}  // namespace brisko::app
