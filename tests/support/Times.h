// Times for tests, written as a reader says them.
#pragma once

#include "platform/Clock.h"

namespace brisko::test {

inline platform::SystemTime At(int year, int month, int day, int hour, int minute, int second) {
    platform::SystemTime time;
    time.year = year;
    time.month = month;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    return time;
}

}  // namespace brisko::test
