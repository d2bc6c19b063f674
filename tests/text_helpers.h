#pragma once

// Helpers that let tests write Persian and glyph bytes readably.

#include <functional>
#include <initializer_list>
#include <random>
#include <string>

#include "engine/typed_text.h"
#include "engine/utf8.h"

namespace navisaz::testing {

// Windows-1256 bytes of a UTF-8 literal.
inline std::string Cp1256(const char* utf8) {
    return TypedTextToWindows(DecodeUtf8(utf8).text).bytes;
}

// A byte string from byte values.
inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int v : values) {
        bytes.push_back(static_cast<char>(v));
    }
    return bytes;
}

// UTF-16 from a UTF-8 literal.
inline std::u16string Utf16(const char* utf8) {
    return DecodeUtf8(utf8).text;
}

// Hex dump for readable failure messages.
inline std::string HexOf(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (!out.empty())
            out.push_back(' ');
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

// Calls check on `trials` random texts of up to maxLength characters drawn from alphabet, the
// same texts on every run (fixed seed).
template <typename Text>
void ForRandomTexts(const Text& alphabet, int maxLength, int trials, unsigned seed,
                    const std::function<void(const Text&)>& check) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, maxLength);
    for (int trial = 0; trial < trials; ++trial) {
        Text text;
        for (int n = length(random); n > 0; --n) {
            text.push_back(alphabet[pick(random)]);
        }
        check(text);
    }
}

}  // namespace navisaz::testing
