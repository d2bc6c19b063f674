#include "cad/lineweight.h"

namespace navisaz {

namespace {

struct LineweightStep {
    long double fromMm;  // this code from this width up to the next row's width
    std::int32_t code;
};

constexpr LineweightStep LineweightSteps[] = {
    {0.0L, 0},    {0.05L, 5},  {0.09L, 9},  {0.13L, 13},  {0.15L, 15}, {0.18L, 18},
    {0.2L, 20},   {0.25L, 25}, {0.3L, 30},  {0.35L, 35},  {0.4L, 40},  {0.5L, 50},
    {0.53L, 53},  {0.6L, 60},  {0.7L, 70},  {0.8L, 80},   {0.9L, 90},  {1.0L, 100},
    {1.06L, 106}, {1.2L, 120}, {1.4L, 140}, {1.58L, 158}, {2.0L, 200}, {2.11L, 211},
};

constexpr std::int32_t BelowZero = -1;

}  // namespace

std::int32_t LineweightFromMm(float widthMm) {
    const long double width = widthMm;  // exact widening
    std::int32_t code = BelowZero;
    for (const LineweightStep& step : LineweightSteps) {
        if (width < step.fromMm) {
            break;
        }
        code = step.code;
    }
    return code;
}

}  // namespace navisaz
