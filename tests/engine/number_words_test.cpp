#include "engine/number_words.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "text_helpers.h"

namespace navisaz {
namespace {

using testing::Cp1256;

TEST(NumberToWords, SpellsNumbers) {
    struct Case {
        std::int64_t value;
        const char* words;
    };
    const Case cases[] = {
        {0, "صفر"},
        {1, "يک"},
        {10, "ده"},
        {15, "پانزده"},
        {19, "نوزده"},
        {20, "بيست"},
        {21, "بيست و يک"},
        {90, "نود"},
        {100, "يکصد"},
        {105, "يکصد و پنج"},
        {110, "يکصد و ده"},
        {200, "دويست"},
        {999, "نهصد و نود و نه"},
        {1000, "يک هزار"},
        {1001, "يک هزار و يک"},
        {2500000, "دو ميليون و پانصد هزار"},
        {1000000, "يک ميليون"},
        {1000001, "يک ميليون و يک"},
        {5000007, "پنج ميليون و هفت"},
        {1000000000, "يک ميليارد"},
        {INT64_MAX,
         "نه ترليون و دويست و بيست و سه بيليارد و سيصد و هفتاد و دو بيليون و سي و شش ميليارد و "
         "هشتصد و پنجاه و چهار ميليون و هفتصد و هفتاد و پنج هزار و هشتصد و هفت"},
        {-21, "منفي بيست و يک"},
        {INT64_MIN,
         "منفي نه ترليون و دويست و بيست و سه بيليارد و سيصد و هفتاد و دو بيليون و سي و شش "
         "ميليارد و هشتصد و پنجاه و چهار ميليون و هفتصد و هفتاد و پنج هزار و هشتصد و هشت"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NumberToWords(c.value), Cp1256(c.words)) << c.value;
    }
}

TEST(HundredsToWords, ZeroIsEmptyAndOutOfRangeIsRefused) {
    EXPECT_EQ(HundredsToWords(0), "");
    EXPECT_EQ(HundredsToWords(300), Cp1256("سيصد"));
    EXPECT_THROW(HundredsToWords(1000), std::out_of_range);
    EXPECT_THROW(HundredsToWords(-1), std::out_of_range);
}

TEST(NumberWordHelpers, AppendWithAndAndIntPower) {
    std::string s;
    AppendWithAnd(s, "");
    EXPECT_EQ(s, "");
    AppendWithAnd(s, "a");
    EXPECT_EQ(s, "a");
    AppendWithAnd(s, "b");
    const std::string joined = std::string("a").append(Cp1256(" و ")).append("b");
    EXPECT_EQ(s, joined);
    AppendWithAnd(s, "");
    EXPECT_EQ(s, joined);
    EXPECT_EQ(IntPower64(1000, 0), 1);
    EXPECT_EQ(IntPower64(1000, 6), 1000000000000000000LL);
    EXPECT_EQ(IntPower64(2, 10), 1024);
}

}  // namespace
}  // namespace navisaz
