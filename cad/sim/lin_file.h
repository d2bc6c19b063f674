#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cad/sim/drawing.h"

namespace navisaz::sim {

// Reads the line types of a .lin file: a header line "*NAME,description" followed by a pattern
// line "A,dash,gap,..." (';' begins a comment). Complex elements in brackets are kept in the
// definition text and take no part in the dash lengths. Raises HostError naming the line for a
// header without a pattern or a number that does not parse.
std::vector<LinetypeData> ParseLinFile(std::string_view contents, const std::string& fileName);

}  // namespace navisaz::sim
