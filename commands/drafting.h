#pragma once

// Drafting helpers of the command surface: text height by two points, coordinate labels, copy
// with increment and the vertex list of a polyline.

#include <cstdint>
#include <optional>
#include <string>

#include "commands/command_context.h"

namespace navisaz {

void Button7Click(const CommandContext& context);   // text height by two points
void Button16Click(const CommandContext& context);  // coordinate labeller
void Button17Click(const CommandContext& context);  // copy with increment
void Button20Click(const CommandContext& context);  // polyline coordinates

inline constexpr const char16_t* IncrementPrompt = u"مقدار جهش را وارد کنيد  1  ؟";
inline constexpr const char16_t* NoNumberMessage = u"no num";

// A text ending in a number, split for counting: "A007" is "A" and 7, written three digits wide.
struct NumberedText {
    std::u16string prefix;  // everything before the number's sign and digits
    std::int64_t number = 0;
    std::size_t width = 0;  // digits to write at least (zero-padded), 0 when not padded
};

// The number at the end of a text: blanks, an optional sign and decimal digits. nullopt when the
// text does not end in a digit; raises std::overflow_error when the digits do not fit in 64 bits.
std::optional<NumberedText> SplitNumberedText(const std::u16string& text);
// The text again with another number, keeping the zero-padded width.
std::u16string JoinNumberedText(const NumberedText& parts, std::int64_t number);

// Copy with increment, in two steps. First the user picks a single-line text that ends in a
// number (nullopt when the pick is another entity, or the text has no number: the user is told);
// a failed pick raises the host's error.
struct PickedNumberedText {
    EntityPtr text;
    NumberedText parts;
};
std::optional<PickedNumberedText> PickNumberedText(tacad& adapter, Platform& platform);
// Then each point the user picks gets a copy whose number is counted on by increment, until the
// point prompt ends with its error; std::overflow_error when the number no longer fits.
void WriteNumberedCopies(tacad& adapter, const PickedNumberedText& picked, std::int64_t increment);

}  // namespace navisaz
