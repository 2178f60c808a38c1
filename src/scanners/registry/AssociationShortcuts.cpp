#include "scanners/registry/AssociationShortcuts.h"

#include "platform/Text.h"
#include "scan/RegistryPaths.h"
#include "scanners/registry/RegistryText.h"

namespace brisko::scanners {

using namespace platform;

bool IsSkippedShortcutFolder(std::string_view name, std::string_view fullPath, std::string_view desktop) {
    return EqualsNoCase(name, "sendto") || (!desktop.empty() && EqualsNoCase(fullPath, desktop));
}

bool IsExaminedShortcut(std::string_view name, std::string_view fullPath) {
    if (fullPath.find("NetHood") != std::string_view::npos ||
        fullPath.find("Brisko") != std::string_view::npos)
        return false;
    return name.ends_with(".lnk");
}

ShortcutTargetJudge::ShortcutTargetJudge(Shell& shell, FileSystem& files, FileRefChecker& fileRefs)
    : shell_(shell), files_(files), fileRefs_(fileRefs) {}

bool ShortcutTargetJudge::TargetOk(std::string_view shortcutPath) {
    std::string raw;
    if (shell_.GetShortcutTarget(shortcutPath, raw) != kOk) return true;
    std::string program;
    if (!CleanExePath(shell_, raw, program)) return true;
    std::string target;
    std::uint32_t needed = shell_.ExpandEnvironmentStrings(program, scan::kDataBufferLength, target);
    if (needed == 0 || needed > scan::kDataBufferLength) return true;
    std::uint32_t attributes = 0;
    if (files_.GetAttributes(target, attributes) == kOk) return true;
    if (fileRefs_.CheckFileRef(target)) return true;
    // Only a target on a drive path is judged; a missing network path passes.
    std::size_t drive = target.find(":\\");
    return drive == std::string::npos || drive == 0;
}

}  // namespace brisko::scanners
