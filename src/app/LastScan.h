// The time of the last scan, as the setting "lastScan" keeps it ("%m-%d-%Y %H:%M:%S", local time), and
// how long ago that was.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "scan/SettingsStore.h"

namespace brisko::app {

struct LastScan {
    platform::SystemTime time;        // day of the week filled in
    std::array<std::string, 6> text;  // month, day, year, hours, minutes, seconds as stored
};

// The stored text read back; none when it is empty or is not a real date and time in that form (nothing
// in the program writes such a text, so the pages treat it as no scan at all).
std::optional<LastScan> ParseLastScan(std::string_view stored);
// The setting read and parsed.
std::optional<LastScan> ReadLastScan(scan::SettingsStore& store);
// "%m-%d-%Y %H:%M:%S", as a scan's start is stored.
std::string FormatLastScan(const platform::SystemTime& time);

struct ScanAge {
    long long seconds = 0;  // negative when the stored time lies in the future
    long long hours = 0;    // whole hours
    long long days = 0;     // whole days: hours / 24
};
ScanAge AgeOf(const platform::SystemTime& then, const platform::SystemTime& now);

// Days since 1 January 1970 of a date in the proleptic Gregorian calendar.
long long DaysFromCivil(int year, int month, int day);
// 0 (Sunday) to 6.
int DayOfWeek(int year, int month, int day);

}  // namespace brisko::app
