#include "engine/ipt_encoder.h"

#include <array>

#include "engine/letters.h"

namespace navisaz {

namespace {

struct IptLetter {
    unsigned char byte;
    unsigned char isolated;
    unsigned char initial;
    unsigned char medial;
    unsigned char final;
};

constexpr IptLetter IptLetters[] = {
    {0x81, 0x4A, 0x4D, 0x4C, 0x4B},  // پ
    {0x8D, 0x5A, 0x5D, 0x5C, 0x5B},  // چ
    {0x8E, 0x6E, 0x6E, 0x6F, 0x6F},  // ژ
    {0x90, 0xC1, 0xC4, 0xC3, 0xC2},  // گ
    {0x98, 0xBD, 0xC0, 0xBF, 0xBE},  // ک
    {0xC2, 0x44, 0x44, 0x45, 0x45},  // آ
    {0xC4, 0xD1, 0xD1, 0xD2, 0xD2},  // ؤ
    {0xC7, 0x42, 0x42, 0x43, 0x43},  // ا
    {0xC8, 0x46, 0x49, 0x48, 0x47},  // ب
    {0xCA, 0x4E, 0x51, 0x50, 0x4F},  // ت
    {0xCB, 0x52, 0x55, 0x54, 0x53},  // ث
    {0xCC, 0x56, 0x59, 0x58, 0x57},  // ج
    {0xCD, 0x5E, 0x61, 0x60, 0x5F},  // ح
    {0xCE, 0x62, 0x65, 0x64, 0x63},  // خ
    {0xCF, 0x66, 0x66, 0x67, 0x67},  // د
    {0xD0, 0x68, 0x68, 0x69, 0x69},  // ذ
    {0xD1, 0x6A, 0x6A, 0x6B, 0x6B},  // ر
    {0xD2, 0x6C, 0x6C, 0x6D, 0x6D},  // ز
    {0xD3, 0x70, 0x73, 0x72, 0x71},  // س
    {0xD4, 0x74, 0x77, 0x76, 0x75},  // ش
    {0xD5, 0x78, 0x7B, 0x7A, 0x79},  // ص
    {0xD6, 0x7C, 0xA1, 0x7E, 0x7D},  // ض
    {0xD8, 0xA2, 0xA5, 0xA4, 0xA3},  // ط
    {0xD9, 0xA6, 0xA9, 0xA8, 0xA7},  // ظ
    {0xDA, 0xAA, 0xAE, 0xAC, 0xAB},  // ع
    {0xDB, 0xB0, 0xB3, 0xB2, 0xB1},  // غ
    {0xDD, 0xB4, 0xB8, 0xB6, 0xB5},  // ف
    {0xDE, 0xB9, 0xBC, 0xBB, 0xBA},  // ق
    {0xDF, 0xBD, 0xC0, 0xBF, 0xBE},  // ك
    {0xE1, 0xC5, 0xC8, 0xC7, 0xC6},  // ل
    {0xE3, 0xC9, 0xCC, 0xCB, 0xCA},  // م
    {0xE4, 0xCD, 0xD0, 0xCF, 0xCE},  // ن
    {0xE5, 0xD7, 0xDA, 0xD9, 0xD8},  // ه
    {0xE6, 0xD3, 0xD3, 0xD4, 0xD4},  // و
    {0xED, 0xDF, 0xE2, 0xE1, 0xE0},  // ي
};

using ByteMap = std::array<unsigned char, 256>;

// Ordered so that 2 * P + N picks the form: P, the previous character joins forward; N, the next
// one is a Persian letter.
enum Form { Isolated, Initial, Final, Medial, FormCount };

constexpr std::array<ByteMap, FormCount> BuildForms() {
    std::array<ByteMap, FormCount> forms{};
    for (ByteMap& form : forms) {
        for (int c = 0; c < 256; ++c) {
            form[c] = static_cast<unsigned char>(c);
        }
    }
    for (const IptLetter& letter : IptLetters) {
        forms[Isolated][letter.byte] = letter.isolated;
        forms[Initial][letter.byte] = letter.initial;
        forms[Medial][letter.byte] = letter.medial;
        forms[Final][letter.byte] = letter.final;
    }
    return forms;
}

constexpr std::array<ByteMap, FormCount> Forms = BuildForms();

}  // namespace

unsigned char IptIsolatedForm(unsigned char c) {
    return Forms[Isolated][c];
}
unsigned char IptInitialForm(unsigned char c) {
    return Forms[Initial][c];
}
unsigned char IptMedialForm(unsigned char c) {
    return Forms[Medial][c];
}
unsigned char IptFinalForm(unsigned char c) {
    return Forms[Final][c];
}

std::string ReverseAnsi(std::string_view text) {
    return std::string(text.rbegin(), text.rend());
}

// Position 0 never has a joining neighbour before it and the last position never one after it,
// so the general rule covers the single-letter text and both ends.
std::string WindowsToIpt(std::string_view text) {
    std::string out(text.size(), '\0');
    const std::size_t length = text.size();
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool previousJoins = i > 0 && JoinsForward(static_cast<unsigned char>(text[i - 1]));
        const bool nextIsLetter =
            i + 1 < length && IsPersianLetter(static_cast<unsigned char>(text[i + 1]));
        out[length - 1 - i] = static_cast<char>(Forms[2 * previousJoins + nextIsLetter][c]);
    }
    return out;
}

}  // namespace navisaz
