#pragma once

#include <string>
#include <string_view>

namespace navisaz {

// The four letter-form tables of the IPT TrueType font; a byte without an entry maps to itself.
unsigned char IptIsolatedForm(unsigned char c);
unsigned char IptInitialForm(unsigned char c);
unsigned char IptMedialForm(unsigned char c);
unsigned char IptFinalForm(unsigned char c);

// The bytes in reverse order.
std::string ReverseAnsi(std::string_view text);

// Turns Windows-1256 Persian into IPT glyph codes in visual order: each letter takes its
// contextual form and the whole result is reversed, so the first typed letter ends at the right.
std::string WindowsToIpt(std::string_view text);

}  // namespace navisaz
