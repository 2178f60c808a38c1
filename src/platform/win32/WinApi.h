// The Windows headers for the backend's own sources, and the owning handle types it builds on.
// Only src/platform/win32/*.cpp include this; the backend's class headers stay free of <windows.h>.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The shell headers build on the declarations of <windows.h>.
#include <shlobj.h>
#include <shlwapi.h>

// The service methods share their names with the TCHAR macros of the Windows headers. The backend calls
// the ANSI functions by their own names, so the macros go: otherwise they would rename the methods in
// the class declarations below and the overrides would no longer match the interfaces.
#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef ExpandEnvironmentStrings
#undef GetComputerName
#undef GetDiskFreeSpace
#undef GetDriveType
#undef GetEnvironmentVariable
#undef GetUserName
#undef MoveFile
#undef PathFileExists
#undef PathFindOnPath
#undef PathIsDirectory
#undef PathIsRelative
#undef PathIsRoot
#undef PathRenameExtension
#undef RemoveDirectory

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Status.h"

namespace brisko::platform::win32 {

// One owner for a handle of the kind Traits describes; the handle is closed once, by its owner.
template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;
    UniqueHandle() noexcept : h_(Traits::Invalid()) {}
    explicit UniqueHandle(Type h) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle o) noexcept {
        std::swap(h_, o.h_);
        return *this;
    }
    ~UniqueHandle() {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
    }
    Type Get() const noexcept { return h_; }
    bool Valid() const noexcept { return h_ != Traits::Invalid(); }

private:
    Type h_;
};

struct KernelHandleTraits {  // a file or a token; owned only once the call that made it succeeded
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};
struct SidTraits {
    using Type = PSID;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type sid) noexcept { ::FreeSid(sid); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueSid = UniqueHandle<SidTraits>;

// The ANSI functions take zero-terminated texts; the interfaces pass views.
inline std::string Sz(std::string_view text) {
    return std::string(text);
}

// The thread's last error as a status; a failure that left none set still fails.
inline Status LastError() {
    DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? static_cast<Status>(error) : static_cast<Status>(ERROR_GEN_FAILURE);
}

// A caller-sized buffer for one call. Never null, so a capacity of 0 reaches the system as a real
// buffer of length 0 (which asks for kMoreData), not as "no buffer" (which asks for the size).
template <class T>
std::unique_ptr<T[]> CallBuffer(std::uint32_t capacity) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[std::max<std::uint32_t>(capacity, 1)]);
}

// The interfaces promise no exceptions; the only ones a call can raise come from allocation.
template <class F>
Status Guarded(F&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return kNotEnoughMemory;
    } catch (...) {
        return ERROR_GEN_FAILURE;
    }
}

}  // namespace brisko::platform::win32
