// The system service: version, identity and rights of the machine the program runs on.
#pragma once

#include <cstdint>
#include <string>

namespace brisko::platform {

// The true version of the running system, as RtlGetVersion reports it (not what compatibility shims
// make GetVersionExA say).
struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 2;  // VER_PLATFORM_WIN32_NT
    std::string servicePack;       // "Service Pack 1", or empty
    std::uint8_t productType = 1;  // VER_NT_WORKSTATION
};

class System {
public:
    virtual ~System() = default;

    virtual OsVersion GetVersion() = 0;
    // The process runs with an elevated token (or the system has no split tokens and the user is an
    // administrator).
    virtual bool IsElevated() = 0;
    // The user belongs to the Administrators group.
    virtual bool IsUserAdmin() = 0;
    virtual std::string GetUserName() = 0;
    // The full path of the running program (GetModuleFileNameA of the process).
    virtual std::string GetProgramPath() = 0;
    virtual std::string GetComputerName() = 0;
};

}  // namespace brisko::platform
