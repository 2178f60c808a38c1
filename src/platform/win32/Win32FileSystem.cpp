#include "platform/win32/Win32FileSystem.h"

#include <limits>

#include "platform/win32/WinApi.h"

namespace brisko::platform::win32 {

namespace {

FileTime ToFileTime(const FILETIME& time) {
    return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FindData ToFindData(const WIN32_FIND_DATAA& found) {
    FindData data;
    data.name = found.cFileName;
    data.attributes = found.dwFileAttributes;
    data.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    data.creationTime = ToFileTime(found.ftCreationTime);
    data.lastAccessTime = ToFileTime(found.ftLastAccessTime);
    data.lastWriteTime = ToFileTime(found.ftLastWriteTime);
    return data;
}

class Win32FindCursor final : public FindCursor {
public:
    explicit Win32FindCursor(UniqueFind handle) : handle_(std::move(handle)) {}

    Status Next(FindData& data) override {
        return Guarded([&]() -> Status {
            WIN32_FIND_DATAA found;
            if (!::FindNextFileA(handle_.Get(), &found)) return LastError();
            data = ToFindData(found);
            return kOk;
        });
    }

private:
    UniqueFind handle_;
};

class Win32File final : public FileObject {
public:
    explicit Win32File(UniqueKernelHandle handle) : handle_(std::move(handle)) {}

    // One ReadFile or WriteFile: a span beyond 4 GB is offered its first 4 GB - 1 bytes, as a single
    // call can take no more. An empty span still passes a real buffer, as a zero-length call needs one.
    Status Read(std::span<std::uint8_t> buffer, std::uint32_t& bytesRead) override {
        std::uint8_t none = 0;
        DWORD done = 0;
        if (!::ReadFile(handle_.Get(), buffer.empty() ? &none : buffer.data(), CallLength(buffer.size()),
                        &done, nullptr)) {
            return LastError();
        }
        bytesRead = done;
        return kOk;
    }
    Status Write(std::span<const std::uint8_t> data, std::uint32_t& bytesWritten) override {
        const std::uint8_t none = 0;
        DWORD done = 0;
        if (!::WriteFile(handle_.Get(), data.empty() ? &none : data.data(), CallLength(data.size()), &done,
                         nullptr)) {
            return LastError();
        }
        bytesWritten = done;
        return kOk;
    }
    Status Seek(std::uint64_t offset) override {
        LARGE_INTEGER distance;
        distance.QuadPart = static_cast<LONGLONG>(offset);
        return ::SetFilePointerEx(handle_.Get(), distance, nullptr, FILE_BEGIN) ? kOk : LastError();
    }
    Status GetSize(std::uint64_t& size) override {
        LARGE_INTEGER found;
        if (!::GetFileSizeEx(handle_.Get(), &found)) return LastError();
        size = static_cast<std::uint64_t>(found.QuadPart);
        return kOk;
    }
    Status Flush() override { return ::FlushFileBuffers(handle_.Get()) ? kOk : LastError(); }

private:
    static DWORD CallLength(std::size_t size) {
        return static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
    }

    UniqueKernelHandle handle_;
};

Status Result(BOOL ok) {
    return ok ? kOk : LastError();
}

}  // namespace

Status Win32FileSystem::FindFirst(std::string_view pattern, FindHandle& handle, FindData& first) {
    return Guarded([&]() -> Status {
        WIN32_FIND_DATAA found;
        UniqueFind search(::FindFirstFileA(Sz(pattern).c_str(), &found));
        if (!search.Valid()) return LastError();
        FindData data = ToFindData(found);
        handle = std::make_unique<Win32FindCursor>(std::move(search));
        first = std::move(data);
        return kOk;
    });
}

Status Win32FileSystem::GetAttributes(std::string_view path, std::uint32_t& attributes) {
    return Guarded([&]() -> Status {
        DWORD found = ::GetFileAttributesA(Sz(path).c_str());
        if (found == INVALID_FILE_ATTRIBUTES) return LastError();
        attributes = found;
        return kOk;
    });
}

Status Win32FileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    return Guarded([&] { return Result(::SetFileAttributesA(Sz(path).c_str(), attributes)); });
}

Status Win32FileSystem::OpenFile(std::string_view path, std::uint32_t access, std::uint32_t share,
                                 std::uint32_t disposition, FileHandle& file) {
    return Guarded([&]() -> Status {
        UniqueKernelHandle opened(::CreateFileA(Sz(path).c_str(), access, share, nullptr, disposition,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!opened.Valid()) return LastError();
        file = std::make_unique<Win32File>(std::move(opened));
        return kOk;
    });
}

Status Win32FileSystem::DeleteFile(std::string_view path) {
    return Guarded([&] { return Result(::DeleteFileA(Sz(path).c_str())); });
}

Status Win32FileSystem::CreateDirectory(std::string_view path) {
    return Guarded([&] { return Result(::CreateDirectoryA(Sz(path).c_str(), nullptr)); });
}

Status Win32FileSystem::RemoveDirectory(std::string_view path) {
    return Guarded([&] { return Result(::RemoveDirectoryA(Sz(path).c_str())); });
}

Status Win32FileSystem::MoveFile(std::string_view from, std::string_view to, std::uint32_t flags) {
    return Guarded([&] {
        // An empty target is the system's NULL: with kMoveDelayUntilReboot, delete at the next start.
        std::string target(to);
        return Result(::MoveFileExA(Sz(from).c_str(), to.empty() ? nullptr : target.c_str(), flags));
    });
}

Status Win32FileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    return Guarded([&] { return Result(::CopyFileA(Sz(from).c_str(), Sz(to).c_str(), failIfExists)); });
}

std::uint32_t Win32FileSystem::GetLogicalDrives() {
    return ::GetLogicalDrives();
}

std::uint32_t Win32FileSystem::GetDriveType(std::string_view root) {
    try {
        return ::GetDriveTypeA(Sz(root).c_str());
    } catch (...) {
        return kDriveUnknown;
    }
}

Status Win32FileSystem::GetDiskFreeSpace(std::string_view root, std::uint64_t& freeBytes,
                                         std::uint64_t& totalBytes) {
    return Guarded([&]() -> Status {
        ULARGE_INTEGER available;
        ULARGE_INTEGER total;
        if (!::GetDiskFreeSpaceExA(Sz(root).c_str(), &available, &total, nullptr)) return LastError();
        freeBytes = available.QuadPart;
        totalBytes = total.QuadPart;
        return kOk;
    });
}

}  // namespace brisko::platform::win32
