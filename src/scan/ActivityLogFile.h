// The activity log of one run of the program: a file in the data folder's "LOGS" folder, named after the
// time of the run's first record, to which every record is appended with its own open, write and close.
#pragma once

#include <string>
#include <string_view>

#include "platform/Machine.h"
#include "scan/ActivityLog.h"

namespace brisko::scan {

class ActivityLogFile final : public ActivityLog {
public:
    explicit ActivityLogFile(platform::Machine& machine) : machine_(machine) {}

    // Appends one record; the first record of the run chooses the file and prunes old logs.
    void WriteLog(std::string_view text) override { Append(text); }
    // The same, telling whether the record reached the file.
    bool Append(std::string_view text);
    // The full path of this run's log; empty before the first record.
    const std::string& CurrentLogPath() const { return path_; }

private:
    void ChooseFile();

    platform::Machine& machine_;
    std::string path_;
};

}  // namespace brisko::scan
