#include "scan/ExclusionMatcher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "scan/ExclusionBuiltins.h"

namespace brisko::scan {
namespace {

bool NaiveContains(const std::vector<std::string>& entries, const std::string& text) {
    std::string folded = platform::FoldCase(text);
    for (const auto& entry : entries) {
        if (!entry.empty() && folded.find(platform::FoldCase(entry)) != std::string::npos) return true;
    }
    return false;
}

// The automaton must answer exactly as testing each entry in turn would, also for entries that are
// suffixes, prefixes and overlaps of each other, as the built-in lists are full of.
TEST(ExclusionMatcher, AnswersAsASearchForEachEntryWould) {
    std::vector<std::string> entries;
    for (auto list : {BuiltinKeyEntries(), BuiltinMatchEntries(), BuiltinValueEntries()}) {
        entries.insert(entries.end(), list.begin(), list.end());
    }
    ExclusionMatcher matcher;
    for (const auto& entry : entries)
        matcher.Add(entry, 1);
    matcher.Build();

    // Texts made of pieces of entries and of words that occur in none, in mixed case.
    std::mt19937 random(20240611);
    const char* words[] = {"\\", "/", "Software", "HKEY_", "{", "-", "App", "|", ".", "x", "C:\\", "Micro"};
    int found = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        int pieces = 1 + static_cast<int>(random() % 6);
        for (int p = 0; p < pieces; ++p) {
            if (random() % 2) {
                const std::string& entry = entries[random() % entries.size()];
                std::size_t from = random() % (entry.size() + 1);
                text += entry.substr(from, random() % (entry.size() - from + 1));
            } else {
                text += words[random() % std::size(words)];
            }
        }
        for (char& c : text) {
            if (random() % 3 == 0) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        bool expected = NaiveContains(entries, text);
        found += expected;
        ASSERT_EQ(matcher.Contains({text}, 1), expected) << text;
        // Split anywhere, the pieces read as one text.
        std::size_t split = random() % (text.size() + 1);
        ASSERT_EQ(matcher.Contains({text.substr(0, split), text.substr(split)}, 1), expected) << text;
    }
    // Both answers were exercised.
    EXPECT_GT(found, 100);
    EXPECT_LT(found, 3900);
}

TEST(ExclusionMatcher, AsksOnlyForTheKindsWanted) {
    ExclusionMatcher matcher;
    matcher.Add("abc", 1);
    matcher.Add("bcd", 2);
    matcher.Add("", 4);
    matcher.Build();
    EXPECT_TRUE(matcher.Contains({"xxABCDxx"}, 1));
    EXPECT_TRUE(matcher.Contains({"xxABCDxx"}, 2));
    EXPECT_FALSE(matcher.Contains({"xxABCxx"}, 2));
    EXPECT_FALSE(matcher.Contains({"anything"}, 4));
    EXPECT_FALSE(matcher.Contains({""}, 7));
}

}  // namespace
}  // namespace brisko::scan
