#include "platform/win32/Win32System.h"

#include <cstring>

#include "platform/Text.h"
#include "platform/win32/WinApi.h"

namespace brisko::platform::win32 {

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);

// Reads a name through a call of the GetUserNameA kind (buffer, in/out length), growing the buffer
// while the system asks for more: a UTF-8 name can take three bytes per character.
template <class F>
std::string ReadName(F&& call) {
    try {
        std::string buffer(64, '\0');
        for (int attempt = 0; attempt < 8; ++attempt) {
            DWORD length = static_cast<DWORD>(buffer.size());
            if (call(buffer.data(), &length)) {
                buffer.resize(std::strlen(buffer.c_str()));
                return buffer;
            }
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER && ::GetLastError() != ERROR_BUFFER_OVERFLOW &&
                ::GetLastError() != ERROR_MORE_DATA) {
                return {};
            }
            buffer.assign(std::max<std::size_t>(length + 1, 2 * buffer.size()), '\0');
        }
    } catch (...) {
    }
    return {};
}

}  // namespace

OsVersion Win32System::GetVersion() {
    // GetVersionExA answers what the compatibility layer says the program was written for; RtlGetVersion
    // answers the system. It is not in the import libraries of every system, so it is looked up.
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    OsVersion version;
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) return version;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.build = info.dwBuildNumber;
    version.platformId = info.dwPlatformId;
    try {
        version.servicePack = Utf8FromUtf16(reinterpret_cast<const char16_t*>(info.szCSDVersion));
    } catch (...) {
    }
    version.productType = info.wProductType;
    return version;
}

bool Win32System::IsElevated() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    UniqueKernelHandle owned(token);
    TOKEN_ELEVATION elevation = {};
    DWORD length = 0;
    if (::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &length)) {
        return elevation.TokenIsElevated != 0;
    }
    // Systems before Vista know no such class, and no elevation: there the rights are the groups'.
    return ::GetLastError() == ERROR_INVALID_PARAMETER && IsUserAdmin();
}

bool Win32System::IsUserAdmin() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                    0, 0, 0, 0, 0, &sid)) {
        return false;
    }
    UniqueSid owned(sid);
    // The effective token: under a filtered (not elevated) token the group is deny-only, as
    // IsUserAnAdmin answers too.
    BOOL member = FALSE;
    return ::CheckTokenMembership(nullptr, sid, &member) && member;
}

std::string Win32System::GetUserName() {
    return ReadName([](char* buffer, DWORD* length) { return ::GetUserNameA(buffer, length); });
}

std::string Win32System::GetComputerName() {
    return ReadName([](char* buffer, DWORD* length) { return ::GetComputerNameA(buffer, length); });
}

std::string Win32System::GetProgramPath() {
    // A path longer than the buffer comes back cut without an error other than the length: grow and ask
    // again until it fits.
    std::string path(MAX_PATH, '\0');
    while (path.size() <= 32768) {
        DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

}  // namespace brisko::platform::win32
