#include "platform/win32/Win32Clock.h"

#include "platform/win32/WinApi.h"

namespace brisko::platform::win32 {

SystemTime Win32Clock::GetLocalTime() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    SystemTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.dayOfWeek = now.wDayOfWeek;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.milliseconds = now.wMilliseconds;
    return time;
}

FileTime Win32Clock::GetSystemTimeAsFileTime() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<FileTime>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

}  // namespace brisko::platform::win32
