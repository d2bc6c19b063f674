#pragma once

#include <string>
#include <string_view>

namespace navisaz {

// Letter classes of Windows-1256 bytes that decide joining in the glyph encoders.

// The Persian letters: 0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x98 and the whole range 0xC2..0xED.
// Hamza 0xC1 is not one. The range is taken whole, so a few non-letters inside it count too.
bool IsPersianLetter(unsigned char c);

// The letters that connect to the letter after them: the Persian letters without ژ, آ, ؤ, ا, د,
// ذ, ر, ز and و.
bool JoinsForward(unsigned char c);

// ',', '.', '/' and the ASCII digits: the characters of a number run.
bool IsNumberCharacter(unsigned char c);

// Reverses every run of two or more number characters in place of itself, leaving everything
// else where it is. The glyph encoders store numbers reversed and the decoders turn them back.
std::string ReverseNumberRuns(std::string_view text);

// True, with the run reversed, when every byte is a number character (an empty run counts);
// false with the run unchanged otherwise.
bool ReverseIfNumeric(std::string& run);

}  // namespace navisaz
