#pragma once

// The commands that bring the memo's Persian text out of the program: into the drawing in the
// Naskh or IPT glyph codes, onto the clipboard, as spelled numbers, or through the lisp writers
// that AutoCAD runs itself.

#include "commands/command_context.h"

namespace navisaz {

// The point prompt's lines go down by this many text heights.
inline constexpr float LinePitchInHeights = 1.5f;

// "فارسي نويسي جملات فوق با نسخ": each memo line in Naskh glyph codes, style "farsi".
void Button3Click(const CommandContext& context);
// The IPT writer: each memo line in IPT glyph codes, style "farsiIPT", always in model space.
void Button8Click(const CommandContext& context);
// The whole memo in IPT glyph codes onto the clipboard.
void Button9Click(const CommandContext& context);
// The number speller: Edit2's number in Persian words into the memo.
void Edit2Change(const CommandContext& context);
// Edit2's number in Persian words onto the clipboard.
void Button10Click(const CommandContext& context);
// The lisp writers: "kateb" with the Naskh font, "farsi" with the Sade font.
void Button5Click(const CommandContext& context);
void Button6Click(const CommandContext& context);

// Shown after a field's text that is not a number.
inline constexpr const char16_t* NotANumberMessage = u" يک عدد نميباشد";

}  // namespace navisaz
