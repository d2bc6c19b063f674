// The windows, offscreen: captions, defaults, page order and the wiring of their buttons.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include "cad/dxf/dxf_file.h"
#include "cad/host_fixture.h"
#include "cad/names.h"
#include "catalogue/catalogue_fixture.h"
#include "catalogue/qt/UStandard.h"
#include "commands/qt/UFFarsi.h"
#include "engine/naskh_encoder.h"
#include "shell/Navisaz.h"
#include "text_helpers.h"
#include "ui_Navisaz.h"
#include "ui_UFFarsi.h"
#include "ui_UStandard.h"

namespace navisaz {
namespace {

class Windows : public testing::HostFixture {
  protected:
    void SetUp() override {
        StartHost();
        platform.programFolder = u"/opt/navisaz";
        form = std::make_unique<TForm1>(platform, hosts);
    }
    std::unique_ptr<TForm1> form;
};

TEST_F(Windows, CommandSurfaceCaptionsDefaultsAndPages) {
    struct Caption {
        const char* control;
        const char* text;
    };
    const Caption captions[] = {
        {"Button3", "فارسي نويسي جملات فوق با نسخ"},
        {"Button14", "تغيير متن فارسي داخل تکست"},
        {"Button10", " در کليبورد TTF"},
        {"Button20", "مختصات پلي لاين"},
        {"Button8", "IPT فارسي نويس جملات فوق با "},
        {"Button9", " در کليبورد IPT "},
        {"Button16", "مختصات زن"},
        {"Button17", "کپي با افزايش"},
        {"Button7", "ارتفاع متن"},
        {"Button18", "در اتوکد قرار بگير"},
        {"Button1", "تصحيح متنهاي خراب"},
        {"Button12", "تبديل متنهاي فونت نسخ به فونت ويندوز"},
        {"Button13", "تبديل متنهاي فونت شيراز2 به فونت ويندوز"},
        {"Button2", "تبديل متنهاي فونت ويندوز DText به نسخ"},
        {"Button15", "تبديل متنهاي فونت ويندوز MText به نسخ"},
        {"Button6", "فارسي نويسي با فارسي و ساده"},
        {"Button5", "فارسي نويسي با کاتب ونسخ"},
        {"Button11", "انتخاب فونت ويندوز"},
        {"Button4", "بارگذاري فونتهاي اتوکد  و لاين تايپ ها و هاشور ها"},
        {"Button19", "بارگذاري فونتهاي IPT"},
    };
    TFFarsi* frame = form->FFarsi1();
    for (const Caption& c : captions) {
        auto* button = frame->findChild<QPushButton*>(c.control);
        ASSERT_NE(button, nullptr) << c.control;
        EXPECT_EQ(button->text().toStdString(), c.text) << c.control;
    }
    EXPECT_TRUE(frame->ui().Button16->font().bold());
    EXPECT_TRUE(frame->ui().Button17->font().bold());
    EXPECT_EQ(frame->ui().Label1->text().toStdString(), "عدد به حروف");
    for (const Control control :
         {Control::Memo1, Control::ETextHt, Control::EDec, Control::Edit2, Control::Edit3}) {
        EXPECT_EQ(frame->Text(control), ControlDefault(control));
    }
    const QTabWidget* pages = frame->ui().PageControl1;
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->tabText(0).toStdString(), "فارسي نويسي");
    EXPECT_EQ(pages->tabText(1).toStdString(), "ابزار متون فارسي");
    EXPECT_EQ(pages->tabText(2).toStdString(), "تنظيمات");
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(frame->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(frame->ui().Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(Windows, MainWindowAndItsStrip) {
    EXPECT_EQ(form->windowTitle().toStdString(), "نويساز  401");
    EXPECT_EQ(form->ui().Button1->text().toStdString(), "Help");
    EXPECT_EQ(form->ui().Button2->text().toStdString(), "استاندارد NCC");
    EXPECT_TRUE(form->ui().Memo1->isReadOnly());
    // FormCreate recorded the install folder.
    EXPECT_EQ(platform.settings.at({u"Navisaz", u"RUNPATH"}), u"/opt/navisaz/");
    form->ui().Button1->click();
    ASSERT_EQ(platform.opened.size(), 1u);
    EXPECT_EQ(platform.opened[0], u"/opt/navisaz/HELP/index.htm");
}

TEST_F(Windows, Button14IsRoutedThroughTheMainWindow) {
    sim::EntityRef text = AddEntity(sim::EntityKind::Text);
    form->FFarsi1()->SetText(Control::Memo1, u"سلام");
    user->QueueSelection({text->handle});
    form->FFarsi1()->Button14()->click();
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(text->text,
              WidenBytes(CodePage::Windows1256, WindowsToNaskh(testing::Cp1256("سلام"))));
}

// The catalogue window reads the working store in the current folder's CADSupport.
class CatalogueWindows : public Windows {
  protected:
    void SetUp() override {
        Windows::SetUp();
        previous = std::filesystem::current_path();
        std::filesystem::create_directories(folder / "CADSupport");
        FeatureStore::Create(folder / "CADSupport" / "standard_ZAMINI.sqlite");
        {
            FeatureStore store(folder / "CADSupport" / "standard_ZAMINI.sqlite");
            testing::FillCatalogue(store);
        }
        std::filesystem::current_path(folder);
    }
    void TearDown() override {
        form.reset();
        std::filesystem::current_path(previous);
    }
    bool Placed(const std::u16string& placement) const {
        return std::find(platform.events.begin(), platform.events.end(), placement) !=
               platform.events.end();
    }
    std::filesystem::path previous;
    testing::ScratchFolder scratch;
    const std::filesystem::path& folder = scratch.path();
};

TEST_F(CatalogueWindows, EachClickOpensANewWindowInsideTheHostsWindow) {
    form->ui().Button2->click();
    form->ui().Button2->click();
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_TRUE(Placed(u"parent of TFStandard1: 4242 at 671,36"));
    EXPECT_TRUE(Placed(u"parent of TFStandard2: 4242 at 671,36"));
    ASSERT_TRUE(form->FStandard);
    EXPECT_EQ(form->FStandard->objectName(), "TFStandard2");
    EXPECT_EQ(form->findChildren<TFStandard*>().size(), 2);
}

TEST_F(CatalogueWindows, MenusAndSearchNarrowTheListAndTheNotesFollow) {
    form->ui().Button2->click();
    TFStandard& window = *form->FStandard;
    auto& ui = window.ui();
    EXPECT_EQ(ui.BtS->text(), "مقياس   1:500");
    EXPECT_EQ(ui.DBGrid1->model()->rowCount(), 8);
    window.N12Click(FeatureTypeChoices[6]);  // buildings
    EXPECT_EQ(ui.BtT->text(), "نوع:ساختمان");
    EXPECT_EQ(window.FilterDisplay(), " (a = 5) ");
    EXPECT_EQ(ui.DBGrid1->model()->rowCount(), 1);
    EXPECT_EQ(ui.DBMemo2->toPlainText(), "definition");
    window.N12Click(FeatureTypeChoices[0]);
    ui.ES->setText("'");  // a quote is only a character of the name
    EXPECT_EQ(ui.DBGrid1->model()->rowCount(), 1);
    EXPECT_EQ(window.CurrentFeature()->layer, u"BUILDING");
    ui.Button3->click();
    EXPECT_EQ(ui.ES->text(), "");
    EXPECT_EQ(ui.DBGrid1->model()->rowCount(), 8);
    window.N1501Click(MapScaleChoices[0]);
    EXPECT_EQ(ui.BtS->text(), "مقياس    1:50");
    EXPECT_EQ(ui.DBGrid1->model()->rowCount(), 8);
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(CatalogueWindows, ThePolylineButtonDrawsTheCurrentFeature) {
    form->ui().Button2->click();
    TFStandard& window = *form->FStandard;
    window.ui().ES->setText("آهن");
    window.ui().Button1->click();
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(drawing().Variable(u"CLAYER").ToString(), u"RAIL");
    EXPECT_EQ(host->commandLog.back(), u"pl ");
}

TEST_F(CatalogueWindows, LoadingTheLibraryListsEveryFeatureWithABlock) {
    // A library that defines TREE only.
    sim::Drawing library;
    auto circle = std::make_shared<sim::EntityData>();
    circle->kind = sim::EntityKind::Circle;
    circle->radius = 1;
    circle->handle = library.NewHandle();
    library.blocks.push_back({.name = u"TREE", .entities = {circle}});
    dxf::SaveDxf(library, folder / "CADSupport" / "BRMT2000-3.dxf");
    dxf::ReadDrawingFilesAsDxf(*host);
    platform.settings[{u"Navisaz", u"RUNPATH"}] = Widen(folder.string()) + u"/";

    form->ui().Button2->click();
    TFStandard& window = *form->FStandard;
    window.N12Click(FeatureTypeChoices[4]);  // roads: no feature there has a block
    window.ui().Button7->click();
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(window.FilterDisplay(), "Block_Name  <> '-' ");
    EXPECT_EQ(window.ui().DBGrid1->model()->rowCount(), 3);  // TREE, WELL, TANK
    EXPECT_EQ(window.CurrentFeature()->blockName, u"TREE");
    EXPECT_TRUE(window.CurrentFeature()->isExist);
    window.N16Click(FeatureKindChoices[2]);  // point features: only TREE's block exists
    window.N12Click(FeatureTypeChoices[0]);
    EXPECT_EQ(window.ui().DBGrid1->model()->rowCount(), 1);
}

TEST_F(CatalogueWindows, NoHostOrNoCatalogueMeansNoWindow) {
    hosts.Clear();
    form->ui().Button2->click();
    EXPECT_NE(std::find(platform.messages.begin(), platform.messages.end(), HostNotFoundMessage),
              platform.messages.end());
    EXPECT_FALSE(form->FStandard);
    StartHost();
    std::filesystem::remove(folder / "CADSupport" / "standard_ZAMINI.sqlite");
    form->ui().Button2->click();
    ASSERT_EQ(platform.errors.size(), 1u);
    EXPECT_NE(platform.errors[0].find(u"standard_ZAMINI.mdb was not found"), std::u16string::npos);
    EXPECT_FALSE(form->FStandard);
    EXPECT_TRUE(form->findChildren<TFStandard*>().isEmpty());
}

TEST_F(Windows, Button18OpensANewEditWindowInsideTheHostsWindow) {
    form->FFarsi1()->ui().Button18->click();
    form->FFarsi1()->ui().Button18->click();
    EXPECT_NE(std::find(platform.events.begin(), platform.events.end(),
                        u"parent of TFarsiCad1: 4242 at 833,104"),
              platform.events.end());
    EXPECT_NE(std::find(platform.events.begin(), platform.events.end(),
                        u"parent of TFarsiCad2: 4242 at 833,104"),
              platform.events.end());
    hosts.Clear();  // no host: no window
    platform.events.clear();
    form->FFarsi1()->ui().Button18->click();
    EXPECT_NE(std::find(platform.messages.begin(), platform.messages.end(), HostNotFoundMessage),
              platform.messages.end());
    for (const auto& event : platform.events)
        EXPECT_EQ(event.find(u"parent of"), std::u16string::npos);
}

TEST_F(Windows, TypingANumberSpellsItIntoTheMemo) {
    form->FFarsi1()->ui().Edit2->setText("1,000");
    EXPECT_EQ(form->FFarsi1()->Text(Control::Edit2), u"1000");
    EXPECT_EQ(form->FFarsi1()->Text(Control::Memo1), u"يک هزار");
}

TEST_F(Windows, ButtonsRunTheirCommandsAndErrorsReachTheUser) {
    form->FFarsi1()->SetText(Control::ETextHt, u"abc");
    form->FFarsi1()->ui().Button3->click();
    EXPECT_EQ(platform.errors,
              std::vector<std::u16string>{u"'abc' is not a valid floating point value"});
}

}  // namespace
}  // namespace navisaz

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
