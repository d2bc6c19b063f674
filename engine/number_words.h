#pragma once

#include <cstdint>
#include <string>

namespace navisaz {

// base multiplied by itself exponent times (1 for exponent 0).
std::int64_t IntPower64(std::int64_t base, int exponent);

// s becomes s + " و " + word when both are non-empty, else s + word.
void AppendWithAnd(std::string& s, const std::string& word);

// Persian words of 0..999 as Windows-1256 text; empty for 0.
std::string HundredsToWords(int n);

// Persian words of a whole number as Windows-1256 text, in groups of three digits joined by " و ".
// Zero gives "صفر"; a negative number gives "منفي " and the words of its absolute value.
std::string NumberToWords(std::int64_t value);

}  // namespace navisaz
