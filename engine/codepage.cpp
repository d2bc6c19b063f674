#include "engine/codepage.h"

#include <array>
#include <cstdint>

namespace navisaz {

namespace {

// Upper halves of the published code pages, byte 0x80 first; 0 marks an undefined byte.
constexpr std::array<char16_t, 128> Windows1256High = {
    0x20ac, 0x067e, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02c6, 0x2030, 0x0679, 0x2039, 0x0152, 0x0686, 0x0698, 0x0688,  // 0x88
    0x06af, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,  // 0x90
    0x06a9, 0x2122, 0x0691, 0x203a, 0x0153, 0x200c, 0x200d, 0x06ba,  // 0x98
    0x00a0, 0x060c, 0x00a2, 0x00a3, 0x00a4, 0x00a5, 0x00a6, 0x00a7,  // 0xA0
    0x00a8, 0x00a9, 0x06be, 0x00ab, 0x00ac, 0x00ad, 0x00ae, 0x00af,  // 0xA8
    0x00b0, 0x00b1, 0x00b2, 0x00b3, 0x00b4, 0x00b5, 0x00b6, 0x00b7,  // 0xB0
    0x00b8, 0x00b9, 0x061b, 0x00bb, 0x00bc, 0x00bd, 0x00be, 0x061f,  // 0xB8
    0x06c1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627,  // 0xC0
    0x0628, 0x0629, 0x062a, 0x062b, 0x062c, 0x062d, 0x062e, 0x062f,  // 0xC8
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00d7,  // 0xD0
    0x0637, 0x0638, 0x0639, 0x063a, 0x0640, 0x0641, 0x0642, 0x0643,  // 0xD8
    0x00e0, 0x0644, 0x00e2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00e7,  // 0xE0
    0x00e8, 0x00e9, 0x00ea, 0x00eb, 0x0649, 0x064a, 0x00ee, 0x00ef,  // 0xE8
    0x064b, 0x064c, 0x064d, 0x064e, 0x00f4, 0x064f, 0x0650, 0x00f7,  // 0xF0
    0x0651, 0x00f9, 0x0652, 0x00fb, 0x00fc, 0x200e, 0x200f, 0x06d2,  // 0xF8
};

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr std::array<char16_t, 32> Windows1252Controls = {
    0x20ac, 0x0000, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017d, 0x0000,  // 0x88
    0x0000, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x0000, 0x017e, 0x0178,  // 0x98
};

// Defined code unit of a byte, or 0 where the page has none (only byte 0 itself maps to 0).
char16_t DefinedCodeUnit(CodePage page, unsigned char byte) {
    if (byte < 0x80) {
        return byte;
    }
    if (page == CodePage::Windows1256) {
        return Windows1256High[byte - 0x80];
    }
    if (byte < 0xA0) {
        return Windows1252Controls[byte - 0x80];
    }
    return byte;
}

constexpr std::uint16_t NoByte = 0xFFFF;

using ReverseTable = std::array<std::uint16_t, 0x10000>;

ReverseTable BuildReverse(CodePage page) {
    ReverseTable table;
    table.fill(NoByte);
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t u = DefinedCodeUnit(page, static_cast<unsigned char>(byte));
        if (u != 0 || byte == 0) {
            table[u] = static_cast<std::uint16_t>(byte);
        }
    }
    return table;
}

const ReverseTable& Reverse(CodePage page) {
    static const ReverseTable windows1256 = BuildReverse(CodePage::Windows1256);
    static const ReverseTable windows1252 = BuildReverse(CodePage::Windows1252);
    return page == CodePage::Windows1256 ? windows1256 : windows1252;
}

// Both lookups of UnicodeToWindowsByte folded into one table; the decoders call it per character.
struct RecoveryTable {
    std::array<std::uint16_t, 0x10000> byteOf;
    RecoveryTable() {
        const ReverseTable& arabic = Reverse(CodePage::Windows1256);
        const ReverseTable& western = Reverse(CodePage::Windows1252);
        for (std::size_t u = 0; u < byteOf.size(); ++u) {
            byteOf[u] = arabic[u] != NoByte    ? arabic[u]
                        : western[u] != NoByte ? western[u]
                                               : static_cast<std::uint16_t>(u);
        }
    }
};

}  // namespace

char16_t WidenByte(CodePage page, unsigned char byte) {
    const char16_t u = DefinedCodeUnit(page, byte);
    return (u != 0 || byte == 0) ? u : static_cast<char16_t>(byte);
}

std::u16string WidenBytes(CodePage page, std::string_view bytes) {
    std::u16string wide;
    wide.reserve(bytes.size());
    for (const char c : bytes) {
        wide.push_back(WidenByte(page, static_cast<unsigned char>(c)));
    }
    return wide;
}

std::optional<unsigned char> NarrowChar(CodePage page, char16_t u) {
    const std::uint16_t byte = Reverse(page)[u];
    if (byte == NoByte) {
        return std::nullopt;
    }
    return static_cast<unsigned char>(byte);
}

int UnicodeToWindowsByte(char16_t u) {
    static const RecoveryTable table;
    return table.byteOf[u];
}

}  // namespace navisaz
