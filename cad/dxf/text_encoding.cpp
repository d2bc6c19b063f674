#include "cad/dxf/text_encoding.h"

#include <iconv.h>

#include <cstdio>
#include <map>

#include "engine/codepage.h"
#include "engine/utf8.h"

namespace navisaz::dxf {

namespace {

// $DWGCODEPAGE names and the system's names for them.
const std::map<std::string, std::string>& CodePages() {
    static const std::map<std::string, std::string> pages = {
        {"ANSI_874", "CP874"},   {"ANSI_932", "CP932"},   {"ANSI_936", "CP936"},
        {"ANSI_949", "CP949"},   {"ANSI_950", "CP950"},   {"ANSI_1250", "CP1250"},
        {"ANSI_1251", "CP1251"}, {"ANSI_1252", "CP1252"}, {"ANSI_1253", "CP1253"},
        {"ANSI_1254", "CP1254"}, {"ANSI_1255", "CP1255"}, {"ANSI_1256", "CP1256"},
        {"ANSI_1257", "CP1257"}, {"ANSI_1258", "CP1258"}, {"DOS437", "CP437"},
        {"DOS850", "CP850"},     {"DOS720", "CP720"},     {"ISO8859-1", "ISO-8859-1"},
    };
    return pages;
}

// \M+n: the East Asian page of a double-byte character.
const char* MultibytePage(char n) {
    switch (n) {
        case '1':
            return "CP932";
        case '2':
            return "CP950";
        case '3':
            return "CP949";
        case '4':
            return "JOHAB";
        case '5':
            return "CP936";
        default:
            return nullptr;
    }
}

std::u16string IconvToUtf16(const std::string& page, std::string_view bytes) {
    iconv_t cd = iconv_open("UTF-16LE", page.c_str());
    std::u16string out;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (const char c : bytes)
            out.push_back(static_cast<unsigned char>(c));
        return out;
    }
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::string buffer(input.size() * 4 + 8, '\0');
    while (inLeft > 0) {
        char* o = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t done = iconv(cd, &in, &inLeft, &o, &outLeft);
        const std::size_t produced = buffer.size() - outLeft;
        for (std::size_t i = 0; i + 1 < produced; i += 2) {
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(buffer[i]) |
                                                (static_cast<unsigned char>(buffer[i + 1]) << 8)));
        }
        if (done == static_cast<std::size_t>(-1) && inLeft > 0) {
            out.push_back(static_cast<unsigned char>(*in));  // a byte the page lacks: kept as is
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

std::string IconvFromUtf16(const std::string& page, char16_t u) {
    iconv_t cd = iconv_open(page.c_str(), "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    char in[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    char out[8];
    char* i = in;
    char* o = out;
    std::size_t inLeft = 2, outLeft = sizeof out;
    const std::size_t done = iconv(cd, &i, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        return {};
    return std::string(out, sizeof out - outLeft);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads n hex digits at text[at]; -1 when they are not all hex digits.
long HexNumber(std::string_view text, std::size_t at, std::size_t n) {
    if (at + n > text.size())
        return -1;
    long value = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int digit = HexValue(text[at + i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

bool KnownCodePage(const std::string& codePage) {
    return CodePages().contains(codePage);
}

TextEncoding::TextEncoding(bool utf8, const std::string& codePage) : utf8_(utf8) {
    const auto found = CodePages().find(codePage);
    iconvName_ = found == CodePages().end() ? "CP1252" : found->second;
}

std::u16string TextEncoding::Decode(std::string_view bytes) const {
    // The escapes are ASCII, so the raw text is split at them before decoding the rest.
    std::u16string out;
    std::size_t plainStart = 0;
    const auto flush = [&](std::size_t end) {
        const std::string_view plain = bytes.substr(plainStart, end - plainStart);
        if (plain.empty())
            return;
        if (utf8_) {
            const Utf8Decoded decoded = DecodeUtf8(plain);
            out += decoded.valid ? decoded.text : IconvToUtf16("CP1252", plain);
        } else if (iconvName_ == "CP1256") {
            out += WidenBytes(CodePage::Windows1256, plain);
        } else if (iconvName_ == "CP1252") {
            out += WidenBytes(CodePage::Windows1252, plain);
        } else {
            out += IconvToUtf16(iconvName_, plain);
        }
    };
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == '\\' && bytes.substr(i, 3) == "\\U+") {
            const long code = HexNumber(bytes, i + 3, 4);
            if (code >= 0) {
                flush(i);
                out.push_back(static_cast<char16_t>(code));
                i += 7;
                plainStart = i;
                continue;
            }
        }
        if (bytes[i] == '\\' && bytes.substr(i, 3) == "\\M+" && i + 3 < bytes.size()) {
            const char* page = MultibytePage(bytes[i + 3]);
            const long code = HexNumber(bytes, i + 4, 4);
            if (page != nullptr && code >= 0) {
                flush(i);
                const std::string pair = {static_cast<char>(code >> 8),
                                          static_cast<char>(code & 0xFF)};
                out += IconvToUtf16(page, pair);
                i += 8;
                plainStart = i;
                continue;
            }
        }
        ++i;
    }
    flush(bytes.size());
    return out;
}

std::string TextEncoding::Encode(std::u16string_view text) const {
    if (utf8_) {
        return EncodeUtf8(text);
    }
    std::string out;
    for (const char16_t u : text) {
        std::string bytes;
        if (u < 0x80) {
            bytes = std::string(1, static_cast<char>(u));
        } else if (iconvName_ == "CP1256" || iconvName_ == "CP1252") {
            const auto byte = NarrowChar(
                iconvName_ == "CP1256" ? CodePage::Windows1256 : CodePage::Windows1252, u);
            if (byte)
                bytes = std::string(1, static_cast<char>(*byte));
        } else {
            bytes = IconvFromUtf16(iconvName_, u);
        }
        if (bytes.empty()) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\U+%04X", static_cast<unsigned>(u));
            bytes = escape;
        }
        out += bytes;
    }
    return out;
}

}  // namespace navisaz::dxf
