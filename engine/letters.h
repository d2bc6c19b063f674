#pragma once

#include <array>
#include <string>
#include <string_view>

namespace navisaz {

// Letter classes of Windows-1256 bytes that decide joining in the glyph encoders.
namespace letter_classes {

struct ByteClasses {
    std::array<bool, 256> persianLetter{};
    std::array<bool, 256> joinsForward{};
    std::array<bool, 256> numberCharacter{};
};

inline constexpr unsigned char PersianLettersOutsideRange[] = {0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x98};
inline constexpr unsigned char PersianLettersFirst = 0xC2;
inline constexpr unsigned char PersianLettersLast = 0xED;

// ژ آ ؤ ا د ذ ر ز و: letters that never connect to what follows them.
inline constexpr unsigned char LettersThatDoNotJoinForward[] = {0x8E, 0xC2, 0xC4, 0xC7, 0xCF,
                                                                0xD0, 0xD1, 0xD2, 0xE6};

inline constexpr unsigned char NumberPunctuation[] = {',', '.', '/'};

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

inline constexpr ByteClasses Classes = BuildClasses();

}  // namespace letter_classes

// The Persian letters: 0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x98 and the whole range 0xC2..0xED.
// Hamza 0xC1 is not one. The range is taken whole, so a few non-letters inside it count too.
constexpr bool IsPersianLetter(unsigned char c) {
    return letter_classes::Classes.persianLetter[c];
}

// The letters that connect to the letter after them: the Persian letters without ژ, آ, ؤ, ا, د,
// ذ, ر, ز and و.
constexpr bool JoinsForward(unsigned char c) {
    return letter_classes::Classes.joinsForward[c];
}

// ',', '.', '/' and the ASCII digits: the characters of a number run.
constexpr bool IsNumberCharacter(unsigned char c) {
    return letter_classes::Classes.numberCharacter[c];
}

// Reverses every run of two or more number characters in place of itself, leaving everything
// else where it is. The glyph encoders store numbers reversed and the decoders turn them back.
std::string ReverseNumberRuns(std::string_view text);
void ReverseNumberRunsInPlace(std::string& text);

// True, with the run reversed, when every byte is a number character (an empty run counts);
// false with the run unchanged otherwise.
bool ReverseIfNumeric(std::string& run);

}  // namespace navisaz
