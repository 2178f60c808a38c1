// Windows paths as the simulated file system reads them: a drive letter, then names separated by
// backslashes (or slashes, which Windows accepts too), with "." and ".." folded away and the trailing
// dots and spaces of each name dropped, as GetFullPathNameA does.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::platform::sim {

// A parsed path kept in two flat strings, so that parsing into the same object again allocates nothing
// once its strings have grown: every existence test goes through here.
struct PathParts {
    char drive = 0;  // as written
    // The folded path, used as a key: "C:\WINDOWS\SYSTEM32", or "C:\" for a root. Folding keeps lengths,
    // so each name sits at the same place here as in `names`, two characters further on.
    std::string key;
    // The names as written, each after a '/', ready to append to a host folder: "/Windows/System32";
    // empty for a root.
    std::string names;
    bool trailingSlash = false;  // written with a backslash after the last name

    bool IsRoot() const { return names.empty(); }
    // The last name as written, and folded.
    std::string_view Leaf() const;
    std::string_view FoldedLeaf() const;
    // A name holds a character that Windows never allows in one.
    bool HasInvalidCharacters() const;
};

// False for anything but an absolute path on a drive ("C:", "C:\..."): the simulated machine has no
// current directory and no network. `parts` is left alone on failure.
bool ParseWindowsPath(std::string_view text, PathParts& parts);

struct WindowsPath {
    char drive = 0;                  // as written
    std::vector<std::string> names;  // below the root; empty for the root itself
    bool trailingSlash = false;      // written with a backslash after the last name

    // "C:\A\b" as written (case kept), and the same folded for use as a key.
    std::string Text() const;
    std::string Key() const;
};

bool ParseWindowsPath(std::string_view text, WindowsPath& path);

// The folded key of a path given as text, or empty when the text is not an absolute drive path.
std::string PathKey(std::string_view text);

// True when `key` is `folder` or lies below it (both folded keys).
bool KeyIsWithin(std::string_view key, std::string_view folder);

// Lets maps keyed by std::string be searched with a string_view, without building a string.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

}  // namespace brisko::platform::sim
