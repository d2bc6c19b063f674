#include "engine/shiraz2_decoder.h"

#include "engine/codepage.h"
#include "engine/glyph_decode_table.h"
#include "engine/letters.h"
#include "engine/naskh_decoder.h"

namespace navisaz {

namespace {

// The ten digit codes: the code unit's low byte minus 0x20 gives the ASCII digit.
constexpr int FirstDigitCode = 0x50;
constexpr int LastDigitCode = 0x59;
constexpr int DigitCodeOffset = 0x20;

constexpr GlyphDecodeTable Shiraz2DecodeTable = {
    {0x41, 0x41, "\x21"},      // !
    {0x45, 0x45, "\x25"},      // %
    {0x48, 0x48, "\x28"},      // (
    {0x49, 0x49, "\x29"},      // )
    {0x4A, 0x4A, "\x2A"},      // *
    {0x4B, 0x4B, "\x2B"},      // +
    {0x4C, 0x4C, "\x2C"},      // ,
    {0x4D, 0x4D, "\x2D"},      // -
    {0x4E, 0x4E, "\x2E"},      // .
    {0x5D, 0x5D, "\x3D"},      // =
    {0x60, 0x60, "\xDC"},      // ـ
    {0x61, 0x64, "\xC7"},      // ا
    {0x65, 0x66, "\xC2"},      // آ
    {0x67, 0x68, "\xC1"},      // ء
    {0xF5, 0xF5, "\xC1"},      // ء
    {0x69, 0x6C, "\xC8"},      // ب
    {0x6D, 0x70, "\xCA"},      // ت
    {0x71, 0x74, "\x81"},      // پ
    {0x75, 0x78, "\xCC"},      // ج
    {0x79, 0x7A, "\xCD"},      // ح
    {0x7C, 0x7C, "\xCD"},      // ح
    {0x80, 0x80, "\xCD"},      // ح
    {0x81, 0x84, "\xCE"},      // خ
    {0x85, 0x86, "\xCF"},      // د
    {0x87, 0x88, "\xD0"},      // ذ
    {0x89, 0x8A, "\xD1"},      // ر
    {0x8B, 0x8C, "\xD2"},      // ز
    {0x8D, 0x90, "\xD3"},      // س
    {0x91, 0x94, "\xD4"},      // ش
    {0x95, 0x98, "\xD5"},      // ص
    {0x99, 0x9E, "\xD6"},      // ض
    {0x9F, 0x9F, "\xD8"},      // ط
    {0xB8, 0xB8, "\xD8"},      // ط
    {0xC1, 0xC2, "\xD8"},      // ط
    {0xB0, 0xB0, "\x8D"},      // چ
    {0xF6, 0xF9, "\x8D"},      // چ
    {0xB1, 0xB1, "\xE5"},      // ه
    {0xE7, 0xEA, "\xE5"},      // ه
    {0xF1, 0xF2, "\xE5"},      // ه
    {0xB9, 0xBC, "\xCB"},      // ث
    {0xBD, 0xC0, "\x90"},      // گ
    {0xC3, 0xC6, "\xD9"},      // ظ
    {0xC7, 0xCA, "\xDA"},      // ع
    {0xCB, 0xCE, "\xDB"},      // غ
    {0xCF, 0xD2, "\xDD"},      // ف
    {0xD3, 0xD6, "\xDE"},      // ق
    {0xD7, 0xDA, "\xDF"},      // ك
    {0xDB, 0xDE, "\xE1"},      // ل
    {0xDF, 0xE2, "\xE3"},      // م
    {0xE3, 0xE6, "\xE4"},      // ن
    {0xEB, 0xEC, "\xE6"},      // و
    {0xED, 0xF0, "\xED"},      // ي
    {0xF3, 0xF4, "\xED"},      // ي
    {0xFA, 0xFB, "\x8E"},      // ژ
    {0xFC, 0xFF, "\xE1\xC7"},  // لا
};

}  // namespace

std::u16string ReverseWide(std::u16string_view text) {
    return std::u16string(text.rbegin(), text.rend());
}

std::string Shiraz2ToWindows(std::u16string_view text) {
    static const CodeUnitDecoder decoder(Shiraz2DecodeTable, [](char16_t u, int b) {
        return b >= FirstDigitCode && b <= LastDigitCode ? (u & 0xFF) - DigitCodeOffset : -1;
    });
    const std::u16string logical = text.find(u"%%") == std::u16string_view::npos
                                       ? ReverseWide(text)
                                       : ReverseWide(DecodePercentCodes(text));
    std::string out = decoder.Decode(logical);
    ReverseNumberRunsInPlace(out);
    return out;
}

}  // namespace navisaz
