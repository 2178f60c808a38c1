// Decides whether a text found in the registry names a file, folder or program that exists. Doubt always
// counts as existing: an entry is only reported when its text plainly names something missing on a
// fixed drive.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace brisko::scanners {

class FileRefChecker {
public:
    FileRefChecker(platform::Shell& shell, platform::FileSystem& files);

    // True when the text refers to something that exists or cannot be judged; false when it names a
    // missing file or folder.
    bool CheckFileRef(std::string_view text);
    // The step of CheckFileRef's rules that decided its last answer (1 to 21), for tests and diagnosis.
    int LastStep() const { return lastStep_; }
    // One token of a text that CheckFileRef could not judge whole. `searchDirs` are extra folders for the
    // search path (null: none).
    bool CheckPathToken(std::string_view token, const std::vector<std::string>* searchDirs);
    // False for a letter among C: to Z: whose drive is not a fixed disk (removable, optical, network or
    // missing): what lies there comes and goes, so it is never judged.
    bool IsJudgeableDrive(char driveLetter);

private:
    bool Decide(bool verdict, int step) {
        lastStep_ = step;
        return verdict;
    }
    int lastStep_ = 0;
    // The Windows and system folders, upper case; read on first use and kept, since they do not change
    // while the program runs. A folder the system cannot name is left out.
    const std::vector<std::string>& SystemFolders();
    bool ExistsOrOnPath(const std::string& path, const std::vector<std::string>* searchDirs);

    platform::Shell& shell_;
    platform::FileSystem& files_;
    // "c:\" to "z:\": the drives whose type decides whether a path is judged.
    std::array<std::string, 24> driveRoots_;
    std::optional<std::vector<std::string>> systemFolders_;
};

}  // namespace brisko::scanners
