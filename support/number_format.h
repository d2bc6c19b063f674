#pragma once

#include <string>

namespace navisaz {

// A number in fixed notation with the given decimals and decimal separator, right-aligned in at
// least width characters, as the Windows program's Format("%*.*f") writes it: the value is first
// taken to 18 significant digits, then rounded half away from zero at the last decimal kept.
std::u16string FormatFixed(long double value, int decimals, char16_t decimalSeparator,
                           int width = 0);

}  // namespace navisaz
