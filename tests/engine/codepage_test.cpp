#include "engine/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

namespace navisaz {
namespace {

// The system's iconv converts one byte to UTF-16; nullopt when it rejects the byte.
std::optional<char16_t> IconvWiden(const char* page, unsigned char byte) {
    iconv_t cd = iconv_open("UTF-16LE", page);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv lacks " << page;
        return std::nullopt;
    }
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[8] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1) || sizeof out - outLeft != 2) {
        return std::nullopt;
    }
    return static_cast<char16_t>(out[0] | (out[1] << 8));
}

struct PageCase {
    CodePage page;
    const char* iconvName;
};

class CodePageAgainstIconv : public ::testing::TestWithParam<PageCase> {};

TEST_P(CodePageAgainstIconv, EveryByteWidensAndNarrowsAsTheSystemDoes) {
    const PageCase c = GetParam();
    for (int byte = 0; byte < 256; ++byte) {
        const auto expected = IconvWiden(c.iconvName, static_cast<unsigned char>(byte));
        const char16_t widened = WidenByte(c.page, static_cast<unsigned char>(byte));
        if (expected) {
            EXPECT_EQ(widened, *expected) << c.iconvName << " byte " << byte;
            EXPECT_EQ(NarrowChar(c.page, *expected), static_cast<unsigned char>(byte))
                << c.iconvName << " byte " << byte;
        } else {
            // Undefined bytes widen to the C1 control of the same value and are not page bytes.
            EXPECT_EQ(widened, static_cast<char16_t>(byte)) << c.iconvName << " byte " << byte;
            EXPECT_FALSE(NarrowChar(c.page, static_cast<char16_t>(byte)).has_value());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, CodePageAgainstIconv,
                         ::testing::Values(PageCase{CodePage::Windows1256, "CP1256"},
                                           PageCase{CodePage::Windows1252, "CP1252"}),
                         [](const ::testing::TestParamInfo<PageCase>& info) {
                             return std::string(info.param.iconvName);
                         });

TEST(CodePage, CharactersOutsideThePageHaveNoByte) {
    EXPECT_FALSE(NarrowChar(CodePage::Windows1256, u'\u06CC').has_value());  // Persian yeh
    EXPECT_FALSE(NarrowChar(CodePage::Windows1256, u'\u0160').has_value());
    EXPECT_FALSE(NarrowChar(CodePage::Windows1252, u'\u0627').has_value());
    EXPECT_FALSE(NarrowChar(CodePage::Windows1256, u'\u4E00').has_value());
}

TEST(UnicodeToWindowsByte, ArabicPageFirstThenWesternThenItself) {
    struct Case {
        char16_t u;
        int expected;
    };
    const Case cases[] = {
        {u'\u0627', 0xC7}, {u'\u067E', 0x81},   {u'\u200C', 0x9D}, {u'\u201C', 0x93},
        {u'\u0160', 0x8A}, {u'\u0161', 0x9A},   {u'\u0178', 0x9F}, {u'\u017D', 0x8E},
        {u'\u017E', 0x9E}, {u'\u02DC', 0x98},   {u'\u00E1', 0xE1}, {u'\u00FF', 0xFF},
        {u'\u0081', 0x81}, {u'\u4E00', 0x4E00}, {u'A', 0x41},      {u'\u00B0', 0xB0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnicodeToWindowsByte(c.u), c.expected) << std::hex << int(c.u);
    }
}

TEST(UnicodeToWindowsByte, RecoversEveryByteWidenedWithEitherPage) {
    for (const CodePage page : {CodePage::Windows1256, CodePage::Windows1252}) {
        for (int byte = 0; byte < 256; ++byte) {
            EXPECT_EQ(UnicodeToWindowsByte(WidenByte(page, static_cast<unsigned char>(byte))), byte)
                << "byte " << byte;
        }
    }
}

}  // namespace
}  // namespace navisaz
