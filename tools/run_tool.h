#pragma once

#include <iosfwd>

namespace navisaz {

// The headless runner: runs the command surface's handlers on the substitute host from a JSON
// scenario and prints a JSON report. Returns the exit status (2 for a bad scenario).
int RunScenarioTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace navisaz
