#include "engine/naskh_decoder.h"

#include <algorithm>

#include "engine/codepage.h"
#include "engine/glyph_decode_table.h"
#include "engine/letters.h"
#include "engine/platform_integer.h"

namespace navisaz {

namespace {

constexpr GlyphDecodeTable NaskhDecodeTable = {
    {0x21, 0x21, "\x21"},      // !
    {0x22, 0x22, "\x90"},      // گ
    {0x23, 0x23, "\xF7"},      // ÷
    {0x24, 0x24, "\x24"},      // $
    {0x25, 0x25, "\x25"},      // %
    {0x26, 0x26, "\x2C"},      // ,
    {0x27, 0x27, "\x90"},      // گ
    {0x28, 0x28, "\x29"},      // )
    {0x29, 0x29, "\x28"},      // (
    {0x2C, 0x2C, "\xE6"},      // و
    {0x3A, 0x3B, "\xDF"},      // ك
    {0x3C, 0x3C, "\xC4"},      // ؤ
    {0x3E, 0x3E, "\xE1\xC7"},  // لا
    {0x41, 0x41, "\xD4"},      // ش
    {0x61, 0x61, "\xD4"},      // ش
    {0x42, 0x42, "\xD0"},      // ذ
    {0x62, 0x62, "\xD0"},      // ذ
    {0x43, 0x43, "\xD2"},      // ز
    {0x63, 0x63, "\xD2"},      // ز
    {0x44, 0x44, "\xED"},      // ي
    {0x64, 0x64, "\xED"},      // ي
    {0x45, 0x45, "\xCB"},      // ث
    {0x65, 0x65, "\xCB"},      // ث
    {0x66, 0x66, "\xC8"},      // ب
    {0x67, 0x67, "\xE1"},      // ل
    {0x48, 0x48, "\xC2"},      // آ
    {0x68, 0x68, "\xC7"},      // ا
    {0x49, 0x49, "\xE5"},      // ه
    {0x69, 0x69, "\xE5"},      // ه
    {0x4A, 0x4A, "\xCA"},      // ت
    {0x6A, 0x6A, "\xCA"},      // ت
    {0x4B, 0x4B, "\xE4"},      // ن
    {0x6B, 0x6B, "\xE4"},      // ن
    {0x4C, 0x4C, "\xE3"},      // م
    {0x6C, 0x6C, "\xE3"},      // م
    {0x4D, 0x4D, "\xC1"},      // ء
    {0x6D, 0x6D, "\xC1"},      // ء
    {0x4E, 0x4E, "\xCF"},      // د
    {0x6E, 0x6E, "\xCF"},      // د
    {0x4F, 0x4F, "\xCE"},      // خ
    {0x6F, 0x6F, "\xCE"},      // خ
    {0x50, 0x50, "\xCD"},      // ح
    {0x70, 0x70, "\xCD"},      // ح
    {0x51, 0x51, "\xD6"},      // ض
    {0x71, 0x71, "\xD6"},      // ض
    {0x52, 0x52, "\xDE"},      // ق
    {0x72, 0x72, "\xDE"},      // ق
    {0x53, 0x53, "\xD3"},      // س
    {0x73, 0x73, "\xD3"},      // س
    {0x54, 0x54, "\xDD"},      // ف
    {0x74, 0x74, "\xDD"},      // ف
    {0x55, 0x55, "\xDA"},      // ع
    {0x75, 0x75, "\xDA"},      // ع
    {0x56, 0x56, "\xD1"},      // ر
    {0x76, 0x76, "\xD1"},      // ر
    {0x57, 0x57, "\xD5"},      // ص
    {0x77, 0x77, "\xD5"},      // ص
    {0x58, 0x58, "\xD8"},      // ط
    {0x78, 0x78, "\xD8"},      // ط
    {0x59, 0x59, "\xDB"},      // غ
    {0x79, 0x79, "\xDB"},      // غ
    {0x5A, 0x5A, "\xD9"},      // ظ
    {0x7A, 0x7A, "\xD9"},      // ظ
    {0x5B, 0x5B, "\xCC"},      // ج
    {0x7B, 0x7B, "\xCC"},      // ج
    {0x5C, 0x5C, "\x8E"},      // ژ
    {0x7C, 0x7C, "\x8E"},      // ژ
    {0x5D, 0x5D, "\x8D"},      // چ
    {0x7D, 0x7D, "\x8D"},      // چ
    {0x5E, 0x5E, "\x3A"},      // :
    {0x5F, 0x5F, "\xDC"},      // ـ
    {0x60, 0x60, "\x81"},      // پ
    {0x7E, 0x7E, "\x81"},      // پ
    {0x80, 0x80, "\xB1"},      // ±
    {0x82, 0x84, "\xD4"},      // ش
    {0x85, 0x87, "\xD0"},      // ذ
    {0x88, 0x8A, "\xD2"},      // ز
    {0x8B, 0x8D, "\xED"},      // ي
    {0x8E, 0x90, "\xCB"},      // ث
    {0x91, 0x93, "\xC8"},      // ب
    {0x94, 0x96, "\xE1"},      // ل
    {0x97, 0x99, "\xC7"},      // ا
    {0x9A, 0x9C, "\xE5"},      // ه
    {0x9D, 0x9F, "\xCA"},      // ت
    {0xA0, 0xA2, "\xE4"},      // ن
    {0xA3, 0xA5, "\xE3"},      // م
    {0xA6, 0xA8, "\xC1"},      // ء
    {0xA9, 0xAB, "\xCF"},      // د
    {0xAC, 0xAE, "\xCE"},      // خ
    {0xAF, 0xB1, "\xCD"},      // ح
    {0xB2, 0xB4, "\xD6"},      // ض
    {0xB5, 0xB7, "\xDE"},      // ق
    {0xB8, 0xBA, "\xD3"},      // س
    {0xBB, 0xBD, "\xDD"},      // ف
    {0xBE, 0xC0, "\xDA"},      // ع
    {0xC1, 0xC3, "\xD1"},      // ر
    {0xC4, 0xC6, "\xD5"},      // ص
    {0xC7, 0xC9, "\xD8"},      // ط
    {0xCA, 0xCC, "\xDB"},      // غ
    {0xCD, 0xCF, "\xD9"},      // ظ
    {0xD0, 0xD2, "\xCC"},      // ج
    {0xD3, 0xD5, "\x8E"},      // ژ
    {0xD6, 0xD8, "\x8D"},      // چ
    {0xD9, 0xDB, "\x81"},      // پ
    {0xDC, 0xDE, "\xDF"},      // ك
    {0xDF, 0xE1, "\x90"},      // گ
    {0xE2, 0xE4, "\xE6"},      // و
    {0xE8, 0xEA, "\xC4"},      // ؤ
    {0xEB, 0xED, "\xE1\xC7"},  // لا
};

constexpr std::size_t MaxEscapeDigits = 3;

}  // namespace

// Each replacement is written over the last character it consumed and scanning resumes there.
// Nothing before the escape can pair with it (the escape was the first "%%"), so this equals
// searching the changed text again from its start, in linear time.
std::u16string DecodePercentCodes(std::u16string_view text) {
    std::u16string work(text);
    std::u16string out;
    out.reserve(work.size());
    std::size_t i = 0;
    while (i < work.size()) {
        if (!(work[i] == u'%' && i + 1 < work.size() && work[i + 1] == u'%')) {
            out.push_back(work[i++]);
            continue;
        }
        const std::size_t available = std::min(MaxEscapeDigits, work.size() - (i + 2));
        std::size_t consumed = 0;
        char16_t replacement = u' ';
        for (std::size_t k = available; k >= 1; --k) {
            const auto value = ParsePlatformInteger(std::u16string_view(work).substr(i + 2, k),
                                                    IntegerWidth::Bits32);
            if (value) {
                consumed = k;
                replacement = static_cast<char16_t>(static_cast<std::uint32_t>(*value) & 0xFFFF);
                break;
            }
        }
        i += 1 + consumed;
        work[i] = replacement;
    }
    return out;
}

std::string NaskhToWindows(std::u16string_view text) {
    static const CodeUnitDecoder decoder(NaskhDecodeTable, [](char16_t, int) { return -1; });
    std::string out = text.find(u"%%") == std::u16string_view::npos
                          ? decoder.Decode(text)
                          : decoder.Decode(DecodePercentCodes(text));
    ReverseNumberRunsInPlace(out);
    return out;
}

}  // namespace navisaz
