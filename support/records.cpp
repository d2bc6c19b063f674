#include "support/records.h"

#include <cmath>

namespace navisaz {

mcoor2d MakeCoor2d(long double x, long double y) {
    return {x, y};
}

mText MakeText(const std::string& text, const mcoor2d& point, long double height,
               long double rotation, const std::string& styleName, bool encodeNaskh,
               CodePage systemCodePage) {
    mText record;
    record.X = point.X;
    record.Y = point.Y;
    record.Z = 0;
    record.TextString = WidenBytes(systemCodePage, text);
    record.Height = height;
    record.Rotation = rotation;
    record.StyleName = styleName;
    record.Alignment = 0;
    record.EncodeNaskh = encodeNaskh;
    return record;
}

long double Distance2d(long double x1, long double y1, long double x2, long double y2) {
    const long double dx = x1 - x2;
    const long double dy = y1 - y2;
    return std::sqrt(dx * dx + dy * dy);
}

void PolarOffset(long double& x, long double& y, long double distance, long double angle) {
    x += distance * std::cos(angle);
    y += distance * std::sin(angle);
}

void PolarOffsetPoint(mcoor2d& point, long double distance, long double angle) {
    PolarOffset(point.X, point.Y, distance, angle);
}

}  // namespace navisaz
