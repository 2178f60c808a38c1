#include "app/SummaryModel.h"

#include "app/LastScan.h"
#include "strings/StringTable.h"

namespace brisko::app {

using strings::FormatPositional;
using strings::LoadStringOrMarks;

const char* ShortMonthName(int month) {
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "";
}

SummaryView BuildSummary(scan::SettingsStore& store, const scan::ScanItemTable& items,
                         const platform::SystemTime& now) {
    SummaryView view;
    std::optional<LastScan> last = ReadLastScan(store);
    if (!last) {
        view.dateLine = LoadStringOrMarks(strings::kIdScanNotYetPerformed);
    } else {
        const auto& t = last->text;  // month, day, year, hours, minutes, seconds
        view.dateLine = FormatPositional(LoadStringOrMarks(strings::kIdSummaryDateTemplate),
                                         {t[1], ShortMonthName(last->time.month), t[2], t[3], t[4], t[5]});
        view.ageVisible = true;
        ScanAge age = AgeOf(last->time, now);
        if (age.hours <= 24) {
            view.ageLine = LoadStringOrMarks(strings::kIdToday);
            view.ageColour = {0, 64, 0};
        } else {
            view.ageLine =
                FormatPositional(LoadStringOrMarks(strings::kIdDaysAgoTemplate), {std::to_string(age.days)});
            view.ageColour = age.days < 7 ? Colour{static_cast<std::uint8_t>(30 * age.days + 22),
                                                   static_cast<std::uint8_t>(195 - 26 * age.days), 10}
                                          : Colour{245, 10, 10};
        }
    }
    std::string unit;
    double junk = items.JunkSize(unit);
    long long files = static_cast<long long>(items.FoundCount(scan::kJunkFileEngine)) +
                      items.FoundCount(scan::kPrivacyEngine);
    view.registryErrorsLine = FormatPositional(LoadStringOrMarks(strings::kIdRegistryErrorsToFix),
                                               {std::to_string(items.FoundCount(scan::kRegistryEngine))});
    view.diskItemsLine = FormatPositional(LoadStringOrMarks(strings::kIdDiskItemsToClean),
                                          {FormatTwoDecimals(junk), unit, std::to_string(files)});
    view.fixedToDateLine = FormatPositional(LoadStringOrMarks(strings::kIdFixedToDate),
                                            {std::to_string(store.ReadSettingInt("RErrorsFixed", 0))});
    view.foundToDateLine = FormatPositional(LoadStringOrMarks(strings::kIdFoundToDate),
                                            {std::to_string(store.ReadSettingInt("lastRfounderrors", 0))});
    return view;
}

}  // namespace brisko::app
