#include <gtest/gtest.h>

#include "Gbk.h"
#include "net/TextOps.h"

namespace {

using Fields = std::vector<std::string>;

// --------------------------------------------------------------- position

struct PositionCase {
    const char* name;
    std::string text;
    std::string pattern;
    int start;
    int expected;
};

class Position : public ::testing::TestWithParam<PositionCase> {};

TEST_P(Position, FindsFirstOccurrence) {
    const auto& c = GetParam();
    EXPECT_EQ(TextPosition(c.text, c.pattern, c.start), c.expected);
}

const PositionCase kPositions[] = {
    {"AtStart", "Date: x", "Date:", 1, 1},
    {"Later", "X: 1\r\nDate: x", "Date:", 1, 7},
    {"FromStart", "abcabc", "abc", 2, 4},
    {"StartBelowOneIsOne", "abc", "a", -5, 1},
    {"StartAfterLastByte", "abc", "c", 4, -1},
    {"StartOnLastByte", "abc", "c", 3, 3},
    {"CaseCounts", "date: x", "Date:", 1, -1},
    {"EmptyText", "", "a", 1, -1},
    {"EmptyPattern", "abc", "", 1, -1},
    {"CrLf", "ab\r\ncd", "\r\n", 1, 3},
    // 0xB0 0xA1 is one character; 0xA1 0xB0 straddles two and is not found.
    {"NotOnSecondByte", "\xB0\xA1\xB0\xA1", "\xA1\xB0", 1, -1},
    {"OnCharacterBoundary", "a\xB0\xA1\xB0\xA1", "\xB0\xA1", 2, 2},
    {"FromSecondCharacter", "a\xB0\xA1\xB0\xA1", "\xB0\xA1", 4, 4},
    {"AsciiAfterWideCharacter", "\xB0\xA1" "Date:", "Date:", 1, 3},
    // A trailing lead byte ends the search: its byte is never matched.
    {"TrailingLeadByte", "ab\xB0", "\xB0", 1, -1},
    {"PatternLongerThanText", "ab", "abc", 1, -1},
};

INSTANTIATE_TEST_SUITE_P(Texts, Position, ::testing::ValuesIn(kPositions),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ slice

TEST(Slice, CountsBytesAndStaysInside) {
    EXPECT_EQ(TextSlice("abcdef", 2, 3), "bcd");
    EXPECT_EQ(TextSlice("abcdef", 5, 10), "ef");
    EXPECT_EQ(TextSlice("abcdef", 0, 3), "");
    EXPECT_EQ(TextSlice("abcdef", 7, 1), "");
    EXPECT_EQ(TextSlice("abcdef", 1, 0), "");
    EXPECT_EQ(TextSlice("abcdef", 1, -4), "");
    EXPECT_EQ(TextSlice("", 1, 1), "");
    EXPECT_EQ(TextSlice("\xB0\xA1\xB0\xA1", 2, 2), "\xA1\xB0");  // plain bytes
}

// ------------------------------------------------------------------ strip

struct StripCase {
    const char* name;
    std::string text;
    std::string expected;
};

class Strip : public ::testing::TestWithParam<StripCase> {};

TEST_P(Strip, RemovesSpacesAtBothEnds) { EXPECT_EQ(StripSpaces(GetParam().text), GetParam().expected); }

const StripCase kStrips[] = {
    {"Plain", "  a b  ", "a b"},
    {"FullWidth", "\xA1\xA1 a\xA1\xA1", "a"},
    {"OnlySpaces", " \xA1\xA1 ", ""},
    {"Empty", "", ""},
    {"TabsStay", "\ta\t", "\ta\t"},
    {"CrLfStay", " a\r\n", "a\r\n"},
    {"InnerKept", "a  \xA1\xA1  b", "a  \xA1\xA1  b"},
    // B0 A1 followed by A1 ...: the A1 A1 across two characters is no space.
    {"NoSpaceAcrossCharacters", "\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
    {"WideCharacterThenSpace", "\xB0\xA1 ", "\xB0\xA1"},
};

INSTANTIATE_TEST_SUITE_P(Texts, Strip, ::testing::ValuesIn(kStrips),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ split

struct SplitCase {
    const char* name;
    std::string text;
    std::string delimiter;
    Fields expected;
};

class Split : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Split, CutsAtEveryDelimiter) {
    EXPECT_EQ(SplitFields(GetParam().text, GetParam().delimiter), GetParam().expected);
}

const SplitCase kSplits[] = {
    {"ImfFixdate", "Sun, 06 Nov 1994 08:49:37 GMT", " ", {"Sun,", "06", "Nov", "1994", "08:49:37", "GMT"}},
    {"DoubleDelimiterGivesEmpty", "a  b", " ", {"a", "", "b"}},
    {"LeadingDelimiter", " a", " ", {"", "a"}},
    {"TrailingDelimiterAddsNone", "a b ", " ", {"a", "b"}},
    {"EmptyText", "", " ", {}},
    {"OnlyDelimiter", " ", " ", {""}},
    {"NoDelimiter", "abc", " ", {"abc"}},
    {"MultiByteDelimiter", "a\r\nb", "\r\n", {"a", "b"}},
    {"AsctimeLayout", "Sun Nov  6 08:49:37 1994", " ", {"Sun", "Nov", "", "6", "08:49:37", "1994"}},
    // The delimiter A1 B0 inside B0 A1 B0 A1 is not a character of its own.
    {"SkipsSecondBytes", "\xB0\xA1\xB0\xA1", "\xA1\xB0", {"\xB0\xA1\xB0\xA1"}},
    {"WideDelimiter", "a\xA1\xA1" "b", "\xA1\xA1", {"a", "b"}},
};

INSTANTIATE_TEST_SUITE_P(Texts, Split, ::testing::ValuesIn(kSplits),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
