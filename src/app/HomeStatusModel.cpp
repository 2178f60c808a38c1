#include "app/HomeStatusModel.h"

#include "app/DisplayText.h"
#include "app/LastScan.h"
#include "app/Ratings.h"
#include "strings/StringTable.h"

namespace brisko::app {

using strings::FormatPositional;
using strings::LoadStringOrMarks;

namespace {

struct AlertRow {
    int titleId;
    int textId;  // 0: no text
};
constexpr AlertRow kAlertRows[] = {
    {strings::kIdScanRecommended, strings::kIdScanNowAction},
    {strings::kIdRequiresRepairAndTuneup, strings::kIdFixNowAction},
    {strings::kIdRequiresRepairAndTuneup, strings::kIdFixNowAction},
    {strings::kIdRequiresTuneup, strings::kIdFixNowAction},
    {strings::kIdRequiresOptimization, strings::kIdFixNowAction},
    {strings::kIdNoFurtherOptimization, 0},
};

struct OverallAlert {
    int picture;
    int row;
};
// By the overall rating 0 to 5.
constexpr OverallAlert kOverallAlerts[] = {{623, 5}, {621, 4}, {621, 3}, {621, 3}, {620, 2}, {619, 1}};

}  // namespace

HomeView BuildHomeStatus(scan::SettingsStore& store, const scan::ScanItemTable& items,
                         const platform::SystemTime& now) {
    HomeView view;
    view.heading = LoadStringOrMarks(strings::kIdScanRecommended);
    std::optional<LastScan> last = ReadLastScan(store);
    if (!last) {
        view.picture = 618;
        view.alertRow = 0;
    } else {
        view.scanned = true;
        ScanAge age = AgeOf(last->time, now);
        view.lastScanLine = LoadStringOrMarks(strings::kIdLastScanPrefix) +
                            (age.days >= 1 ? FormatPositional(LoadStringOrMarks(strings::kIdDaysAgoTemplate),
                                                              {std::to_string(age.days)})
                                           : LoadStringOrMarks(strings::kIdToday));
        std::string unit;
        double junk = items.JunkSize(unit);
        long long remaining = static_cast<long long>(items.TotalFound()) - items.TotalFixed();
        view.summaryLine = FormatPositional(LoadStringOrMarks(strings::kIdErrorsToCleanTemplate),
                                            {std::to_string(remaining), FormatTwoDecimals(junk), unit});
        view.ratings[0] = RegistryRating(items);
        view.ratings[1] = DiskRating(items);
        view.ratings[2] = PrivacyRating(items);
        view.ratings[3] = TuneupRating(items);
        view.ratings[4] = OverallRatingOf(view.ratings[0], view.ratings[1], view.ratings[2], view.ratings[3]);
        const OverallAlert& alert = kOverallAlerts[view.ratings[4]];
        view.picture = alert.picture;
        view.alertRow = alert.row;
    }
    const AlertRow& row = kAlertRows[view.alertRow];
    view.alertTitle = LoadStringOrMarks(row.titleId);
    view.alertText = row.textId != 0 ? LoadStringOrMarks(row.textId) : std::string();
    return view;
}

}  // namespace brisko::app
