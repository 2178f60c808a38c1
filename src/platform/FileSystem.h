// The file-system service: the ANSI file functions of kernel32 that the engines use, with Windows paths
// (drive letter, backslashes, any case) and Windows statuses. A call that fails leaves its outputs alone.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace brisko::platform {

// File attributes (FILE_ATTRIBUTE_*).
inline constexpr std::uint32_t kAttrReadOnly = 0x1;
inline constexpr std::uint32_t kAttrHidden = 0x2;
inline constexpr std::uint32_t kAttrSystem = 0x4;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;
inline constexpr std::uint32_t kAttrTemporary = 0x100;
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

// Drive types (GetDriveTypeA).
inline constexpr std::uint32_t kDriveUnknown = 0;
inline constexpr std::uint32_t kDriveNoRootDir = 1;
inline constexpr std::uint32_t kDriveRemovable = 2;
inline constexpr std::uint32_t kDriveFixed = 3;
inline constexpr std::uint32_t kDriveRemote = 4;
inline constexpr std::uint32_t kDriveCdrom = 5;
inline constexpr std::uint32_t kDriveRamdisk = 6;

// MoveFileExA flags.
inline constexpr std::uint32_t kMoveReplaceExisting = 0x1;
inline constexpr std::uint32_t kMoveCopyAllowed = 0x2;
inline constexpr std::uint32_t kMoveDelayUntilReboot = 0x4;

// CreateFileA access, sharing and disposition.
inline constexpr std::uint32_t kGenericRead = 0x80000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kShareRead = 0x1;
inline constexpr std::uint32_t kShareWrite = 0x2;
inline constexpr std::uint32_t kShareDelete = 0x4;
inline constexpr std::uint32_t kCreateNew = 1;
inline constexpr std::uint32_t kCreateAlways = 2;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kOpenAlways = 4;
inline constexpr std::uint32_t kTruncateExisting = 5;

// A FILETIME: 100-nanosecond intervals since 1 January 1601, UTC.
using FileTime = std::uint64_t;

// One entry of a directory search (WIN32_FIND_DATAA).
struct FindData {
    std::string name;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    FileTime creationTime = 0;
    FileTime lastAccessTime = 0;
    FileTime lastWriteTime = 0;
};

// A search in progress. Closing is destruction.
class FindCursor {
public:
    virtual ~FindCursor() = default;
    // FindNextFileA: kNoMoreFiles after the last entry.
    virtual Status Next(FindData& data) = 0;
};
using FindHandle = std::unique_ptr<FindCursor>;

// An open file. Closing is destruction.
class FileObject {
public:
    virtual ~FileObject() = default;
    virtual Status Read(std::span<std::uint8_t> buffer, std::uint32_t& bytesRead) = 0;
    virtual Status Write(std::span<const std::uint8_t> data, std::uint32_t& bytesWritten) = 0;
    virtual Status Seek(std::uint64_t offset) = 0;  // from the start
    virtual Status GetSize(std::uint64_t& size) = 0;
    virtual Status Flush() = 0;
};
using FileHandle = std::unique_ptr<FileObject>;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // FindFirstFileA with the Windows wildcard rules ("*.*" matches names without a dot, "?" at most one
    // character). kFileNotFound when nothing matches, kPathNotFound when the folder is missing.
    virtual Status FindFirst(std::string_view pattern, FindHandle& handle, FindData& first) = 0;
    virtual Status GetAttributes(std::string_view path, std::uint32_t& attributes) = 0;
    virtual Status SetAttributes(std::string_view path, std::uint32_t attributes) = 0;
    // CreateFileA. Another process holding the file gives kSharingViolation.
    virtual Status OpenFile(std::string_view path, std::uint32_t access, std::uint32_t share,
                            std::uint32_t disposition, FileHandle& file) = 0;
    virtual Status DeleteFile(std::string_view path) = 0;
    virtual Status CreateDirectory(std::string_view path) = 0;
    virtual Status RemoveDirectory(std::string_view path) = 0;
    // MoveFileExA. With kMoveDelayUntilReboot the move (or, with an empty target, the deletion) is only
    // recorded in "PendingFileRenameOperations", as Windows does.
    virtual Status MoveFile(std::string_view from, std::string_view to, std::uint32_t flags) = 0;
    virtual Status CopyFile(std::string_view from, std::string_view to, bool failIfExists) = 0;
    // GetLogicalDrives: bit 0 is A:.
    virtual std::uint32_t GetLogicalDrives() = 0;
    // GetDriveTypeA of a root such as "C:\".
    virtual std::uint32_t GetDriveType(std::string_view root) = 0;
    // GetDiskFreeSpaceExA of a root: bytes free to the caller and in all.
    virtual Status GetDiskFreeSpace(std::string_view root, std::uint64_t& freeBytes,
                                    std::uint64_t& totalBytes) = 0;
};

}  // namespace brisko::platform
