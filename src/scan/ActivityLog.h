// The activity log: every user command and every step of start-up, scanning and repair writes one short
// line to it. Engines and the scan run are given the log they write to.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::scan {

class ActivityLog {
public:
    virtual ~ActivityLog() = default;
    // Appends one time-stamped line.
    virtual void WriteLog(std::string_view text) = 0;
};

// Keeps the lines in memory: for tests, and for runs that keep no log file.
class MemoryLog final : public ActivityLog {
public:
    void WriteLog(std::string_view text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.emplace_back(text);
    }
    // Read once the writers are done.
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace brisko::scan
