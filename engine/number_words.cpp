#include "engine/number_words.h"

#include <array>
#include <stdexcept>

#include "engine/typed_text.h"
#include "engine/utf8.h"

namespace navisaz {

namespace {

// One row per digit: the words of that digit as hundreds, tens, ten-plus-digit and ones, and the
// scale word of the group with that index (thousand for 1, million for 2, ...).
struct NumberWordRow {
    const char* hundreds;
    const char* tens;
    const char* tenToNineteen;
    const char* ones;
    const char* scale;
};

constexpr std::array<NumberWordRow, 10> NumberWordRows = {{
    {"", "", "ده", "", ""},
    {"يکصد", "ده", "يازده", "يک", " هزار"},
    {"دويست", "بيست", "دوازده", "دو", " ميليون"},
    {"سيصد", "سي", "سيزده", "سه", " ميليارد"},
    {"چهارصد", "چهل", "چهارده", "چهار", " بيليون"},
    {"پانصد", "پنجاه", "پانزده", "پنج", " بيليارد"},
    {"ششصد", "شصت", "شانزده", "شش", " ترليون"},
    {"هفتصد", "هفتاد", "هفده", "هفت", " ترليارد"},
    {"هشتصد", "هشتاد", "هيجده", "هشت", nullptr},
    {"نهصد", "نود", "نوزده", "نه", nullptr},
}};

constexpr const char* JoinerWord = " و ";
constexpr const char* ZeroWord = "صفر";
constexpr const char* MinusWord = "منفي ";
constexpr int HighestGroup = 6;  // 10^18: a 64-bit value has at most one digit above it

// The rows are written in readable Persian; the engine speaks Windows-1256.
std::string Windows1256(const char* utf8) {
    return TypedTextToWindows(DecodeUtf8(utf8).text).bytes;
}

struct NumberWords {
    std::array<std::string, 10> hundreds, tens, tenToNineteen, ones, scale;
    std::string joiner = Windows1256(JoinerWord);
    std::string zero = Windows1256(ZeroWord);
    std::string minus = Windows1256(MinusWord);

    NumberWords() {
        for (std::size_t i = 0; i < NumberWordRows.size(); ++i) {
            const NumberWordRow& row = NumberWordRows[i];
            hundreds[i] = Windows1256(row.hundreds);
            tens[i] = Windows1256(row.tens);
            tenToNineteen[i] = Windows1256(row.tenToNineteen);
            ones[i] = Windows1256(row.ones);
            if (row.scale != nullptr) {
                scale[i] = Windows1256(row.scale);
            }
        }
    }
};

const NumberWords& Words() {
    static const NumberWords words;
    return words;
}

std::string MagnitudeToWords(std::uint64_t value) {
    std::string result;
    for (int k = HighestGroup; k >= 0; --k) {
        const auto power = static_cast<std::uint64_t>(IntPower64(1000, k));
        const std::string group = HundredsToWords(static_cast<int>(value / power));
        AppendWithAnd(result, group);
        if (!group.empty()) {
            result += Words().scale[static_cast<std::size_t>(k)];
        }
        value %= power;
    }
    return result;
}

}  // namespace

std::int64_t IntPower64(std::int64_t base, int exponent) {
    std::int64_t result = 1;
    for (int i = 0; i < exponent; ++i) {
        result *= base;
    }
    return result;
}

void AppendWithAnd(std::string& s, const std::string& word) {
    if (!s.empty() && !word.empty()) {
        s += Words().joiner;
    }
    s += word;
}

std::string HundredsToWords(int n) {
    if (n < 0 || n > 999) {
        throw std::out_of_range("HundredsToWords takes 0 to 999, not " + std::to_string(n));
    }
    const NumberWords& words = Words();
    std::string s = words.hundreds[static_cast<std::size_t>(n / 100)];
    const int r = n % 100;
    if (r / 10 == 1) {
        AppendWithAnd(s, words.tenToNineteen[static_cast<std::size_t>(r % 10)]);
    } else {
        AppendWithAnd(s, words.tens[static_cast<std::size_t>(r / 10)]);
        AppendWithAnd(s, words.ones[static_cast<std::size_t>(r % 10)]);
    }
    return s;
}

std::string NumberToWords(std::int64_t value) {
    if (value == 0) {
        return Words().zero;
    }
    if (value < 0) {
        // Negate in unsigned arithmetic so that the smallest 64-bit value does not overflow.
        const std::uint64_t magnitude = ~static_cast<std::uint64_t>(value) + 1;
        return Words().minus + MagnitudeToWords(magnitude);
    }
    return MagnitudeToWords(static_cast<std::uint64_t>(value));
}

}  // namespace navisaz
