#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include "cad/dxf/dxf_file.h"
#include "cad/dxf/tags.h"
#include "cad/host_error.h"
#include "cad/names.h"
#include "cad/sim/sim_application.h"
#include "dxf_test_support.h"
#include "engine/codepage.h"
#include "engine/naskh_decoder.h"
#include "engine/naskh_encoder.h"
#include "engine/shiraz2_decoder.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RunCommand;
using testing::RunPython;
using testing::ScratchFolder;
using testing::WriteFile;

// A small R12 file written by hand: a header, one layer and one text.
std::string SmallR12(const std::string& text = "hello") {
    return "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\nAC1009\r\n  9\r\n"
           "$DWGCODEPAGE\r\n  3\r\nANSI_1256\r\n  0\r\nENDSEC\r\n  0\r\nSECTION\r\n  "
           "2\r\nTABLES\r\n"
           "  0\r\nTABLE\r\n  2\r\nLAYER\r\n 70\r\n1\r\n  0\r\nLAYER\r\n  2\r\nROADS\r\n "
           "70\r\n0\r\n"
           " 62\r\n3\r\n  6\r\nCONTINUOUS\r\n  0\r\nENDTAB\r\n  0\r\nENDSEC\r\n  0\r\nSECTION\r\n"
           "  2\r\nENTITIES\r\n  0\r\nTEXT\r\n  8\r\nROADS\r\n 10\r\n1.5\r\n 20\r\n2.5\r\n "
           "30\r\n0.0\r\n"
           " 40\r\n2.0\r\n  1\r\n" +
           text + "\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
}

TEST(DxfRead, BadInputIsRefusedWithTheLineOrTheReason) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    std::string truncated = SmallR12();
    truncated.resize(truncated.size() / 2);
    std::string badNumber = SmallR12();
    badNumber.replace(badNumber.find("1.5"), 3, "1,5");
    std::string badCode = SmallR12();
    badCode.replace(badCode.find(" 40\r\n"), 5, "4x\r\n");
    std::string unknownVersion = SmallR12();
    unknownVersion.replace(unknownVersion.find("AC1009"), 6, "AC9999");
    std::string noEntities = SmallR12();
    noEntities.replace(noEntities.find("ENTITIES"), 8, "FOOBAR__");
    std::string unclosed = SmallR12();
    unclosed.replace(unclosed.find("ENDSEC\r\n  0\r\nSECTION\r\n  2\r\nTABLES"), 6, "LAYERX");
    const Case cases[] = {
        {"truncated", truncated, "EOF"},
        {"value that does not parse", badNumber, "line 48: value \"1,5\" of group code 10"},
        {"odd group code", badCode, "line 53: group code \"4x\" is not a number"},
        {"code out of range", "5000\r\nX\r\n", "line 1: group code 5000 is out of range"},
        {"code without value", "  0\r\n", "line 1: the file ends after group code 0"},
        {"unknown version", unknownVersion, "unknown DXF version AC9999"},
        {"missing section", noEntities, "no ENTITIES section"},
        {"section not closed", unclosed, "not closed by ENDSEC"},
        {"binary DXF", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "rest", "binary DXF"},
        {"DWG handed as DXF", std::string("AC1032\0\0\0\0\0", 11), "DWG"},
        {"empty", "", "EOF"},
    };
    for (const Case& c : cases) {
        try {
            dxf::ReadDxf(c.bytes);
            ADD_FAILURE() << c.name << ": read without complaint";
        } catch (const dxf::DxfError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
}

TEST(DxfRead, StringsAreDecodedPerFile) {
    struct Case {
        const char* name;
        std::string version, codePage, bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"R2000 ANSI_1256", "AC1015", "ANSI_1256", testing::Cp1256("سلام"), u"سلام"},
        {"R2000 ANSI_1252", "AC1015", "ANSI_1252", "caf\xE9", u"café"},
        {"R2000 unicode escape", "AC1015", "ANSI_1252", "\\U+0633\\U+0644x", u"سلx"},
        {"R2000 multibyte escape", "AC1015", "ANSI_1252", "\\M+1829F", u"\u3041"},
        {"R2018 UTF-8", "AC1032", "ANSI_1252", "سلام", u"سلام"},
    };
    for (const Case& c : cases) {
        std::string file = SmallR12(c.bytes);
        file.replace(file.find("AC1009"), 6, c.version);
        file.replace(file.find("ANSI_1256"), 9, c.codePage);
        const auto drawing = dxf::ReadDxf(file);
        ASSERT_EQ(drawing->modelSpace.size(), 1u) << c.name;
        EXPECT_EQ(drawing->modelSpace[0]->text, c.text) << c.name;
        EXPECT_EQ(drawing->modelSpace[0]->insertion, (Point3{1.5, 2.5, 0})) << c.name;
        EXPECT_EQ(drawing->FindLayer(u"ROADS")->color, 3) << c.name;
        EXPECT_EQ(dxf::WriteDxf(*drawing), file) << c.name;  // unchanged, byte for byte
    }
}

TEST(DxfWrite, GlyphTextsSurviveAnEditInEveryEncoding) {
    // Naskh glyph codes widened as the host holds them, in a Windows-1256 and a UTF-8 file.
    const std::u16string glyphs =
        WidenBytes(CodePage::Windows1256, WindowsToNaskh(testing::Cp1256("شهرداري منطقه 12 صبح")));
    for (const char* version : {"AC1015", "AC1032"}) {
        std::string file = SmallR12("x");
        file.replace(file.find("AC1009"), 6, version);
        auto drawing = dxf::ReadDxf(file);
        drawing->modelSpace[0]->text = glyphs;  // an edit forces the text to be written anew
        const auto back = dxf::ReadDxf(dxf::WriteDxf(*drawing));
        EXPECT_EQ(back->modelSpace[0]->text, glyphs) << version;
    }
}

class DxfFiles : public ::testing::Test {
  protected:
    ScratchFolder folder;
};

// Files written by other programs come back byte for byte when nothing was changed.
TEST_F(DxfFiles, FilesOfOtherProgramsRoundTripUnchanged) {
    const testing::CommandResult made = RunPython(folder.path(), R"(
import ezdxf, sys
folder = sys.argv[0].rsplit('/', 1)[0]
for version in ['R12', 'R2000', 'R2004', 'R2007', 'R2010', 'R2013', 'R2018']:
    doc = ezdxf.new(version)
    if version == 'R2000':
        doc.header['$DWGCODEPAGE'] = 'ANSI_1256'
    doc.layers.add('ROADS', color=3)
    msp = doc.modelspace()
    msp.add_text('سلام', dxfattribs={'layer': 'ROADS', 'height': 2.5})
    msp.add_point((1, 2))
    msp.add_line((0, 0), (5, 5))
    msp.add_circle((3, 3), 1)
    if version != 'R12':
        msp.add_lwpolyline([(0, 0), (4, 0), (4, 4)], close=True)
        msp.add_mtext('خط اول\\Pخط دوم', dxfattribs={'char_height': 1})
        hatch = msp.add_hatch(color=2)
        hatch.paths.add_polyline_path([(0, 0), (1, 0), (1, 1)], is_closed=True)
        msp.add_arc((0, 0), 2, 0, 90)
        line = msp.add_line((1, 1), (2, 2))
        line.set_xdata('ACAD', [(1000, 'kept')])
    doc.blocks.new('TREE').add_circle((0, 0), 1)
    msp.add_blockref('TREE', (10, 10))
    doc.saveas(f'{folder}/{version}.dxf')
)");
    ASSERT_EQ(made.status, 0) << made.output;
    // GDAL too: a shapefile-like layer of points and a label written as DXF.
    WriteFile(folder / "points.csv", "WKT,name\n\"POINT (1 2)\",a\n\"POINT (3 4)\",b\n");
    const testing::CommandResult gdal =
        RunCommand("ogr2ogr -f DXF " + (folder / "gdal.dxf").string() + " " +
                   (folder / "points.csv").string());
    ASSERT_EQ(gdal.status, 0) << gdal.output;

    for (const char* name : {"R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018", "gdal"}) {
        const fs::path path = folder / (std::string(name) + ".dxf");
        const std::string original = ReadFile(path);
        const auto drawing = dxf::OpenDxf(path);
        EXPECT_FALSE(drawing->modelSpace.empty()) << name;
        EXPECT_EQ(dxf::WriteDxf(*drawing), original) << name;
    }
    const auto r2000 = dxf::OpenDxf(folder / "R2000.dxf");
    EXPECT_EQ(r2000->modelSpace[0]->text, u"سلام");  // through ANSI_1256
}

TEST_F(DxfFiles, EditsAreWrittenAndOtherProgramsReadThem) {
    const testing::CommandResult made = RunPython(folder.path(), R"(
import ezdxf, sys
folder = sys.argv[0].rsplit('/', 1)[0]
doc = ezdxf.new('R2018')
msp = doc.modelspace()
msp.add_text('old', dxfattribs={'height': 1})
line = msp.add_line((0, 0), (1, 1))
line.set_xdata('ACAD', [(1000, 'kept')])
msp.add_circle((0, 0), 3)
doc.saveas(f'{folder}/edit.dxf')
)");
    ASSERT_EQ(made.status, 0) << made.output;
    const fs::path path = folder / "edit.dxf";
    auto drawing = dxf::OpenDxf(path);
    ASSERT_EQ(drawing->modelSpace.size(), 3u);
    const std::u16string oldSeed = Widen(std::to_string(drawing->handleSeed));
    drawing->modelSpace[0]->text = u"جديد";
    drawing->modelSpace[0]->rotation = 0.5;
    drawing->modelSpace[1]->color = 1;             // the line keeps its extended data
    drawing->Erase(drawing->modelSpace[2].get());  // the circle goes
    sim::EntityRef added = drawing->AddEntity(drawing->modelSpace, sim::EntityKind::Text);
    added->text = u"تازه";
    added->height = 2;
    drawing->layers.push_back({.name = u"NEW", .color = 5});
    drawing->textStyles.push_back(
        {.name = u"farsi", .fontFile = u"naskhd.shx", .generationFlag = 2});
    dxf::SaveDxf(*drawing, path);

    const testing::CommandResult check = RunPython(folder.path(), R"(
import ezdxf, sys
folder = sys.argv[0].rsplit('/', 1)[0]
doc = ezdxf.readfile(f'{folder}/edit.dxf')
auditor = doc.audit()
print('errors', len(auditor.errors))
for e in doc.modelspace():
    extra = e.get_xdata('ACAD') if e.has_xdata('ACAD') else ''
    text = e.dxf.text if e.dxftype() == 'TEXT' else ''
    print(e.dxftype(), text, e.dxf.color, extra, e.dxf.handle)
print('layer', doc.layers.get('NEW').color)
print('style', doc.styles.get('farsi').dxf.font)
print('seed', doc.header['$HANDSEED'])
)");
    ASSERT_EQ(check.status, 0) << check.output;
    EXPECT_NE(check.output.find("errors 0"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("TEXT جديد"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("LINE  1 [DXFTag(1000, 'kept')]"), std::string::npos)
        << check.output;
    EXPECT_EQ(check.output.find("CIRCLE"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("TEXT تازه"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("layer 5"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("style naskhd.shx"), std::string::npos) << check.output;
    // The previous file is kept beside it.
    EXPECT_TRUE(fs::exists(folder / "edit.bak"));
    EXPECT_NE(ReadFile(folder / "edit.bak").find("old"), std::string::npos);
}

TEST_F(DxfFiles, NewDrawingsOpenInOtherPrograms) {
    sim::Drawing drawing;
    sim::EntityRef text = drawing.AddEntity(drawing.modelSpace, sim::EntityKind::Text);
    text->text = u"نقشه";
    text->insertion = {10, 20, 0};
    text->height = 2.5;
    sim::EntityRef polyline = drawing.AddEntity(drawing.modelSpace, sim::EntityKind::LwPolyline);
    polyline->points = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    polyline->closed = true;
    sim::EntityRef hatch = drawing.AddEntity(drawing.modelSpace, sim::EntityKind::Hatch);
    hatch->loops = {polyline->points};
    sim::EntityRef leader = drawing.AddEntity(drawing.modelSpace, sim::EntityKind::Leader);
    leader->points = {{0, 0, 0}, {5, 5, 0}, {10, 5, 0}};
    drawing.blocks.push_back({.name = u"WELL", .entities = {std::make_shared<sim::EntityData>()}});
    sim::EntityRef insert = drawing.AddEntity(drawing.modelSpace, sim::EntityKind::Insert);
    insert->blockName = u"WELL";
    const fs::path path = folder / "new.dxf";
    dxf::SaveDxf(drawing, path);
    EXPECT_NE(ReadFile(path).find("AC1032"), std::string::npos);

    const testing::CommandResult check = RunPython(folder.path(), R"(
import ezdxf, sys
folder = sys.argv[0].rsplit('/', 1)[0]
doc = ezdxf.readfile(f'{folder}/new.dxf')
auditor = doc.audit()
print('errors', len(auditor.errors), [str(e) for e in auditor.errors])
print(sorted(e.dxftype() for e in doc.modelspace()))
)");
    ASSERT_EQ(check.status, 0) << check.output;
    EXPECT_NE(check.output.find("errors 0"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("['HATCH', 'INSERT', 'LEADER', 'LWPOLYLINE', 'TEXT']"),
              std::string::npos)
        << check.output;
    // GDAL 3.6 decodes DXF strings by $DWGCODEPAGE even in UTF-8 files; its DXF_ENCODING option
    // tells it that these are UTF-8.
    const testing::CommandResult gdal =
        RunCommand("ogrinfo --config DXF_ENCODING UTF-8 -al -q " + path.string());
    ASSERT_EQ(gdal.status, 0) << gdal.output;
    EXPECT_NE(gdal.output.find("Text (String) = نقشه"), std::string::npos) << gdal.output;
}

// Saves into a read-only folder as a user without rights there; returns the message of the
// failure, or "" when the save went through. Root ignores folder permissions, so a root test run
// makes the attempt in a child process that has become the unprivileged user "nobody".
std::string SaveWithoutRights(const sim::Drawing& drawing, const fs::path& path) {
    if (::geteuid() != 0) {
        try {
            dxf::SaveDxf(drawing, path);
            return "";
        } catch (const dxf::DxfError& error) {
            return error.what();
        }
    }
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::string message = "could not become nobody";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            try {
                dxf::SaveDxf(drawing, path);
                message = "";
            } catch (const dxf::DxfError& error) {
                message = error.what();
            }
        }
        [[maybe_unused]] const auto written = ::write(pipeEnds[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string message;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        message.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return message;
}

TEST_F(DxfFiles, AFailedSaveLeavesTheOldFileAndSaysWhy) {
    const fs::path path = folder / "map.dxf";
    WriteFile(path, SmallR12());
    auto drawing = dxf::OpenDxf(path);
    drawing->modelSpace[0]->text = u"changed";
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
    fs::permissions(folder.path(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string message = SaveWithoutRights(*drawing, path);
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_NE(message.find("cannot save"), std::string::npos) << message;
    EXPECT_EQ(ReadFile(path), SmallR12());
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, 1);  // no temporary file left behind
}

TEST_F(DxfFiles, ASaveThatCannotBeWrittenSaysWhy) {
    sim::Drawing drawing;
    // No such folder.
    EXPECT_THROW(dxf::SaveDxf(drawing, folder / "missing" / "map.dxf"), dxf::DxfError);
    // The target is a folder: the rename fails, nothing is left behind.
    fs::create_directories(folder / "map.dxf" / "inside");
    try {
        dxf::SaveDxf(drawing, folder / "map.dxf");
        ADD_FAILURE() << "saved over a folder";
    } catch (const dxf::DxfError& error) {
        EXPECT_NE(std::string(error.what()).find("cannot save"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(fs::is_directory(folder / "map.dxf" / "inside"));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(DxfSamples, TheSurveyMapHoldsEveryKindAndRoundTrips) {
    const fs::path path = fs::path(NAVISAZ_SOURCE_DIR) / "data" / "samples" / "survey_map.dxf";
    const auto drawing = dxf::OpenDxf(path);
    std::set<sim::EntityKind> kinds;
    for (const sim::EntityRef& e : drawing->modelSpace)
        kinds.insert(e->kind);
    EXPECT_EQ(kinds.size(), 7u);  // all but the circle and the line, which live in the blocks
    ASSERT_NE(drawing->FindBlock(u"TREE"), nullptr);
    EXPECT_EQ(dxf::WriteDxf(*drawing), ReadFile(path));
    std::vector<std::string> naskh, shiraz2;
    for (const sim::EntityRef& e : drawing->modelSpace) {
        if (e->style == u"farsi" || e->style == u"naskhc")
            naskh.push_back(NaskhToWindows(e->text));
        if (e->style == u"shiraz2")
            shiraz2.push_back(Shiraz2ToWindows(e->text));
    }
    EXPECT_NE(std::find(naskh.begin(), naskh.end(), testing::Cp1256("قطعه ب")), naskh.end());
    EXPECT_EQ(shiraz2, std::vector<std::string>{testing::Cp1256("باغ 12")});
}

TEST(DxfBlocks, ADwgPathThatIsMissingReadsTheDxfBesideIt) {
    ScratchFolder folder;
    WriteFile(folder / "WELL.dxf", SmallR12());
    EXPECT_EQ(dxf::BlockDrawingFile(folder / "WELL.dwg"), folder / "WELL.dxf");
    EXPECT_EQ(dxf::BlockDrawingFile(folder / "WELL.DWG"), folder / "WELL.dxf");
    WriteFile(folder / "REAL.dwg", "AC1032");
    EXPECT_EQ(dxf::BlockDrawingFile(folder / "REAL.dwg"), folder / "REAL.dwg");
    EXPECT_EQ(dxf::BlockDrawingFile(folder / "X.dxf"), folder / "X.dxf");
}

TEST(DxfBlocks, TheHostInsertsBlockDrawingsFromDxfFiles) {
    ScratchFolder folder;
    fs::create_directories(folder / "Blocks");
    WriteFile(folder / "Blocks" / "WELL.dxf", SmallR12("well"));
    auto host = std::make_shared<sim::SimApplication>();
    dxf::ReadDrawingFilesAsDxf(*host);
    const auto space = host->ActiveDocument()->ModelSpace();
    const Variant origin(Variant::Array{0.0, 0.0, 0.0});
    // Written as the program writes it, with backslashes and the ".dwg" of the original files.
    const std::u16string path = Widen((folder.path() / "").string()) + u"Blocks\\WELL.dwg";
    const EntityPtr well = space->InsertBlock(origin, path, 1, 1, 1, 0, Variant());
    EXPECT_EQ(well->Name(), u"WELL");
    ASSERT_NE(host->ActiveDrawing()->FindBlock(u"WELL"), nullptr);
    EXPECT_EQ(host->ActiveDrawing()->FindBlock(u"WELL")->entities.at(0)->text, u"well");
    EXPECT_THROW(space->InsertBlock(origin, path + u"x", 1, 1, 1, 0, Variant()), HostError);
}

}  // namespace
}  // namespace navisaz
