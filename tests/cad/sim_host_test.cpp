// The substitute host on its own: its command line, its user, its tables.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numbers>

#include "cad/names.h"
#include "cad/sim/lin_file.h"
#include "cad/sim/sim_objects.h"
#include "host_fixture.h"

namespace navisaz {
namespace {

namespace fs = std::filesystem;
using testing::HostFixture;

class SimHost : public HostFixture {
  protected:
    void SetUp() override {
        StartHost();
        support = fs::temp_directory_path() /
                  ("navisaz-sim-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(support);
        host->supportFolders.push_back(Widen(support.string()));
        document = host->ActiveDocument();
    }
    void TearDown() override { fs::remove_all(support); }
    void WriteSupportFile(const std::string& name, const std::string& contents) {
        std::ofstream(support / name, std::ios::binary) << contents;
    }

    fs::path support;
    std::shared_ptr<AcadDocument> document;
};

constexpr const char* SampleLin =
    ";; line types for tests\n"
    "*BORDER,Border __ __ . __ __ .\n"
    "A,.5,-.25,.5,-.25,0,-.25\n"
    "\n"
    "*FENCE,Fence ---x---x---\n"
    "A,.25,-.1,[\"X\",STANDARD,S=.1,X=-.05,Y=-.05],-.1\n";

TEST(LinFile, ReadsLineTypesAndNamesTheBadLine) {
    const std::vector<sim::LinetypeData> linetypes = sim::ParseLinFile(SampleLin, "test.lin");
    ASSERT_EQ(linetypes.size(), 2u);
    EXPECT_EQ(linetypes[0].name, u"BORDER");
    EXPECT_EQ(linetypes[0].description, u"Border __ __ . __ __ .");
    EXPECT_EQ(linetypes[0].pattern, (std::vector<double>{.5, -.25, .5, -.25, 0, -.25}));
    EXPECT_EQ(linetypes[1].pattern, (std::vector<double>{.25, -.1, -.1}));

    struct Bad {
        const char* contents;
        const char* message;
    };
    const Bad bad[] = {
        {"*A,one\n*B,two\nA,1\n", "line 2"},
        {"A,1,-1\n", "line 1"},
        {"*A,x\nA,1,abc\n", "line 2: \"abc\""},
        {"*A,x\n", "line 1"},
        {"*A,x\nB,1\n", "line 2"},
    };
    for (const Bad& b : bad) {
        try {
            sim::ParseLinFile(b.contents, "bad.lin");
            ADD_FAILURE() << b.contents;
        } catch (const HostError& error) {
            EXPECT_NE(std::string(error.what()).find(b.message), std::string::npos) << error.what();
        }
    }
}

TEST_F(SimHost, CommandLineRecordsVerbatimAndDoesWhatTheMacrosSay) {
    document->SendCommand(u"-style Titles\rarial.ttf\r      \x1b");
    document->SendCommand(u"celtscale 2.5 ");
    document->SendCommand(u"hpname NET hpang 30 hpscale 4 ");
    document->SendCommand(u"re ");
    document->SendCommand(u"r ");
    document->SendCommand(u"frobnicate ");
    EXPECT_EQ(host->commandLog.size(), 6u);
    EXPECT_EQ(host->commandLog[0], u"-style Titles\rarial.ttf\r      \x1b");
    EXPECT_EQ(drawing().Variable(u"TEXTSTYLE").ToString(), u"Titles");
    EXPECT_EQ(drawing().FindTextStyle(u"titles")->fontFile, u"arial.ttf");
    EXPECT_EQ(drawing().Variable(u"CELTSCALE").ToDouble(), 2.5);
    EXPECT_EQ(drawing().Variable(u"HPNAME").ToString(), u"NET");
    EXPECT_NEAR(drawing().Variable(u"HPANG").ToDouble(), std::numbers::pi / 6, 1e-12);
    EXPECT_EQ(drawing().Variable(u"HPSCALE").ToDouble(), 4.0);
    EXPECT_EQ(host->history.back(), u"Unknown command \"FROBNICATE\".  Press F1 for help.");
    EXPECT_FALSE(host->Busy());
}

TEST_F(SimHost, LinetypesLoadFromFilesOnTheSupportPath) {
    WriteSupportFile("acad.lin", SampleLin);
    document->SendCommand(u"-lt s BORDER\r\r");
    EXPECT_EQ(drawing().Variable(u"CELTYPE").ToString(), u"ByLayer");  // not loaded yet
    // The load line the support installer sends.
    document->SendCommand(
        u"(command \"_.-linetype\" \"_load\" \"*\" \"acad.lin\")(while (eq 1 (logand 1 "
        u"(getvar 'cmdactive))) (command \"\")) ");
    EXPECT_FALSE(host->Busy());
    EXPECT_NE(drawing().FindLinetype(u"FENCE"), nullptr);
    document->SendCommand(u"-lt s BORDER\r\r");
    EXPECT_EQ(drawing().Variable(u"CELTYPE").ToString(), u"BORDER");

    // Through the object model: loading one that exists is refused, all skips those.
    const auto linetypes = document->Linetypes();
    EXPECT_THROW(linetypes->Load(u"BORDER", u"acad.lin"), HostError);
    EXPECT_NO_THROW(linetypes->Load(u"*", u"acad.lin"));
    EXPECT_THROW(linetypes->Load(u"*", u"missing.lin"), HostError);
}

TEST_F(SimHost, LispFilesDefineTheirCommands) {
    WriteSupportFile("kateb.lsp",
                     "; writes a text\n(defun C:Kateb (/ p s)\n  (setq p (getpoint \"Point: \"))\n"
                     "  (princ))\n(defun helper () nil)\n");
    document->SendCommand(u"kateb\r");
    EXPECT_EQ(host->history.back(), u"Unknown command \"KATEB\".  Press F1 for help.");
    document->SendCommand(u"(Load \"kateb.lsp\")\r");
    document->SendCommand(u"kateb\r");
    EXPECT_EQ(host->lispCommandsRun, std::vector<std::u16string>{u"kateb"});
    EXPECT_FALSE(host->lispCommands.contains(u"HELPER"));
    document->SendCommand(u"(Load \"nowhere.lsp\")\r");
    EXPECT_EQ(host->history.back(), u"; error: LOAD failed: \"nowhere.lsp\"");
}

TEST_F(SimHost, InItsOwnCommandTheHostRefusesCallsOnItsDrawings) {
    document->SendCommand(u"pl ");
    ASSERT_TRUE(host->Busy());
    const std::vector<std::function<void()>> calls = {
        [&] { host->ActiveDocument(); },
        [&] { host->Preferences()->Output(); },
        [&] { document->SendCommand(u"re "); },
        [&] { document->ModelSpace()->Count(); },
        [&] { document->Utility()->Prompt(u"x"); },
        [&] { document->GetVariable(u"CLAYER"); },
    };
    for (const auto& call : calls) {
        EXPECT_THROW(call(), HostCallRefused);
    }
    // The user draws the polyline and presses Enter.
    drawing().SetVariable(u"CELTSCALE", Variant(3.0));
    user->QueuePoint(0, 0);
    user->QueuePoint(10, 0);
    user->QueuePoint(10, 5);
    user->QueueEnter();
    host->RunPendingCommand();
    EXPECT_FALSE(host->Busy());
    ASSERT_EQ(drawing().modelSpace.size(), 1u);
    const sim::EntityData& polyline = *drawing().modelSpace[0];
    EXPECT_EQ(polyline.kind, sim::EntityKind::LwPolyline);
    EXPECT_EQ(polyline.points.size(), 3u);
    EXPECT_EQ(polyline.linetypeScale, 3.0);
    EXPECT_EQ(user->pickBases[1], (Point3{0, 0, 0}));  // rubber band from the last point
}

TEST_F(SimHost, InteractiveHatchFillsTheChosenOutlines) {
    sim::EntityRef outline =
        AddEntity(sim::EntityKind::LwPolyline, {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}});
    outline->closed = true;
    sim::EntityRef open = AddEntity(sim::EntityKind::LwPolyline, {{0, 0, 0}, {4, 0, 0}});
    document->SendCommand(u"hpname ANSI37 hpscale 2 ");
    document->SendCommand(u"h ");
    EXPECT_TRUE(host->Busy());
    user->QueueSelection({outline->handle, open->handle});
    host->RunPendingCommand();
    ASSERT_EQ(drawing().modelSpace.size(), 3u);
    const sim::EntityData& hatch = *drawing().modelSpace[2];
    EXPECT_EQ(hatch.kind, sim::EntityKind::Hatch);
    EXPECT_EQ(hatch.patternName, u"ANSI37");
    EXPECT_EQ(hatch.patternScale, 2.0);
    EXPECT_EQ(hatch.loops.size(), 1u);  // the open polyline is no boundary
}

TEST_F(SimHost, GetIntegerAndTypedText) {
    const auto utility = document->Utility();
    struct Case {
        std::int32_t bits;
        std::vector<sim::TypedAnswer> answers;
        std::optional<std::int32_t> result;  // nullopt: fails
        std::string message;
    };
    using K = sim::TypedAnswer::Kind;
    const Case cases[] = {
        {128, {{K::Integer, 5, u""}}, 5, ""},
        {128, {{K::Text, 0, u"abc"}}, std::nullopt, UserInputIsAKeyword},
        {0, {{K::Text, 0, u"abc"}, {K::Integer, 7, u""}}, 7, ""},  // asked again
        {0, {{K::Cancel, 0, u""}}, std::nullopt, "cancelled"},
        {1, {{K::Enter, 0, u""}, {K::Integer, 2, u""}}, 2, ""},
    };
    for (const Case& c : cases) {
        for (const auto& answer : c.answers)
            user->Queue(answer);
        utility->InitializeUserInput(c.bits, Variant(u"1"));
        if (c.result) {
            EXPECT_EQ(utility->GetInteger(Variant(u"n?")), *c.result);
        } else {
            try {
                utility->GetInteger(Variant(u"n?"));
                ADD_FAILURE() << "no failure";
            } catch (const HostError& error) {
                EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos);
            }
        }
        EXPECT_EQ(user->Pending(), 0u);
    }
}

TEST_F(SimHost, LateBindingByNameInAnyCase) {
    document->Layers()->Add(u"ROADS");
    const auto layer = document->Layers()->Item(Variant(u"roads"));
    const Variant active = host->Invoke(u"ACTIVEDOCUMENT", CallKind::PropertyGet, {});
    active.ToObject()->Invoke(u"activelayer", CallKind::PropertyPut,
                              {Variant(std::static_pointer_cast<Dispatch>(layer))});
    EXPECT_EQ(drawing().Variable(u"CLAYER").ToString(), u"ROADS");
    EXPECT_THROW(host->Invoke(u"NoSuchMember", CallKind::Method, {}), HostError);
}

TEST_F(SimHost, TablesHandBackExistingEntries) {
    const auto styles = document->TextStyles();
    const std::int32_t count = styles->Count();
    styles->Add(u"farsi")->put_fontFile(u"naskhd.shx");
    EXPECT_EQ(styles->Add(u"FARSI")->fontFile(), u"naskhd.shx");
    EXPECT_EQ(styles->Count(), count + 1);
    const auto layers = document->Layers();
    layers->Add(u"A")->put_color(3);
    EXPECT_EQ(layers->Add(u"a")->color(), 3);
    EXPECT_THROW(layers->Add(u"A")->put_Lineweight(7), HostError);  // not a standard weight
    document->SelectionSets()->Add(u"S");
    EXPECT_THROW(document->SelectionSets()->Add(u"s"), HostError);  // duplicate set name
}

TEST_F(SimHost, EntitiesAnswerOnlyForWhatTheyHave) {
    AddEntity(sim::EntityKind::Point, {{1, 2, 3}});
    const EntityPtr point = document->ModelSpace()->Item(Variant(0));
    EXPECT_EQ(point->ObjectName(), u"AcDbPoint");
    EXPECT_EQ(point->Coordinates(), Variant(Variant::Array{1.0, 2.0, 3.0}));
    EXPECT_THROW(point->TextString(), HostError);
    EXPECT_THROW(point->put_Backward(true), HostError);
    point->Delete();
    EXPECT_THROW(point->ObjectName(), HostError);
    EXPECT_TRUE(drawing().modelSpace.empty());

    struct TypeCode {
        sim::EntityKind kind;
        std::int32_t code;
    };
    for (const TypeCode t : {TypeCode{sim::EntityKind::Insert, 7},
                             {sim::EntityKind::Hatch, 17},
                             {sim::EntityKind::Line, 19},
                             {sim::EntityKind::LwPolyline, 24}}) {
        EXPECT_EQ(sim::EntityTypeCode(t.kind), t.code);
    }
}

TEST_F(SimHost, TextExtentsFollowTheCharacterWidthRule) {
    const EntityPtr text = document->ModelSpace()->AddText(u"abcd", tacad::MakePoint(10, 20, 0), 2);
    Variant low, high;
    text->GetBoundingBox(low, high);
    EXPECT_EQ(PointFromVariant(low), (Point3{10, 20, 0}));
    EXPECT_EQ(PointFromVariant(high), (Point3{10 + 4 * 2 * sim::CharacterWidthInHeights, 22, 0}));
    text->put_Backward(true);
    text->GetBoundingBox(low, high);
    EXPECT_EQ(PointFromVariant(low), (Point3{10 - 4 * 2 * sim::CharacterWidthInHeights, 20, 0}));
    EXPECT_EQ(PointFromVariant(high), (Point3{10, 22, 0}));
}

TEST_F(SimHost, BlocksInsertByNameOrFromADrawingFile) {
    const auto space = document->ModelSpace();
    EXPECT_THROW(space->InsertBlock(tacad::MakePoint(0, 0, 0), u"TREE", 1, 1, 1, 0, Variant()),
                 HostError);
    drawing().blocks.push_back({.name = u"TREE"});
    const EntityPtr tree =
        space->InsertBlock(tacad::MakePoint(5, 5, 0), u"tree", 2, 2, 1, 0, Variant());
    EXPECT_EQ(tree->Name(), u"TREE");
    EXPECT_EQ(tree->EntityType(), 7);
    tree->put_XScaleFactor(3);
    EXPECT_EQ(tree->XScaleFactor(), 3.0);

    // By file, through the reader the DXF layer provides.
    EXPECT_THROW(space->InsertBlock(tacad::MakePoint(0, 0, 0), u"C:\\Blocks\\WELL.dwg", 1, 1, 1, 0,
                                    Variant()),
                 HostError);
    host->drawingFileReader = [](const std::u16string&) {
        auto source = std::make_shared<sim::Drawing>();
        source->modelSpace.push_back(std::make_shared<sim::EntityData>());
        return source;
    };
    const EntityPtr well = space->InsertBlock(tacad::MakePoint(0, 0, 0), u"C:\\Blocks\\WELL.dwg", 1,
                                              1, 1, 0, Variant());
    EXPECT_EQ(well->Name(), u"WELL");
    ASSERT_NE(drawing().FindBlock(u"WELL"), nullptr);
    EXPECT_EQ(drawing().FindBlock(u"WELL")->entities.size(), 1u);
}

TEST_F(SimHost, SeveralHostsRunUnderTheirOwnProgIds) {
    auto other = std::make_shared<sim::SimApplication>();
    hosts.Register(u"Autocad.Application.18", other);
    EXPECT_EQ(hosts.GetActiveObject(u"autocad.application.18"), other);
    EXPECT_EQ(hosts.GetActiveObject(u"Autocad.Application.24"), host);
    other.reset();  // the host closed
    EXPECT_THROW(hosts.GetActiveObject(u"Autocad.Application.18"), HostLookupError);
    EXPECT_THROW(hosts.GetActiveObject(u"Autocad.Application.99"), HostLookupError);
}

}  // namespace
}  // namespace navisaz
