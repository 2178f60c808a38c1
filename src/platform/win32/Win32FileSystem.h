// The file-system service on the real system: the ANSI file functions of kernel32, one call each.
#pragma once

#include "platform/FileSystem.h"

namespace brisko::platform::win32 {

class Win32FileSystem final : public FileSystem {
public:
    Status FindFirst(std::string_view pattern, FindHandle& handle, FindData& first) override;
    Status GetAttributes(std::string_view path, std::uint32_t& attributes) override;
    Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
    Status OpenFile(std::string_view path, std::uint32_t access, std::uint32_t share,
                    std::uint32_t disposition, FileHandle& file) override;
    Status DeleteFile(std::string_view path) override;
    Status CreateDirectory(std::string_view path) override;
    Status RemoveDirectory(std::string_view path) override;
    Status MoveFile(std::string_view from, std::string_view to, std::uint32_t flags) override;
    Status CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
    std::uint32_t GetLogicalDrives() override;
    std::uint32_t GetDriveType(std::string_view root) override;
    Status GetDiskFreeSpace(std::string_view root, std::uint64_t& freeBytes,
                            std::uint64_t& totalBytes) override;
};

}  // namespace brisko::platform::win32
