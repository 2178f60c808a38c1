#include "app/LogDetailsModel.h"

#include <algorithm>
#include <tuple>

#include "scan/ActivityLogFolder.h"
#include "scan/DataFolder.h"
#include "scan/SplitFields.h"
#include "strings/StringTable.h"

namespace brisko::app {

using namespace platform;

std::string LogRowDateTime(const std::string& fileName) {
    std::string rest = fileName;
    for (std::size_t at = rest.find("BRK_LOGS_"); at != std::string::npos; at = rest.find("BRK_LOGS_"))
        rest.erase(at, 9);
    std::vector<std::string> fields = scan::SplitFields(rest, "_");
    // A name of another form has no time to show; its row still lets the user open or delete it.
    if (fields.size() < 6) return {};
    return strings::FormatPositional(strings::LoadStringOrMarks(strings::kIdLogDateTemplate),
                                     {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
}

std::string LogDetailsModel::IntroText() {
    return strings::FormatPositional(strings::LoadStringOrMarks(strings::kIdLogDetailsText),
                                     {strings::LoadStringOrMarks(strings::kIdProductName)});
}

std::string LogDetailsModel::PathOf(const std::string& fileName) const {
    return scan::DataFolderPath(machine_) + "\\LOGS\\" + fileName;
}

void LogDetailsModel::ListLogs() {
    struct Found {
        LogRow row;
        std::optional<SystemTime> time;
    };
    std::vector<Found> found;
    FindHandle search;
    FindData entry;
    if (machine_.files.FindFirst(scan::DataFolderPath(machine_) + "\\LOGS\\*.*", search, entry) == kOk) {
        do {
            if ((entry.attributes & kAttrDirectory) || entry.size == 0) continue;
            found.push_back({{LogRowDateTime(entry.name), entry.name}, scan::LogFileTime(entry.name)});
        } while (search->Next(entry) == kOk);
    }
    // Newest first. The listing is sorted by name, month first, which would put January of a new year
    // below December of the old one, so the times in the names decide; other files follow, last listed
    // first.
    std::reverse(found.begin(), found.end());
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (!a.time || !b.time) return a.time && !b.time;
        const SystemTime& x = *a.time;
        const SystemTime& y = *b.time;
        return std::tie(x.year, x.month, x.day, x.hour, x.minute, x.second) >
               std::tie(y.year, y.month, y.day, y.hour, y.minute, y.second);
    });
    rows_.clear();
    for (Found& f : found)
        rows_.push_back(std::move(f.row));
}

std::string LogDetailsModel::Open(std::size_t row) {
    if (row >= rows_.size()) return {};
    std::string path = PathOf(rows_[row].fileName);
    log_.WriteLog(path);
    return path;
}

std::optional<std::string> LogDetailsModel::Delete(std::size_t row) {
    if (row >= rows_.size()) return std::nullopt;
    Status status = machine_.files.DeleteFile(PathOf(rows_[row].fileName));
    if (status != kOk && status != kFileNotFound) return strings::LoadStringOrMarks(strings::kIdLogInUse);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    return std::nullopt;
}

}  // namespace brisko::app
