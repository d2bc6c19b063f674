// Writes the sample drawings of data/samples: a small survey map in metres with points,
// polylines, hatches, block inserts, Windows-font Persian texts, Naskh and Shiraz2 glyph texts
// and multi-line texts with paragraphs and format codes.

#include <cmath>
#include <filesystem>
#include <iostream>
#include <numbers>

#include "cad/dxf/dxf_file.h"
#include "cad/names.h"
#include "engine/codepage.h"
#include "engine/naskh_encoder.h"
#include "engine/typed_text.h"
#include "engine/utf8.h"

namespace navisaz {
namespace {

using sim::EntityKind;

// Origin of the map: a local grid in metres.
constexpr double E0 = 538200;
constexpr double N0 = 3951400;

std::u16string NaskhGlyphs(const char* persian) {
    const std::string windows = TypedTextToWindows(DecodeUtf8(persian).text).bytes;
    return WidenBytes(CodePage::Windows1256, WindowsToNaskh(windows));
}

// Shiraz2 stores its codes in visual order: "باغ 12" is kept as 1, 2, space, غ, ا, ب.
std::u16string Shiraz2Garden() {
    return WidenBytes(CodePage::Windows1256,
                      std::string{0x51, 0x52, 0x20, static_cast<char>(0xCB), 0x61, 0x69});
}

sim::EntityRef Add(sim::Drawing& d, EntityKind kind, const char16_t* layer) {
    sim::EntityRef e = d.AddEntity(d.modelSpace, kind);
    e->layer = layer;
    return e;
}

void AddText(sim::Drawing& d, const char16_t* layer, const std::u16string& text, double x, double y,
             double height, const char16_t* style, bool backward = false, double rotation = 0) {
    sim::EntityRef t = Add(d, EntityKind::Text, layer);
    t->text = text;
    t->insertion = {E0 + x, N0 + y, 0};
    t->height = height;
    t->style = style;
    t->backward = backward;
    t->rotation = rotation;
}

sim::EntityRef Polyline(sim::Drawing& d, const char16_t* layer, std::vector<Point3> points,
                        bool closed) {
    sim::EntityRef p = Add(d, EntityKind::LwPolyline, layer);
    for (Point3& point : points)
        point = {E0 + point.x, N0 + point.y, 0};
    p->points = std::move(points);
    p->closed = closed;
    return p;
}

sim::Drawing SurveyMap() {
    sim::Drawing d;
    d.name = u"survey_map.dxf";
    for (const auto& [name, color] :
         std::vector<std::pair<const char16_t*, int>>{{u"POINTS", 1},
                                                      {u"ROADS", 8},
                                                      {u"PARCELS", 3},
                                                      {u"BUILDINGS", 5},
                                                      {u"VEGETATION", 82},
                                                      {u"TEXT_FA", 7},
                                                      {u"TEXT_NASKH", 2},
                                                      {u"ANNOTATION", 4}}) {
        d.layers.push_back({.name = name, .color = color});
    }
    d.linetypes.push_back(
        {.name = u"DASHED", .description = u"Dashed __ __ __", .pattern = {0.5, -0.25}});
    d.textStyles.push_back({.name = u"farsiWin", .typeface = u"Tahoma"});
    d.textStyles.push_back({.name = u"farsi", .fontFile = u"naskhd.shx", .generationFlag = 2});
    d.textStyles.push_back({.name = u"naskhc", .fontFile = u"naskhc.shx", .generationFlag = 2});
    d.textStyles.push_back({.name = u"shiraz2", .fontFile = u"shiraz2.shx"});

    // Blocks: a tree and a well.
    sim::BlockDefinition tree{.name = u"TREE"};
    auto crown = std::make_shared<sim::EntityData>();
    crown->kind = EntityKind::Circle;
    crown->points = {{0, 0, 0}};
    crown->radius = 1.5;
    crown->layer = u"VEGETATION";
    auto trunk = std::make_shared<sim::EntityData>();
    trunk->kind = EntityKind::Line;
    trunk->points = {{0, -1.5, 0}, {0, 1.5, 0}};
    trunk->layer = u"VEGETATION";
    tree.entities = {crown, trunk};
    d.blocks.push_back(tree);
    sim::BlockDefinition well{.name = u"WELL"};
    auto ring = std::make_shared<sim::EntityData>(*crown);
    ring->radius = 0.8;
    ring->layer = u"POINTS";
    well.entities = {ring};
    d.blocks.push_back(well);

    // Survey points with their numbers.
    const Point3 points[] = {{5, 5, 0},   {95, 8, 0}, {98, 62, 0},
                             {52, 70, 0}, {8, 58, 0}, {60, 30, 0}};
    for (std::size_t i = 0; i < std::size(points); ++i) {
        sim::EntityRef p = Add(d, EntityKind::Point, u"POINTS");
        p->points = {{E0 + points[i].x, N0 + points[i].y, 1402.25 + static_cast<double>(i)}};
        AddText(d, u"POINTS", u"P" + Widen(std::to_string(i + 1)), points[i].x + 1, points[i].y + 1,
                1.2, u"Standard");
    }
    // Roads, parcels and a building.
    sim::EntityRef road =
        Polyline(d, u"ROADS", {{0, 40, 0}, {40, 42, 0}, {80, 38, 0}, {110, 40, 0}}, false);
    road->constantWidth = 0.5;
    sim::EntityRef track = Polyline(d, u"ROADS", {{50, 0, 0}, {52, 40, 0}}, false);
    track->linetype = u"DASHED";
    sim::EntityRef parcelA =
        Polyline(d, u"PARCELS", {{5, 5, 0}, {48, 5, 0}, {48, 36, 0}, {5, 36, 0}}, true);
    Polyline(d, u"PARCELS", {{56, 5, 0}, {95, 8, 0}, {98, 36, 0}, {56, 36, 0}}, true);
    sim::EntityRef building =
        Polyline(d, u"BUILDINGS", {{15, 12, 0}, {30, 12, 0}, {30, 24, 0}, {15, 24, 0}}, true);
    // Hatches: the building solid, the first parcel with a pattern.
    sim::EntityRef solid = Add(d, EntityKind::Hatch, u"BUILDINGS");
    solid->loops = {building->points};
    sim::EntityRef pattern = Add(d, EntityKind::Hatch, u"PARCELS");
    pattern->patternName = u"ANSI31";
    pattern->patternScale = 2;
    pattern->patternAngle = std::numbers::pi / 4;
    pattern->loops = {parcelA->points};
    // Trees along the road and a well.
    for (int i = 0; i < 5; ++i) {
        sim::EntityRef insert = Add(d, EntityKind::Insert, u"VEGETATION");
        insert->blockName = u"TREE";
        insert->insertion = {E0 + 10 + 20 * i, N0 + 46, 0};
    }
    sim::EntityRef wellInsert = Add(d, EntityKind::Insert, u"POINTS");
    wellInsert->blockName = u"WELL";
    wellInsert->insertion = {E0 + 70, N0 + 20, 0};
    wellInsert->xScale = wellInsert->yScale = 1.5;

    // Persian texts in a Windows font, as typed.
    AddText(d, u"TEXT_FA", u"خيابان آزادي", 60, 43, 2.5, u"farsiWin");
    AddText(d, u"TEXT_FA", u"قطعه الف - مساحت 1340 متر مربع", 8, 30, 1.5, u"farsiWin");
    // The same kind of labels in Naskh glyph codes, drawn backwards by their style.
    AddText(d, u"TEXT_NASKH", NaskhGlyphs("قطعه ب"), 60, 30, 2, u"farsi", true);
    AddText(d, u"TEXT_NASKH", NaskhGlyphs("ساختمان مسکوني 2 طبقه"), 16, 18, 1.2, u"farsi", true);
    AddText(d, u"TEXT_NASKH", NaskhGlyphs("چاه آب"), 72, 22, 1, u"naskhc", true);
    AddText(d, u"TEXT_NASKH", NaskhGlyphs("جاده خاکي"), 53, 15, 1.5, u"farsi", true,
            std::numbers::pi / 2);
    // A Shiraz2 text from an older drawing.
    AddText(d, u"TEXT_FA", Shiraz2Garden(), 80, 55, 2, u"shiraz2");
    // The legend: multi-line texts with paragraphs and format codes.
    sim::EntityRef legend = Add(d, EntityKind::MText, u"ANNOTATION");
    legend->text =
        u"{\\fTahoma|b1|i0|c178|p34;نقشه نقشه‌برداري}\\Pمقياس "
        u"1:500\\Pتهيه "
        u"شده "
        u"در "
        u"{\\C1;1403}\\Pسيستم مختصات UTM زون 39";
    legend->insertion = {E0 + 5, N0 + 85, 0};
    legend->height = 2;
    legend->width = 60;
    sim::EntityRef note = Add(d, EntityKind::MText, u"ANNOTATION");
    note->text = u"\\A1;ارتفاعها به متر\\Pاز سطح دريا";
    note->insertion = {E0 + 70, N0 + 85, 0};
    note->height = 1.5;
    note->width = 35;
    // A leader to the well.
    sim::EntityRef leader = Add(d, EntityKind::Leader, u"ANNOTATION");
    leader->points = {{E0 + 70, N0 + 20, 0}, {E0 + 76, N0 + 26, 0}, {E0 + 82, N0 + 26, 0}};
    return d;
}

}  // namespace
}  // namespace navisaz

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: navisaz-make-samples FOLDER\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        navisaz::dxf::SaveDxf(navisaz::SurveyMap(), folder / "survey_map.dxf");
        std::filesystem::remove(folder / "survey_map.bak");
        std::cout << "wrote " << (folder / "survey_map.dxf").string() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "navisaz-make-samples: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
