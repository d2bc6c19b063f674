#pragma once

// The low layer of a DXF file: group-code/value pairs exactly as the file spells them, so that a
// file read and written back without edits is the same bytes.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace navisaz::dxf {

struct Tag {
    int code = 0;
    std::string value;     // the value line's bytes, without its line ending
    std::string codeText;  // the code line as written ("  0", "10"); empty: write it plainly
    std::size_t line = 0;  // the code line's number in the file (1-based); 0 for new tags

    static Tag Make(int code, std::string value) { return {code, std::move(value), {}, 0}; }
};

struct TagFile {
    std::vector<Tag> tags;
    std::string lineEnding = "\r\n";
    std::string afterEnd;  // whatever followed the final EOF tag, kept as it was
    bool endsWithLineBreak = true;
};

// Splits DXF text into tags. Raises DxfError for binary DXF, a DWG file, a group code that is not
// a number or out of range, and a code without its value.
TagFile ReadTags(std::string_view bytes);

// Writes the tags back; tags read from a file keep their code lines.
std::string WriteTags(const TagFile& file);

}  // namespace navisaz::dxf
