#include "scan/SettingsStore.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace brisko::scan {

using namespace platform;

namespace {

// Buffer sizes of the readers, in bytes of the code page, terminating zero included.
constexpr std::uint32_t kIntCapacity = 200;
constexpr std::uint32_t kTextCapacity = 1024;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int ParseLeadingInt(std::string_view text, bool& outOfRange) {
    outOfRange = false;
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) {
            outOfRange = true;
            return negative ? INT_MIN : INT_MAX;
        }
    }
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX || value < INT_MIN) {
        outOfRange = true;
        return value > 0 ? INT_MAX : INT_MIN;
    }
    return static_cast<int>(value);
}

double ParseLeadingDouble(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // from_chars would take a second sign; atof would not.
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) return 0;
    double value = 0;
    auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        value = HUGE_VAL;
    else if (error != std::errc())
        return 0;
    return negative ? -value : value;
}

std::string FormatSize(double value) {
    char text[400];  // the largest double has 309 digits before the point
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    if (error != std::errc()) return "0.000000";
    return std::string(text, end);
}

bool SettingsStore::ReadText(std::string_view name, std::uint32_t capacity, std::string& text) {
    RegKey key;
    if (registry_.OpenKey(root_, keyPath_, kKeyRead, key) != kOk) return false;
    ValueType type = kRegNone;
    Bytes data;
    if (registry_.QueryValue(key.Get(), name, capacity, type, data) != kOk) return false;
    if (type != kRegSz && type != kRegExpandSz) return false;
    // Only a terminated text is taken whole; anything after an embedded zero is not part of it.
    std::size_t length = 0;
    while (length < data.size() && data[length] != 0)
        ++length;
    if (length == data.size()) return false;
    text.assign(reinterpret_cast<const char*>(data.data()), length);
    return true;
}

bool SettingsStore::WriteText(std::string_view name, std::string_view text) {
    RegKey key;
    if (registry_.CreateKey(root_, keyPath_, kKeyRead | kKeyWrite, key) != kOk) return false;
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    return registry_.SetValue(key.Get(), name, kRegSz, data) == kOk;
}

int SettingsStore::ReadSettingInt(std::string_view name, int defaultValue) {
    std::string text;
    if (!ReadText(name, kIntCapacity, text) || text.empty()) return defaultValue;
    bool outOfRange = false;
    int value = ParseLeadingInt(text, outOfRange);
    if (outOfRange || value == INT_MAX || value == INT_MIN) return defaultValue;
    return value;
}

bool SettingsStore::WriteSettingInt(std::string_view name, int value) {
    return WriteText(name, std::to_string(value));
}

std::string SettingsStore::ReadSettingString(std::string_view name, std::string_view defaultValue) {
    std::string text;
    if (!ReadText(name, kTextCapacity, text) || text.empty()) return std::string(defaultValue);
    return text;
}

bool SettingsStore::WriteSettingString(std::string_view name, std::string_view value) {
    return WriteText(name, value);
}

double SettingsStore::ReadSettingSize(std::string_view name, double defaultValue) {
    std::string text;
    if (!ReadText(name, kTextCapacity, text) || text.empty()) return defaultValue;
    double value = ParseLeadingDouble(text);
    return std::isfinite(value) ? value : defaultValue;
}

bool SettingsStore::WriteSettingSize(std::string_view name, double value) {
    return WriteText(name, FormatSize(value));
}

bool SettingsStore::DeleteSetting(std::string_view name) {
    RegKey key;
    Status status = registry_.OpenKey(root_, keyPath_, kKeySetValue, key);
    if (status == kFileNotFound) return true;
    if (status != kOk) return false;
    status = registry_.DeleteValue(key.Get(), name);
    return status == kOk || status == kFileNotFound;
}

bool SettingsStore::ReadAllSettings(std::vector<RegValue>& values) {
    RegKey key;
    Status status = registry_.OpenKey(root_, keyPath_, kKeyRead, key);
    if (status == kFileNotFound) {
        values.clear();
        return true;
    }
    if (status != kOk) return false;
    KeyInfo info;
    if (registry_.QueryInfoKey(key.Get(), info) != kOk) return false;
    EnumLimits limits;
    // The key reports stored (UTF-16) sizes; handed over as UTF-8 a character may take up to three bytes
    // where it took two.
    limits.nameCapacity = info.maxValueNameLength * 3 + 1;
    limits.dataCapacity = info.maxValueDataLength / 2 * 3 + 2;
    std::vector<RegValue> read;
    for (std::uint32_t index = 0;; ++index) {
        RegValue value;
        status = registry_.EnumValue(key.Get(), index, limits, value);
        if (status == kNoMoreItems) break;
        if (status != kOk) return false;
        read.push_back(std::move(value));
    }
    values = std::move(read);
    return true;
}

}  // namespace brisko::scan
