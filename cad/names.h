#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace navisaz {

// Host names (members, styles, layers, system variables, commands) compare without regard to
// the case of ASCII letters, as the CAD host does.
std::u16string FoldCase(std::u16string_view name);
bool SameName(std::u16string_view a, std::u16string_view b);

// UTF-16 text as UTF-8 for messages raised in exceptions.
std::string Narrow(std::u16string_view text);
// A UTF-8 literal as UTF-16.
std::u16string Widen(std::string_view utf8);

// The path as given, or with each missing component replaced by an entry of its folder that
// differs only in case: support paths are written for a system that ignores case.
std::filesystem::path ResolveCase(const std::filesystem::path& path);

}  // namespace navisaz
