#pragma once

#include <string>
#include <string_view>

namespace navisaz {

// Glyph code of byte c before a Persian letter with nothing joining from before (initial forms).
unsigned char NaskhTableB(unsigned char c);
// Glyph code of byte c in every other context, before the final/isolated offset (medial forms).
unsigned char NaskhTableA(unsigned char c);
// Glyph codes that never take the final or isolated offset.
bool IsSingleFormCode(unsigned char code);

// Turns one line of Windows-1256 Persian into the glyph codes of the Naskh SHX fonts, in logical
// order (the Naskh text styles draw backwards). Number runs are reversed, lam-alef pairs become
// ligatures, and the codes 0xB0/0xB1 are written as the host's escapes "%%176"/"%%177".
std::string WindowsToNaskh(std::string_view text);

}  // namespace navisaz
