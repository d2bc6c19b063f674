#pragma once

#include <iosfwd>

namespace navisaz {

// The command-line text tool: encode typed Persian into glyph codes, decode drawing texts and
// spell numbers, line by line. Returns the exit status (2 on bad input or usage).
int RunTextTool(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                std::ostream& err);

}  // namespace navisaz
