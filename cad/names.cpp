#include "cad/names.h"

#include "engine/utf8.h"

namespace navisaz {

std::u16string FoldCase(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    return folded;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'a' && x <= u'z')
            x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z')
            y = static_cast<char16_t>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

std::string Narrow(std::u16string_view text) {
    return EncodeUtf8(text);
}

std::u16string Widen(std::string_view utf8) {
    return DecodeUtf8(utf8).text;
}

}  // namespace navisaz
