#pragma once

// Rewriting texts already in the drawing: Naskh and Shiraz2 glyph texts into a Windows font,
// Windows-font texts into Naskh, repairing escaped glyph characters, and replacing the contents
// of picked texts with the memo's lines.

#include <string>
#include <vector>

#include "commands/command_context.h"

namespace navisaz {

void Button11Click(const CommandContext& context);  // choose the Windows font
void Button12Click(const CommandContext& context);  // Naskh texts to the Windows font
void Button13Click(const CommandContext& context);  // Shiraz2 texts to the Windows font
// Windows-font texts to Naskh: single-line texts, or multi-line texts when the clicked button's
// caption contains "MText".
void Button2Click(const CommandContext& context, const std::u16string& senderCaption);
void Button1Click(const CommandContext& context);   // repair escaped glyph characters
void Button14Click(const CommandContext& context);  // replace the contents of picked texts

inline constexpr const char16_t* Button2Caption = u"تبديل متنهاي فونت ويندوز DText به نسخ";
inline constexpr const char16_t* Button15Caption = u"تبديل متنهاي فونت ويندوز MText به نسخ";

// The paragraphs of a multi-line text's contents: after the first "{", split at "\P", the last
// one ended by "}" (which also drops the character after it).
template <typename String>
std::vector<String> SplitParagraphs(String contents);

// Removes the font codes ("\f...;") and the colour code "\C2...;" from a paragraph, the cleaned
// rest first and the text before each code after it. A code without its ";" drops the rest of the
// paragraph.
template <typename String>
String StripMTextCodes(String paragraph);

// Every escape "\U+XXXX" becomes the font's "%%" code of the same character.
std::u16string RepairUnicodeEscapes(std::u16string text);

}  // namespace navisaz
