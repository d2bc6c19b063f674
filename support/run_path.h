#pragma once

#include <string>

#include "support/platform.h"

namespace navisaz {

// The install folder, kept in the user's settings under the key "Navisaz", value "RUNPATH", and
// always ending in a path separator. Support files are found relative to it.
inline constexpr const char16_t* RunPathKey = u"Navisaz";
inline constexpr const char16_t* RunPathValue = u"RUNPATH";

// The stored folder; empty when the program never ran (paths are then relative).
std::u16string ReadRunPath(Platform& platform);
// Stores the running program's folder, with one trailing separator.
void WriteRunPath(Platform& platform);

}  // namespace navisaz
