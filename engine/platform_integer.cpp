#include "engine/platform_integer.h"

namespace navisaz {

namespace {

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int64_t> ParsePlatformInteger(std::u16string_view text, IntegerWidth width) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' &&
               (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    const unsigned bits = width == IntegerWidth::Bits32 ? 32 : 64;
    const std::uint64_t unsignedMax = bits == 64 ? UINT64_MAX : (std::uint64_t{1} << bits) - 1;
    const std::uint64_t signedMax = unsignedMax >> 1;
    const std::uint64_t limit = hex ? unsignedMax : signedMax + (negative ? 1 : 0);
    const unsigned base = hex ? 16 : 10;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0 || digit >= static_cast<int>(base)) {
            return std::nullopt;
        }
        if (magnitude > (limit - static_cast<unsigned>(digit)) / base) {
            return std::nullopt;
        }
        magnitude = magnitude * base + static_cast<unsigned>(digit);
    }
    // Two's complement wrap within the width: hexadecimal above the signed maximum reads negative.
    std::uint64_t value = negative ? (~magnitude + 1) : magnitude;
    if (bits == 32) {
        value &= unsignedMax;
        const auto narrow = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return static_cast<std::int64_t>(narrow);
    }
    return static_cast<std::int64_t>(value);
}

}  // namespace navisaz
