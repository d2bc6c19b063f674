#include <gtest/gtest.h>

#include <regex>

#include "cad/names.h"
#include "host_fixture.h"

namespace navisaz {
namespace {

using testing::HostFixture;

class AdapterPrompting : public HostFixture {
  protected:
    void SetUp() override {
        StartHost();
        adapter = Connected();
        platform.events.clear();
    }
    std::unique_ptr<tacad> adapter;
};

TEST_F(AdapterPrompting, GetPointWithAndWithoutBasePoint) {
    struct Case {
        bool promptFirst;
        std::optional<Point3> base;
        bool promptOnCommandLine;
    };
    const Case cases[] = {
        {false, Point3{1, 2, 3}, false},
        {true, std::nullopt, true},
    };
    for (const Case& c : cases) {
        user->pickBases.clear();
        host->history.clear();
        user->QueuePoint(10.5, 20.25, 0);
        PointRecord p{1, 2, 3};
        adapter->GetPoint(p, "prompt", c.promptFirst);
        EXPECT_EQ(p.x, 10.5L);
        EXPECT_EQ(p.y, 20.25L);
        ASSERT_EQ(user->pickBases.size(), 1u);
        EXPECT_EQ(user->pickBases[0], c.base);
        const bool prompted =
            std::find(host->history.begin(), host->history.end(), u"prompt") != host->history.end();
        EXPECT_EQ(prompted, c.promptOnCommandLine);
    }
    // The host comes to the front for every pick; the program's window is not brought back.
    EXPECT_EQ(platform.events,
              (std::vector<std::u16string>{u"window to top: 4242", u"window to top: 4242"}));
}

TEST_F(AdapterPrompting, CancelledOrRefusedPickLeavesThePointAndFails) {
    PointRecord p{7, 8, 9};
    user->QueueEscape();
    EXPECT_THROW(adapter->GetPoint(p, "x", false), HostError);
    user->QueueEnter();
    EXPECT_THROW(adapter->GetPoint(p, "x", true), HostError);
    host->pendingCommand = sim::HostCommand::Polyline;
    user->QueuePoint(1, 1);
    EXPECT_THROW(adapter->GetPoint(p, "x", false), HostCallRefused);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.z, 9);
}

TEST_F(AdapterPrompting, ASelectionSetIsCreatedOnceAndThenReused) {
    const sim::EntityRef text = AddEntity(sim::EntityKind::Text);
    user->QueueSelection({text->handle});
    auto set = adapter->SelectEntities(1, "");
    ASSERT_EQ(drawing().selectionSets.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(Narrow(drawing().selectionSets[0].name), std::regex("NY[0-9]{1,5}")));
    EXPECT_EQ(set->Count(), 1);

    // Someone else's sets: the last one is emptied and reused, none is added.
    drawing().selectionSets.push_back({u"THEIRS", {AddEntity(sim::EntityKind::Point)}});
    user->QueueSelection({});
    set = adapter->SelectEntities(1, "");
    EXPECT_EQ(set->Name(), u"THEIRS");
    EXPECT_EQ(set->Count(), 0);
    EXPECT_EQ(drawing().selectionSets.size(), 2u);
    EXPECT_EQ(platform.events.back(), u"own window to top");
}

TEST_F(AdapterPrompting, TheTypeFilterTakesOnlyThatType) {
    const sim::EntityRef text = AddEntity(sim::EntityKind::Text);
    const sim::EntityRef mtext = AddEntity(sim::EntityKind::MText);
    const sim::EntityRef polyline = AddEntity(sim::EntityKind::LwPolyline, {{0, 0, 0}, {1, 1, 0}});
    const sim::EntityRef point = AddEntity(sim::EntityKind::Point);
    const std::vector<std::u16string> all = {text->handle, mtext->handle, polyline->handle,
                                             point->handle};
    struct Case {
        std::uint8_t mode;
        const char* type;
        std::vector<std::u16string> expected;
    };
    const Case cases[] = {
        {6, "TEXT", {u"AcDbText"}},
        {6, "LWPOLYLINE", {u"AcDbPolyline"}},
        {6, "MTEXT", {u"AcDbMText"}},
        {1, "", {u"AcDbText", u"AcDbMText", u"AcDbPolyline", u"AcDbPoint"}},
    };
    for (const Case& c : cases) {
        user->QueueSelection(all);
        const auto set = adapter->SelectEntities(c.mode, c.type);
        std::vector<std::u16string> names;
        for (int i = 0; i < set->Count(); ++i)
            names.push_back(set->Item(Variant(i))->ObjectName());
        EXPECT_EQ(names, c.expected) << c.type;
    }
}

TEST_F(AdapterPrompting, AFailedSelectionShowsErrorThreeAndGoesOn) {
    user->QueueEscape();
    const auto set = adapter->SelectEntities(6, "TEXT");
    EXPECT_EQ(set->Count(), 0);
    EXPECT_EQ(platform.errorWindows, std::vector<int>{3});
    EXPECT_EQ(platform.events,
              (std::vector<std::u16string>{u"window to top: 4242", u"error window: 3",
                                           u"own window to top"}));
}

TEST_F(AdapterPrompting, PickTextReadsTheFirstPickedText) {
    const sim::EntityRef first = AddEntity(sim::EntityKind::Text, {{5, 6, 0}});
    first->text = u"اول";
    first->height = 2.5;
    first->rotation = 0.5;
    const sim::EntityRef second = AddEntity(sim::EntityKind::Text, {{9, 9, 0}});
    user->QueueSelection({first->handle, second->handle});
    mText t;
    t.StyleName = "kept";
    const EntityPtr picked = adapter->PickText(t);
    EXPECT_EQ(picked->Handle(), first->handle);
    EXPECT_EQ(t.X, 5);
    EXPECT_EQ(t.Y, 6);
    EXPECT_EQ(t.TextString, u"اول");
    EXPECT_EQ(t.Height, 2.5L);
    EXPECT_EQ(t.Rotation, 0.5L);
    EXPECT_EQ(t.StyleName, "kept");

    user->QueueSelection({});  // nothing picked
    EXPECT_THROW(adapter->PickText(t), HostError);
}

TEST(MakePoint, BuildsArraysOfThreeDoubles) {
    EXPECT_EQ(tacad::MakePoint(1, 2, 3), Variant(Variant::Array{1.0, 2.0, 3.0}));
    EXPECT_EQ(tacad::PointToVariant({0.5L, -1, 2}), Variant(Variant::Array{0.5, -1.0, 2.0}));
    EXPECT_EQ(tacad::Point2dToVariant({4, 5}), Variant(Variant::Array{4.0, 5.0, 0.0}));
}

}  // namespace
}  // namespace navisaz
