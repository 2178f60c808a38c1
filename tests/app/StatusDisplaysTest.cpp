// The ratings and every figure and text the home, statistics, summary and registry-option pages derive
// from the scan item table and the store.
#include <gtest/gtest.h>

#include "app/HealthStatus.h"
#include "app/HomeStatusModel.h"
#include "app/Ratings.h"
#include "app/RegistryOptionsModel.h"
#include "app/StatisticsModel.h"
#include "app/SummaryModel.h"
#include "support/TestMachine.h"
#include "support/Times.h"

namespace brisko::app {
namespace {

using namespace scan;
using platform::SystemTime;

using test::At;

// A table state: what the last scan found and what was fixed since, spread over two rows of each group so
// that the sums are exercised.
struct State {
    int registryFound = 0, registryFixed = 0;
    double diskFoundKb = 0, diskFixedKb = 0;
    double privacyFoundKb = 0, privacyFixedKb = 0;
    int tuneupFound = 0, tuneupFixed = 0;
};

ScanItemTable TableOf(const State& s) {
    ScanItemTable table;
    table.At(kRegistryEngine, 0).found = s.registryFound / 2;
    table.At(kRegistryEngine, 11).found = s.registryFound - s.registryFound / 2;
    table.At(kRegistryEngine, 5).fixed = s.registryFixed;
    table.At(kJunkFileEngine, 0).foundSize = s.diskFoundKb / 2;
    table.At(kJunkFileEngine, 11).foundSize = s.diskFoundKb / 2;
    table.At(kJunkFileEngine, 3).fixedSize = s.diskFixedKb;
    table.At(kPrivacyEngine, 0).foundSize = s.privacyFoundKb;
    table.At(kPrivacyEngine, 13).fixedSize = s.privacyFixedKb;
    table.At(kTuneupEngine, 0).found = s.tuneupFound;
    table.At(kTuneupEngine, 6).fixed = s.tuneupFixed;
    return table;
}

constexpr double kMb = 1024;

TEST(Ratings, FollowEachThresholdOnBothSides) {
    struct Case {
        const char* what;
        State state;
        int registry, disk, privacy, tuneup, overall;
    };
    const Case cases[] = {
        {"nothing found", {}, 0, 0, 0, 0, 0},
        {"all fixed", {30, 30, 50 * kMb, 50 * kMb, 20 * kMb, 20 * kMb, 3, 3}, 0, 0, 0, 0, 0},
        {"more fixed than found", {3, 9}, 0, 0, 0, 0, 0},
        {"registry 1", {1}, 1, 0, 0, 0, 1},
        {"registry 24", {24}, 1, 0, 0, 0, 1},
        {"registry 25", {25}, 2, 0, 0, 0, 1},
        {"registry 49 and 50", {60, 11}, 2, 0, 0, 0, 1},
        {"registry 50", {50}, 3, 0, 0, 0, 1},
        {"registry 124", {124}, 3, 0, 0, 0, 1},
        {"registry 125", {125}, 4, 0, 0, 0, 1},
        {"registry 150", {150}, 4, 0, 0, 0, 1},
        {"registry 151", {151}, 5, 0, 0, 0, 2},
        {"disk 10 MB", {0, 0, 10 * kMb}, 0, 1, 0, 0, 1},
        {"disk 24 MB", {0, 0, 24 * kMb}, 0, 1, 0, 0, 1},
        {"disk 24.5 MB", {0, 0, 24.5 * kMb}, 0, 2, 0, 0, 1},
        {"disk 49 MB", {0, 0, 49 * kMb}, 0, 2, 0, 0, 1},
        {"disk 49.5 MB", {0, 0, 49.5 * kMb}, 0, 3, 0, 0, 1},
        {"disk 99 MB", {0, 0, 99 * kMb}, 0, 3, 0, 0, 1},
        {"disk 100 MB", {0, 0, 100 * kMb}, 0, 4, 0, 0, 1},
        {"disk 199 MB", {0, 0, 199 * kMb}, 0, 4, 0, 0, 1},
        {"disk 200 MB less 1 fixed", {0, 0, 200 * kMb, 1 * kMb}, 0, 4, 0, 0, 1},
        {"disk 200 MB", {0, 0, 200 * kMb}, 0, 5, 0, 0, 2},
        {"disk 1 KB", {0, 0, 1}, 0, 1, 0, 0, 1},
        {"disk 2 GB found, 1 GB fixed", {0, 0, 2048 * kMb, 1024 * kMb}, 0, 5, 0, 0, 2},
        {"privacy 10 MB", {0, 0, 0, 0, 10 * kMb}, 0, 0, 1, 0, 1},
        {"privacy 10.5 MB", {0, 0, 0, 0, 10.5 * kMb}, 0, 0, 2, 0, 1},
        {"privacy 24 MB", {0, 0, 0, 0, 24 * kMb}, 0, 0, 2, 0, 1},
        {"privacy 25 MB", {0, 0, 0, 0, 25 * kMb}, 0, 0, 3, 0, 1},
        {"privacy 39 MB", {0, 0, 0, 0, 39 * kMb}, 0, 0, 3, 0, 1},
        {"privacy 40 MB", {0, 0, 0, 0, 40 * kMb}, 0, 0, 4, 0, 1},
        {"privacy 59 MB", {0, 0, 0, 0, 59 * kMb}, 0, 0, 4, 0, 1},
        {"privacy 60 MB", {0, 0, 0, 0, 60 * kMb}, 0, 0, 5, 0, 2},
        {"tune-up 1", {0, 0, 0, 0, 0, 0, 1}, 0, 0, 0, 1, 1},
        {"tune-up 3", {0, 0, 0, 0, 0, 0, 3}, 0, 0, 0, 3, 1},
        {"tune-up 4", {0, 0, 0, 0, 0, 0, 4}, 0, 0, 0, 4, 1},
        {"tune-up 7 less 1", {0, 0, 0, 0, 0, 0, 7, 1}, 0, 0, 0, 4, 1},
        {"overall 2.0", {30, 0, 25 * kMb, 0, 11 * kMb, 0, 2}, 2, 2, 2, 2, 2},
        {"overall 2.25", {30, 0, 25 * kMb, 0, 11 * kMb, 0, 3}, 2, 2, 2, 3, 3},
        {"everything", {151, 0, 300 * kMb, 0, 70 * kMb, 0, 7}, 5, 5, 5, 4, 5},
    };
    for (const Case& c : cases) {
        ScanItemTable table = TableOf(c.state);
        EXPECT_EQ(RegistryRating(table), c.registry) << c.what;
        EXPECT_EQ(DiskRating(table), c.disk) << c.what;
        EXPECT_EQ(PrivacyRating(table), c.privacy) << c.what;
        EXPECT_EQ(TuneupRating(table), c.tuneup) << c.what;
        EXPECT_EQ(OverallRating(table), c.overall) << c.what;
    }
}

class StatusDisplays : public ::testing::Test {
protected:
    StatusDisplays() : store(machine->registry) {}
    void LastScanAt(const char* text) { store.WriteSettingString("lastScan", text); }

    test::TestMachine machine;
    SettingsStore store;
    const SystemTime scanTime = At(2010, 12, 31, 23, 59, 0);
};

TEST_F(StatusDisplays, RegistryHealthFollowsTheErrorsLeftAndTheScansAge) {
    struct Case {
        const char* lastScan;
        int errs;
        SystemTime now;
        const char* text;
        Colour colour;
        int picture;
    };
    const SystemTime sameDay = At(2011, 1, 1, 8, 0, 0);
    const Case cases[] = {
        {"12-31-2010 23:59:00", 200, sameDay, "GOOD", {0, 64, 0}, 303},
        {"12-31-2010 23:59:00", 201, sameDay, "FAIR", {10, 10, 240}, 310},
        {"12-31-2010 23:59:00", 400, sameDay, "FAIR", {10, 10, 240}, 310},
        {"12-31-2010 23:59:00", 401, sameDay, "LOW", {240, 10, 10}, 304},
        {"12-31-2010 23:59:00", 0, At(2011, 1, 14, 23, 58, 59), "GOOD", {0, 64, 0}, 303},       // 13 days old
        {"12-31-2010 23:59:00", 0, At(2011, 1, 14, 23, 59, 0), "UNKNOWN", {240, 10, 10}, 302},  // 14 days
        {"12-31-2010 23:59:00", 401, At(2011, 1, 20, 0, 0, 0), "UNKNOWN", {240, 10, 10}, 302},
        {"", 0, sameDay, "UNKNOWN", {240, 10, 10}, 302},
        {"31-12-2010 23:59:00", 0, sameDay, "UNKNOWN", {240, 10, 10}, 302},  // not a date: no scan
        {"12-31-2010", 0, sameDay, "UNKNOWN", {240, 10, 10}, 302},
    };
    for (const Case& c : cases) {
        store.WriteSettingString("lastScan", c.lastScan);
        store.WriteSettingInt("errs", c.errs);
        HealthLabel label = RegistryHealthLabel(store, c.now);
        EXPECT_EQ(label.caption, "Registry Health is");
        EXPECT_EQ(label.text, c.text) << c.lastScan << " errs " << c.errs;
        EXPECT_EQ(label.colour, c.colour) << c.lastScan << " errs " << c.errs;
        EXPECT_EQ(label.picture, c.picture) << c.lastScan << " errs " << c.errs;
    }
    store.WriteSettingString("lastScan", "12-31-2010 23:59:00");
    store.WriteSettingInt("errs", 401);
    store.WriteSettingInt("fixed", 1);
    EXPECT_EQ(RegistryHealthLabel(store, sameDay).text, "FAIR");
}

TEST_F(StatusDisplays, SpeedLossLevel) {
    EXPECT_EQ(SpeedLossLevel(store, TableOf({30})).text, "Speed Loss level: UNKNOWN");
    EXPECT_EQ(SpeedLossLevel(store, TableOf({30})).picture, 520);
    LastScanAt("12-31-2010 23:59:00");
    SpeedLoss level = SpeedLossLevel(store, TableOf({5, 5, 300 * kMb}));
    EXPECT_EQ(level.text, "Speed Loss level: LOW");
    EXPECT_EQ(level.picture, 521);
    level = SpeedLossLevel(store, TableOf({151, 0, 300 * kMb, 0, 70 * kMb, 0, 7}));
    EXPECT_EQ(level.label, "HIGH");
    EXPECT_EQ(level.picture, 525);
    level = SpeedLossLevel(store, TableOf({30, 0, 25 * kMb}));
    EXPECT_EQ(level.label, "POOR");
    EXPECT_EQ(level.picture, 521);
}

TEST_F(StatusDisplays, SummaryTellsDateAgeAndTotals) {
    SummaryView empty = BuildSummary(store, TableOf({}), scanTime);
    EXPECT_EQ(empty.dateLine, "Scan not yet performed");
    EXPECT_FALSE(empty.ageVisible);

    LastScanAt("12-31-2010 23:59:00");
    store.WriteSettingInt("RErrorsFixed", 17);
    store.WriteSettingInt("lastRfounderrors", 40);
    ScanItemTable table = TableOf({12, 0, 1024});
    table.At(kJunkFileEngine, 2).found = 3;
    table.At(kPrivacyEngine, 2).found = 2;
    SummaryView view = BuildSummary(store, table, At(2011, 1, 1, 23, 59, 0));
    EXPECT_EQ(view.dateLine, "31 Dec 2010, 23:59:00");
    EXPECT_TRUE(view.ageVisible);
    EXPECT_EQ(view.ageLine, "Today");
    EXPECT_EQ(view.ageColour, (Colour{0, 64, 0}));
    EXPECT_EQ(view.registryErrorsLine, "Registry Errors to Fix:\t12");
    EXPECT_EQ(view.diskItemsLine, "Disk Items to Clean:\t\t1024.00 KB (5 Files)");
    EXPECT_EQ(view.fixedToDateLine, "Registry Error(s)\t17\nFixed to Date");
    EXPECT_EQ(view.foundToDateLine, "Invalid Error(s)\t40\nFound to Date");
    EXPECT_EQ(BuildSummary(store, TableOf({0, 0, 1025}), scanTime).diskItemsLine,
              "Disk Items to Clean:\t\t1.00 MB (0 Files)");

    struct Age {
        SystemTime now;
        const char* line;
        Colour colour;
    };
    const Age ages[] = {
        {At(2010, 12, 30, 0, 0, 0), "Today", {0, 64, 0}},  // a time in the future
        {At(2011, 1, 2, 0, 59, 0), "1 days ago", {52, 169, 10}},
        {At(2011, 1, 6, 23, 59, 0), "6 days ago", {202, 39, 10}},
        {At(2011, 1, 7, 23, 59, 0), "7 days ago", {245, 10, 10}},
    };
    for (const Age& a : ages) {
        SummaryView aged = BuildSummary(store, TableOf({}), a.now);
        EXPECT_EQ(aged.ageLine, a.line);
        EXPECT_EQ(aged.ageColour, a.colour) << a.line;
    }
}

TEST_F(StatusDisplays, HomePageAlertFollowsTheOverallRating) {
    HomeView none = BuildHomeStatus(store, TableOf({30}), scanTime);
    EXPECT_FALSE(none.scanned);
    EXPECT_EQ(none.heading, "Attention: System scan is recommended");
    EXPECT_EQ(none.picture, 618);
    EXPECT_EQ(none.alertTitle, "Attention: System scan is recommended");
    EXPECT_EQ(none.alertText,
              "Recommended action: <font color=\"#1257F9\" size=\"-1\"><a href=\"app:WM_APP_FIXNOW\"> "
              "<u><b>Scan Now</b></u></a></font>");

    LastScanAt("12-31-2010 23:59:00");
    struct Case {
        State state;
        int picture;
        int row;
        const char* title;
    };
    const Case cases[] = {
        {{}, 623, 5, "No further optimization required"},
        {{30}, 621, 4, "Your PC requires some optimization"},
        {{30, 0, 25 * kMb, 0, 11 * kMb, 0, 2}, 621, 3, "Attention: Your PC requires tune up"},
        {{151, 0, 300 * kMb}, 621, 3, "Attention: Your PC requires tune up"},
        {{151, 0, 300 * kMb, 0, 70 * kMb}, 620, 2, "Attention: Your PC requires repair and tune-up"},
        {{151, 0, 300 * kMb, 0, 70 * kMb, 0, 4}, 619, 1, "Attention: Your PC requires repair and tune-up"},
    };
    for (const Case& c : cases) {
        HomeView view = BuildHomeStatus(store, TableOf(c.state), scanTime);
        EXPECT_EQ(view.picture, c.picture) << c.title;
        EXPECT_EQ(view.alertRow, c.row) << c.title;
        EXPECT_EQ(view.alertTitle, c.title);
        EXPECT_EQ(view.alertText.empty(), c.row == 5) << c.title;
        EXPECT_EQ(view.alertText.find("Fix Now") != std::string::npos, c.row != 5) << c.title;
    }

    ScanItemTable table = TableOf({7, 2, 1025});
    table.At(kTuneupEngine, 1).found = 2;
    HomeView view = BuildHomeStatus(store, table, At(2011, 1, 1, 23, 58, 59));
    EXPECT_EQ(view.lastScanLine, "Last Scan: Today");
    EXPECT_EQ(view.summaryLine, "7 errors and 1.00 MB to clean");
    EXPECT_EQ(BuildHomeStatus(store, table, At(2011, 1, 1, 23, 59, 0)).lastScanLine, "Last Scan: 1 days ago");
}

TEST_F(StatusDisplays, StatisticsRowsAndTotals) {
    ScanItemTable table;
    table.At(kRegistryEngine, 1).found = 3;
    table.At(kRegistryEngine, 1).fixed = 1;
    table.At(kRegistryEngine, 9).fixed = 2;
    std::array<int, 12> ignored{};
    ignored[9] = 4;
    StatisticsView view = BuildStatistics(store, table, ignored);
    EXPECT_EQ(view.rows[1].name, "Registry Integrity");
    EXPECT_EQ(view.rows[1].found, "3");
    EXPECT_EQ(view.rows[1].fixed, "1");
    EXPECT_TRUE(view.rows[1].showPriority);
    EXPECT_EQ(view.rows[1].priority, "High Priority");
    EXPECT_FALSE(view.rows[9].showPriority);
    EXPECT_EQ(view.rows[9].ignored, "4");
    EXPECT_EQ(view.problemsFoundLine, "Problems Found: 3");
    EXPECT_EQ(view.problemsCleanedLine, "Problems Cleaned: 3");
    EXPECT_EQ(view.speedLoss.label, "UNKNOWN");
}

TEST_F(StatusDisplays, RegistryTabBindsTheFlagsAndTellsTheLastScan) {
    ScanItemTable table;
    RegistryOptionsModel model(table);
    LastScanBox box = model.LastScan(store);
    EXPECT_EQ(box.when, "Last Scan : No Scan Performed Yet");
    EXPECT_EQ(box.found, "0 \nError(s) Found");
    EXPECT_EQ(box.fixed, "0 \nError(s) Fixed");

    model.SetChecked(REG_DEEP_SCAN, false);
    EXPECT_EQ(table.At(kRegistryEngine, REG_DEEP_SCAN).enabled, 0);  // at once, before the tab is hidden
    EXPECT_EQ(store.ReadSettingInt("deepscan", 1), 1);
    model.Save(store);
    EXPECT_EQ(store.ReadSettingInt("deepscan", 1), 0);
    EXPECT_EQ(store.ReadSettingInt("sftloc", 0), 1);
    EXPECT_EQ(store.ReadSettingInt("Windows Temp Files", 7), 7);  // only the twelve registry flags

    LastScanAt("12-31-2010 23:59:00");
    table.At(kRegistryEngine, 0).found = 12;
    table.At(kRegistryEngine, 0).fixed = 3;
    box = model.LastScan(store);
    EXPECT_EQ(box.when, "Fri Dec 2010, 23:59:00");
    EXPECT_EQ(box.found, "12 \nErrors(s) Found");
    EXPECT_EQ(box.fixed, "3 \nError(s) Fixed");
}

}  // namespace
}  // namespace brisko::app
