#pragma once

#include <string>
#include <string_view>

namespace navisaz {

// The code units in reverse order (a surrogate pair is not kept together).
std::u16string ReverseWide(std::u16string_view text);

// Turns a Shiraz2 glyph text (stored in visual order, digits on the capitals P to Y) back into
// Windows-1256 Persian in logical order. Never fails.
std::string Shiraz2ToWindows(std::u16string_view text);

}  // namespace navisaz
