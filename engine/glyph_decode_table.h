#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>

namespace navisaz {

// A range of glyph bytes that all decode to the same Windows-1256 text (one letter, or lam then
// alef for a ligature).
struct GlyphRange {
    unsigned char first;
    unsigned char last;
    const char* windows;
};

// Glyph byte to Windows-1256 text, built once from a list of ranges. A byte no range covers has
// no entry.
class GlyphDecodeTable {
  public:
    constexpr GlyphDecodeTable(std::initializer_list<GlyphRange> ranges) {
        for (const GlyphRange& range : ranges) {
            for (int b = range.first; b <= range.last; ++b) {
                Entry& entry = entries_[b];
                entry.length = 0;
                for (const char* p = range.windows; *p != '\0'; ++p) {
                    entry.bytes[entry.length++] = *p;
                }
            }
        }
    }

    constexpr bool Has(int glyph) const {
        return glyph >= 0 && glyph < 256 && entries_[glyph].length;
    }

    // Appends the entry of glyph, which Has() must have confirmed.
    void AppendTo(std::string& out, int glyph) const {
        const Entry& entry = entries_[glyph];
        out.append(entry.bytes.data(), entry.length);
    }

  private:
    struct Entry {
        std::array<char, 2> bytes{};
        std::size_t length = 0;
    };
    std::array<Entry, 256> entries_{};
};

}  // namespace navisaz
