#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace navisaz {

// Text the user typed, as Windows-1256 bytes for the engine.
struct WindowsText {
    std::string bytes;
    std::size_t unmappedCount = 0;  // characters with no byte, each written as '?'
};

// Best-fit conversion of typed UTF-16 text to Windows-1256. Every character of the code page
// keeps its byte. Persian keyboards also type characters the code page lacks; those take the byte
// a Persian reader expects (see TypedCharacterSubstitutes in typed_text.cpp):
//
//   U+06CC  Persian yeh  ی                    -> 0xED  ي
//   U+06F0..U+06F9  Persian digits ۰..۹       -> '0'..'9'
//   U+0660..U+0669  Arabic-Indic digits ٠..٩  -> '0'..'9'
//   U+066B  Arabic decimal separator ٫        -> '.'
//   U+066C  Arabic thousands separator ٬      -> ','
//   U+066A  Arabic percent sign ٪             -> '%'
//   U+066D  Arabic five-pointed star ٭        -> '*'
//   U+06C0  heh with yeh above ۀ              -> 0xE5  ه
//   U+06D5  Arabic ae ە (typed for heh)       -> 0xE5  ه
//   U+0671  alef wasla ٱ                      -> 0xC7  ا
//   U+0649 alef maksura keeps its own byte 0xEC; U+0643 Arabic kaf keeps 0xDF.
//   U+2010, U+2011, U+2212  hyphens and minus -> '-'
//   U+202F  narrow no-break space             -> ' '
//
// Any other character (a surrogate pair counts as one) becomes '?' and is counted, so that the
// caller can warn the user.
WindowsText TypedTextToWindows(std::u16string_view text);
// The Windows-1256 bytes alone, for text the engine and the host's 8-bit calls take.
inline std::string TypedWindowsBytes(std::u16string_view text) {
    return TypedTextToWindows(text).bytes;
}

}  // namespace navisaz
