// The pure text tests of the shlwapi Path functions and the file-name wildcard rules of FindFirstFileA.
// They touch no file system, so the simulation, the engines and the tests share one implementation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brisko::platform::pathtext {

// PathIsRelativeA: false only for a path that starts with a backslash or has a colon as second character.
bool IsRelative(std::string_view path);
// PathIsRootA: "\", "X:\", "\\server" and "\\server\share" (at most one backslash after the server name).
bool IsRoot(std::string_view path);
// PathFindExtensionA: the position of the last dot after the last backslash or space, or the length.
std::size_t FindExtension(std::string_view path);
// PathRenameExtensionA: replaces the extension (or appends `ext`). False, with `path` untouched, when the
// result would not fit in a MAX_PATH buffer.
bool RenameExtension(std::string& path, std::string_view ext);

// FindFirstFileA's name matching, without regard to case. The pattern is read as Windows reads it:
// "?" matches one character, or none at a dot or at the end of the name ("a.txt?" finds "a.txt");
// "*" before a dot stops at the name's last dot, and a dot before a wildcard or at the end also matches
// the end of a name without one ("*." finds names without an extension, "*.*" finds every name).
bool MatchWildcard(std::string_view pattern, std::string_view name);
bool HasWildcards(std::string_view text);

}  // namespace brisko::platform::pathtext
