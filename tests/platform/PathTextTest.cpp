#include "platform/PathText.h"

#include <gtest/gtest.h>

namespace brisko::platform::pathtext {
namespace {

struct WildcardCase {
    const char* pattern;
    const char* name;
    bool matches;
};

// The rules Windows applies after translating "?", "*" before a dot and a dot before a wildcard into
// their DOS forms.
TEST(PathTextWildcard, MatchesAsWindowsReadsPatterns) {
    const WildcardCase cases[] = {
        {"*", "anything.at.all", true},
        {"*.*", "noext", true},
        {"*.*", ".", true},
        {"*.txt", "A.TXT", true},
        {"*.txt", "a.txt.bak", false},
        {"*.txt", "a.b.txt", true},
        {"*.", "noext", true},
        {"*.", "a.txt", false},
        {"*.", "..", true},
        {"a.txt?", "a.txt", true},  // "?" at the end may match nothing
        {"a?.txt", "a.txt", true},  // ...and before a dot
        {"a?.txt", "ab.txt", true},
        {"a?.txt", "abc.txt", false},
        {"a?txt", "a.txt", false},  // but never the dot itself
        {"??", "..", false},
        {"?b", "Ab", true},
        {"name.*", "name", true},  // ".*" matches the end of a name without a dot
        {"name.", "name", true},
        {"x.*", "x.y.z", true},
        {"x*z", "x.y.z", true},
        {"*.z", "x.y.z", true},
        {"*x", "file.txtx", true},
        {"*.t?t", "a.txt", true},
        {"*.t?t", "a.tt", false},
        {"abc", "ABC", true},
        {"abc", "abcd", false},
        {"*a*b*", "xxaxxbxx", true},
        {"*a*b*", "xxbxxaxx", false},
    };
    for (const WildcardCase& c : cases) {
        EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.matches) << c.pattern << " against " << c.name;
    }
}

TEST(PathTextWildcard, LongPatternsStayFast) {
    std::string name(200, 'a');
    EXPECT_FALSE(MatchWildcard("*a*a*a*a*a*a*a*a*a*a*b", name));
}

TEST(PathTextExtension, EndsAtBackslashOrSpace) {
    EXPECT_EQ(FindExtension("C:\\a.b\\c"), 8u);
    EXPECT_EQ(FindExtension("a.b c"), 5u);
    EXPECT_EQ(FindExtension("a.b.c"), 3u);
    EXPECT_EQ(FindExtension(""), 0u);
}

}  // namespace
}  // namespace brisko::platform::pathtext
