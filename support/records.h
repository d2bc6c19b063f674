#pragma once

// The records the commands fill and the adapter turns into drawing texts, and the plane-geometry
// helpers. Extended-precision values are long double.

#include <cstdint>
#include <string>

#include "engine/codepage.h"

namespace navisaz {

// A plane point.
struct mcoor2d {
    long double X = 0;
    long double Y = 0;
};

// Everything needed to create one single-line drawing text.
struct mText {
    long double X = 0;
    long double Y = 0;
    long double Z = 0;
    std::u16string TextString;
    long double Height = 0;
    long double Rotation = 0;  // radians
    std::string StyleName;     // Windows-1256; blank: the drawing's current style
    std::uint8_t Alignment = 0;
    bool EncodeNaskh = false;  // write the text as Naskh glyph codes, drawn backwards
};

mcoor2d MakeCoor2d(long double x, long double y);

// A text record at a plane point (Z 0, alignment left). The text and style name are
// Windows-1256; the text is widened with the system code page.
mText MakeText(const std::string& text, const mcoor2d& point, long double height,
               long double rotation, const std::string& styleName, bool encodeNaskh,
               CodePage systemCodePage = CodePage::Windows1256);

long double Distance2d(long double x1, long double y1, long double x2, long double y2);

// Moves (x, y) by distance in the direction angle (radians, counter-clockwise from the x axis).
void PolarOffset(long double& x, long double& y, long double distance, long double angle);
void PolarOffsetPoint(mcoor2d& point, long double distance, long double angle);

}  // namespace navisaz
