#include "platform/win32/Win32Shell.h"

#include <cstring>

#include "platform/win32/WinApi.h"

namespace brisko::platform::win32 {

namespace {

// A variable holds at most 32,767 UTF-16 characters, at most three UTF-8 bytes each; an expansion
// makes at most 32,767 characters too.
constexpr std::size_t kMaxEnvironmentBytes = 3 * 32768;
constexpr std::size_t kMaxExpansionBytes = 4 * kMaxEnvironmentBytes;

// A predicate of the interface answers false when it cannot even ask the system.
template <class F>
bool GuardedTest(F&& test) noexcept {
    try {
        return test();
    } catch (...) {
        return false;
    }
}

}  // namespace

Status Win32Shell::GetFolderPath(int csidl, bool create, std::string& path) {
    return Guarded([&]() -> Status {
        char buffer[MAX_PATH] = {};
        HRESULT result = ::SHGetFolderPathA(nullptr, csidl | (create ? CSIDL_FLAG_CREATE : 0), nullptr,
                                            SHGFP_TYPE_CURRENT, buffer);
        if (result == S_OK) {
            std::string found(buffer);
            path = std::move(found);
            return kOk;
        }
        // A system error comes back wrapped (HRESULT_FROM_WIN32) and is unwrapped; S_FALSE, E_FAIL and
        // E_INVALIDARG, the answers for a folder that is missing or unknown, are all "no such folder".
        if (HRESULT_FACILITY(result) == FACILITY_WIN32) return static_cast<Status>(HRESULT_CODE(result));
        return kFileNotFound;
    });
}

bool Win32Shell::GetEnvironmentVariable(std::string_view name, std::string& value) {
    return GuardedTest([&] {
        std::string variable(name);
        std::string buffer(256, '\0');
        for (;;) {
            ::SetLastError(ERROR_SUCCESS);
            DWORD length =
                ::GetEnvironmentVariableA(variable.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
            // 0 is both "not set" and "set to the empty text"; only the last error tells them apart.
            if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
            if (length < buffer.size()) {
                // The text ends at its terminating zero. (Under Wine the count is of UTF-16 characters
                // and the text is cut there, so a value with non-ASCII characters comes back short.)
                buffer.resize(::strnlen(buffer.data(), buffer.size()));
                value = std::move(buffer);
                return true;
            }
            // The length needed, terminating zero included; grown at least twofold, so the loop ends
            // however the ANSI count of a UTF-8 text comes out.
            if (buffer.size() > kMaxEnvironmentBytes) return false;
            buffer.assign(std::max<std::size_t>(length + 1, 2 * buffer.size()), '\0');
        }
    });
}

std::uint32_t Win32Shell::ExpandEnvironmentStrings(std::string_view text, std::uint32_t capacity,
                                                   std::string& out) {
    // The capacity counts bytes, as on Windows. Wine's ExpandEnvironmentStringsA counts the UTF-16
    // characters of the expansion instead and, when the UTF-8 form is longer than the buffer, hands back
    // a cut text with a count that claims it fit. So the expansion goes into a buffer of our own, grown
    // until the text ends with room to spare, and is measured in bytes.
    try {
        std::string source(text);
        std::string buffer;
        std::size_t size = std::max<std::size_t>(capacity, 256);
        for (;;) {
            // A byte the conversion never writes: a terminating zero in the buffer is the system's.
            buffer.assign(size, '\xff');
            DWORD counted =
                ::ExpandEnvironmentStringsA(source.c_str(), buffer.data(), static_cast<DWORD>(size));
            if (counted == 0) return 0;
            std::size_t length = ::strnlen(buffer.data(), size);
            if (counted <= size && length + 1 < size) {
                buffer.resize(length);
                break;
            }
            if (size >= kMaxExpansionBytes) return 0;
            size = std::max<std::size_t>(2 * size, counted);
        }
        auto needed = static_cast<std::uint32_t>(buffer.size() + 1);
        if (needed <= capacity) out = std::move(buffer);
        return needed;
    } catch (...) {
        return 0;
    }
}

bool Win32Shell::PathFileExists(std::string_view path) {
    return GuardedTest([&] { return ::PathFileExistsA(Sz(path).c_str()) != FALSE; });
}

bool Win32Shell::PathIsDirectory(std::string_view path) {
    // PathIsDirectoryA answers FILE_ATTRIBUTE_DIRECTORY for a folder, not TRUE.
    return GuardedTest([&] { return ::PathIsDirectoryA(Sz(path).c_str()) != FALSE; });
}

bool Win32Shell::PathIsRelative(std::string_view path) {
    return GuardedTest([&] { return ::PathIsRelativeA(Sz(path).c_str()) != FALSE; });
}

bool Win32Shell::PathIsRoot(std::string_view path) {
    return GuardedTest([&] { return ::PathIsRootA(Sz(path).c_str()) != FALSE; });
}

bool Win32Shell::PathFindOnPath(std::string& path, const std::vector<std::string>* otherDirs) {
    return GuardedTest([&] {
        // The system works in place in a MAX_PATH buffer.
        if (path.size() >= MAX_PATH) return false;
        char buffer[MAX_PATH] = {};
        std::memcpy(buffer, path.data(), path.size());
        std::vector<LPCSTR> dirs;
        if (otherDirs != nullptr) {
            for (const std::string& dir : *otherDirs)
                dirs.push_back(dir.c_str());
            dirs.push_back(nullptr);
        }
        if (!::PathFindOnPathA(buffer, otherDirs != nullptr ? dirs.data() : nullptr)) return false;
        path = buffer;
        return true;
    });
}

bool Win32Shell::PathRenameExtension(std::string& path, std::string_view ext) {
    return GuardedTest([&] {
        if (path.size() >= MAX_PATH) return false;
        char buffer[MAX_PATH] = {};
        std::memcpy(buffer, path.data(), path.size());
        if (!::PathRenameExtensionA(buffer, Sz(ext).c_str())) return false;
        path = buffer;
        return true;
    });
}

}  // namespace brisko::platform::win32
