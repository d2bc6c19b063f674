#include "engine/naskh_encoder.h"

#include <array>

#include "engine/letters.h"

namespace navisaz {

namespace {

// A letter's initial and medial codes; its final and isolated codes are the medial one plus 1
// and plus 2.
struct NaskhLetter {
    unsigned char byte;
    unsigned char initial;
    unsigned char medial;
};

constexpr NaskhLetter NaskhLetters[] = {
    {0x81, 0x7E, 0xD9},  // پ
    {0x8D, 0x7D, 0xD6},  // چ
    {0x8E, 0x7C, 0xD3},  // ژ
    {0x90, 0x27, 0xDF},  // گ
    {0x98, 0x3A, 0xDC},  // ک
    {0xC1, 0x4D, 0xA6},  // ء
    {0xC2, 0x48, 0x48},  // آ
    {0xC4, 0x3C, 0xE8},  // ؤ
    {0xC6, 0x6D, 0xA6},  // ئ
    {0xC7, 0x68, 0x97},  // ا
    {0xC8, 0x66, 0x91},  // ب
    {0xCA, 0x6A, 0x9D},  // ت
    {0xCB, 0x65, 0x8E},  // ث
    {0xCC, 0x7B, 0xD0},  // ج
    {0xCD, 0x70, 0xAF},  // ح
    {0xCE, 0x6F, 0xAC},  // خ
    {0xCF, 0x6E, 0xA9},  // د
    {0xD0, 0x62, 0x85},  // ذ
    {0xD1, 0x76, 0xC1},  // ر
    {0xD2, 0x63, 0x88},  // ز
    {0xD3, 0x73, 0xB8},  // س
    {0xD4, 0x61, 0x82},  // ش
    {0xD5, 0x77, 0xC4},  // ص
    {0xD6, 0x71, 0xB2},  // ض
    {0xD8, 0x78, 0xC7},  // ط
    {0xD9, 0x7A, 0xCD},  // ظ
    {0xDA, 0x75, 0xBE},  // ع
    {0xDB, 0x79, 0xCA},  // غ
    {0xDC, 0x5F, 0x5F},  // ـ
    {0xDD, 0x74, 0xBB},  // ف
    {0xDE, 0x72, 0xB5},  // ق
    {0xDF, 0x3A, 0xDC},  // ك
    {0xE1, 0x67, 0x94},  // ل
    {0xE3, 0x6C, 0xA3},  // م
    {0xE4, 0x6B, 0xA0},  // ن
    {0xE5, 0x69, 0x9A},  // ه
    {0xE6, 0x2C, 0xE2},  // و
    {0xED, 0x64, 0x8B},  // ي
};

// Characters drawn the same in every context.
struct NaskhSingleForm {
    unsigned char byte;
    unsigned char code;
};

constexpr NaskhSingleForm NaskhSingleForms[] = {
    {0x21, 0x21},  // !
    {0x24, 0x24},  // $
    {0x25, 0x25},  // %
    {0x28, 0x29},  // ( drawn backwards, so the parentheses swap
    {0x29, 0x28},  // )
    {0x2C, 0x26},  // ,
    {0x3A, 0x5E},  // :
    {0xB1, 0x80},  // ±
    {0xF7, 0x23},  // ÷
};

constexpr unsigned char SingleFormCodes[] = {0x21, 0x22, 0x23, 0x24, 0x25,
                                             0x26, 0x28, 0x29, 0x5E, 0x80};

// آ and ـ have a single glyph each. The offset would give them codes that belong to other
// letters (ه, ت, پ, ش) and corrupt the text when it is read back, so they keep their code.
constexpr unsigned char OneCodeInEveryContext[] = {0xC2, 0xDC};

// Codes the host stores as its numeric escape instead of the raw byte.
constexpr unsigned char EscapedCodes[] = {0xB0, 0xB1};

// Lam (medial 0x94, initial 0x67) followed by alef (0x97, 0x98) and the ligature that replaces
// the pair: 0xEC joined to the letter before, 0xED free-standing.
struct LamAlef {
    unsigned char lam;
    unsigned char alef;
    unsigned char ligature;
};

constexpr LamAlef LamAlefLigatures[] = {
    {0x94, 0x97, 0xEC},
    {0x67, 0x97, 0xED},
    {0x94, 0x98, 0xEC},
    {0x67, 0x98, 0xED},
};

using ByteMap = std::array<unsigned char, 256>;

constexpr ByteMap IdentityMap() {
    ByteMap map{};
    for (int c = 0; c < 256; ++c) {
        map[c] = static_cast<unsigned char>(c);
    }
    return map;
}

struct NaskhTables {
    ByteMap initial = IdentityMap();  // table B
    ByteMap medial = IdentityMap();   // table A
    std::array<bool, 256> singleFormCode{};
    std::array<bool, 256> oneCode{};
    std::array<bool, 256> escaped{};
    // forms[2 * P + N][c]: the finished code of byte c after the previous character (P: it joins
    // forward) and before the next one (N: it is a Persian letter).
    std::array<ByteMap, 4> forms{};
};

constexpr NaskhTables BuildTables() {
    NaskhTables t;
    for (const NaskhLetter& letter : NaskhLetters) {
        t.initial[letter.byte] = letter.initial;
        t.medial[letter.byte] = letter.medial;
    }
    for (const NaskhSingleForm& single : NaskhSingleForms) {
        t.initial[single.byte] = single.code;
        t.medial[single.byte] = single.code;
    }
    for (const unsigned char code : SingleFormCodes) {
        t.singleFormCode[code] = true;
    }
    for (const unsigned char c : OneCodeInEveryContext) {
        t.oneCode[c] = true;
    }
    for (const unsigned char code : EscapedCodes) {
        t.escaped[code] = true;
    }
    for (int previousJoins = 0; previousJoins < 2; ++previousJoins) {
        for (int nextIsLetter = 0; nextIsLetter < 2; ++nextIsLetter) {
            ByteMap& form = t.forms[2 * previousJoins + nextIsLetter];
            for (int c = 0; c < 256; ++c) {
                const bool useInitial = !previousJoins && nextIsLetter;
                unsigned char code = useInitial ? t.initial[c] : t.medial[c];
                const bool takesOffset = code != c && !t.singleFormCode[code] && !t.oneCode[c];
                if (takesOffset && !nextIsLetter) {
                    code = static_cast<unsigned char>(code + (previousJoins ? 1 : 2));
                }
                form[c] = code;
            }
        }
    }
    return t;
}

constexpr NaskhTables Tables = BuildTables();

void AppendEscape(std::string& out, unsigned char code) {
    out += "%%";
    out += static_cast<char>('0' + code / 100);
    out += static_cast<char>('0' + code / 10 % 10);
    out += static_cast<char>('0' + code % 10);
}

// The rules never overlap (no alef code is a lam code), so one pass equals applying them in turn.
void JoinLamAlef(std::string& glyphs) {
    if (glyphs.size() < 2) {
        return;
    }
    std::size_t write = 0;
    for (std::size_t read = 0; read < glyphs.size(); ++read) {
        const auto current = static_cast<unsigned char>(glyphs[read]);
        if (write > 0) {
            const auto before = static_cast<unsigned char>(glyphs[write - 1]);
            bool joined = false;
            for (const LamAlef& rule : LamAlefLigatures) {
                if (before == rule.lam && current == rule.alef) {
                    glyphs[write - 1] = static_cast<char>(rule.ligature);
                    joined = true;
                    break;
                }
            }
            if (joined) {
                continue;
            }
        }
        glyphs[write++] = static_cast<char>(current);
    }
    glyphs.resize(write);
}

}  // namespace

unsigned char NaskhTableB(unsigned char c) {
    return Tables.initial[c];
}

unsigned char NaskhTableA(unsigned char c) {
    return Tables.medial[c];
}

bool IsSingleFormCode(unsigned char code) {
    return Tables.singleFormCode[code];
}

std::string WindowsToNaskh(std::string_view text) {
    std::string input(text);
    for (char& c : input) {
        if (static_cast<unsigned char>(c) == 0x9D) {  // zero-width non-joiner
            c = ' ';
        }
    }
    input = ReverseNumberRuns(input);

    std::string out;
    out.reserve(input.size() + 8);
    bool previousJoins = false;
    for (std::size_t i = 0; i < input.size(); ++i) {
        const auto c = static_cast<unsigned char>(input[i]);
        const bool nextIsLetter =
            i + 1 < input.size() && IsPersianLetter(static_cast<unsigned char>(input[i + 1]));
        const unsigned char code = Tables.forms[2 * previousJoins + nextIsLetter][c];
        if (Tables.escaped[code]) {
            AppendEscape(out, code);
        } else {
            out.push_back(static_cast<char>(code));
        }
        previousJoins = JoinsForward(c);
    }
    JoinLamAlef(out);
    return out;
}

}  // namespace navisaz
