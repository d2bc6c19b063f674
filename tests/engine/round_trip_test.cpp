// Encoding with the Naskh encoder and decoding what the host hands back gives the text again,
// apart from the documented losses: ک comes back as ك, ئ as ء and the ZWNJ as a space.

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/codepage.h"
#include "engine/naskh_decoder.h"
#include "engine/naskh_encoder.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

using testing::Cp1256;
using testing::HexOf;

// Every character the Naskh font draws: the letters, the single-form punctuation, digits and the
// number punctuation.
const std::string& RoundTripAlphabet() {
    static const std::string alphabet =
        Cp1256("پچژگکءآؤئابتثجحخدذرزسشصضطظعغـفقكلمنهوي") + "0123456789./ !$,:()" +
        std::string{static_cast<char>(0x9D), static_cast<char>(0xB1), static_cast<char>(0xF7)};
    return alphabet;
}

bool Drawable(const std::string& text) {
    return text.find_first_not_of(RoundTripAlphabet()) == std::string::npos;
}

std::string ExpectedAfterRoundTrip(std::string text) {
    for (char& c : text) {
        switch (static_cast<unsigned char>(c)) {
            case 0x98:  // ک
                c = static_cast<char>(0xDF);
                break;
            case 0xC6:  // ئ
                c = static_cast<char>(0xC1);
                break;
            case 0x9D:  // ZWNJ
                c = ' ';
                break;
            default:
                break;
        }
    }
    return text;
}

void ExpectRoundTrip(const std::string& text) {
    const std::string glyphs = WindowsToNaskh(text);
    for (const CodePage page : {CodePage::Windows1256, CodePage::Windows1252}) {
        ASSERT_EQ(HexOf(NaskhToWindows(WidenBytes(page, glyphs))),
                  HexOf(ExpectedAfterRoundTrip(text)))
            << "input " << HexOf(text) << " glyphs " << HexOf(glyphs);
    }
}

TEST(NaskhRoundTrip, Sentences) {
    const char* sentences[] = {
        "سلام",
        "کتاب صبح",
        "شهرداري منطقه 12 تهران",
        "تاريخ 1390/12/05 ساعت 10:30",
        "لا الله آب ـ  پل",
        "مي\u200Cروم",
        "نقطه (ب) ارتفاع 1234.56",
        "ژاله گوزن چشم مؤمن",
        "رئيس ئ ء",
        "",
    };
    for (const char* sentence : sentences) {
        ExpectRoundTrip(Cp1256(sentence));
    }
}

TEST(NaskhRoundTrip, RandomTextsOverTheWholeAlphabet) {
    testing::ForRandomTexts<std::string>(RoundTripAlphabet(), 20, 20000, 1403, ExpectRoundTrip);
}

TEST(NaskhRoundTrip, PersianDictionary) {
    std::ifstream dictionary("/usr/share/hunspell/fa_IR.dic");
    if (!dictionary) {
        GTEST_SKIP() << "Debian's myspell-fa is not installed";
    }
    std::string line;
    std::getline(dictionary, line);  // word count
    std::size_t tested = 0;
    while (std::getline(dictionary, line)) {
        const std::string word = Cp1256(line.substr(0, line.find('/')).c_str());
        if (Drawable(word)) {
            ExpectRoundTrip(word);
            ++tested;
        }
    }
    EXPECT_GT(tested, 100000u);
}

}  // namespace
}  // namespace navisaz
