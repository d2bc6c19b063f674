#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace navisaz {

// Strict UTF-8 decoding to UTF-16. Hand-written because the engine stays on the standard library,
// whose own converters are deprecated. Overlong forms, surrogates, code points above U+10FFFF and
// truncated sequences are rejected.
struct Utf8Decoded {
    std::u16string text;
    bool valid = true;
    std::size_t errorOffset = 0;  // byte offset of the first bad sequence when not valid
};

Utf8Decoded DecodeUtf8(std::string_view bytes);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

}  // namespace navisaz
