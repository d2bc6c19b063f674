#pragma once

// The drawing of 100,000 entities (texts, polylines, points) the benchmarks work on.

#include <filesystem>

#include "cad/sim/drawing.h"

namespace navisaz::bench {

inline constexpr int BigDrawingEntities = 100000;

// Writes the drawing as DXF into folder (once per process) and returns its path.
std::filesystem::path BigDrawingFile(const std::filesystem::path& folder);

}  // namespace navisaz::bench
