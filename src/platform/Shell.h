// The shell service: known folders, environment expansion and the shlwapi Path tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace brisko::platform {

// CSIDL folder identifiers.
inline constexpr int kCsidlDesktop = 0x0000;
inline constexpr int kCsidlPrograms = 0x0002;
inline constexpr int kCsidlPersonal = 0x0005;
inline constexpr int kCsidlFavorites = 0x0006;
inline constexpr int kCsidlStartup = 0x0007;
inline constexpr int kCsidlRecent = 0x0008;
inline constexpr int kCsidlSendTo = 0x0009;
inline constexpr int kCsidlBitBucket = 0x000a;
inline constexpr int kCsidlStartMenu = 0x000b;
inline constexpr int kCsidlDesktopDirectory = 0x0010;
inline constexpr int kCsidlFonts = 0x0014;
inline constexpr int kCsidlTemplates = 0x0015;
inline constexpr int kCsidlCommonStartMenu = 0x0016;
inline constexpr int kCsidlCommonPrograms = 0x0017;
inline constexpr int kCsidlCommonStartup = 0x0018;
inline constexpr int kCsidlCommonDesktopDirectory = 0x0019;
inline constexpr int kCsidlAppData = 0x001a;
inline constexpr int kCsidlLocalAppData = 0x001c;
inline constexpr int kCsidlInternetCache = 0x0020;
inline constexpr int kCsidlCookies = 0x0021;
inline constexpr int kCsidlHistory = 0x0022;
inline constexpr int kCsidlCommonAppData = 0x0023;
inline constexpr int kCsidlWindows = 0x0024;
inline constexpr int kCsidlSystem = 0x0025;
inline constexpr int kCsidlProgramFiles = 0x0026;
inline constexpr int kCsidlMyPictures = 0x0027;
inline constexpr int kCsidlProfile = 0x0028;
inline constexpr int kCsidlProgramFilesCommon = 0x002b;
inline constexpr int kCsidlCommonDocuments = 0x002e;
inline constexpr int kCsidlFlagCreate = 0x8000;

// MAX_PATH: the Path functions work in buffers of this many characters, terminating zero included.
inline constexpr std::size_t kMaxPath = 260;

class Shell {
public:
    virtual ~Shell() = default;

    // SHGetFolderPathA for the current user; `create` adds CSIDL_FLAG_CREATE. kFileNotFound when the
    // system has no such folder (or it is missing and not to be created).
    virtual Status GetFolderPath(int csidl, bool create, std::string& path) = 0;
    // GetEnvironmentVariableA.
    virtual bool GetEnvironmentVariable(std::string_view name, std::string& value) = 0;
    // ExpandEnvironmentStringsA into a buffer of `capacity` characters. Returns the characters the
    // expansion needs, terminating zero included; `out` is set only when that fits. Unknown variables
    // stay as written.
    virtual std::uint32_t ExpandEnvironmentStrings(std::string_view text, std::uint32_t capacity,
                                                   std::string& out) = 0;

    virtual bool PathFileExists(std::string_view path) = 0;
    virtual bool PathIsDirectory(std::string_view path) = 0;
    virtual bool PathIsRelative(std::string_view path) = 0;
    virtual bool PathIsRoot(std::string_view path) = 0;
    // PathFindOnPathA: looks for a file name in `otherDirs` (may be null), the system folders and the
    // folders of PATH; on success `path` becomes the full path found.
    virtual bool PathFindOnPath(std::string& path, const std::vector<std::string>* otherDirs) = 0;
    // PathRenameExtensionA: replaces or appends the extension (ext starts with "."); false, with `path`
    // unchanged, when the result would not fit in MAX_PATH.
    virtual bool PathRenameExtension(std::string& path, std::string_view ext) = 0;

    // File associations and shortcuts.
    // The target path of a shortcut (.lnk) file as the shell link object's GetPath answers with
    // SLGP_RAWPATH: environment variables are left unexpanded. kFileNotFound when the shortcut names no
    // file-system path (such as a shell namespace item); another failure status when the file cannot be
    // read or is not a shortcut. `target` is set only on success.
    virtual Status GetShortcutTarget(std::string_view path, std::string& target) = 0;
};

}  // namespace brisko::platform
