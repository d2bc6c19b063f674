#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/naskh_encoder.h"
#include "host_fixture.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

using testing::HostFixture;

class AdapterTexts : public HostFixture {
  protected:
    void SetUp() override {
        StartHost();
        adapter = Connected();
    }
    mText Record(std::u16string text, long double height = 2) {
        mText t;
        t.X = 100;
        t.Y = 200;
        t.TextString = std::move(text);
        t.Height = height;
        return t;
    }
    std::unique_ptr<tacad> adapter;
};

TEST_F(AdapterTexts, NothingForBlankTextOrZeroHeight) {
    for (const mText& t : {Record(u""), Record(u"  \t\r\n "), Record(u"text", 0)}) {
        EXPECT_EQ(adapter->AddText(t), nullptr);
    }
    EXPECT_TRUE(drawing().modelSpace.empty());
}

TEST_F(AdapterTexts, TextGoesToTheActiveSpaceAtItsPoint) {
    struct Case {
        bool modelSpace;
    };
    for (const Case c : {Case{true}, Case{false}}) {
        drawing().modelSpaceActive = c.modelSpace;
        const EntityPtr text = adapter->AddText(Record(u" padded "));
        ASSERT_NE(text, nullptr);
        auto& space = c.modelSpace ? drawing().modelSpace : drawing().paperSpace;
        ASSERT_FALSE(space.empty());
        EXPECT_EQ(space.back()->text, u" padded ");  // written untrimmed
        EXPECT_EQ(space.back()->insertion, (Point3{100, 200, 0}));
        EXPECT_FALSE(space.back()->backward);
    }
}

TEST_F(AdapterTexts, TopAlignmentsDropByAFifthOfTheHeight) {
    struct Case {
        std::uint8_t alignment;
        double rotation;
        double dx, dy;  // expected offset from the record's point
    };
    const Case cases[] = {
        {0, 0, 0, 0}, {6, 0, 0, -0.4}, {7, 0, 0, -0.4}, {8, std::numbers::pi / 2, 0.4, 0},
        {9, 0, 0, 0},
    };
    for (const Case& c : cases) {
        mText t = Record(u"a");
        t.Alignment = c.alignment;
        t.Rotation = c.rotation;
        adapter->AddText(t);
        const sim::EntityData& e = *drawing().modelSpace.back();
        EXPECT_NEAR(e.insertion.x, 100 + c.dx, 1e-12) << int(c.alignment);
        EXPECT_NEAR(e.insertion.y, 200 + c.dy, 1e-12) << int(c.alignment);
        EXPECT_EQ(e.alignment, c.alignment);
    }
}

TEST_F(AdapterTexts, StyleIsSetWhenItExistsAndSilentlyKeptOtherwise) {
    mText t = Record(u"a");
    t.StyleName = "farsi";
    adapter->AddText(t);
    EXPECT_EQ(drawing().modelSpace.back()->style, u"farsi");
    t.StyleName = "no such style";
    EXPECT_NO_THROW(adapter->AddText(t));
    EXPECT_EQ(drawing().modelSpace.back()->style, u"Romanc");  // the current style
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AdapterTexts, NaskhRecordsAreEncodedAndDrawnBackwards) {
    mText t = Record(u"سلام");
    t.EncodeNaskh = true;
    adapter->AddText(t);
    const sim::EntityData& e = *drawing().modelSpace.back();
    EXPECT_EQ(e.text, WidenBytes(CodePage::Windows1256, WindowsToNaskh(testing::Cp1256("سلام"))));
    EXPECT_TRUE(e.backward);
}

TEST_F(AdapterTexts, CoordinateLabelOfTheWorkedExample) {
    struct Case {
        char16_t separator;
        const char16_t* label;
    };
    const Case cases[] = {
        {u'.', u"X= 1234.50       Y=   20.00"},
        {u',', u"X= 1234,50       Y=   20,00"},
    };
    for (const Case& c : cases) {
        platform.decimalSeparator = c.separator;
        drawing().modelSpace.clear();
        drawing().modelSpaceActive = false;  // labels go to model space all the same
        const sim::EntityRef point = AddEntity(sim::EntityKind::Point, {{1234.5, 20, 0}});
        const EntityPtr pointObject =
            host->DocumentObject(host->ActiveDrawing())->ModelSpace()->Item(Variant(0));
        adapter->AddCoordinateLabel(pointObject, 2, 0, 0, 1, 1.0f);
        ASSERT_EQ(drawing().modelSpace.size(), 3u);
        const sim::EntityData& text = *drawing().modelSpace[1];
        const sim::EntityData& leader = *drawing().modelSpace[2];
        EXPECT_EQ(text.kind, sim::EntityKind::MText);
        EXPECT_EQ(text.text, c.label);
        EXPECT_EQ(text.width, 10.0);  // (27 - 7) / 2 heights
        EXPECT_EQ(text.height, 1.0);
        EXPECT_EQ(text.insertion, (Point3{1214.5, 31, 0}));  // moved up one height
        EXPECT_EQ(leader.kind, sim::EntityKind::Leader);
        EXPECT_EQ(leader.points,
                  (std::vector<Point3>{{1234.5, 20, 0}, {1224.5, 30, 0}, {1214.5, 30, 0}}));
        EXPECT_TRUE(drawing().paperSpace.empty());
        (void)point;
    }
}

TEST_F(AdapterTexts, AWideCoordinateWidensTheLabel) {
    AddEntity(sim::EntityKind::Point, {{123456789.125, 2, 0}});
    const EntityPtr point =
        host->DocumentObject(host->ActiveDrawing())->ModelSpace()->Item(Variant(0));
    adapter->AddCoordinateLabel(point, 3, 0, 0, 1, 2.0f);
    const sim::EntityData& text = *drawing().modelSpace[1];
    EXPECT_EQ(text.text, u"X=123456789.125       Y=   2.000");
    EXPECT_EQ(text.width, (32.0 - 7) / 2 * 2);
}

}  // namespace
}  // namespace navisaz
