// The Windows version the program runs on, as a name and a code that other parts compare: 103 and above
// is an NT system of Windows 2000 or later (registry backups carry the 5.00 header), 104 and below keeps
// the user's temporary files one folder higher than later systems do.
#pragma once

#include <string>

#include "platform/System.h"

namespace brisko::app {

struct WindowsVersion {
    std::string name;  // "Windows XP"
    int code = 0;      // 0 when unknown
};

// Codes of the systems later than the first table knew. Windows 8 and 8.1 share 105 with Vista and 7:
// every comparison the program makes holds for them as it does for Vista.
inline constexpr int kWindows10Code = 107;
inline constexpr int kWindows11Code = 108;
inline constexpr int kLaterWindowsCode = 109;

// The classification of a version as the system reports it.
WindowsVersion ClassifyWindowsVersion(const platform::OsVersion& version);
// The running system's true version (not what compatibility shims report), classified.
WindowsVersion GetWindowsVersion(platform::System& system);

}  // namespace brisko::app
