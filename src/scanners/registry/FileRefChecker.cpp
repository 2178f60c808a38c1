#include "scanners/registry/FileRefChecker.h"

#include <initializer_list>

#include "platform/PathText.h"
#include "scanners/registry/RegistryText.h"

namespace brisko::scanners {

using namespace platform;

namespace {

// The extension markers that end a program or resource name: the text is cut right after the extension
// when one of the spellings follows a first character. `lowered` is the spelling looked for once the
// text is lower case.
struct NameEnd {
    std::initializer_list<std::string_view> spellings;
    std::string_view lowered;
};

void CutAfterNameEnd(std::string& text, const NameEnd& end) {
    bool found = false;
    for (std::string_view spelling : end.spellings) {
        std::size_t at = text.find(spelling);
        found = found || (at != std::string::npos && at > 0);
    }
    if (!found) return;
    ToLowerAscii(text);
    text.resize(text.find(end.lowered) + 4);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

FileRefChecker::FileRefChecker(Shell& shell, FileSystem& files) : shell_(shell), files_(files) {
    for (std::size_t i = 0; i < driveRoots_.size(); ++i) {
        driveRoots_[i] = {static_cast<char>('c' + i), ':', '\\'};
    }
}

bool FileRefChecker::CheckFileRef(std::string_view input) {
    if (input.empty()) return Decide(true, 1);
    std::string s(input);

    // Arguments, resource paths and icon indexes after a program or library name go.
    CutAfterNameEnd(s, {{".dll\\", ".Dll\\", ".DLL\\"}, ".dll\\"});
    CutAfterNameEnd(s, {{".exe\\", ".Exe\\", ".EXE\\"}, ".exe\\"});
    CutAfterNameEnd(s, {{".exe ", ".Exe ", ".EXE "}, ".exe "});
    CutAfterNameEnd(s, {{".ico,", ".Ico,", ".ICO,"}, ".ico,"});
    if (std::size_t at = s.find("^."); at != std::string::npos && at > 0) {
        ToLowerAscii(s);
        s.resize(at);
    }
    // A variable left unexpanded inside the path: only the part before it can be judged.
    if (std::size_t at = s.find('%'); at != std::string::npos && at > 3) {
        ToLowerAscii(s);
        s.resize(at);
    }
    if (s.find("file://") != std::string::npos) s.erase(0, 7);
    if (s.find('@') != std::string::npos) s.erase(0, 1);
    ToLowerAscii(s);
    if (s.find("rundll") != std::string::npos) return Decide(true, 10);
    if (std::size_t at = s.find(":\\"); at != std::string::npos && at > 1) s.erase(0, at - 1);

    // Nothing left names nothing; a text the Path functions cannot take whole (MAX_PATH) cannot be
    // judged by them either.
    if (s.empty() || s.size() >= kMaxPath) return Decide(true, 11);

    if (std::size_t comma = s.find(','); comma != std::string::npos && comma > 0 &&
                                         !shell_.PathFileExists(std::string_view(s).substr(0, comma))) {
        return Decide(false, 12);
    }
    if (shell_.PathFileExists(s)) return Decide(true, 13);

    std::size_t drive = s.find(":\\");
    char letter = (drive != std::string::npos && drive > 0) ? s[drive - 1] : s[0];
    if (!IsJudgeableDrive(letter)) return Decide(true, 14);

    // Two paths in one text ("X:\a.exe Y:\b.txt"): the first one existing is enough.
    if (drive != std::string::npos) {
        std::size_t second = s.find(":\\", drive + 2);
        std::size_t from = drive > 0 ? drive - 1 : 0;
        if (second != std::string::npos && second - 1 > from &&
            shell_.PathFileExists(std::string_view(s).substr(from, second - 1 - from))) {
            return Decide(true, 15);
        }
    }

    // A plain path that does not exist: missing. Only texts with separators or switches go on.
    if (s.find_first_of("/*?<>|;=,^@\"") == std::string::npos && s.find(" -") == std::string::npos)
        return Decide(false, 16);
    if (s.find_first_of("*?") != std::string::npos) return Decide(true, 17);
    ToUpperAscii(s);
    if (s.find("\\GAC\\") != std::string::npos) return Decide(true, 19);

    std::string_view rest(s);
    constexpr std::string_view kTokenSeparators = "/*?<>|;=,\"";
    while (!rest.empty()) {
        std::size_t end = rest.find_first_of(kTokenSeparators);
        std::string_view token = rest.substr(0, end);
        if (!token.empty() && CheckPathToken(token, nullptr)) return Decide(true, 20);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return Decide(false, 21);
}

bool FileRefChecker::CheckPathToken(std::string_view token, const std::vector<std::string>* searchDirs) {
    while (!token.empty() && IsBlank(token.front()))
        token.remove_prefix(1);
    while (!token.empty() && token.back() == '\\')
        token.remove_suffix(1);
    if (token.empty() || token.front() == '\\' || token.size() >= kMaxPath) return true;
    if (token.find_first_of("/*?<>|") != std::string_view::npos) return true;

    std::string single;
    single.reserve(token.size());
    for (std::size_t i = 0; i < token.size(); ++i) {
        single += token[i];
        if (token[i] == '\\' && i + 1 < token.size() && token[i + 1] == '\\') ++i;
    }
    std::string t;
    std::uint32_t needed = shell_.ExpandEnvironmentStrings(single, kMaxPath + 1, t);
    if (needed == 0 || needed >= kMaxPath) return true;

    if (!shell_.PathIsRelative(t) && shell_.PathFileExists(t)) return true;
    for (const std::string& folder : SystemFolders()) {
        if (t.starts_with(folder)) return true;
    }
    if (shell_.PathIsRoot(t) || ExistsOrOnPath(t, searchDirs)) return true;

    std::size_t colon = t.find(':');
    if (t.find('\\') == std::string::npos || colon == std::string::npos) return true;
    if (std::size_t second = t.find(':', colon + 1); second != std::string::npos) t.resize(second);
    // The cut may leave no folder at all ("AB:C:\x"): nothing left to judge.
    std::size_t lastSlash = t.rfind('\\');
    if (lastSlash == std::string::npos) return true;

    // Try the path cut where its last name ends: before an argument list or a second name, or at its
    // folder. What stands before arguments existing is enough, file or folder alike: a script with a
    // switch is as sound as a folder with one. An existing folder above a missing last name is not.
    for (char separator : {',', ';', ':', '%', ' ', '\\'}) {
        std::size_t at = t.find(separator, lastSlash);
        if (at == std::string::npos || at == 0) continue;
        std::string cut = t.substr(0, at);
        if (ExistsOrOnPath(cut, searchDirs)) return separator != '\\';
        if (pathtext::FindExtension(cut) == cut.size() && shell_.PathRenameExtension(cut, ".exe") &&
            ExistsOrOnPath(cut, searchDirs)) {
            return true;
        }
    }
    return false;
}

bool FileRefChecker::IsJudgeableDrive(char driveLetter) {
    // Drive letters name the same drive in either case.
    char letter =
        (driveLetter >= 'A' && driveLetter <= 'Z') ? static_cast<char>(driveLetter - 'A' + 'a') : driveLetter;
    for (const std::string& root : driveRoots_) {
        if (root[0] == letter) return files_.GetDriveType(root) == kDriveFixed;
    }
    return true;
}

const std::vector<std::string>& FileRefChecker::SystemFolders() {
    if (!systemFolders_) {
        std::vector<std::string> folders;
        for (int csidl : {kCsidlWindows, kCsidlSystem}) {
            std::string path;
            if (shell_.GetFolderPath(csidl, false, path) == kOk && !path.empty()) {
                ToUpperAscii(path);
                folders.push_back(std::move(path));
            }
        }
        systemFolders_ = std::move(folders);
    }
    return *systemFolders_;
}

bool FileRefChecker::ExistsOrOnPath(const std::string& path, const std::vector<std::string>* searchDirs) {
    if (shell_.PathFileExists(path)) return true;
    std::string onPath = path;
    return shell_.PathFindOnPath(onPath, searchDirs);
}

}  // namespace brisko::scanners
