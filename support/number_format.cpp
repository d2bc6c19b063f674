#include "support/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace navisaz {

std::u16string FormatFixed(long double value, int decimals, char16_t decimalSeparator, int width) {
    std::u16string out;
    if (std::isnan(value)) {
        out = u"NAN";
    } else if (std::isinf(value)) {
        out = value < 0 ? u"-INF" : u"INF";
    } else {
        // 18 significant digits: d.ddddddddddddddddde±x
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(value));
        std::string digits;
        const char* p = buffer;
        for (; *p != 'e'; ++p) {
            if (*p != '.')
                digits.push_back(*p);
        }
        const int exponent = std::atoi(p + 1);
        // Position of the decimal point in digits: after exponent + 1 digits.
        int pointAt = exponent + 1;
        if (pointAt < 0) {
            digits.insert(0, static_cast<std::size_t>(-pointAt), '0');
            pointAt = 0;
        }
        const std::size_t keep = static_cast<std::size_t>(pointAt + decimals);
        if (digits.size() < keep + 1)
            digits.append(keep + 1 - digits.size(), '0');
        const bool roundUp = digits[keep] >= '5';
        digits.resize(keep);
        if (roundUp) {
            int i = static_cast<int>(keep) - 1;
            for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) {
                digits[static_cast<std::size_t>(i)] = '0';
            }
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++pointAt;
            }
        }
        std::string integer = digits.substr(0, static_cast<std::size_t>(pointAt));
        const std::string fraction = digits.substr(static_cast<std::size_t>(pointAt));
        const auto first = integer.find_first_not_of('0');
        integer = first == std::string::npos ? "0" : integer.substr(first);
        const bool allZero = integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
        if (value < 0 && !allZero)
            out.push_back(u'-');
        for (const char c : integer)
            out.push_back(static_cast<char16_t>(c));
        if (decimals > 0) {
            out.push_back(decimalSeparator);
            for (const char c : fraction)
                out.push_back(static_cast<char16_t>(c));
        }
    }
    if (static_cast<int>(out.size()) < width) {
        out.insert(0, static_cast<std::size_t>(width) - out.size(), u' ');
    }
    return out;
}

}  // namespace navisaz
