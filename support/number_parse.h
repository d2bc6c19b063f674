#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace navisaz {

// A text that is not the number a field must hold; the message is the one users of the Windows
// program know ("'abc' is not a valid floating point value").
class ConvertError : public std::runtime_error {
  public:
    explicit ConvertError(const std::string& message) : std::runtime_error(message) {}
};

// A decimal number as the platform reads it with the user's decimal separator: blanks around it
// are ignored, then an optional sign, digits with at most one separator, and an optional
// exponent (E or e, optional sign, digits). Nothing else is accepted; in particular '.' is not a
// separator when the user's separator is ','.
std::optional<long double> ParsePlatformFloat(std::u16string_view text, char16_t decimalSeparator);

// The same, raising ConvertError for a text that is not a number.
long double StrToFloat(std::u16string_view text, char16_t decimalSeparator);
// A signed 64-bit integer as the platform reads it (see ParsePlatformInteger); ConvertError
// otherwise.
std::int64_t StrToInt64(std::u16string_view text);
std::int32_t StrToInt(std::u16string_view text);

}  // namespace navisaz
