#include "app/DisplayText.h"

#include <charconv>

namespace brisko::app {

std::string FormatTwoDecimals(double value) {
    char text[400];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    return error == std::errc() ? std::string(text, end) : std::string("0.00");
}

}  // namespace brisko::app
