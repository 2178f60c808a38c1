#include "platform/sim/SimSystem.h"

#include <chrono>
#include <ctime>

namespace brisko::platform::sim {

namespace {
// Seconds from 1 January 1601 to 1 January 1970.
constexpr long long kEpochDifference = 11644473600LL;

SystemTime FromTm(const std::tm& tm, int milliseconds) {
    return SystemTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_wday, tm.tm_mday,
                      tm.tm_hour,        tm.tm_min,     tm.tm_sec,  milliseconds};
}
}  // namespace

FileTime FileTimeFromUnixSeconds(long long seconds, int nanoseconds) {
    return static_cast<FileTime>((seconds + kEpochDifference) * 10000000LL + nanoseconds / 100);
}

SystemTime SimClock::GetLocalTime() {
    if (fixed_) return *fixed_;
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    int milliseconds = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm tm{};
#ifdef _WIN32
    gmtime_s(&tm, &seconds);
#else
    gmtime_r(&seconds, &tm);
#endif
    return FromTm(tm, milliseconds);
}

FileTime SimClock::GetSystemTimeAsFileTime() {
    if (fixed_) {
        // A set clock is a local time; the simulation's time zone is UTC.
        std::tm tm{};
        tm.tm_year = fixed_->year - 1900;
        tm.tm_mon = fixed_->month - 1;
        tm.tm_mday = fixed_->day;
        tm.tm_hour = fixed_->hour;
        tm.tm_min = fixed_->minute;
        tm.tm_sec = fixed_->second;
#ifdef _WIN32
        long long seconds = _mkgmtime(&tm);
#else
        long long seconds = timegm(&tm);
#endif
        return FileTimeFromUnixSeconds(seconds, fixed_->milliseconds * 1000000);
    }
    auto since = std::chrono::system_clock::now().time_since_epoch();
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
    return FileTimeFromUnixSeconds(ns / 1000000000LL, static_cast<int>(ns % 1000000000LL));
}

}  // namespace brisko::platform::sim
