#include "engine/typed_text.h"

#include <gtest/gtest.h>

#include "engine/utf8.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

using testing::Bytes;
using testing::HexOf;

TEST(TypedTextToWindows, PersianKeyboardCharactersTakeTheirWindowsEquivalents) {
    struct Case {
        const char* typed;
        std::string expected;
        std::size_t unmapped;
    };
    const Case cases[] = {
        {"سلام", Bytes({0xD3, 0xE1, 0xC7, 0xE3}), 0},
        {"ی", Bytes({0xED}), 0},                       // Persian yeh
        {"ي", Bytes({0xED}), 0},                       // Arabic yeh
        {"ک", Bytes({0x98}), 0},                       // keheh has its own byte
        {"۱۳۹۰", "1390", 0},                           // Persian digits
        {"٠١٩", "019", 0},                             // Arabic-Indic digits
        {"۱٫۵", "1.5", 0},                             // decimal separator
        {"۱٬۰۰۰", "1,000", 0},                         // thousands separator
        {"خانۀ", Bytes({0xCE, 0xC7, 0xE4, 0xE5}), 0},  // heh with yeh above
        {"۵٪", "5%", 0},
        {"می\u200Cروم", Bytes({0xE3, 0xED, 0x9D, 0xD1, 0xE6, 0xE3}), 0},  // ZWNJ kept
        {"a\u4E00b", "a?b", 1},
        {"\U0001F600x", "?x", 1},  // a surrogate pair is one character
        {"\xEF\xB7\xBC", "?", 1},  // the rial sign has no equivalent
        {"", "", 0},
    };
    for (const Case& c : cases) {
        const WindowsText result = TypedTextToWindows(DecodeUtf8(c.typed).text);
        EXPECT_EQ(HexOf(result.bytes), HexOf(c.expected)) << c.typed;
        EXPECT_EQ(result.unmappedCount, c.unmapped) << c.typed;
    }
}

TEST(TypedTextToWindows, LoneSurrogateIsCountedNotDropped) {
    const std::u16string text = {u'a', static_cast<char16_t>(0xD800), u'b'};
    const WindowsText result = TypedTextToWindows(text);
    EXPECT_EQ(result.bytes, "a?b");
    EXPECT_EQ(result.unmappedCount, 1u);
}

TEST(Utf8, DecodesAndRejectsMalformedInput) {
    EXPECT_EQ(EncodeUtf8(DecodeUtf8("سلام \U0001F600").text), "سلام \U0001F600");
    struct Bad {
        std::string bytes;
        std::size_t offset;
    };
    const Bad bad[] = {
        {"ab\xC0\xAF", 2},        // overlong
        {"\xED\xA0\x80", 0},      // surrogate
        {"x\xD8", 1},             // truncated
        {"\xF4\x90\x80\x80", 0},  // above U+10FFFF
        {"ok\xFF", 2},            // not a lead byte
        {"\xD8\x41", 0},          // missing continuation
    };
    for (const Bad& b : bad) {
        const Utf8Decoded decoded = DecodeUtf8(b.bytes);
        EXPECT_FALSE(decoded.valid) << HexOf(b.bytes);
        EXPECT_EQ(decoded.errorOffset, b.offset) << HexOf(b.bytes);
    }
    const std::u16string lone = {static_cast<char16_t>(0xDC00)};
    EXPECT_EQ(EncodeUtf8(lone), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace navisaz
