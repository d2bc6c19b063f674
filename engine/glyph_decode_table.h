#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engine/codepage.h"

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
    struct Entry {
        std::array<char, 2> bytes{};
        unsigned char length = 0;
    };

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
        return glyph >= 0 && glyph < 256 && entries_[glyph].length != 0;
    }

    // The entry of glyph, which Has() must have confirmed.
    constexpr const Entry& At(int glyph) const { return entries_[glyph]; }

  private:
    std::array<Entry, 256> entries_{};
};

// What one code unit from the host decodes to, worked out for all 65536 once, so that the
// decoders cost one lookup per character.
class CodeUnitDecoder {
  public:
    using Entry = GlyphDecodeTable::Entry;

    // rule(u, b) may claim a code unit before the table is consulted (b is the byte recovered
    // from u); it returns the decoded byte, or -1 to leave u to the table. A code unit the table
    // has no entry for decodes to its own low 8 bits.
    template <typename Rule>
    CodeUnitDecoder(const GlyphDecodeTable& table, Rule rule) : entries_(0x10000) {
        for (std::size_t u = 0; u < entries_.size(); ++u) {
            const auto unit = static_cast<char16_t>(u);
            const int b = UnicodeToWindowsByte(unit);
            const int claimed = rule(unit, b);
            if (claimed >= 0) {
                entries_[u] = Entry{{static_cast<char>(claimed), 0}, 1};
            } else if (table.Has(b)) {
                entries_[u] = table.At(b);
            } else {
                entries_[u] = Entry{{static_cast<char>(u & 0xFF), 0}, 1};
            }
        }
    }

    // Every code unit of text decoded into Windows-1256 bytes.
    std::string Decode(std::u16string_view text) const {
        std::string out(2 * text.size(), '\0');
        char* write = out.data();
        for (const char16_t u : text) {
            const Entry& entry = entries_[u];
            write[0] = entry.bytes[0];
            write[1] = entry.bytes[1];
            write += entry.length;
        }
        out.resize(static_cast<std::size_t>(write - out.data()));
        return out;
    }

  private:
    std::vector<Entry> entries_;
};

}  // namespace navisaz
