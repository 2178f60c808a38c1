#include "app/FileVersion.h"

#include <cstdio>

namespace brisko::app {

std::string GetFileVersionText(const std::optional<FileVersionNumbers>& version) {
    if (!version) return {};
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", version->mostSignificant >> 16,
                  version->mostSignificant & 0xFFFF, version->leastSignificant >> 16,
                  version->leastSignificant & 0xFFFF);
    return text;
}

}  // namespace brisko::app
