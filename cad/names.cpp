#include "cad/names.h"

#include <filesystem>

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

// The path as given, or with each missing component replaced by an entry of its folder that
// differs only in case: support paths are written for a system that ignores case
// ("CADSupport\fonts" and "CADSupport\Fonts" are one folder there).
std::filesystem::path ResolveCase(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::exists(path, error))
        return path;
    std::filesystem::path resolved = path.root_path();
    for (const std::filesystem::path& part : path.relative_path()) {
        std::filesystem::path next = resolved / part;
        if (!std::filesystem::exists(next, error)) {
            for (const auto& entry :
                 std::filesystem::directory_iterator(resolved.empty() ? "." : resolved, error)) {
                if (SameName(entry.path().filename().u16string(), part.u16string())) {
                    next = entry.path();
                    break;
                }
            }
        }
        resolved = next;
    }
    return resolved;
}

}  // namespace navisaz
