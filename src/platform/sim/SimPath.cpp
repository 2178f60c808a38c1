#include "platform/sim/SimPath.h"

#include <cstdint>

#include "platform/Text.h"

namespace brisko::platform::sim {

std::string_view PathParts::Leaf() const {
    std::string_view all(names);
    return all.substr(all.rfind('/') + 1);
}

std::string_view PathParts::FoldedLeaf() const {
    std::string_view all(key);
    return all.substr(all.rfind('\\') + 1);
}

bool PathParts::HasInvalidCharacters() const {
    // '"', '*', '<', '>' and '?' as bits of one word, '|' apart: a test per character and no branches.
    constexpr std::uint64_t kBelow64 =
        (1ull << '"') | (1ull << '*') | (1ull << '<') | (1ull << '>') | (1ull << '?');
    bool invalid = false;
    for (char c : names) {
        auto code = static_cast<unsigned char>(c);
        invalid |= (code < 64 && ((kBelow64 >> code) & 1)) || c == '|';
    }
    return invalid;
}

bool ParseWindowsPath(std::string_view text, PathParts& parts) {
    if (text.size() < 2 || text[1] != ':') return false;
    char letter = FoldChar(text[0]);
    if (letter < 'A' || letter > 'Z') return false;
    std::string_view rest = text.substr(2);
    auto isSlash = [](char c) { return c == '\\' || c == '/'; };
    if (!rest.empty() && !isSlash(rest[0])) return false;  // "C:name" is relative

    // Nothing can fail from here on. The names go straight into the reused strings, char by char: this
    // runs for every existence test, and the library's searches cost more than the loop on short names.
    parts.drive = text[0];
    parts.key.assign({letter, ':'});
    parts.names.clear();
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !isSlash(rest[end]))
            ++end;
        std::string_view name = rest.substr(start, end - start);
        start = end + 1;
        if (name == "..") {
            std::size_t up = parts.names.rfind('/');
            if (up == std::string::npos) continue;  // above the root is the root
            parts.names.resize(up);
            parts.key.resize(up + 2);
            continue;
        }
        // Trailing dots and spaces go, which also drops "." and names made only of them.
        while (!name.empty() && (name.back() == '.' || name.back() == ' '))
            name.remove_suffix(1);
        if (name.empty()) continue;
        std::size_t at = parts.names.size();
        parts.names.resize(at + 1 + name.size());
        parts.key.resize(at + 3 + name.size());
        parts.names[at] = '/';
        parts.key[at + 2] = '\\';
        for (std::size_t i = 0; i < name.size(); ++i) {
            parts.names[at + 1 + i] = name[i];
            parts.key[at + 3 + i] = FoldChar(name[i]);
        }
    }
    if (parts.names.empty()) parts.key += '\\';
    parts.trailingSlash = rest.size() > 1 && isSlash(rest.back());
    return true;
}

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
    PathParts parts;
    if (!ParseWindowsPath(text, parts)) return false;
    WindowsPath parsed;
    parsed.drive = parts.drive;
    parsed.trailingSlash = parts.trailingSlash;
    std::string_view names(parts.names);
    while (!names.empty()) {
        names.remove_prefix(1);  // the '/' before each name
        std::size_t end = names.find('/');
        parsed.names.emplace_back(names.substr(0, end));
        names = end == std::string_view::npos ? std::string_view() : names.substr(end);
    }
    path = std::move(parsed);
    return true;
}

std::string PathKey(std::string_view text) {
    PathParts parts;
    return ParseWindowsPath(text, parts) ? parts.key : std::string();
}

bool KeyIsWithin(std::string_view key, std::string_view folder) {
    if (!key.starts_with(folder)) return false;
    if (key.size() == folder.size()) return true;
    return folder.back() == '\\' || key[folder.size()] == '\\';
}

}  // namespace brisko::platform::sim
