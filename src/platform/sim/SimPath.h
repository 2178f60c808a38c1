// Windows paths as the simulated file system reads them: a drive letter, then names separated by
// backslashes (or slashes, which Windows accepts too), with "." and ".." folded away and the trailing
// dots and spaces of each name dropped, as GetFullPathNameA does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brisko::platform::sim {

struct WindowsPath {
    char drive = 0;                  // as written
    std::vector<std::string> names;  // below the root; empty for the root itself
    bool trailingSlash = false;      // written with a backslash after the last name

    // "C:\A\b" as written (case kept), and the same folded for use as a key.
    std::string Text() const;
    std::string Key() const;
};

// False for anything but an absolute path on a drive ("C:", "C:\..."): the simulated machine has no
// current directory and no network.
bool ParseWindowsPath(std::string_view text, WindowsPath& path);

// The folded key of a path given as text, or empty when the text is not an absolute drive path.
std::string PathKey(std::string_view text);

// True when `key` is `folder` or lies below it (both folded keys).
bool KeyIsWithin(std::string_view key, std::string_view folder);

}  // namespace brisko::platform::sim
