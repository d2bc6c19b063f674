#include "commands/drafting.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "cad/host_fixture.h"
#include "cad/names.h"

namespace navisaz {
namespace {

class Drafting : public testing::HostFixture {
  protected:
    void SetUp() override { StartHost(); }
    void Click(void (*handler)(const CommandContext&)) {
        const CommandContext context{controls, platform, hosts};
        RunGuarded(platform, [&] { handler(context); });
    }
    sim::EntityRef Text(const std::u16string& text, double height = 2) {
        sim::EntityRef e = AddEntity(sim::EntityKind::Text, {{0, 0, 0}});
        e->text = text;
        e->height = height;
        return e;
    }
    std::vector<std::u16string> Copies() {
        std::vector<std::u16string> texts;
        for (std::size_t i = 1; i < drawing().modelSpace.size(); ++i) {
            texts.push_back(drawing().modelSpace[i]->text);
        }
        return texts;
    }
    MemoryControls controls;
};

TEST_F(Drafting, TextHeightByTwoPoints) {
    user->QueuePoint(0, 0, 7);
    user->QueuePoint(3, 4, -2);
    Click(Button7Click);
    EXPECT_EQ(controls.Text(Control::ETextHt), u"5.000");
    // Cancelled after the first point: the field is not touched.
    user->QueuePoint(0, 0);
    user->QueueEscape();
    Click(Button7Click);
    EXPECT_EQ(controls.Text(Control::ETextHt), u"5.000");
    EXPECT_EQ(platform.errors.size(), 1u);
}

TEST(NumberedText, SplitsAndCountsKeepingTheWidth) {
    struct Case {
        const char16_t* text;
        std::int64_t increment;
        std::vector<std::u16string> copies;
    };
    const Case cases[] = {
        {u"P12", 1, {u"P13", u"P14"}},
        {u"P12", -2, {u"P10", u"P8"}},
        {u"12", 1, {u"13", u"14"}},
        {u"A007", 1, {u"A008", u"A009", u"A010"}},  // the width of the zero-padded number stays
        {u"A099", 1, {u"A100", u"A101"}},
        {u"No 5", 1, {u"No 6", u"No 7"}},
        {u"P-3", 1, {u"P-2", u"P-1", u"P0", u"P1"}},
        {u"Box12", 1, {u"Box13"}},             // decimal digits only: "x12" is no number here
        {u"9999999999", 1, {u"10000000000"}},  // beyond 32 bits, counted whole
    };
    for (const Case& c : cases) {
        const auto parts = SplitNumberedText(c.text);
        ASSERT_TRUE(parts) << Narrow(c.text);
        std::vector<std::u16string> copies;
        std::int64_t n = parts->number;
        for (std::size_t i = 0; i < c.copies.size(); ++i)
            copies.push_back(JoinNumberedText(*parts, n += c.increment));
        EXPECT_EQ(copies, c.copies) << Narrow(c.text);
    }
    for (const char16_t* none : {u"abc", u"P12 ", u""}) {
        EXPECT_FALSE(SplitNumberedText(none)) << Narrow(none);
    }
    EXPECT_THROW(SplitNumberedText(u"N99999999999999999999"), std::overflow_error);
}

TEST_F(Drafting, CopyWithIncrement) {
    using K = sim::TypedAnswer::Kind;
    struct Case {
        const char* name;
        K kind;  // what the user answers for the increment
        std::int32_t integer;
        const char16_t* text;
        std::vector<std::u16string> copies;
    };
    const Case cases[] = {
        {"typed increment", K::Integer, 5, u"", {u"A012", u"A017"}},
        {"a word means 1", K::Text, 0, u"word", {u"A008", u"A009"}},
        {"Esc means 0", K::Cancel, 0, u"", {u"A007", u"A007"}},
    };
    for (const Case& c : cases) {
        drawing().modelSpace.clear();
        platform.errors.clear();
        const sim::EntityRef source = Text(u"A007", 3);
        user->Queue(sim::TypedAnswer{c.kind, c.integer, c.text});
        user->QueueSelection({source->handle});
        user->QueuePoint(10, 0);
        user->QueuePoint(20, 0);
        user->QueueEnter();  // how the user finishes
        Click(Button17Click);
        EXPECT_EQ(Copies(), c.copies) << c.name;
        EXPECT_EQ(drawing().modelSpace.back()->height, 3.0) << c.name;
        EXPECT_EQ(drawing().modelSpace.back()->insertion, (Point3{20, 0, 0})) << c.name;
        EXPECT_EQ(platform.errors.size(), 1u) << c.name;  // the finishing pick's error
    }
    // Each pick's rubber band starts at the one before, the first at the origin.
    EXPECT_EQ(user->pickBases[user->pickBases.size() - 3], (Point3{0, 0, 0}));
    EXPECT_EQ(user->pickBases[user->pickBases.size() - 2], (Point3{10, 0, 0}));
}

TEST_F(Drafting, CopyWithIncrementRefusesWhatItCannotCount) {
    const sim::EntityRef words = Text(u"abc");
    user->QueueInteger(1);
    user->QueueSelection({words->handle});
    Click(Button17Click);
    EXPECT_EQ(platform.messages, std::vector<std::u16string>{NoNumberMessage});
    const sim::EntityRef point = AddEntity(sim::EntityKind::Point);
    user->QueueInteger(1);
    user->QueueSelection({point->handle});
    Click(Button17Click);  // not a text: ends silently
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(drawing().modelSpace.size(), 2u);
}

TEST_F(Drafting, CoordinateLabelsForPickedPointsOnly) {
    const sim::EntityRef a = AddEntity(sim::EntityKind::Point, {{1234.5, 20, 0}});
    const sim::EntityRef b = AddEntity(sim::EntityKind::Point, {{1, 2, 0}});
    const sim::EntityRef line = AddEntity(sim::EntityKind::Line, {{0, 0, 0}, {1, 1, 0}});
    controls.SetText(Control::EDec, u"2x");
    controls.SetText(Control::ETextHt, u"1");
    user->QueueSelection({a->handle, line->handle, b->handle});
    Click(Button16Click);
    std::vector<std::u16string> labels;
    for (const auto& e : drawing().modelSpace) {
        if (e->kind == sim::EntityKind::MText)
            labels.push_back(e->text);
    }
    EXPECT_EQ(labels, (std::vector<std::u16string>{u"X= 1234.50       Y=   20.00",
                                                   u"X=    1.00       Y=    2.00"}));
    EXPECT_TRUE(host->commandLog.empty());  // no style set-up: the adapter was built bare
}

TEST_F(Drafting, PolylineVerticesIntoTheMemoAndTheClipboard) {
    struct Case {
        char16_t separator;
        std::u16string memo;
    };
    const Case cases[] = {
        {u'.', u"0.0000,0.0000\r\n10.5000,2.0000\r\n"},
        {u',', u"0,0000,0,0000\r\n10,5000,2,0000\r\n"},
    };
    const sim::EntityRef polyline =
        AddEntity(sim::EntityKind::LwPolyline, {{0, 0, 0}, {10.5, 2, 0}});
    const sim::EntityRef text = Text(u"x");
    for (const Case& c : cases) {
        platform.decimalSeparator = c.separator;
        user->QueueSelection({text->handle, polyline->handle});
        Click(Button20Click);
        EXPECT_EQ(controls.Text(Control::Memo1), c.memo);
        EXPECT_EQ(platform.clipboard, c.memo);
    }
    user->QueueSelection({text->handle});  // no polyline picked
    Click(Button20Click);
    EXPECT_EQ(platform.errors.size(), 1u);
}

}  // namespace
}  // namespace navisaz
