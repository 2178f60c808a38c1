// Small helpers of the status displays: colours as the pages draw them, numbers as they print them.
#pragma once

#include <cstdint>
#include <string>

namespace brisko::app {

struct Colour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Colour&) const = default;
};

// "%.2f" with a '.' whatever the locale.
std::string FormatTwoDecimals(double value);

}  // namespace brisko::app
