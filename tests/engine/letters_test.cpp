#include "engine/letters.h"

#include <gtest/gtest.h>

#include <random>

#include "text_helpers.h"

namespace navisaz {
namespace {

// The literal candidate search: from each start, the longest all-number candidate of at least
// two bytes is reversed. Kept here as the reference for the linear implementation.
std::string ReverseNumberRunsByCandidates(std::string text) {
    const std::size_t length = text.size();
    std::size_t i = 1;
    while (i < length) {
        for (std::size_t n = length - i + 1; n >= 2; --n) {
            std::string run = text.substr(i - 1, n);
            if (ReverseIfNumeric(run)) {
                text.replace(i - 1, n, run);
                i += n;
                break;
            }
        }
        ++i;
    }
    return text;
}

TEST(LetterClasses, PersianLettersAndForwardJoiners) {
    const int persian[] = {0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x98, 0xC2, 0xD7, 0xE0, 0xEC, 0xED};
    const int notPersian[] = {0x00, 0x20, 0x41, 0x80, 0x8A, 0x9D, 0xC1, 0xEE, 0xFF};
    for (const int c : persian)
        EXPECT_TRUE(IsPersianLetter(c)) << std::hex << c;
    for (const int c : notPersian)
        EXPECT_FALSE(IsPersianLetter(c)) << std::hex << c;

    const int nonJoiners[] = {0x8E, 0xC2, 0xC4, 0xC7, 0xCF, 0xD0, 0xD1, 0xD2, 0xE6, 0xC1, 0x20};
    const int joiners[] = {0x81, 0x8D, 0x8F, 0x90, 0x98, 0xC3, 0xC5,
                           0xC6, 0xC8, 0xCE, 0xD3, 0xE5, 0xE7, 0xED};
    for (const int c : nonJoiners)
        EXPECT_FALSE(JoinsForward(c)) << std::hex << c;
    for (const int c : joiners)
        EXPECT_TRUE(JoinsForward(c)) << std::hex << c;
}

TEST(ReverseNumberRuns, ReversesRunsOfTwoOrMoreNumberCharacters) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"1390/12/05", "50/21/0931"},
        {"abc 12 def", "abc 21 def"},
        {"a 5 b", "a 5 b"},
        {"12", "21"},
        {"x12", "x21"},
        {"1-23", "1-32"},  // the hyphen breaks the run
        {"3.14,2", "2,41.3"},
        {"1 2", "1 2"},
        {"", ""},
        {"7", "7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReverseNumberRuns(c.in), c.out) << c.in;
    }
}

TEST(ReverseNumberRuns, AgreesWithTheCandidateSearchOnRandomTexts) {
    const std::string alphabet = "0123456789.,/- a\xC7";
    testing::ForRandomTexts<std::string>(alphabet, 24, 3000, 1390, [](const std::string& text) {
        ASSERT_EQ(ReverseNumberRuns(text), ReverseNumberRunsByCandidates(text)) << text;
    });
}

TEST(ReverseIfNumeric, OnlyAllNumberRunsAreReversed) {
    std::string run = "12/3";
    EXPECT_TRUE(ReverseIfNumeric(run));
    EXPECT_EQ(run, "3/21");
    run = "12a";
    EXPECT_FALSE(ReverseIfNumeric(run));
    EXPECT_EQ(run, "12a");
    run = "";
    EXPECT_TRUE(ReverseIfNumeric(run));
    EXPECT_EQ(run, "");
}

}  // namespace
}  // namespace navisaz
