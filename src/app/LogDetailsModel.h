// The log details page as a model: the activity logs of the data folder's "LOGS" folder, newest first,
// each with the time its name tells; opening one and deleting one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Machine.h"
#include "scan/ActivityLog.h"

namespace brisko::app {

struct LogRow {
    std::string dateTime;  // "12-31-2012, 23:59:59"; empty when the name tells no time
    std::string fileName;
};

class LogDetailsModel {
public:
    LogDetailsModel(platform::Machine& machine, scan::ActivityLog& log) : machine_(machine), log_(log) {}

    // Rebuilds the list, whenever the page becomes visible.
    void ListLogs();
    const std::vector<LogRow>& Rows() const { return rows_; }
    // The text above the list.
    static std::string IntroText();

    // The full path of a row's file, recorded in the activity log; the page opens it in Notepad. Empty
    // for a row that does not exist.
    std::string Open(std::size_t row);
    // Deletes a row's file and removes the row. When the file is held by another program the row stays
    // and the message to show is returned; a file that is already gone just loses its row.
    std::optional<std::string> Delete(std::size_t row);

    std::string PathOf(const std::string& fileName) const;

private:
    platform::Machine& machine_;
    scan::ActivityLog& log_;
    std::vector<LogRow> rows_;
};

// The first column of a log's row: "%s-%s-%s, %s:%s:%s" of the first six "_" fields after "BRK_LOGS_".
std::string LogRowDateTime(const std::string& fileName);

}  // namespace brisko::app
