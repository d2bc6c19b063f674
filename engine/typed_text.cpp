#include "engine/typed_text.h"

#include <array>

#include "engine/codepage.h"

namespace navisaz {

namespace {

// A range of code units and the byte its first member takes; the others follow in order.
struct Substitute {
    char16_t first;
    char16_t last;
    unsigned char firstByte;
};

constexpr std::array<Substitute, 13> TypedCharacterSubstitutes = {{
    {0x06CC, 0x06CC, 0xED},  // Persian yeh
    {0x06F0, 0x06F9, '0'},   // Persian digits
    {0x0660, 0x0669, '0'},   // Arabic-Indic digits
    {0x066B, 0x066B, '.'},   // Arabic decimal separator
    {0x066C, 0x066C, ','},   // Arabic thousands separator
    {0x066A, 0x066A, '%'},   // Arabic percent sign
    {0x066D, 0x066D, '*'},   // Arabic five-pointed star
    {0x06C0, 0x06C0, 0xE5},  // heh with yeh above
    {0x06D5, 0x06D5, 0xE5},  // ae, typed for heh
    {0x0671, 0x0671, 0xC7},  // alef wasla
    {0x2010, 0x2011, '-'},   // hyphen, non-breaking hyphen
    {0x2212, 0x2212, '-'},   // minus sign
    {0x202F, 0x202F, ' '},   // narrow no-break space
}};

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

WindowsText TypedTextToWindows(std::u16string_view text) {
    WindowsText result;
    result.bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (const auto byte = NarrowChar(CodePage::Windows1256, u)) {
            result.bytes.push_back(static_cast<char>(*byte));
            continue;
        }
        bool substituted = false;
        for (const Substitute& row : TypedCharacterSubstitutes) {
            if (u >= row.first && u <= row.last) {
                result.bytes.push_back(static_cast<char>(row.firstByte + (u - row.first)));
                substituted = true;
                break;
            }
        }
        if (substituted) {
            continue;
        }
        if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
        }
        result.bytes.push_back('?');
        ++result.unmappedCount;
    }
    return result;
}

}  // namespace navisaz
