#include "engine/shiraz2_decoder.h"

#include <gtest/gtest.h>

#include "engine/codepage.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

using testing::Bytes;
using testing::Cp1256;
using testing::HexOf;

TEST(Shiraz2ToWindows, DecodesStoredVisualOrder) {
    struct Case {
        const char* name;
        std::u16string stored;
        std::string windows;
    };
    const CodePage arabic = CodePage::Windows1256;
    const Case cases[] = {
        {"alef drawn left of beh", u"\u0061\u006C", Cp1256("با")},
        {"digits on capitals", u"QR", "12"},
        {"number inside words", WidenBytes(arabic, Bytes({0x6A, 0x20, 0x51, 0x52, 0x20, 0x61})),
         Cp1256("ا 12 ب")},
        {"lam alef", WidenBytes(arabic, Bytes({0xFC})), Cp1256("لا")},
        {"escape decoded before reversal", u"%%066", "B"},
        {"escape with digit codes around", u"P%%066Q", "1B0"},
        {"punctuation", u"ANE", "%.!"},
        {"no entry keeps low byte", u"Z\u4E5B", Bytes({0x5B, 'Z'})},
        {"empty", u"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexOf(Shiraz2ToWindows(c.stored)), HexOf(c.windows)) << c.name;
    }
}

TEST(Shiraz2ToWindows, WesternCodePageGivesTheSameLetters) {
    const std::string glyphs = Bytes({0x8D, 0x91, 0x9F, 0xB0, 0xC7, 0xFA});
    EXPECT_EQ(Shiraz2ToWindows(WidenBytes(CodePage::Windows1252, glyphs)),
              Shiraz2ToWindows(WidenBytes(CodePage::Windows1256, glyphs)));
}

TEST(ReverseWide, ReversesCodeUnits) {
    EXPECT_EQ(ReverseWide(u"abc"), u"cba");
    EXPECT_EQ(ReverseWide(u""), u"");
}

}  // namespace
}  // namespace navisaz
