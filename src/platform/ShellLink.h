// Shortcut (.lnk) files in the shell link binary format: a reader that finds the target path a shortcut
// holds, and a writer of the same format for tests and the simulated machine. Portable: both work on
// bytes only. Texts are UTF-8, the program's ANSI code page.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Status.h"

namespace brisko::platform::shelllink {

// What a shortcut holds that the program uses. Empty texts are absent parts.
struct ShellLinkData {
    // The link-info target: a path on a local volume, or a network share, each with a suffix appended.
    std::string localBasePath;
    std::string netName;
    std::string commonPathSuffix;
    // The string data, in file order.
    std::string name;
    std::string relativePath;
    std::string workingDir;
    std::string arguments;
    std::string iconLocation;
    // The target as written with environment variables (such as %SystemRoot%\notepad.exe), unexpanded.
    std::string environmentTarget;
    bool hasIdList = false;
};

// Reads a whole shortcut file. kInvalidData, with `out` unchanged, when the bytes are not a shortcut or
// any part of them runs outside the buffer.
Status ParseShellLink(std::span<const std::uint8_t> bytes, ShellLinkData& out);

// The target path as the shell link object's GetPath answers with SLGP_RAWPATH: the environment form
// when the shortcut has one (left unexpanded), else the link-info path. kFileNotFound, with `path`
// unchanged, when the shortcut names no file-system path (such as one to a shell namespace item).
Status RawTargetPath(const ShellLinkData& link, std::string& path);

// ParseShellLink followed by RawTargetPath.
Status ReadRawTargetPath(std::span<const std::uint8_t> bytes, std::string& path);

// Writes a shortcut holding `link`. With `unicode`, the string data is UTF-16 (as the shell writes it);
// otherwise ANSI. An ID list, when asked for, is a minimal one that names nothing.
std::vector<std::uint8_t> WriteShellLink(const ShellLinkData& link, bool unicode = true);

}  // namespace brisko::platform::shelllink
