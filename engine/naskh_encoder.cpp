#include "engine/naskh_encoder.h"

#include <array>
#include <cstdint>

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

// Written as a space: a zero-width non-joiner has no glyph in the font.
constexpr unsigned char ZeroWidthNonJoiner = 0x9D;

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

// No lam before, lam code 0x94 before, lam code 0x67 before.
constexpr std::size_t LamKinds = 4;  // three used; four keeps the indexing a shift

constexpr std::size_t LamKindOf(unsigned char code) {
    return code == LamAlefLigatures[0].lam ? 1 : code == LamAlefLigatures[1].lam ? 2 : 0;
}

constexpr std::size_t StepIndex(std::size_t context, std::size_t lam, std::size_t c) {
    return (context * LamKinds + lam) * 256 + c;
}

struct NaskhTables {
    ByteMap initial = IdentityMap();  // table B
    ByteMap medial = IdentityMap();   // table A
    std::array<bool, 256> singleFormCode{};
    std::array<bool, 256> oneCode{};
    std::array<bool, 256> escaped{};
    // The ligature a lam code forms with a following alef code (the same for both alef codes),
    // or 0 for a code that is no lam.
    std::array<unsigned char, 256> ligatureAfterLam{};
    std::array<bool, 256> alefCode{};
    // forms[2 * P + N][c]: the finished code of byte c after the previous character (P: it joins
    // forward) and before the next one (N: it is a Persian letter).
    std::array<ByteMap, 4> forms{};
    // Per input byte, the classes the main loop tests, packed so that one load gives them all.
    std::array<std::uint16_t, 256> byteClass{};
    // step[context][lam][c]: everything the main loop writes for byte c, worked out in advance.
    // context is 2 * P + N as for forms; lam tells whether the previous code was a lam code
    // (its index in LamAlefLigatures' lam codes, plus one) or not (0). The low byte is the code
    // to write; the flags below say what else to do.
    // Flat, at StepIndex(context, lam, c).
    std::array<std::uint16_t, 4 * LamKinds * 256> step{};
    // lamRowAfter[context * 256 + c]: the lam kind byte c's code leaves for the next character,
    // as its row offset in step (lam * 256).
    std::array<std::uint16_t, 4 * 256> lamRowAfter{};
};

// Flags in the high byte of NaskhTables::step entries.
constexpr std::uint16_t EscapeStep = 0x100;     // write the code as the host's escape
constexpr std::uint16_t OverwriteStep = 0x200;  // the code is a ligature: write it over the lam

// Bits of NaskhTables::byteClass, placed so that (previous & JoinsBit) | (next & LetterBit) is
// the context 2 * P + N already scaled to its rows in step.
constexpr std::uint16_t ContextRows = LamKinds * 256;
constexpr std::uint16_t LetterBit = 1 * ContextRows;  // IsPersianLetter
constexpr std::uint16_t JoinsBit = 2 * ContextRows;   // JoinsForward
constexpr std::uint16_t NumberBit = 1;                // IsNumberCharacter

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
    for (const LamAlef& rule : LamAlefLigatures) {
        t.ligatureAfterLam[rule.lam] = rule.ligature;
        t.alefCode[rule.alef] = true;
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
            form[ZeroWidthNonJoiner] = ' ';
        }
    }
    for (std::size_t context = 0; context < t.forms.size(); ++context) {
        for (std::size_t lam = 0; lam < LamKinds; ++lam) {
            for (int c = 0; c < 256; ++c) {
                const unsigned char code = t.forms[context][c];
                std::uint16_t entry = code;
                if (t.escaped[code]) {
                    entry |= EscapeStep;
                } else if (lam != 0 && t.alefCode[code]) {
                    const unsigned char lamCode =
                        lam == 1 ? LamAlefLigatures[0].lam : LamAlefLigatures[1].lam;
                    entry = static_cast<std::uint16_t>(t.ligatureAfterLam[lamCode] | OverwriteStep);
                }
                t.step[StepIndex(context, lam, static_cast<std::size_t>(c))] = entry;
                t.lamRowAfter[context * 256 + static_cast<std::size_t>(c)] =
                    static_cast<std::uint16_t>(LamKindOf(code) * 256);
            }
        }
    }
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        t.byteClass[c] = static_cast<std::uint16_t>((IsPersianLetter(byte) ? LetterBit : 0) |
                                                    (JoinsForward(byte) ? JoinsBit : 0) |
                                                    (IsNumberCharacter(byte) ? NumberBit : 0));
    }
    return t;
}

constexpr NaskhTables Tables = BuildTables();

constexpr bool NumberCharactersHaveOneCode() {
    for (int c = 0; c < 256; ++c) {
        if (!IsNumberCharacter(static_cast<unsigned char>(c))) {
            continue;
        }
        for (const auto& form : Tables.forms) {
            if (form[c] != Tables.forms[0][c] || Tables.escaped[form[c]] ||
                Tables.alefCode[form[c]] || Tables.ligatureAfterLam[form[c]] != 0) {
                return false;
            }
        }
    }
    return true;
}
static_assert(NumberCharactersHaveOneCode(), "a number run can be reversed where it stands");

static_assert(LamAlefLigatures[0].lam == LamAlefLigatures[2].lam &&
                  LamAlefLigatures[1].lam == LamAlefLigatures[3].lam &&
                  LamAlefLigatures[0].lam != LamAlefLigatures[1].lam,
              "two lam codes, each with both alef codes");

constexpr bool LigatureDependsOnLamOnly() {
    for (const LamAlef& rule : LamAlefLigatures) {
        if (Tables.ligatureAfterLam[rule.lam] != rule.ligature) {
            return false;
        }
    }
    return true;
}
static_assert(LigatureDependsOnLamOnly(), "each lam code forms one ligature with either alef");

// "%%" and three decimal digits: the host's escape for one character.
constexpr std::size_t EscapeLength = 5;

// The glyph text with every code to escape written as the host's escape. Every such code in the
// text is one (whatever byte it came from), so this can follow the main pass; escapes are rare.
std::string WithEscapes(const std::string& glyphs);

std::string WithEscapes(const std::string& glyphs) {
    std::string out;
    out.reserve(glyphs.size() + 2 * EscapeLength);
    for (const char g : glyphs) {
        const auto code = static_cast<unsigned char>(g);
        if (!Tables.escaped[code]) {
            out.push_back(g);
            continue;
        }
        out += "%%";
        out.push_back(static_cast<char>('0' + code / 100));
        out.push_back(static_cast<char>('0' + code / 10 % 10));
        out.push_back(static_cast<char>('0' + code % 10));
    }
    return out;
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

// One pass over the input. The zero-width non-joiner is written as a space by the tables (both
// are non-letters that do not join, so the contexts around it are the same), and a number run is
// written reversed where it stands: number characters are neither letters nor joiners and have
// one code in every context, so reversing a run changes nothing around it.
std::string WindowsToNaskh(std::string_view text) {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    std::string out(length, '\0');
    char* write = out.data();  // a local pointer: stores through it cannot move the string
    std::size_t lamRow = 0;    // whether the previous code was a lam code, and which (* 256)
    unsigned escapes = 0;      // EscapeStep once a code to escape has been written
    unsigned previousClass = 0;
    unsigned currentClass = length > 0 ? Tables.byteClass[in[0]] : 0;
    std::size_t i = 0;
    while (i < length) {
        if (currentClass & NumberBit) {
            std::size_t runEnd = i + 1;
            while (runEnd < length && IsNumberCharacter(in[runEnd])) {
                ++runEnd;
            }
            for (std::size_t k = runEnd; k > i; --k) {  // a run of one is its own reversal
                *write++ = static_cast<char>(Tables.forms[0][in[k - 1]]);
            }
            i = runEnd;
            previousClass = NumberBit;
            lamRow = 0;
            currentClass = i < length ? Tables.byteClass[in[i]] : 0;
            continue;
        }
        const unsigned char c = in[i];
        const unsigned nextClass = i + 1 < length ? Tables.byteClass[in[i + 1]] : 0;
        const unsigned contextRows = (previousClass & JoinsBit) | (nextClass & LetterBit);
        const std::uint16_t step = Tables.step[contextRows + lamRow + c];
        // Taken from the character's own code, not from step, so that no iteration waits for
        // the table load of the one before it.
        lamRow = Tables.lamRowAfter[contextRows / LamKinds + c];
        previousClass = currentClass;
        currentClass = nextClass;
        ++i;
        // A ligature replaces the lam written just before it. No code is both lam and alef,
        // so joining while writing equals replacing the pairs in the finished text rule by rule.
        write -= (step & OverwriteStep) != 0;
        *write++ = static_cast<char>(step & 0xFF);
        escapes |= step;
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
    if (escapes & EscapeStep) [[unlikely]] {
        return WithEscapes(out);
    }
    return out;
}

}  // namespace navisaz
