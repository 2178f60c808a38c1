// The rules of the shortcut walk: which entries it passes over, and when a shortcut's target counts as
// missing.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "scanners/registry/FileRefChecker.h"

namespace brisko::scanners {

// A folder the walk does not enter: any folder named SendTo (its shortcuts are the shell's own menu
// entries) and the user's desktop folder (`desktop`, empty when unknown), both without regard to case.
bool IsSkippedShortcutFolder(std::string_view name, std::string_view fullPath, std::string_view desktop);

// A file whose target is examined: its name ends in ".lnk" exactly, and its path holds neither "NetHood"
// (network places) nor the product's own name.
bool IsExaminedShortcut(std::string_view name, std::string_view fullPath);

// Decides whether a shortcut's target is missing. Doubt passes: a shortcut that cannot be read, names no
// file-system path or points off the fixed drives is never judged missing.
class ShortcutTargetJudge {
public:
    ShortcutTargetJudge(platform::Shell& shell, platform::FileSystem& files, FileRefChecker& fileRefs);

    // False only when the shortcut's target is judged missing.
    bool TargetOk(std::string_view shortcutPath);

private:
    platform::Shell& shell_;
    platform::FileSystem& files_;
    FileRefChecker& fileRefs_;
};

}  // namespace brisko::scanners
