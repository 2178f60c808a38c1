// The shell service on the real system: SHGetFolderPathA, the environment and the shlwapi Path tests.
#pragma once

#include "platform/Shell.h"

namespace brisko::platform::win32 {

class Win32Shell final : public Shell {
public:
    Status GetFolderPath(int csidl, bool create, std::string& path) override;
    bool GetEnvironmentVariable(std::string_view name, std::string& value) override;
    std::uint32_t ExpandEnvironmentStrings(std::string_view text, std::uint32_t capacity,
                                           std::string& out) override;
    bool PathFileExists(std::string_view path) override;
    bool PathIsDirectory(std::string_view path) override;
    bool PathIsRelative(std::string_view path) override;
    bool PathIsRoot(std::string_view path) override;
    bool PathFindOnPath(std::string& path, const std::vector<std::string>* otherDirs) override;
    bool PathRenameExtension(std::string& path, std::string_view ext) override;
    Status GetShortcutTarget(std::string_view path, std::string& target) override;
};

}  // namespace brisko::platform::win32
