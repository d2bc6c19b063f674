#pragma once

#include <cstdint>

namespace navisaz {

// The host's line-weight code (hundredths of a millimetre) for a width in millimetres: the
// standard weight at or below it, -1 below zero. The width is single precision and is compared,
// widened without rounding, with thresholds in extended precision, so a width just below its
// decimal value (0.13f, 0.35f, ...) falls into the weight below.
std::int32_t LineweightFromMm(float widthMm);

}  // namespace navisaz
