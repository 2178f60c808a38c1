#include "app/WindowsVersion.h"

namespace brisko::app {

namespace {
constexpr std::uint32_t kPlatform9x = 1;
constexpr std::uint32_t kPlatformNt = 2;
constexpr std::uint32_t kPlatformCe = 3;
}  // namespace

WindowsVersion ClassifyWindowsVersion(const platform::OsVersion& v) {
    const std::uint32_t build = v.build & 0xFFFF;
    if (v.platformId == kPlatform9x && v.major == 4) {
        if (v.minor < 10 && build == 950) return {"Windows 95", 1};
        if (v.minor <= 9 && build >= 951 && build <= 1080) return {"Windows 95 SP1", 2};
        if (v.minor <= 9 && build > 1080) return {"Windows 95 OSR2", 3};
        if (v.minor == 10 && build == 1998) return {"Windows 98", 4};
        if (v.minor == 10 && build >= 1999 && build <= 2182) return {"Windows 98 SP1", 5};
        if (v.minor == 10 && build > 2182) return {"Windows 98 SE", 6};
        if (v.minor == 90) return {"Windows ME", 7};
    } else if (v.platformId == kPlatformNt) {
        if (v.major == 3 && v.minor == 51) return {"Windows NT 3.51", 101};
        if (v.major == 4 && v.minor == 0) return {"Windows NT 4", 102};
        if (v.major == 5 && v.minor == 0) return {"Windows 2000", 103};
        if (v.major == 5 && (v.minor == 1 || v.minor == 2)) return {"Windows XP", 104};
        if (v.major == 6) {
            switch (v.minor) {
                case 1:
                    return {"Windows 7", 105};
                case 2:
                    return {"Windows 8", 105};
                case 3:
                    return {"Windows 8.1", 105};
                default:
                    return {"Windows Vista", 105};
            }
        }
        if (v.major == 7) return {"Windows 7", 106};
        if (v.major == 10)
            return build >= 22000 ? WindowsVersion{"Windows 11", kWindows11Code}
                                  : WindowsVersion{"Windows 10", kWindows10Code};
        // A system newer than any named here is still an NT system of the current kind.
        if (v.major > 10)
            return {"Windows NT " + std::to_string(v.major) + "." + std::to_string(v.minor),
                    kLaterWindowsCode};
    } else if (v.platformId == kPlatformCe) {
        return {"Windows CE", 201};
    }
    return {"unknown Windows version", 0};
}

WindowsVersion GetWindowsVersion(platform::System& system) {
    return ClassifyWindowsVersion(system.GetVersion());
}

}  // namespace brisko::app
