#include "platform/sim/SimPath.h"

#include "platform/Text.h"

namespace brisko::platform::sim {

std::string WindowsPath::Text() const {
    std::string text{drive, ':'};
    if (names.empty()) return text + '\\';
    for (const std::string& name : names) {
        text += '\\';
        text += name;
    }
    return text;
}

std::string WindowsPath::Key() const {
    std::string key = Text();  // the drive letter folds with the rest
    for (char& c : key)
        c = FoldChar(c);
    return key;
}

bool ParseWindowsPath(std::string_view text, WindowsPath& path) {
    if (text.size() < 2 || text[1] != ':') return false;
    char letter = FoldChar(text[0]);
    if (letter < 'A' || letter > 'Z') return false;
    WindowsPath parsed;
    parsed.drive = text[0];
    std::string_view rest = text.substr(2);
    if (!rest.empty() && rest[0] != '\\' && rest[0] != '/') return false;  // "C:name" is relative
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = rest.size();
        std::string_view name = rest.substr(start, end - start);
        if (name == "..") {
            if (!parsed.names.empty()) parsed.names.pop_back();
        } else if (name != "." && !name.empty()) {
            std::size_t keep = name.find_last_not_of(". ");
            if (keep != std::string_view::npos) parsed.names.emplace_back(name.substr(0, keep + 1));
        }
        start = end + 1;
    }
    parsed.trailingSlash = rest.size() > 1 && (rest.back() == '\\' || rest.back() == '/');
    path = std::move(parsed);
    return true;
}

std::string PathKey(std::string_view text) {
    WindowsPath path;
    return ParseWindowsPath(text, path) ? path.Key() : std::string();
}

bool KeyIsWithin(std::string_view key, std::string_view folder) {
    if (!key.starts_with(folder)) return false;
    if (key.size() == folder.size()) return true;
    return folder.back() == '\\' || key[folder.size()] == '\\';
}

}  // namespace brisko::platform::sim
