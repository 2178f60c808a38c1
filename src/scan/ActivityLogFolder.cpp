#include "scan/ActivityLogFolder.h"

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <vector>

#include "platform/Text.h"
#include "scan/SplitFields.h"

namespace brisko::scan {

using namespace platform;

namespace {

constexpr std::string_view kLogPrefix = "BRK_LOGS_";

// "%m-%d-%Y %H:%M:%S"
std::string RecordTime(const SystemTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", t.month, t.day, t.year, t.hour,
                  t.minute, t.second);
    return text;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool AllDigits(const std::string& field) {
    return !field.empty() && field.size() <= 4 &&
           std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

auto SortKey(const SystemTime& t) {
    return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace

std::string LogFileName(const SystemTime& t) {
    char text[96];
    std::snprintf(text, sizeof text, "BRK_LOGS_%02d_%02d_%04d_%02d_%02d_%02d_%s.log", t.month, t.day, t.year,
                  t.hour, t.minute, t.second, t.hour < 12 ? "AM" : "PM");
    return text;
}

std::optional<SystemTime> LogFileTime(std::string_view fileName) {
    if (!fileName.starts_with(kLogPrefix)) return std::nullopt;
    std::vector<std::string> fields = SplitFields(fileName.substr(kLogPrefix.size()), "_");
    if (fields.size() < 6) return std::nullopt;
    for (int i = 0; i < 6; ++i)
        if (!AllDigits(fields[i])) return std::nullopt;
    SystemTime t;
    t.month = std::stoi(fields[0]);
    t.day = std::stoi(fields[1]);
    t.year = std::stoi(fields[2]);
    t.hour = std::stoi(fields[3]);
    t.minute = std::stoi(fields[4]);
    t.second = std::stoi(fields[5]);
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
        t.second > 59)
        return std::nullopt;
    return t;
}

std::string LogRecord(const SystemTime& time, std::string_view message) {
    std::size_t first = 0;
    std::size_t last = message.size();
    while (first < last && IsBlank(message[first]))
        ++first;
    while (last > first && IsBlank(message[last - 1]))
        --last;
    message = message.substr(first, last - first);

    std::string record;
    if (!message.empty()) record = RecordTime(time);
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\n' && (i == 0 || message[i - 1] != '\r')) record += '\r';
        record += message[i];
    }
    record += "\r\n";
    return record;
}

void PruneLogFolder(FileSystem& files, const std::string& folder) {
    struct Entry {
        std::string name;
        std::optional<SystemTime> time;
    };
    std::vector<Entry> ours;
    std::vector<Entry> others;
    FindHandle search;
    FindData entry;
    if (files.FindFirst(folder + "\\*.log", search, entry) != kOk) return;
    do {
        if ((entry.attributes & kAttrDirectory) || entry.size == 0) continue;
        // The pattern's short-name match lets "x.logs" through on Windows; only real logs are touched.
        if (entry.name.size() < 4 ||
            !EqualsNoCase(std::string_view(entry.name).substr(entry.name.size() - 4), ".log"))
            continue;
        bool isOurs = entry.name.find("BRK_") != std::string::npos;
        (isOurs ? ours : others).push_back({entry.name, LogFileTime(entry.name)});
    } while (search->Next(entry) == kOk);

    // The listing sorts by name, month first, so across a new year it would keep old logs and delete new
    // ones. Our logs are ordered by the time in their names; names without one count as the oldest.
    std::stable_sort(ours.begin(), ours.end(), [](const Entry& a, const Entry& b) {
        if (!a.time || !b.time) return !a.time && b.time;
        return SortKey(*a.time) < SortKey(*b.time);
    });
    auto deleteAllButLast = [&](const std::vector<Entry>& list, std::size_t keep) {
        for (std::size_t i = 0; i + keep < list.size(); ++i)
            files.DeleteFile(folder + "\\" + list[i].name);
    };
    deleteAllButLast(ours, 9);
    deleteAllButLast(others, 10);
}

}  // namespace brisko::scan
