#include "engine/platform_integer.h"

#include <gtest/gtest.h>

#include "engine/utf8.h"

namespace navisaz {
namespace {

TEST(ParsePlatformInteger, AcceptsWhatThePlatformAccepts) {
    struct Case {
        const char* text;
        IntegerWidth width;
        std::optional<std::int64_t> expected;
    };
    constexpr auto B32 = IntegerWidth::Bits32;
    constexpr auto B64 = IntegerWidth::Bits64;
    const Case cases[] = {
        {"176", B32, 176},
        {"  42", B32, 42},
        {"+7", B32, 7},
        {"-12", B32, -12},
        {"007", B32, 7},
        {"$41", B32, 0x41},
        {"x1f", B32, 0x1F},
        {"X1F", B32, 0x1F},
        {"0x10", B32, 16},
        {"0X10", B32, 16},
        {"-$10", B32, -16},
        {" -0x10", B32, -16},
        {"2147483647", B32, 2147483647},
        {"-2147483648", B32, -2147483648LL},
        {"$FFFFFFFF", B32, -1},
        {"9223372036854775807", B64, INT64_MAX},
        {"-9223372036854775808", B64, INT64_MIN},
        {"$FFFFFFFFFFFFFFFF", B64, -1},
        {"0", B32, 0},
        // failures
        {"", B32, std::nullopt},
        {"   ", B32, std::nullopt},
        {"-", B32, std::nullopt},
        {"$", B32, std::nullopt},
        {"0x", B32, std::nullopt},
        {"12 ", B32, std::nullopt},
        {"1 2", B32, std::nullopt},
        {"65x", B32, std::nullopt},
        {"d", B32, std::nullopt},
        {"1.5", B32, std::nullopt},
        {"\t5", B32, std::nullopt},
        {"2147483648", B32, std::nullopt},
        {"-2147483649", B32, std::nullopt},
        {"$100000000", B32, std::nullopt},
        {"9223372036854775808", B64, std::nullopt},
        {"۱۲", B32, std::nullopt},
        {"+-1", B32, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParsePlatformInteger(DecodeUtf8(c.text).text, c.width), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace navisaz
