#include "engine/naskh_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/codepage.h"
#include "engine/platform_integer.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

using testing::Bytes;
using testing::Cp1256;
using testing::HexOf;
using testing::Utf16;

// The escape rule as stated: replace the first "%%" escape and search again from the start.
std::u16string DecodePercentCodesBySearch(std::u16string text) {
    for (;;) {
        const std::size_t p = text.find(u"%%");
        if (p == std::u16string::npos) {
            return text;
        }
        const std::size_t available = std::min<std::size_t>(3, text.size() - p - 2);
        bool replaced = false;
        for (std::size_t k = available; k >= 1 && !replaced; --k) {
            if (const auto v = ParsePlatformInteger(text.substr(p + 2, k), IntegerWidth::Bits32)) {
                text.replace(p, 2 + k, 1, static_cast<char16_t>(*v & 0xFFFF));
                replaced = true;
            }
        }
        if (!replaced) {
            text.replace(p, 2, 1, u' ');
        }
    }
}

TEST(DecodePercentCodes, Examples) {
    struct Case {
        std::u16string in;
        std::u16string out;
    };
    const Case cases[] = {
        {u"%%176", u"\u00B0"},
        {u"%%65x", u"Ax"},
        {u"%%d", u" d"},
        {u"ab%%", u"ab "},
        {u"%%%", u" %"},
        {u"a%%177b", u"a\u00B1b"},
        {u"%%$41", u"A"},        // hexadecimal
        {u"%%$4g", u"\u0004g"},  // "$4g" fails, "$4" reads 4
        {u"%%x41", u"A"},
        {u"%%037%65", u"A"},  // the decoded '%' starts a new escape
        {u"%%-1", std::u16string(1, static_cast<char16_t>(0xFFFF))},
        {u"", u""},
        {u"plain", u"plain"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodePercentCodes(c.in), c.out);
    }
}

TEST(DecodePercentCodes, AgreesWithSearchingFromTheStartOnRandomTexts) {
    const std::u16string alphabet = u"%%%0123456789x$- a";
    testing::ForRandomTexts<std::u16string>(
        alphabet, 16, 5000, 176, [](const std::u16string& text) {
            ASSERT_EQ(DecodePercentCodes(text), DecodePercentCodesBySearch(text));
        });
}

TEST(NaskhToWindows, DecodesGlyphTextsFromTheHost) {
    struct Case {
        const char* name;
        std::u16string drawingText;
        std::string windows;
    };
    const CodePage arabic = CodePage::Windows1256;
    const Case cases[] = {
        {"salaam", WidenBytes(arabic, Bytes({0x73, 0xEC, 0xA5})), Cp1256("سلام")},
        {"escape inside", WidenBytes(arabic, Bytes({0x77, 0x91})) + u"%%177", Cp1256("صبح")},
        {"raw heh glyph", WidenBytes(arabic, Bytes({0xB1})), Cp1256("ح")},
        {"western page", WidenBytes(CodePage::Windows1252, Bytes({0x8A})), Cp1256("ز")},
        {"reversed number", u"21", "12"},
        {"mixed run", u"50/21/0931", "1390/12/05"},
        {"percent pair at the end", u"-%%", "- "},
        {"ligatures give lam then alef", WidenBytes(arabic, Bytes({0x3E, 0xEB, 0xED})),
         Cp1256("لالالا")},
        {"second codes", WidenBytes(arabic, Bytes({0x41, 0x48, 0x60, 0x22, 0x3B})),
         Cp1256("شآپگك")},
        {"keheh comes back as arabic kaf", WidenBytes(arabic, Bytes({0x3A})), Cp1256("ك")},
        {"no entry keeps low byte", u"-. \u4E41", Bytes({'-', '.', ' ', 0x41})},
        // Without an entry the code unit's low byte is kept, not the recovered byte: 0xE5 reaches
        // the host as U+0647 and comes back as 0x47.
        {"unmapped glyph bytes", WidenBytes(arabic, Bytes({0x46, 0x47, 0xE5, 0xEE})),
         Bytes({0x46, 0x47, 0x47, 0xEE})},
        {"empty", u"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexOf(NaskhToWindows(c.drawingText)), HexOf(c.windows)) << c.name;
    }
}

}  // namespace
}  // namespace navisaz
