#include "platform/PathText.h"

#include <cstdint>
#include <vector>

#include "platform/Shell.h"
#include "platform/Text.h"

namespace brisko::platform::pathtext {

bool IsRelative(std::string_view path) {
    if (path.empty()) return true;
    if (path[0] == '\\') return false;
    return !(path.size() >= 2 && path[1] == ':');
}

bool IsRoot(std::string_view path) {
    if (path.empty()) return false;
    if (path[0] == '\\') {
        if (path.size() == 1) return true;
        if (path[1] != '\\') return false;
        // "\\server" or "\\server\share": one more backslash at most.
        bool seenSlash = false;
        for (char c : path.substr(2)) {
            if (c != '\\') continue;
            if (seenSlash) return false;
            seenSlash = true;
        }
        return true;
    }
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

std::size_t FindExtension(std::string_view path) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == ' ') {
            dot = std::string_view::npos;
        } else if (path[i] == '.') {
            dot = i;
        }
    }
    return dot == std::string_view::npos ? path.size() : dot;
}

bool RenameExtension(std::string& path, std::string_view ext) {
    std::size_t at = FindExtension(path);
    if (at + ext.size() >= kMaxPath) return false;
    path.replace(at, std::string::npos, ext);
    return true;
}

bool HasWildcards(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

namespace {

// The pattern after the translation that FindFirstFileA applies before the file system sees it.
enum class Op : std::uint8_t { kChar, kStar, kDosStar, kDosQm, kDosDot };

struct Token {
    Op op;
    char c;
};

std::vector<Token> Translate(std::string_view pattern) {
    std::vector<Token> tokens;
    tokens.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '?') {
            tokens.push_back({Op::kDosQm, c});
        } else if (c == '*') {
            tokens.push_back({next == '.' ? Op::kDosStar : Op::kStar, c});
        } else if (c == '.' && (next == '?' || next == '*' || next == '\0')) {
            tokens.push_back({Op::kDosDot, c});
        } else {
            tokens.push_back({Op::kChar, FoldChar(c)});
        }
    }
    return tokens;
}

class Matcher {
public:
    Matcher(const std::vector<Token>& tokens, std::string_view name)
        : tokens_(tokens),
          name_(name),
          lastDot_(name.rfind('.')),
          memo_((tokens.size() + 1) * (name.size() + 1), kUnknown) {}

    bool Match(std::size_t t, std::size_t n) {
        std::int8_t& known = memo_[t * (name_.size() + 1) + n];
        if (known == kUnknown) known = Compute(t, n) ? 1 : 0;
        return known == 1;
    }

private:
    static constexpr std::int8_t kUnknown = -1;

    bool Compute(std::size_t t, std::size_t n) {
        bool atEnd = n == name_.size();
        if (t == tokens_.size()) return atEnd;
        const Token& token = tokens_[t];
        switch (token.op) {
            case Op::kChar:
                return !atEnd && FoldChar(name_[n]) == token.c && Match(t + 1, n + 1);
            case Op::kStar:
                return Match(t + 1, n) || (!atEnd && Match(t, n + 1));
            case Op::kDosStar:
                // Eats characters up to, but never past, the last dot of the name.
                return Match(t + 1, n) || (!atEnd && n != lastDot_ && Match(t, n + 1));
            case Op::kDosQm:
                if (atEnd || name_[n] == '.') return Match(t + 1, n);
                return Match(t + 1, n + 1);
            case Op::kDosDot:
                if (atEnd) return Match(t + 1, n);
                return name_[n] == '.' && Match(t + 1, n + 1);
        }
        return false;
    }

    const std::vector<Token>& tokens_;
    std::string_view name_;
    std::size_t lastDot_;
    std::vector<std::int8_t> memo_;
};

}  // namespace

bool MatchWildcard(std::string_view pattern, std::string_view name) {
    if (pattern == "*" || pattern == "*.*") return true;
    std::vector<Token> tokens = Translate(pattern);
    return Matcher(tokens, name).Match(0, 0);
}

}  // namespace brisko::platform::pathtext
