#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/number_format.h"
#include "support/recording_platform.h"
#include "support/records.h"
#include "support/run_path.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

TEST(FormatFixed, WritesAsTheWindowsProgramDoes) {
    struct Case {
        long double value;
        int decimals;
        char16_t separator;
        int width;
        const char16_t* text;
    };
    const Case cases[] = {
        {1234.5L, 2, u'.', 8, u" 1234.50"},
        {20, 2, u'.', 8, u"   20.00"},
        {20, 2, u',', 8, u"   20,00"},
        {0.5L, 2, u'.', 0, u"0.50"},
        {1.25L, 1, u'.', 0, u"1.3"},  // half away from zero on the decimal digits
        {-1.25L, 1, u'.', 0, u"-1.3"},
        {0.05f, 1, u'.', 0, u"0.1"},  // a single-precision 0.05 is a little above it
        {45, 1, u'.', 0, u"45.0"},
        {9.995L, 2, u'.', 0, u"10.00"},  // carried into a new digit
        {123456789.125L, 3, u'.', 8, u"123456789.125"},
        {0.0001L, 3, u'.', 0, u"0.000"},
        {-0.0001L, 3, u'.', 0, u"0.000"},
        {7, 0, u'.', 0, u"7"},
        {1e-7L, 8, u'.', 0, u"0.00000010"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.decimals, c.separator, c.width), c.text)
            << static_cast<double>(c.value);
    }
}

TEST(Records, MakeTextAndMakeCoor2d) {
    const mText t =
        MakeText(testing::Cp1256("سلام"), MakeCoor2d(1.5L, -2), 2.5L, 0.25L, "farsi", false);
    EXPECT_EQ(t.X, 1.5L);
    EXPECT_EQ(t.Y, -2);
    EXPECT_EQ(t.Z, 0);
    EXPECT_EQ(t.TextString, u"سلام");
    EXPECT_EQ(t.Height, 2.5L);
    EXPECT_EQ(t.Rotation, 0.25L);
    EXPECT_EQ(t.StyleName, "farsi");
    EXPECT_EQ(t.Alignment, 0);
    EXPECT_FALSE(t.EncodeNaskh);
    // Widened with the system code page: a Western system sees other characters.
    const mText western =
        MakeText("\xE1", MakeCoor2d(0, 0), 1, 0, "", false, CodePage::Windows1252);
    EXPECT_EQ(western.TextString, u"\u00E1");
}

TEST(Geometry, DistanceAndPolarOffset) {
    EXPECT_EQ(Distance2d(3, 4, 3, 4), 0);
    EXPECT_EQ(Distance2d(0, 0, 3, 4), 5);
    EXPECT_EQ(Distance2d(3, 4, 0, 0), Distance2d(0, 0, 3, 4));
    long double x = 1, y = 1;
    PolarOffset(x, y, 2, 0);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 1);
    mcoor2d p = MakeCoor2d(1, 1);
    PolarOffsetPoint(p, 2, std::numbers::pi_v<long double> / 2);
    EXPECT_NEAR(static_cast<double>(p.X), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(p.Y), 3, 1e-15);
}

TEST(RunPath, WrittenWithOneTrailingSeparatorAndReadBack) {
    struct Case {
        const char16_t* folder;
        const char16_t* stored;
    };
    const Case cases[] = {
        {u"C:\\Tools", u"C:\\Tools\\"},
        {u"C:\\Tools\\", u"C:\\Tools\\"},
        {u"/opt/navisaz", u"/opt/navisaz/"},
        {u"/opt/navisaz/", u"/opt/navisaz/"},
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        EXPECT_EQ(ReadRunPath(platform), u"");  // never ran: empty, support paths relative
        platform.programFolder = c.folder;
        WriteRunPath(platform);
        EXPECT_EQ(ReadRunPath(platform), c.stored);
        EXPECT_EQ(platform.settings.at({u"Navisaz", u"RUNPATH"}), c.stored);
    }
}

}  // namespace
}  // namespace navisaz
