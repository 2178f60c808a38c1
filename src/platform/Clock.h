// The clock service. The simulated machine's clock can be set, so names made from times are testable.
#pragma once

#include <cstdint>

#include "platform/FileSystem.h"

namespace brisko::platform {

// A SYSTEMTIME: month 1 to 12, day of week 0 (Sunday) to 6.
struct SystemTime {
    int year = 1601;
    int month = 1;
    int dayOfWeek = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual SystemTime GetLocalTime() = 0;
    virtual FileTime GetSystemTimeAsFileTime() = 0;  // UTC
};

}  // namespace brisko::platform
