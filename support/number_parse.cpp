#include "support/number_parse.h"

#include <cmath>
#include <cstdlib>

#include "engine/platform_integer.h"
#include "engine/utf8.h"

namespace navisaz {

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::string Quoted(std::u16string_view text) {
    return "'" + EncodeUtf8(text) + "'";
}

}  // namespace

std::optional<long double> ParsePlatformFloat(std::u16string_view text, char16_t decimalSeparator) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    std::string ascii;  // the number in the C locale's form, for strtold
    std::size_t i = begin;
    if (i < end && (text[i] == u'+' || text[i] == u'-'))
        ascii.push_back(static_cast<char>(text[i++]));
    std::size_t digits = 0;
    while (i < end && IsDigit(text[i])) {
        ascii.push_back(static_cast<char>(text[i++]));
        ++digits;
    }
    if (i < end && text[i] == decimalSeparator) {
        ascii.push_back('.');
        ++i;
        while (i < end && IsDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i++]));
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < end && (text[i] == u'E' || text[i] == u'e')) {
        ascii.push_back('e');
        ++i;
        if (i < end && (text[i] == u'+' || text[i] == u'-'))
            ascii.push_back(static_cast<char>(text[i++]));
        std::size_t exponentDigits = 0;
        while (i < end && IsDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i++]));
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;
    const long double value = std::strtold(ascii.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

long double StrToFloat(std::u16string_view text, char16_t decimalSeparator) {
    if (const auto value = ParsePlatformFloat(text, decimalSeparator))
        return *value;
    throw ConvertError(Quoted(text) + " is not a valid floating point value");
}

std::int64_t StrToInt64(std::u16string_view text) {
    if (const auto value = ParsePlatformInteger(text, IntegerWidth::Bits64))
        return *value;
    throw ConvertError(Quoted(text) + " is not a valid integer value");
}

std::int32_t StrToInt(std::u16string_view text) {
    if (const auto value = ParsePlatformInteger(text, IntegerWidth::Bits32)) {
        return static_cast<std::int32_t>(*value);
    }
    throw ConvertError(Quoted(text) + " is not a valid integer value");
}

}  // namespace navisaz
