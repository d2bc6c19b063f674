#pragma once

#include <string>
#include <string_view>

namespace navisaz {

// Undoes the host's numeric escapes: "%%" followed by up to three characters read as an integer
// (the platform's conversion) becomes that one code unit; "%%" followed by no number becomes a
// space. "%%176" gives U+00B0, "%%65x" gives "Ax", "%%d" gives " d".
std::u16string DecodePercentCodes(std::u16string_view text);

// Turns a Naskh glyph text, as the host returns it, back into Windows-1256 Persian in logical
// order. Never fails: characters without an entry pass as their low 8 bits.
std::string NaskhToWindows(std::u16string_view text);

}  // namespace navisaz
