#include "tools/text_tool.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <functional>
#include <istream>
#include <map>
#include <ostream>
#include <string>

#include "engine/codepage.h"
#include "engine/ipt_encoder.h"
#include "engine/naskh_decoder.h"
#include "engine/naskh_encoder.h"
#include "engine/number_words.h"
#include "engine/platform_integer.h"
#include "engine/shiraz2_decoder.h"
#include "engine/typed_text.h"
#include "engine/utf8.h"

namespace navisaz {

namespace {

enum class OutputForm { Utf8, Cp1256, Hex };
enum class InputForm { Utf8, Cp1256 };

// A line the tool cannot take; the message names it.
struct LineError {
    std::string message;
};

std::string Hex(const std::string& bytes) {
    std::string out;
    char digits[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(bytes[i]));
        if (i > 0) {
            out.push_back(' ');
        }
        out += digits;
    }
    return out;
}

// Bytes as the chosen output form; utf8 widens them with the given code page first.
std::string Render(const std::string& bytes, OutputForm form, CodePage widenWith) {
    switch (form) {
        case OutputForm::Cp1256:
            return bytes;
        case OutputForm::Hex:
            return Hex(bytes);
        case OutputForm::Utf8:
            break;
    }
    return EncodeUtf8(WidenBytes(widenWith, bytes));
}

std::u16string Utf8Line(const std::string& line, std::size_t lineNumber) {
    Utf8Decoded decoded = DecodeUtf8(line);
    if (!decoded.valid) {
        throw LineError{"line " + std::to_string(lineNumber) + ": invalid UTF-8 at byte " +
                        std::to_string(decoded.errorOffset + 1)};
    }
    return std::move(decoded.text);
}

// Runs handle on every line of in (LF-separated; a CR before the LF stays in the line) and
// writes each result as its own line, flushing so that the lines before an error are out.
int EachLine(std::istream& in, std::ostream& out, std::ostream& err,
             const std::function<std::string(const std::string&, std::size_t)>& handle) {
    std::string line;
    std::size_t lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        try {
            out << handle(line, lineNumber) << '\n';
            out.flush();
        } catch (const LineError& error) {
            err << "navisaz-text: " << error.message << '\n';
            return 2;
        }
    }
    return 0;
}

std::string SpellNumber(const std::string& text, const std::string& where) {
    std::string digits = text;
    std::string ending;
    if (!digits.empty() && digits.back() == '\r') {
        digits.pop_back();
        ending = "\r";
    }
    const Utf8Decoded decoded = DecodeUtf8(digits);
    const auto value =
        decoded.valid ? ParsePlatformInteger(decoded.text, IntegerWidth::Bits64) : std::nullopt;
    if (!value) {
        throw LineError{where + ": \"" + digits + "\" is not a whole number"};
    }
    return EncodeUtf8(WidenBytes(CodePage::Windows1256, NumberToWords(*value))) + ending;
}

}  // namespace

int RunTextTool(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                std::ostream& err) {
    CLI::App app{
        "Persian text for drawings: glyph codes of the Naskh and IPT fonts, decoding of "
        "Naskh and Shiraz2 drawing texts, numbers in Persian words.",
        "navisaz-text"};
    app.require_subcommand(1);
    app.fallthrough();

    int codepageNumber = 1256;
    app.add_option("--codepage", codepageNumber,
                   "system code page that widens glyph bytes to drawing text")
        ->check(CLI::IsMember({1256, 1252}));

    const std::map<std::string, OutputForm> outputForms = {
        {"utf8", OutputForm::Utf8}, {"cp1256", OutputForm::Cp1256}, {"hex", OutputForm::Hex}};
    const std::map<std::string, InputForm> inputForms = {{"utf8", InputForm::Utf8},
                                                         {"cp1256", InputForm::Cp1256}};

    std::string encodeFont;
    InputForm encodeIn = InputForm::Utf8;
    OutputForm encodeOut = OutputForm::Utf8;
    CLI::App* encode = app.add_subcommand("encode", "typed text to glyph codes, line by line");
    encode->add_option("--font", encodeFont, "glyph font")
        ->required()
        ->check(CLI::IsMember({"naskh", "ipt"}));
    encode->add_option("--in", encodeIn, "input: UTF-8 as typed, or raw Windows-1256 bytes")
        ->transform(CLI::CheckedTransformer(inputForms));
    encode
        ->add_option("--out", encodeOut,
                     "output: UTF-8 drawing text, raw glyph bytes, or hex bytes")
        ->transform(CLI::CheckedTransformer(outputForms));

    std::string decodeFont;
    OutputForm decodeOut = OutputForm::Utf8;
    CLI::App* decode = app.add_subcommand("decode", "drawing text (UTF-8) to Windows-1256");
    decode->add_option("--font", decodeFont, "glyph font of the drawing text")
        ->required()
        ->check(CLI::IsMember({"naskh", "shiraz2"}));
    decode->add_option("--out", decodeOut, "output: UTF-8, raw Windows-1256 bytes, or hex bytes")
        ->transform(CLI::CheckedTransformer(outputForms));

    std::vector<std::string> numbers;
    CLI::App* words = app.add_subcommand("words", "whole numbers in Persian words");
    words->add_option("N", numbers, "numbers to spell (otherwise one per input line)");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error, out, err);
        return status == 0 ? 0 : 2;
    }

    const CodePage systemPage =
        codepageNumber == 1252 ? CodePage::Windows1252 : CodePage::Windows1256;

    if (*encode) {
        const bool naskh = encodeFont == "naskh";
        return EachLine(in, out, err, [&](const std::string& line, std::size_t lineNumber) {
            std::string windows = line;
            if (encodeIn == InputForm::Utf8) {
                const WindowsText typed = TypedTextToWindows(Utf8Line(line, lineNumber));
                if (typed.unmappedCount > 0) {
                    err << "navisaz-text: line " << lineNumber << ": " << typed.unmappedCount
                        << " character(s) have no Windows-1256 byte and were written as '?'\n";
                }
                windows = typed.bytes;
            }
            const std::string glyphs = naskh ? WindowsToNaskh(windows) : WindowsToIpt(windows);
            return Render(glyphs, encodeOut, systemPage);
        });
    }
    if (*decode) {
        const bool naskh = decodeFont == "naskh";
        return EachLine(in, out, err, [&](const std::string& line, std::size_t lineNumber) {
            const std::u16string drawingText = Utf8Line(line, lineNumber);
            const std::string windows =
                naskh ? NaskhToWindows(drawingText) : Shiraz2ToWindows(drawingText);
            return Render(windows, decodeOut, CodePage::Windows1256);
        });
    }
    if (!numbers.empty()) {
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            try {
                out << SpellNumber(numbers[i], "argument " + std::to_string(i + 1)) << '\n';
                out.flush();
            } catch (const LineError& error) {
                err << "navisaz-text: " << error.message << '\n';
                return 2;
            }
        }
        return 0;
    }
    return EachLine(in, out, err, [](const std::string& line, std::size_t lineNumber) {
        return SpellNumber(line, "line " + std::to_string(lineNumber));
    });
}

}  // namespace navisaz
