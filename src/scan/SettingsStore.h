// The settings store: every option, scan selection and statistic of the program is a REG_SZ value under
// HKEY_LOCAL_MACHINE\SOFTWARE\Brisko, integers as decimal text and sizes as "%f" text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace brisko::scan {

// The key every setting lives in, below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kSettingsKeyPath = "SOFTWARE\\Brisko";

class SettingsStore {
public:
    explicit SettingsStore(platform::Registry& registry)
        : registry_(registry), root_(platform::kLocalMachine), keyPath_(kSettingsKeyPath) {}
    // The same store kept in another key; for tests that may not write below HKEY_LOCAL_MACHINE.
    SettingsStore(platform::Registry& registry, platform::HKey root, std::string keyPath)
        : registry_(registry), root_(root), keyPath_(std::move(keyPath)) {}

    // A missing, empty, wrongly typed or out-of-range value reads as `defaultValue`; text that does not
    // start with a number reads as 0. 2147483647 and -2147483648 count as out of range.
    int ReadSettingInt(std::string_view name, int defaultValue);
    bool WriteSettingInt(std::string_view name, int value);
    // A missing, empty or wrongly typed value, or a text longer than 1023 bytes, reads as `defaultValue`.
    std::string ReadSettingString(std::string_view name, std::string_view defaultValue);
    bool WriteSettingString(std::string_view name, std::string_view value);
    // Sizes in kilobytes, stored with "%f". Text that does not start with a number reads as 0; a value
    // that reads as the text rules say it is missing, or that is not a finite number, reads as the default.
    double ReadSettingSize(std::string_view name, double defaultValue);
    bool WriteSettingSize(std::string_view name, double value);

    // Removes a value; true when it is gone afterwards (a missing key or value is no failure).
    bool DeleteSetting(std::string_view name);
    // Every value of the key in the registry's order, as stored. False when the key cannot be read
    // (`values` is then left alone); a missing key gives an empty list.
    bool ReadAllSettings(std::vector<platform::RegValue>& values);

private:
    // The value as text when it is a zero-terminated string that fits in `capacity` bytes.
    bool ReadText(std::string_view name, std::uint32_t capacity, std::string& text);
    bool WriteText(std::string_view name, std::string_view text);

    platform::Registry& registry_;
    platform::HKey root_;
    std::string keyPath_;
};

// Reads a decimal integer as the C library's atoi does: leading white space, an optional sign, digits;
// `outOfRange` tells when the digits did not fit an int (the result is then clamped).
int ParseLeadingInt(std::string_view text, bool& outOfRange);
// Reads a leading decimal number as atof does, locale-independent; 0 when the text starts with none.
double ParseLeadingDouble(std::string_view text);
// "%f" with a '.' whatever the locale.
std::string FormatSize(double value);

}  // namespace brisko::scan
