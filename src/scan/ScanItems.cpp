#include "scan/ScanItems.h"

#include <climits>

#include "strings/StringTable.h"

namespace brisko::scan {

namespace {

struct RowDefinition {
    const char* key;  // null: the display name is the key
    const char* displayName;
    int enabled;
};

// The junk-file, privacy and tune-up rows; the registry rows come from the registry categories. The
// names of the junk-file and privacy rows are also the names they are stored under, so they never change.
constexpr RowDefinition kOtherRows[] = {
    {nullptr, "Windows Temp Files", 1},
    {nullptr, "Current User temp", 1},
    {nullptr, "Recycle bin", 1},
    {nullptr, "Recent Document", 1},
    {nullptr, "Memory dumps", 1},
    {nullptr, "Check Disk Fragments", 1},
    {nullptr, "Prefetch files", 1},
    {nullptr, "Thumbnails", 1},
    {nullptr, "Windows Error Reporting files", 1},
    {nullptr, "Java cache", 1},
    {nullptr, "Log Files(*.log)", 1},
    {nullptr, "Other Junk Files", 1},
    {nullptr, "IE Temp Files", 1},
    {nullptr, "IE Cookies", 1},
    {nullptr, "Firefox Temp Files", 1},
    {nullptr, "Firefox cookies", 1},
    {nullptr, "Google Chrome Files", 1},
    {nullptr, "Google Chrome Cookies", 1},
    {nullptr, "Opera cache", 1},
    {nullptr, "Opera cookies", 1},
    {nullptr, "Safari cache", 1},
    {nullptr, "Safari cookies", 1},
    {nullptr, "IM History", 1},
    {nullptr, "Multimedia History", 1},
    {nullptr, "Search History", 1},
    {nullptr, "Macromedia Flash", 0},
    // The apostrophe is the typographic one (U+2019).
    {"clearpaging", "Don\u2019t clear paging files on shutdown", 1},
    {"menudelay", "Reduce Menu delay", 1},
    {"indexing", "Disable Indexing services", 1},
    {"search", "Disable Search for Network Files/ Printers", 1},
    {"virmem", "Use System Managed Virtual Memory", 1},
    {"optwrkrth", "Optimize Worker Threads", 1},
    {"bestper", "Reduce UI Effects for Best Performance", 0},
};
static_assert(std::size(kOtherRows) == kScanItemCount - 12);

bool HasSizes(int row) {
    return row >= kFirstScanItem[kJunkFileEngine] && row < kFirstScanItem[kTuneupEngine];
}

bool IsEngine(int engine) {
    return engine >= 0 && engine < kEngineCount;
}

int Clamp(long long sum) {
    return sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : static_cast<int>(sum);
}

}  // namespace

ScanItemTable::ScanItemTable() {
    for (int row = 0; row < kScanItemCount; ++row) {
        ScanItem& item = rows_[row];
        if (row < kFirstScanItem[kJunkFileEngine]) {
            const RegTypeInfo& type = RegType(row);
            item.key = type.optionKey;
            item.displayName = strings::LoadStringOrMarks(type.nameId);
            item.enabled = 1;
        } else {
            const RowDefinition& definition = kOtherRows[row - kFirstScanItem[kJunkFileEngine]];
            item.displayName = definition.displayName;
            item.key = definition.key != nullptr ? definition.key : definition.displayName;
            item.enabled = definition.enabled;
        }
    }
}

std::array<bool, kScanItemCount> ScanItemTable::EnabledFlags() const {
    std::array<bool, kScanItemCount> flags{};
    for (int row = 0; row < kScanItemCount; ++row)
        flags[row] = rows_[row].enabled != 0;
    return flags;
}

void ScanItemTable::ResetCounts() {
    for (ScanItem& item : rows_) {
        item.found = 0;
        item.fixed = 0;
        item.foundSize = 0;
        item.fixedSize = 0;
    }
}

void ScanItemTable::LoadScanItems(SettingsStore& store) {
    // The rows are built afresh, so a value missing from the store gives the row's default.
    ScanItemTable fresh;
    for (int row = 0; row < kScanItemCount; ++row) {
        ScanItem& item = fresh.rows_[row];
        item.enabled = store.ReadSettingInt(item.key, item.enabled);
        item.found = store.ReadSettingInt("e" + item.key, 0);
        item.fixed = store.ReadSettingInt("f" + item.key, 0);
        if (HasSizes(row)) {
            item.foundSize = store.ReadSettingSize("s" + item.key, 0);
            item.fixedSize = store.ReadSettingSize("sf" + item.key, 0);
        }
    }
    rows_ = std::move(fresh.rows_);
}

void ScanItemTable::SaveScanItems(SettingsStore& store) const {
    // A value that cannot be written keeps its old text; the table in memory stays as it is.
    for (int row = 0; row < kScanItemCount; ++row) {
        const ScanItem& item = rows_[row];
        store.WriteSettingInt(item.key, item.enabled);
        store.WriteSettingInt("e" + item.key, item.found);
        store.WriteSettingInt("f" + item.key, item.fixed);
        if (HasSizes(row)) {
            store.WriteSettingSize("s" + item.key, item.foundSize);
            store.WriteSettingSize("sf" + item.key, item.fixedSize);
        }
    }
}

int ScanItemTable::FoundCount(int engine) const {
    if (!IsEngine(engine)) return 0;
    long long sum = 0;
    for (int i = 0; i < kCategoryCounts[engine]; ++i)
        sum += At(engine, i).found;
    return Clamp(sum);
}

int ScanItemTable::FixedCount(int engine) const {
    if (!IsEngine(engine)) return 0;
    long long sum = 0;
    for (int i = 0; i < kCategoryCounts[engine]; ++i)
        sum += At(engine, i).fixed;
    return Clamp(sum);
}

int ScanItemTable::TotalFound() const {
    long long sum = 0;
    for (const ScanItem& item : rows_)
        sum += item.found;
    return Clamp(sum);
}

int ScanItemTable::TotalFixed() const {
    long long sum = 0;
    for (const ScanItem& item : rows_)
        sum += item.fixed;
    return Clamp(sum);
}

double ScanItemTable::FoundSize(int engine) const {
    if (engine != kJunkFileEngine && engine != kPrivacyEngine) return 0;
    double sum = 0;
    for (int i = 0; i < kCategoryCounts[engine]; ++i)
        sum += At(engine, i).foundSize;
    return sum;
}

double ScanItemTable::FixedSize(int engine) const {
    if (engine != kJunkFileEngine && engine != kPrivacyEngine) return 0;
    double sum = 0;
    for (int i = 0; i < kCategoryCounts[engine]; ++i)
        sum += At(engine, i).fixedSize;
    return sum;
}

double ScanItemTable::JunkSize() const {
    return FoundSize(kJunkFileEngine) + FoundSize(kPrivacyEngine);
}

double ScanItemTable::FoundSize(int engine, std::string& unit) const {
    return ScaleSize(FoundSize(engine), unit);
}

double ScanItemTable::FixedSize(int engine, std::string& unit) const {
    return ScaleSize(FixedSize(engine), unit);
}

double ScanItemTable::JunkSize(std::string& unit) const {
    return ScaleSize(JunkSize(), unit);
}

double ScaleSize(double kilobytes, std::string& unit) {
    static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
    double value = kilobytes;
    int step = 0;
    while (step < 3 && value > 1024) {
        value /= 1024;
        ++step;
    }
    unit = kUnits[step];
    return value;
}

}  // namespace brisko::scan
