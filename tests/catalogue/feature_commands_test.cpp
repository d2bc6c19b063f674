#include "catalogue/feature_commands.h"

#include <gtest/gtest.h>

#include <numbers>

#include "cad/dxf/dxf_file.h"
#include "cad/host_fixture.h"
#include "cad/names.h"
#include "catalogue/catalogue_fixture.h"
#include "commands/command_context.h"

namespace navisaz {
namespace {

const std::u16string Aside = u"parent of TFStandard: 0 at 0,0";
const std::u16string InHost = u"parent of TFStandard: 4242 at 671,36";

// A block drawing: one circle on layer 0.
void WriteBlockDrawing(const std::filesystem::path& path) {
    sim::Drawing block;
    sim::EntityRef circle = block.AddEntity(block.modelSpace, sim::EntityKind::Circle);
    circle->points = {{0, 0, 0}};
    circle->radius = 1;
    std::filesystem::create_directories(path.parent_path());
    dxf::SaveDxf(block, path);
}

class FeatureCommandsTest : public testing::CatalogueFixture, public testing::HostWorld {
  protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        StartHost();
        dxf::ReadDrawingFilesAsDxf(*host);
        platform.settings[{u"Navisaz", u"RUNPATH"}] = Widen(folder.string()) + u"/";
        for (const char16_t* name : {u"DASHED", u"RAILWAY"})
            drawing().linetypes.push_back({.name = name});
        commands = std::make_unique<FeatureCommands>(platform, hosts);
        ASSERT_TRUE(commands->Connected());
        platform.events.clear();
        host->commandLog.clear();
    }
    void Run(const std::function<void()>& command) { RunGuarded(platform, command); }
    std::vector<std::u16string> Placements() const {
        std::vector<std::u16string> moves;
        for (const auto& event : platform.events)
            if (event.starts_with(u"parent of"))
                moves.push_back(event);
        return moves;
    }
    std::vector<sim::EntityRef> Inserts() {
        std::vector<sim::EntityRef> inserts;
        for (const sim::EntityRef& e : drawing().modelSpace)
            if (e->kind == sim::EntityKind::Insert)
                inserts.push_back(e);
        return inserts;
    }
    std::unique_ptr<FeatureCommands> commands;
};

TEST_F(FeatureCommandsTest, BlockScaleFollowsTheMapScale) {
    drawing().blocks.push_back({.name = u"TREE"});
    for (const auto& [denominator, factor] : {std::pair{50, 0.05}, {500, 0.5}, {10000, 10.0}}) {
        user->QueuePoint(10, 20);
        Run([&, d = denominator] { commands->Block(Feature(1), d / 1000.0, DrawMode::New); });
        const sim::EntityRef insert = Inserts().back();
        EXPECT_EQ(insert->blockName, u"TREE");
        EXPECT_EQ(insert->insertion, (Point3{10, 20, 0}));
        EXPECT_DOUBLE_EQ(insert->xScale, factor);
        EXPECT_DOUBLE_EQ(insert->yScale, factor);
        EXPECT_DOUBLE_EQ(insert->zScale, factor);
        EXPECT_EQ(insert->rotation, 0.0);
        EXPECT_EQ(insert->layer, u"TREE");
    }
    EXPECT_EQ(host->commandLog.back(), u"r ");
    EXPECT_EQ(drawing().Variable(u"CLAYER").ToString(), u"TREE");
    EXPECT_EQ(Placements().front(), Aside);
    EXPECT_EQ(Placements().back(), InHost);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FeatureCommandsTest, HatchAndPolylineSettingsFollowTheMapScale) {
    struct Case {
        int denominator;
        std::u16string hatchScale;     // written with one decimal
        std::u16string linetypeScale;  // written with two
        double celtscale;
    };
    for (const Case& c : {Case{50, u"hpscale 0.1 ", u"celtscale 0.05 ", 0.05},
                          Case{500, u"hpscale 0.5 ", u"celtscale 0.50 ", 0.5},
                          Case{10000, u"hpscale 10.0 ", u"celtscale 10.00 ", 10.0}}) {
        host->commandLog.clear();
        Run([&] { commands->Hatch(Feature(2), c.denominator / 1000.0, DrawMode::New); });
        EXPECT_EQ(host->commandLog,
                  (std::vector<std::u16string>{u"-lt s CONTINUOUS\r\r", u"hpname GRASS ",
                                               u"hpang 45.0 ", c.hatchScale, u"h "}));
        EXPECT_EQ(drawing().Variable(u"CLAYER").ToString(), u"GARDEN_H");
        user->QueueEscape();
        host->RunPendingCommand();

        host->commandLog.clear();
        Run([&] { commands->Polyline(Feature(4), c.denominator / 1000.0, DrawMode::New); });
        EXPECT_EQ(host->commandLog,
                  (std::vector<std::u16string>{u"-lt s RAILWAY\r\r", c.linetypeScale, u"pl "}));
        EXPECT_EQ(drawing().Variable(u"CELTYPE").ToString(), u"RAILWAY");
        EXPECT_DOUBLE_EQ(drawing().Variable(u"CELTSCALE").ToDouble(), c.celtscale);
        EXPECT_EQ(drawing().Variable(u"CLAYER").ToString(), u"RAIL");
        EXPECT_EQ(drawing().FindLayer(u"RAIL")->color, 8);
        user->QueueEscape();
        host->RunPendingCommand();
    }
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(Placements().empty());  // the window stays where it is
}

TEST_F(FeatureCommandsTest, BadNumbersInTheRecordEndTheCommandWithAMessage) {
    store->Insert({{"Farsi_Name", "bad"},
                   {"Layer_DWG", "BAD"},
                   {"Color_DWG", ""},
                   {"Weight_DWG", "x"},
                   {"Block_Name", "-"},
                   {"Hatch_Name", "-"}});
    const FeatureRecord bad = store->Features().back();
    Run([&] { commands->Polyline(bad, 0.5, DrawMode::New); });
    ASSERT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(drawing().FindLayer(u"BAD"), nullptr);
}

TEST_F(FeatureCommandsTest, MatchExistingRestylesByEntityKind) {
    sim::EntityRef line = AddEntity(sim::EntityKind::Line, {{0, 0, 0}, {1, 1, 0}});
    sim::EntityRef lw = AddEntity(sim::EntityKind::LwPolyline, {{0, 0, 0}, {2, 0, 0}});
    sim::EntityRef hatch = AddEntity(sim::EntityKind::Hatch, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    drawing().blocks.push_back({.name = u"B"});
    sim::EntityRef insert = AddEntity(sim::EntityKind::Insert);
    insert->blockName = u"B";
    sim::EntityRef circle = AddEntity(sim::EntityKind::Circle);
    circle->radius = 1;
    for (const sim::EntityRef& e : {line, lw, hatch, insert, circle})
        e->color = 1;
    const sim::EntityData circleBefore = *circle;
    user->QueueSelection({line->handle, lw->handle, hatch->handle, insert->handle, circle->handle});
    // The polyline button restyles a picked hatch and block too: the kind decides, and the
    // hatch layer it did not make is added.
    Run([&] { commands->Polyline(Feature(2), 2.0, DrawMode::MatchExisting); });
    EXPECT_EQ(platform.errors, std::vector<std::u16string>{});
    for (const sim::EntityRef& e : {line, lw}) {
        EXPECT_EQ(e->color, sim::ColorByLayer);
        EXPECT_EQ(e->layer, u"GARDEN");
        EXPECT_TRUE(SameName(e->linetype, u"CONTINUOUS"));
        EXPECT_EQ(e->linetypeScale, 2.0);
    }
    EXPECT_EQ(hatch->color, sim::ColorByLayer);
    EXPECT_EQ(hatch->layer, u"GARDEN_H");
    EXPECT_NE(drawing().FindLayer(u"GARDEN_H"), nullptr);
    EXPECT_EQ(hatch->patternName, u"GRASS");
    EXPECT_NEAR(hatch->patternAngle, std::numbers::pi / 4, 1e-12);
    EXPECT_EQ(hatch->patternScale, 2.0);
    EXPECT_EQ(insert->layer, u"GARDEN");
    EXPECT_EQ(insert->color, sim::ColorByLayer);
    EXPECT_EQ(insert->xScale, 2.0);
    EXPECT_EQ(insert->yScale, 2.0);
    EXPECT_EQ(insert->zScale, 1.0);
    EXPECT_EQ(*circle, circleBefore);
    EXPECT_EQ(Placements(), (std::vector<std::u16string>{Aside, InHost}));
}

TEST_F(FeatureCommandsTest, MatchExistingWithNothingPickedStillMakesTheLayer) {
    sim::EntityRef line = AddEntity(sim::EntityKind::Line, {{0, 0, 0}, {1, 1, 0}});
    const sim::EntityData before = *line;
    user->QueueSelection({});
    Run([&] { commands->Hatch(Feature(6), 0.5, DrawMode::MatchExisting); });
    EXPECT_EQ(*line, before);
    EXPECT_EQ(drawing().Variable(u"CLAYER").ToString(), u"BUILDING_H");
    EXPECT_EQ(Placements(), (std::vector<std::u16string>{Aside, InHost}));
}

TEST_F(FeatureCommandsTest, BlockComesFromTheBlockFolderWhenTheDrawingLacksIt) {
    WriteBlockDrawing(folder / "CADSupport" / "Blocks" / "WELL.dxf");
    user->QueuePoint(5, 5);
    Run([&] { commands->Block(Feature(5), 0.5, DrawMode::New); });
    ASSERT_EQ(Inserts().size(), 1u);
    EXPECT_EQ(Inserts()[0]->blockName, u"WELL");
    EXPECT_EQ(Inserts()[0]->xScale, 0.5);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(host->commandLog.back(), u"r ");
}

TEST_F(FeatureCommandsTest, AMissingBlockIsNamedAndTheLayerStays) {
    user->QueuePoint(5, 5);
    Run([&] { commands->Block(Feature(7), 0.5, DrawMode::New); });
    EXPECT_TRUE(Inserts().empty());
    EXPECT_EQ(platform.messages, (std::vector<std::u16string>{u"بلاک يافت نشد    TANK"}));
    EXPECT_EQ(drawing().Variable(u"CLAYER").ToString(), u"TANK");
}

TEST_F(FeatureCommandsTest, ACancelledPickInsertsNothingAndBringsTheWindowBack) {
    drawing().blocks.push_back({.name = u"TREE"});
    user->QueueEscape();
    Run([&] { commands->Block(Feature(1), 0.5, DrawMode::New); });
    EXPECT_TRUE(Inserts().empty());
    EXPECT_EQ(platform.errors.size(), 1u);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Placements(), (std::vector<std::u16string>{Aside, InHost}));
}

TEST_F(FeatureCommandsTest, LibraryLoadRecordsWhichBlocksExist) {
    // The library holds TREE and WELL; TANK is nowhere.
    sim::Drawing library;
    for (const char16_t* name : {u"TREE", u"WELL"}) {
        sim::BlockDefinition block{.name = name};
        auto circle = std::make_shared<sim::EntityData>();
        circle->kind = sim::EntityKind::Circle;
        circle->points = {{0, 0, 0}};
        circle->radius = 1;
        circle->handle = library.NewHandle();
        block.entities.push_back(circle);
        library.blocks.push_back(std::move(block));
    }
    std::filesystem::create_directories(folder / "CADSupport");
    dxf::SaveDxf(library, folder / "CADSupport" / "BRMT2000-3.dxf");

    std::vector<std::pair<std::size_t, std::size_t>> progress;
    Run([&] {
        commands->LoadBlockLibrary(*store, 0.5, [&](std::size_t done, std::size_t total) {
            progress.emplace_back(done, total);
        });
    });
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_TRUE(Inserts().empty());  // every reference the load made is gone again
    EXPECT_NE(drawing().FindBlock(u"WELL"), nullptr);
    EXPECT_EQ(progress.back(), (std::pair<std::size_t, std::size_t>{3, 3}));
    store.reset();
    FeatureStore reopened(file);
    FeatureFilter points;
    points.kind = FeatureKind::Point;
    EXPECT_EQ(reopened.FilteredIds(points), (std::vector<std::int64_t>{1, 5}));
}

TEST_F(FeatureCommandsTest, AMissingLibraryChangesNoIsExist) {
    Run([&] { commands->LoadBlockLibrary(*store, 0.5); });
    EXPECT_EQ(platform.errors.size(), 1u);
    FeatureFilter points;
    points.kind = FeatureKind::Point;
    EXPECT_EQ(store->FilteredIds(points), (std::vector<std::int64_t>{1, 7}));
}

}  // namespace
}  // namespace navisaz
