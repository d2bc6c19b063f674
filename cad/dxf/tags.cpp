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

}  // namespace

TagFile ReadTags(std::string content) {
    TagFile file;
    file.bytes = std::make_shared<const std::string>(std::move(content));
    std::string_view bytes = *file.bytes;
    if (bytes.starts_with(BinaryDxfSentinel)) {
        throw DxfError(0, "binary DXF files are not supported; save the drawing as ASCII DXF");
    }
    if (LooksLikeDwg(bytes)) {
        throw DxfError(0, "this is a DWG drawing, not a DXF file");
    }
    std::size_t position = 0;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        position = 3;  // a byte order mark some editors add
        file.prefix = bytes.substr(0, 3);
    }
    const auto firstBreak = bytes.find('\n');
    file.lineEnding =
        (firstBreak != std::string_view::npos && firstBreak > 0 && bytes[firstBreak - 1] == '\r')
            ? "\r\n"
            : "\n";
    if (bytes.size() > UINT32_MAX) {
        throw DxfError(0, "the file is larger than 4 GB");
    }
    file.stored.reserve(bytes.size() / 12);
    std::uint32_t line = 0;
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
        const std::uint32_t codeLineNumber = line;
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
        file.stored.push_back({code, static_cast<std::uint32_t>(codeLine.data() - bytes.data()),
                               static_cast<std::uint32_t>(value.data() - bytes.data()),
                               static_cast<std::uint32_t>(value.size())});
        if (code == 0 && TrimBlanks(value) == "EOF") {
            break;
        }
    }
    return file;
}

void TagWriter::Add(int code, std::string_view value) {
    // Group codes right-aligned in three columns, as the host writes them.
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, code);
    const std::size_t length = static_cast<std::size_t>(end - digits);
    if (length < 3)
        out_.append(3 - length, ' ');
    out_.append(digits, length);
    out_ += lineEnding_;
    out_ += value;
    out_ += lineEnding_;
    (void)error;
}

void TagWriter::Add(const Tag& tag) {
    if (tag.codeText.empty()) {
        Add(tag.code, tag.value);
        return;
    }
    out_ += tag.codeText;
    out_ += lineEnding_;
    out_ += tag.value;
    out_ += lineEnding_;
}

void TagWriter::Copy(const TagFile& file, std::size_t begin, std::size_t end) {
    if (begin >= end || begin >= file.size())
        return;
    const char* start = file.bytes->data() + file.stored[begin].codeOffset;
    const char* stop = end < file.size() ? file.bytes->data() + file.stored[end].codeOffset
                                         : file.bytes->data() + file.bytes->size();
    out_.append(start, static_cast<std::size_t>(stop - start));
}

}  // namespace navisaz::dxf
