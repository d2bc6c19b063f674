#pragma once

// The low layer of a DXF file: group-code/value pairs exactly as the file spells them. The tags
// are views into the file's bytes, so that reading costs little memory and a range of tags can be
// written back as the very bytes it came from.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace navisaz::dxf {

// A value without the blanks some writers put around it.
inline std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

struct Tag {
    int code = 0;
    std::uint32_t line = 0;     // the code line's number in the file (1-based)
    std::string_view value;     // the value line, without its line ending
    std::string_view codeText;  // the code line as written ("  0", "10")
};

// A tag as stored: offsets into the file's bytes. Every tag is two lines, so its line number
// follows from its position.
struct StoredTag {
    std::int32_t code;
    std::uint32_t codeOffset;
    std::uint32_t valueOffset;
    std::uint32_t valueLength;
};

struct TagFile {
    std::shared_ptr<const std::string> bytes;
    std::vector<StoredTag> stored;
    std::string lineEnding = "\r\n";
    std::string_view prefix;  // anything before the first tag (a byte order mark)

    std::size_t size() const { return stored.size(); }
    bool empty() const { return stored.empty(); }
    Tag operator[](std::size_t i) const {
        const StoredTag& t = stored[i];
        const char* data = bytes->data();
        std::size_t codeEnd = t.valueOffset - 1;  // the '\n' before the value
        if (codeEnd > t.codeOffset && data[codeEnd - 1] == '\r')
            --codeEnd;
        return {t.code, static_cast<std::uint32_t>(2 * i + 1),
                std::string_view(data + t.valueOffset, t.valueLength),
                std::string_view(data + t.codeOffset, codeEnd - t.codeOffset)};
    }
    Tag back() const { return (*this)[size() - 1]; }
};

// Splits DXF text into tags. Raises DxfError for binary DXF, a DWG file, a group code that is not
// a number or out of range, and a code without its value.
TagFile ReadTags(std::string bytes);

// Builds DXF text: new tags, and ranges of read tags copied as their original bytes.
class TagWriter {
  public:
    explicit TagWriter(std::string lineEnding) : lineEnding_(std::move(lineEnding)) {}

    void Add(int code, std::string_view value);
    // A read tag with its own code line.
    void Add(const Tag& tag);
    // Tags [begin, end) of the file as they were, line endings and all; end == size also copies
    // whatever followed the last tag.
    void Copy(const TagFile& file, std::size_t begin, std::size_t end);
    void Raw(std::string_view text) { out_ += text; }
    void Reserve(std::size_t size) { out_.reserve(size); }
    std::size_t Size() const { return out_.size(); }
    // Replaces length bytes at position with text (a value written before it was known).
    void Replace(std::size_t position, std::size_t length, std::string_view text) {
        out_.replace(position, length, text);
    }
    std::string Take() { return std::move(out_); }

  private:
    std::string lineEnding_;
    std::string out_;
};

}  // namespace navisaz::dxf
