#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace navisaz {

enum class IntegerWidth { Bits32, Bits64 };

// The platform's ordinary string-to-integer conversion, reproduced exactly because stored texts
// and users' habits depend on what it accepts: leading spaces are skipped, then an optional '+'
// or '-', then either decimal digits or a hexadecimal number introduced by '$', 'x', 'X', '0x'
// or '0X'. Anything else, an empty text, a trailing blank or a value outside the width fails.
// Hexadecimal numbers may fill the unsigned range of the width and are read as two's complement
// ("$FFFFFFFF" is -1 at 32 bits), as the platform does.
std::optional<std::int64_t> ParsePlatformInteger(std::u16string_view text, IntegerWidth width);

}  // namespace navisaz
