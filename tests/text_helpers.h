#pragma once

// Helpers that let tests write Persian and glyph bytes readably.

#include <initializer_list>
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

}  // namespace navisaz::testing
