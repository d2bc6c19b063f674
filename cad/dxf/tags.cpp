#include "cad/dxf/tags.h"

#include <charconv>

#include "cad/dxf/dxf_error.h"

namespace navisaz::dxf {

namespace {

constexpr std::string_view BinaryDxfSentinel = "AutoCAD Binary DXF";
constexpr int LowestGroupCode = -5;
constexpr int HighestGroupCode = 1071;

bool LooksLikeDwg(std::string_view bytes) {
    return bytes.size() >= 6 && bytes.substr(0, 2) == "AC" && bytes[2] >= '1' && bytes[2] <= '9' &&
           bytes.substr(0, 6).find_first_not_of("AC0123456789") == std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

TagFile ReadTags(std::string_view bytes) {
    if (bytes.starts_with(BinaryDxfSentinel)) {
        throw DxfError(0, "binary DXF files are not supported; save the drawing as ASCII DXF");
    }
    if (LooksLikeDwg(bytes)) {
        throw DxfError(0, "this is a DWG drawing, not a DXF file");
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);  // a byte order mark some editors add
    }
    TagFile file;
    const auto firstBreak = bytes.find('\n');
    file.lineEnding =
        (firstBreak != std::string_view::npos && firstBreak > 0 && bytes[firstBreak - 1] == '\r')
            ? "\r\n"
            : "\n";
    std::size_t position = 0;
    std::size_t line = 0;
    const auto nextLine = [&](std::string_view& out) {
        if (position >= bytes.size())
            return false;
        std::size_t end = bytes.find('\n', position);
        if (end == std::string_view::npos)
            end = bytes.size();
        out = bytes.substr(position, end - position);
        if (!out.empty() && out.back() == '\r')
            out.remove_suffix(1);
        position = end + 1;
        ++line;
        return true;
    };
    std::string_view codeLine;
    while (nextLine(codeLine)) {
        const std::size_t codeLineNumber = line;
        const std::string_view digits = TrimBlanks(codeLine);
        int code = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
            throw DxfError(codeLineNumber,
                           "group code \"" + std::string(codeLine) + "\" is not a number");
        }
        if (code < LowestGroupCode || code > HighestGroupCode) {
            throw DxfError(codeLineNumber,
                           "group code " + std::to_string(code) + " is out of range");
        }
        std::string_view value;
        if (!nextLine(value)) {
            throw DxfError(codeLineNumber, "the file ends after group code " +
                                               std::to_string(code) + " without its value");
        }
        file.tags.push_back({code, std::string(value), std::string(codeLine), codeLineNumber});
        if (code == 0 && TrimBlanks(value) == "EOF") {
            file.endsWithLineBreak = position <= bytes.size();
            file.afterEnd = std::string(bytes.substr(std::min(position, bytes.size())));
            return file;
        }
    }
    return file;
}

std::string WriteTags(const TagFile& file) {
    std::string out;
    std::size_t size = file.afterEnd.size();
    for (const Tag& tag : file.tags)
        size += tag.codeText.size() + tag.value.size() + 8;
    out.reserve(size);
    for (const Tag& tag : file.tags) {
        if (tag.codeText.empty()) {
            // Group codes right-aligned in three columns, as the host writes them.
            const std::string digits = std::to_string(tag.code);
            if (digits.size() < 3)
                out.append(3 - digits.size(), ' ');
            out += digits;
        } else {
            out += tag.codeText;
        }
        out += file.lineEnding;
        out += tag.value;
        out += file.lineEnding;
    }
    if (!file.endsWithLineBreak && !out.empty()) {
        out.resize(out.size() - file.lineEnding.size());
    }
    out += file.afterEnd;
    return out;
}

}  // namespace navisaz::dxf
