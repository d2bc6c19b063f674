#pragma once

// Strings in a DXF file: UTF-8 from R2007 (AC1021) on; before that the code page named by
// $DWGCODEPAGE, with \U+XXXX for a character the page lacks and \M+nXXXX for a double-byte
// character of an East Asian page.

#include <string>
#include <string_view>

namespace navisaz::dxf {

class TextEncoding {
  public:
    // utf8: the file is R2007 or newer; codePage: the $DWGCODEPAGE value ("ANSI_1256").
    TextEncoding(bool utf8, const std::string& codePage);

    std::u16string Decode(std::string_view bytes) const;
    std::string Encode(std::u16string_view text) const;
    bool utf8() const { return utf8_; }
    const std::string& iconvName() const { return iconvName_; }

  private:
    bool utf8_;
    std::string iconvName_;  // the code page as iconv names it ("CP1256")
};

// Whether $DWGCODEPAGE names a code page this reader knows.
bool KnownCodePage(const std::string& codePage);

}  // namespace navisaz::dxf
