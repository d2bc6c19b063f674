#include "engine/naskh_encoder.h"

#include <gtest/gtest.h>

#include "text_helpers.h"

namespace navisaz {
namespace {

using testing::Bytes;
using testing::Cp1256;
using testing::HexOf;

struct EncodeCase {
    const char* name;
    std::string input;
    std::string glyphs;
};

TEST(WindowsToNaskh, WorkedExamplesAndContexts) {
    const EncodeCase cases[] = {
        {"salaam", Cp1256("سلام"), Bytes({0x73, 0xEC, 0xA5})},
        {"lam alef alone", Cp1256("لا"), Bytes({0xED})},
        {"ketaab", Cp1256("کتاب"), Bytes({0x3A, 0x9D, 0x97, 0x93})},
        {"sobh, final heh as escape", Cp1256("صبح"), Bytes({0x77, 0x91}) + "%%176"},
        {"date run reversed", "1390/12/05", "50/21/0931"},
        {"zwnj becomes space", Bytes({0xE3, 0xED, 0x9D, 0xD1, 0xE6, 0xE3}),
         Bytes({0x6C, 0x8C, 0x20, 0x76, 0x2C, 0xA5})},
        {"empty", "", ""},
        {"one letter is isolated", Cp1256("ب"), Bytes({0x93})},
        {"after alef no join", Cp1256("اب"), Bytes({0x68, 0x93})},
        {"letter before space is final", Cp1256("بب ب"), Bytes({0x66, 0x92, 0x20, 0x93})},
        {"letter before digit", Cp1256("بب1"), Bytes({0x66, 0x92, 0x31})},
        {"letter before latin", Cp1256("ببx"), Bytes({0x66, 0x92, 'x'})},
        {"letter after latin takes initial", Cp1256("xبب"), Bytes({'x', 0x66, 0x92})},
        {"hamza is not a following letter", Cp1256("بء"), Bytes({0x93, 0xA7})},
        {"lam alef after joiner", Cp1256("بلا"), Bytes({0x66, 0xEC})},
        {"lam alef at end after joiner", Cp1256("بلاب"), Bytes({0x66, 0xEC, 0x93})},
        {"lam before other letter", Cp1256("لب"), Bytes({0x67, 0x92})},
        {"isolated heh as escape", Cp1256("ح"), "%%177"},
        {"degree sign", Bytes({0xB0}), "%%176"},
        {"plus minus", Bytes({0xB1}), Bytes({0x80})},
        {"parentheses swap", "(1)", ")1("},
        {"punctuation", "!$%,:", Bytes({0x21, 0x24, 0x25, 0x26, 0x5E})},
        {"division", Bytes({0xF7}), Bytes({0x23})},
        {"alef madda keeps its code everywhere", Cp1256("آ بآ"), Bytes({0x48, 0x20, 0x66, 0x48})},
        {"tatweel keeps its code everywhere", Cp1256("بـ ـ"), Bytes({0x66, 0x5F, 0x20, 0x5F})},
        {"yeh initial medial final isolated", Cp1256("ييي ي"),
         Bytes({0x64, 0x8B, 0x8C, 0x20, 0x8D})},
        {"arabic kaf like keheh", Cp1256("كك"), Bytes({0x3A, 0xDD})},
        {"yeh with hamza initial", Cp1256("ئب"), Bytes({0x6D, 0x92})},
        {"unknown bytes pass", Bytes({0xC3, 0xC5, 0xC9, 0x9E, 0x0D}),
         Bytes({0xC3, 0xC5, 0xC9, 0x9E, 0x0D})},
        {"lone digit and number at end", "a 5 b 12", "a 5 b 21"},
    };
    for (const EncodeCase& c : cases) {
        EXPECT_EQ(HexOf(WindowsToNaskh(c.input)), HexOf(c.glyphs)) << c.name;
    }
}

TEST(WindowsToNaskh, EveryTableLetterInItsFourColumns) {
    struct Row {
        int byte, initial, medial, final, isolated;
    };
    const Row rows[] = {
        {0x81, 0x7E, 0xD9, 0xDA, 0xDB}, {0x8E, 0x7C, 0xD3, 0xD4, 0xD5},
        {0x90, 0x27, 0xDF, 0xE0, 0xE1}, {0xC4, 0x3C, 0xE8, 0xE9, 0xEA},
        {0xCF, 0x6E, 0xA9, 0xAA, 0xAB}, {0xD4, 0x61, 0x82, 0x83, 0x84},
        {0xE5, 0x69, 0x9A, 0x9B, 0x9C}, {0xE6, 0x2C, 0xE2, 0xE3, 0xE4},
    };
    // ب joins forward and is a letter, so it sets up each context around the tested byte.
    const char beh = static_cast<char>(0xC8);
    for (const Row& r : rows) {
        const char c = static_cast<char>(r.byte);
        // initial: nothing joins from before, a letter follows
        EXPECT_EQ(static_cast<unsigned char>(WindowsToNaskh(std::string{c, beh})[0]), r.initial);
        // medial and final after a joining ب
        EXPECT_EQ(static_cast<unsigned char>(WindowsToNaskh(std::string{beh, c, beh})[1]),
                  r.medial);
        EXPECT_EQ(static_cast<unsigned char>(WindowsToNaskh(std::string{beh, c})[1]), r.final);
        EXPECT_EQ(static_cast<unsigned char>(WindowsToNaskh(std::string{c})[0]), r.isolated);
    }
}

TEST(NaskhTables, LookupsAndSingleForms) {
    EXPECT_EQ(NaskhTableB(0xC8), 0x66);
    EXPECT_EQ(NaskhTableA(0xC8), 0x91);
    EXPECT_EQ(NaskhTableA(0x28), 0x29);
    EXPECT_EQ(NaskhTableA('q'), 'q');
    EXPECT_TRUE(IsSingleFormCode(0x80));
    EXPECT_TRUE(IsSingleFormCode(0x22));
    EXPECT_FALSE(IsSingleFormCode(0x48));
}

}  // namespace
}  // namespace navisaz
