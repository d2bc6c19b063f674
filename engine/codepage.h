#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace navisaz {

// The two Windows code pages the program meets: glyph bytes reach the host widened with the
// system's code page, which is Windows-1256 on a Persian system and Windows-1252 on a Western one.
enum class CodePage { Windows1256, Windows1252 };

// The UTF-16 code unit of one byte. The five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) widen to the C1 control of the same value, as Windows itself does.
char16_t WidenByte(CodePage page, unsigned char byte);
std::u16string WidenBytes(CodePage page, std::string_view bytes);

// The byte of the code page that stands for u, if the page has one. Undefined Windows-1252
// positions are not bytes of the page.
std::optional<unsigned char> NarrowChar(CodePage page, char16_t u);

// Recovers a glyph byte from the code unit the host holds: the Windows-1256 byte for u, else the
// Windows-1252 byte, else u itself (which may exceed 255).
int UnicodeToWindowsByte(char16_t u);

}  // namespace navisaz
