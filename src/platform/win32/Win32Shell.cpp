#include "platform/win32/Win32Shell.h"

#include <cstring>

#include "platform/Text.h"
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

// The shell link object and its interfaces, spelled out here so the backend needs no GUID library.
constexpr CLSID kClsidShellLink = {
    0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidPersistFile = {
    0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// One reference to a COM interface, released once by its owner.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_ != nullptr) p_->Release();
    }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    void** Out() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

// COM on the calling thread for the lifetime of the object. A thread that already joined the
// multithreaded apartment keeps it: COM is usable there too, and is not ours to end.
class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

Status StatusFromResult(HRESULT result) {
    if (HRESULT_FACILITY(result) == FACILITY_WIN32) return static_cast<Status>(HRESULT_CODE(result));
    if (result == E_OUTOFMEMORY) return kNotEnoughMemory;
    return kInvalidData;
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

Status Win32Shell::GetShortcutTarget(std::string_view path, std::string& target) {
    return Guarded([&]() -> Status {
        ComApartment com;
        if (!com.Usable()) return StatusFromResult(com.Result());
        ComRef<IShellLinkA> link;
        HRESULT result =
            ::CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkA, link.Out());
        if (FAILED(result)) return StatusFromResult(result);
        ComRef<IPersistFile> file;
        result = link->QueryInterface(kIidPersistFile, file.Out());
        if (FAILED(result)) return StatusFromResult(result);
        // The whole path, never cut to MAX_PATH: a cut path would load some other file.
        std::u16string wide = Utf16FromUtf8(path);
        std::wstring name(wide.begin(), wide.end());
        result = file->Load(name.c_str(), STGM_READ);
        if (FAILED(result)) return StatusFromResult(result);
        // MAX_PATH UTF-16 characters take up to three bytes each in the UTF-8 code page.
        char buffer[3 * MAX_PATH + 1] = {};
        result = link->GetPath(buffer, static_cast<int>(sizeof buffer), nullptr, SLGP_RAWPATH);
        if (result != S_OK || buffer[0] == '\0')
            return FAILED(result) ? StatusFromResult(result) : kFileNotFound;
        target = buffer;
        return kOk;
    });
}

}  // namespace brisko::platform::win32
