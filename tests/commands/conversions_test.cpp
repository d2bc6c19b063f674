#include "commands/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "cad/host_fixture.h"
#include "cad/names.h"
#include "cad/sim/sim_objects.h"
#include "engine/naskh_encoder.h"
#include "support/records.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

std::u16string NaskhGlyphs(const char* persian) {
    return WidenBytes(CodePage::Windows1256, WindowsToNaskh(testing::Cp1256(persian)));
}

TEST(SplitParagraphs, FollowsTheBracesAndBreaks) {
    struct Case {
        std::u16string contents;
        std::vector<std::u16string> paragraphs;
    };
    const Case cases[] = {
        {u"{\\fArial;one\\Ptwo}", {u"\\fArial;one", u"two"}},
        {u"plain", {u"plain"}},
        {u"lost{a\\Pb\\Pc}", {u"a", u"b", u"c"}},
        {u"{a}{b}", {u"a", u"b"}},  // "}" also drops the next group's "{"
        {u"{", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitParagraphs(c.contents), c.paragraphs) << Narrow(c.contents);
    }
    EXPECT_EQ(SplitParagraphs(std::string("{x\\Py}")), (std::vector<std::string>{"x", "y"}));
}

TEST(StripMTextCodes, RemovesFontAndColourTwoCodes) {
    struct Case {
        std::u16string in, out;
    };
    const Case cases[] = {
        {u"A\\fArial;B", u"BA"},
        {u"\\fArial|b1|i0;word", u"word"},
        {u"x\\C2;y", u"yx"},
        {u"\\C1;z", u"\\C1;z"},
        {u"\\FArial;k", u"\\FArial;k"},
        {u"\\fA;x\\fB;y", u"yx"},
        {u"keep\\fArial", u"keep"},  // no ";": the rest of the paragraph goes, and it ends
        {u"a\\C2", u"a"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StripMTextCodes(c.in), c.out) << Narrow(c.in);
    }
}

TEST(RepairUnicodeEscapes, EscapesBecomePercentCodes) {
    EXPECT_EQ(RepairUnicodeEscapes(u"\\U+0633\\U+0644x\\U+4E00"), u"%%211%%225x%%19968");
    EXPECT_EQ(RepairUnicodeEscapes(u"no escapes"), u"no escapes");
    EXPECT_EQ(RepairUnicodeEscapes(u"ab\\U+06"), u"ab%%6");
    try {
        RepairUnicodeEscapes(u"\\U+ZZZZ");
        ADD_FAILURE();
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "'0xZZZZ' is not a valid integer value");
    }
}

class Conversions : public testing::HostFixture {
  protected:
    void SetUp() override { StartHost(); }
    template <typename Handler>
    void Click(Handler handler) {
        const CommandContext context{controls, platform, hosts};
        RunGuarded(platform, [&] { handler(context); });
    }
    sim::EntityRef Text(const std::u16string& text, Point3 at = {}, double height = 1) {
        sim::EntityRef e = AddEntity(sim::EntityKind::Text, {at});
        e->text = text;
        e->height = height;
        return e;
    }
    sim::EntityRef MText(const std::u16string& text, Point3 at, double height) {
        sim::EntityRef e = AddEntity(sim::EntityKind::MText, {at});
        e->text = text;
        e->height = height;
        return e;
    }
    std::vector<std::u16string> Handles() {
        std::vector<std::u16string> handles;
        for (const auto& e : drawing().modelSpace)
            handles.push_back(e->handle);
        return handles;
    }
    MemoryControls controls;
};

TEST_F(Conversions, NaskhTextsBecomeWindowsFontTexts) {
    const sim::EntityRef single = Text(NaskhGlyphs("سلام"));
    single->backward = true;
    const sim::EntityRef multi =
        MText(u"{\\fArial;" + NaskhGlyphs("خط اول") + u"\\P" + NaskhGlyphs("خط دوم") + u"}",
              {10, 20, 3}, 2.5);
    multi->rotation = std::numbers::pi / 2;  // still stacked down along Y
    AddEntity(sim::EntityKind::Line, {{0, 0, 0}, {1, 1, 0}});
    controls.SetText(Control::Edit3, u"Tahoma");
    user->QueueSelection(Handles());
    Click(Button12Click);
    ASSERT_TRUE(platform.errors.empty()) << Narrow(platform.errors.front());
    EXPECT_EQ(single->text, u"سلام");
    EXPECT_EQ(single->style, u"farsiWin");
    EXPECT_FALSE(single->backward);
    EXPECT_TRUE(multi->erased);
    std::vector<std::u16string> made;
    for (const auto& e : drawing().modelSpace) {
        if (e->kind == sim::EntityKind::Text && e != single) {
            made.push_back(e->text);
            EXPECT_EQ(e->style, u"farsiWin");
            EXPECT_EQ(e->height, 2.5);
            EXPECT_NEAR(e->rotation, std::numbers::pi / 2, 1e-15);
        }
    }
    EXPECT_EQ(made, (std::vector<std::u16string>{u"خط اول", u"خط دوم"}));
    // The multi-line text is gone: single, line, then the two new texts.
    ASSERT_EQ(drawing().modelSpace.size(), 4u);
    EXPECT_EQ(drawing().modelSpace[2]->insertion, (Point3{10, 20, 0}));
    EXPECT_EQ(drawing().modelSpace[3]->insertion, (Point3{10, 15, 0}));
    const sim::TextStyleData* style = drawing().FindTextStyle(u"farsiWin");
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->typeface, u"Tahoma");
    EXPECT_EQ(style->generationFlag, 0);
}

TEST_F(Conversions, Shiraz2TextsAndTheStyleWhenNothingIsPicked) {
    const sim::EntityRef shiraz = Text(WidenBytes(CodePage::Windows1256, "QR \xCB\x61\x69"));
    user->QueueSelection({shiraz->handle});
    Click(Button13Click);
    EXPECT_EQ(shiraz->text, u"باغ 12");
    user->QueueSelection({});
    controls.SetText(Control::Edit3, u"Nazanin");
    Click(Button12Click);
    EXPECT_EQ(drawing().FindTextStyle(u"farsiWin")->typeface, u"Nazanin");
    // A failure is shown now, not swallowed: an empty font name is refused by the host.
    controls.SetText(Control::Edit3, u"");
    user->QueueSelection({});
    Click(Button12Click);
    EXPECT_EQ(platform.errors.size(), 1u);
}

TEST_F(Conversions, FontChooserSetsTheFieldUnlessCancelled) {
    controls.chosenFont = u"B Nazanin";
    Click(Button11Click);
    EXPECT_EQ(controls.Text(Control::Edit3), u"B Nazanin");
    controls.chosenFont.reset();
    Click(Button11Click);
    EXPECT_EQ(controls.Text(Control::Edit3), u"B Nazanin");
}

TEST_F(Conversions, WindowsFontTextsBecomeNaskh) {
    const sim::EntityRef upright = Text(u"abcd", {0, 0, 5}, 2.5);
    const sim::EntityRef turned = Text(u"abcd", {0, 0, 0}, 2.5);
    turned->rotation = std::numbers::pi / 2;
    const sim::EntityRef multi = MText(u"{یک\\Pدو\\Pسه}", {0, 10, 0}, 1);
    user->QueueSelection(Handles());
    Click([](const CommandContext& c) { Button2Click(c, Button2Caption); });
    ASSERT_TRUE(platform.errors.empty()) << Narrow(platform.errors.front());
    // The shift is 94% of the box's diagonal, a single-precision number, along the text.
    const double diagonal = std::hypot(4 * 2.5 * sim::CharacterWidthInHeights, 2.5);
    const double shift = static_cast<float>(0.94L * diagonal);
    EXPECT_EQ(upright->insertion, (Point3{shift, 0, 0}));
    EXPECT_NEAR(turned->insertion.x, 0, 1e-12);
    EXPECT_NEAR(turned->insertion.y, shift, 1e-12);
    EXPECT_EQ(upright->text, WidenBytes(CodePage::Windows1256, WindowsToNaskh("abcd")));
    EXPECT_EQ(upright->style, u"farsi");
    EXPECT_FALSE(multi->erased);  // single-line mode leaves multi-line texts alone
    EXPECT_EQ(drawing().FindTextStyle(u"farsi")->fontFile, u"naskhd.shx");

    user->QueueSelection(Handles());
    Click([](const CommandContext& c) { Button2Click(c, Button15Caption); });
    EXPECT_TRUE(multi->erased);
    std::vector<std::pair<std::u16string, double>> made;
    for (const auto& e : drawing().modelSpace) {
        if (e != upright && e != turned) {
            made.emplace_back(e->text, e->insertion.y);
            EXPECT_TRUE(e->backward);
            EXPECT_EQ(e->style, u"farsi");
        }
    }
    EXPECT_EQ(made, (std::vector<std::pair<std::u16string, double>>{
                        {NaskhGlyphs("يک"), 10}, {NaskhGlyphs("دو"), 8}, {NaskhGlyphs("سه"), 6}}));
    EXPECT_EQ(upright->insertion, (Point3{shift, 0, 0}));  // multi-line mode left it alone
}

TEST_F(Conversions, RepairTouchesSingleLineTextsOnly) {
    const sim::EntityRef text = Text(u"\\U+0633x");
    const sim::EntityRef multi = MText(u"\\U+0633", {}, 1);
    user->QueueSelection(Handles());
    Click(Button1Click);
    EXPECT_EQ(text->text, u"%%211x");
    EXPECT_EQ(multi->text, u"\\U+0633");
}

TEST_F(Conversions, ReplaceGivesEachPickedTextItsMemoLine) {
    const sim::EntityRef line = AddEntity(sim::EntityKind::Line, {{0, 0, 0}, {1, 1, 0}});
    const sim::EntityRef first = Text(u"old");
    const sim::EntityRef second = Text(u"old");
    const sim::EntityRef third = Text(u"old");
    controls.SetText(Control::Memo1, u"صفر\r\nيک\r\nدو");
    user->QueueSelection({line->handle, first->handle, second->handle, third->handle});
    Click(Button14Click);
    EXPECT_EQ(first->text, NaskhGlyphs("يک"));
    EXPECT_EQ(second->text, NaskhGlyphs("دو"));
    EXPECT_EQ(third->text, u"");  // no memo line left for it
}

}  // namespace
}  // namespace navisaz
