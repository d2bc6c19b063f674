#include "engine/letters.h"

#include <algorithm>
#include <array>

namespace navisaz {

namespace {

struct ByteClasses {
    std::array<bool, 256> persianLetter{};
    std::array<bool, 256> joinsForward{};
    std::array<bool, 256> numberCharacter{};
};

constexpr unsigned char PersianLettersOutsideRange[] = {0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x98};
constexpr unsigned char PersianLettersFirst = 0xC2;
constexpr unsigned char PersianLettersLast = 0xED;

// ژ آ ؤ ا د ذ ر ز و: letters that never connect to what follows them.
constexpr unsigned char LettersThatDoNotJoinForward[] = {0x8E, 0xC2, 0xC4, 0xC7, 0xCF,
                                                         0xD0, 0xD1, 0xD2, 0xE6};

constexpr unsigned char NumberPunctuation[] = {',', '.', '/'};

constexpr ByteClasses BuildClasses() {
    ByteClasses classes;
    for (const unsigned char c : PersianLettersOutsideRange) {
        classes.persianLetter[c] = true;
    }
    for (int c = PersianLettersFirst; c <= PersianLettersLast; ++c) {
        classes.persianLetter[c] = true;
    }
    classes.joinsForward = classes.persianLetter;
    for (const unsigned char c : LettersThatDoNotJoinForward) {
        classes.joinsForward[c] = false;
    }
    for (const unsigned char c : NumberPunctuation) {
        classes.numberCharacter[c] = true;
    }
    for (int c = '0'; c <= '9'; ++c) {
        classes.numberCharacter[c] = true;
    }
    return classes;
}

constexpr ByteClasses Classes = BuildClasses();

}  // namespace

bool IsPersianLetter(unsigned char c) {
    return Classes.persianLetter[c];
}

bool JoinsForward(unsigned char c) {
    return Classes.joinsForward[c];
}

bool IsNumberCharacter(unsigned char c) {
    return Classes.numberCharacter[c];
}

// Reversing each maximal run of two or more number characters gives the same result as trying
// the longest candidate from every start position, in one pass instead of a cubic search.
std::string ReverseNumberRuns(std::string_view text) {
    std::string result(text);
    std::size_t i = 0;
    while (i < result.size()) {
        if (!IsNumberCharacter(static_cast<unsigned char>(result[i]))) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < result.size() && IsNumberCharacter(static_cast<unsigned char>(result[end]))) {
            ++end;
        }
        if (end - i >= 2) {
            std::reverse(result.begin() + static_cast<std::ptrdiff_t>(i),
                         result.begin() + static_cast<std::ptrdiff_t>(end));
        }
        i = end;
    }
    return result;
}

bool ReverseIfNumeric(std::string& run) {
    const bool numeric = std::all_of(run.begin(), run.end(), [](char c) {
        return IsNumberCharacter(static_cast<unsigned char>(c));
    });
    if (numeric) {
        std::reverse(run.begin(), run.end());
    }
    return numeric;
}

}  // namespace navisaz
