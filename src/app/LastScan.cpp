#include "app/LastScan.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "scan/SplitFields.h"

namespace brisko::app {

namespace {

bool IsNumber(const std::string& field) {
    return !field.empty() && field.size() <= 4 &&
           std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

long long SecondsOf(const platform::SystemTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
}

}  // namespace

long long DaysFromCivil(int year, int month, int day) {
    long long y = year - (month <= 2 ? 1 : 0);
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yearOfEra = y - era * 400;
    long long dayOfYear = (153LL * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int DayOfWeek(int year, int month, int day) {
    long long days = DaysFromCivil(year, month, day);  // 1 January 1970 was a Thursday
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

std::optional<LastScan> ParseLastScan(std::string_view stored) {
    std::vector<std::string> parts = scan::SplitFields(stored, " ");
    if (parts.size() != 2) return std::nullopt;
    std::vector<std::string> date = scan::SplitFields(parts[0], "-");
    std::vector<std::string> time = scan::SplitFields(parts[1], ":");
    if (date.size() != 3 || time.size() != 3) return std::nullopt;
    LastScan scan;
    scan.text = {date[0], date[1], date[2], time[0], time[1], time[2]};
    if (!std::all_of(scan.text.begin(), scan.text.end(), IsNumber)) return std::nullopt;
    platform::SystemTime& t = scan.time;
    t.month = std::stoi(date[0]);
    t.day = std::stoi(date[1]);
    t.year = std::stoi(date[2]);
    t.hour = std::stoi(time[0]);
    t.minute = std::stoi(time[1]);
    t.second = std::stoi(time[2]);
    if (t.year < 1601 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month) ||
        t.hour > 23 || t.minute > 59 || t.second > 59) {
        return std::nullopt;
    }
    t.dayOfWeek = DayOfWeek(t.year, t.month, t.day);
    return scan;
}

std::optional<LastScan> ReadLastScan(scan::SettingsStore& store) {
    return ParseLastScan(store.ReadSettingString("lastScan", ""));
}

std::string FormatLastScan(const platform::SystemTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", t.month, t.day, t.year, t.hour,
                  t.minute, t.second);
    return text;
}

ScanAge AgeOf(const platform::SystemTime& then, const platform::SystemTime& now) {
    ScanAge age;
    age.seconds = SecondsOf(now) - SecondsOf(then);
    age.hours = age.seconds / 60 / 60;
    age.days = age.hours / 24;
    return age;
}

}  // namespace brisko::app
