// The drawing window offscreen: what it draws, and how it answers the host's questions.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <filesystem>

#include "cad/dxf/dxf_file.h"
#include "cad/names.h"
#include "cad/running_hosts.h"
#include "commands/qt/UFFarsi.h"
#include "shell/Navisaz.h"
#include "shell/drawing/drawing_window.h"
#include "shell/drawing/renderer.h"
#include "shell/qt_platform.h"
#include "support/recording_platform.h"
#include "ui_UFFarsi.h"

namespace navisaz::drawing {
namespace {

namespace fs = std::filesystem;
using sim::EntityKind;

const fs::path Sample = fs::path(NAVISAZ_SOURCE_DIR) / "data" / "samples" / "survey_map.dxf";

// Pixels that are not white in a square around a point.
int InkNear(const QImage& image, QPointF at, int radius) {
    int ink = 0;
    for (int y = int(at.y()) - radius; y <= int(at.y()) + radius; ++y) {
        for (int x = int(at.x()) - radius; x <= int(at.x()) + radius; ++x) {
            if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
                continue;
            if (image.pixelColor(x, y) != QColor(Qt::white))
                ++ink;
        }
    }
    return ink;
}

sim::EntityRef First(const sim::Drawing& drawing, EntityKind kind,
                     const char16_t* style = nullptr) {
    for (const sim::EntityRef& e : drawing.modelSpace) {
        if (e->kind == kind && (style == nullptr || e->style == style))
            return e;
    }
    return nullptr;
}

TEST(Renderer, EveryKindOfEntityPutsInkWhereItIs) {
    const auto drawing = dxf::OpenDxf(Sample);
    const QSize size(900, 600);
    const View view = View::Showing(Extents(*drawing), size);
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Renderer(*drawing).Draw(painter, view);
    painter.end();

    struct Place {
        const char* what;
        QPointF at;
        int radius;
    };
    const sim::EntityRef point = First(*drawing, EntityKind::Point);
    const sim::EntityRef polyline = First(*drawing, EntityKind::LwPolyline);
    const sim::EntityRef hatch = First(*drawing, EntityKind::Hatch);
    const sim::EntityRef insert = First(*drawing, EntityKind::Insert);
    const sim::EntityRef leader = First(*drawing, EntityKind::Leader);
    const sim::EntityRef windowsText = First(*drawing, EntityKind::Text, u"farsiWin");
    const sim::EntityRef naskhText = First(*drawing, EntityKind::Text, u"farsi");
    const sim::EntityRef mtext = First(*drawing, EntityKind::MText);
    ASSERT_TRUE(point && polyline && hatch && insert && leader && windowsText && naskhText &&
                mtext);
    const auto& loop = hatch->loops.at(0);
    const Point3 hatchCentre{(loop[0].x + loop[2].x) / 2, (loop[0].y + loop[2].y) / 2, 0};
    const Point3 edge{(polyline->points[0].x + polyline->points[1].x) / 2,
                      (polyline->points[0].y + polyline->points[1].y) / 2, 0};
    // The tree block: a crown of radius 1.5 around the insertion point.
    const Point3 crown{insert->insertion.x + 1.5, insert->insertion.y, 0};
    const Place places[] = {
        {"point", view.ToScreen(point->points[0]), 2},
        {"polyline edge", view.ToScreen(edge), 2},
        {"hatch inside", view.ToScreen(hatchCentre), 3},
        {"block insert (crown)", view.ToScreen(crown), 2},
        {"leader arrow", view.ToScreen(leader->points[0]), 3},
        {"Windows-font text", view.ToScreen(windowsText->insertion) + QPointF(-3, -3), 6},
        {"Naskh text", view.ToScreen(naskhText->insertion) + QPointF(5, -3), 6},
        {"multi-line text", view.ToScreen(mtext->insertion) + QPointF(8, 6), 6},
    };
    for (const Place& place : places) {
        EXPECT_GT(InkNear(image, place.at, place.radius), 0) << place.what;
    }
    // And nothing where nothing is: the margin outside the drawing's extents.
    EXPECT_EQ(InkNear(image, QPointF(3, 3), 2), 0);
}

TEST(Renderer, NaskhAndShiraz2TextsAreShownDecoded) {
    const auto drawing = dxf::OpenDxf(Sample);
    std::vector<std::u16string> shown;
    for (const sim::EntityRef& e : drawing->modelSpace) {
        if (e->kind == EntityKind::Text && (e->style == u"farsi" || e->style == u"shiraz2")) {
            shown.push_back(ShownText(*drawing, *e).toStdU16String());
        }
    }
    EXPECT_NE(std::find(shown.begin(), shown.end(), u"قطعه ب"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), u"باغ 12"), shown.end());
}

class Window : public ::testing::Test {
  protected:
    void SetUp() override {
        host = std::make_shared<sim::SimApplication>();
        host->drawings = {dxf::OpenDxf(Sample)};
        window = std::make_unique<DrawingWindow>(host);
        window->resize(900, 650);
        window->show();
        window->view().ZoomExtents();
        QApplication::processEvents();
    }
    // Runs action once the window waits for the user.
    void Then(int afterMs, std::function<void()> action) {
        QTimer::singleShot(afterMs, window.get(), std::move(action));
    }
    void Press(int key) {
        QApplication::postEvent(window.get(), new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    }
    QPointF OnScreen(const Point3& p) { return window->view().view().ToScreen(p); }
    sim::Drawing& drawing() { return *host->ActiveDrawing(); }

    std::shared_ptr<sim::SimApplication> host;
    std::unique_ptr<DrawingWindow> window;
};

TEST_F(Window, APickedPointIsTheWorldPointUnderTheClick) {
    const Point3 target{538230, 3951420, 0};
    Then(0, [&] { window->ClickedAt(OnScreen(target)); });
    const sim::PointAnswer answer =
        window->GetPoint(u"Specify point: ", Point3{538200, 3951400, 0});
    ASSERT_EQ(answer.kind, sim::PointAnswer::Kind::Point);
    EXPECT_NEAR(answer.point.x, target.x, window->view().view().unitsPerPixel);
    EXPECT_NEAR(answer.point.y, target.y, window->view().view().unitsPerPixel);
    EXPECT_EQ(host->windowHandle, static_cast<std::int64_t>(window->winId()));

    Then(0, [&] { Press(Qt::Key_Escape); });
    EXPECT_EQ(window->GetPoint(u"Again: ", std::nullopt).kind, sim::PointAnswer::Kind::Cancel);
    Then(0, [&] { Press(Qt::Key_Return); });
    EXPECT_EQ(window->GetPoint(u"Again: ", std::nullopt).kind, sim::PointAnswer::Kind::Enter);
}

TEST_F(Window, SelectionTakesClicksAndRectanglesAndHonoursTheFilter) {
    const sim::EntityRef point = First(drawing(), EntityKind::Point);
    const sim::EntityRef text = First(drawing(), EntityKind::Text, u"farsiWin");
    const sim::EntityFilter onlyPoints = [](const sim::EntityData& e) {
        return e.kind == EntityKind::Point;
    };
    Then(0, [&] { window->ClickedAt(OnScreen(point->points[0])); });
    Then(20, [&] { window->ClickedAt(OnScreen(text->insertion) + QPointF(-10, -5)); });  // filtered
    Then(40, [&] { Press(Qt::Key_Return); });
    const sim::SelectionAnswer picked =
        window->SelectOnScreen(u"Select objects: ", drawing(), onlyPoints);
    EXPECT_FALSE(picked.cancelled);
    EXPECT_EQ(picked.handles, std::vector<std::u16string>{point->handle});

    // A window over the whole view takes every point; a crossing takes what it touches.
    Then(0, [&] { window->RectangleFromTo(QPointF(1, 1), QPointF(899, 500)); });
    Then(20, [&] { Press(Qt::Key_Return); });
    EXPECT_EQ(window->SelectOnScreen(u"Select objects: ", drawing(), onlyPoints).handles.size(),
              6u);

    Then(0, [&] { Press(Qt::Key_Escape); });
    EXPECT_TRUE(window->SelectOnScreen(u"Select objects: ", drawing(), nullptr).cancelled);
}

TEST_F(Window, TypedAnswersAndTheProgramsWindowsWaitMeanwhile) {
    QPushButton other("elsewhere");
    other.show();
    bool clicked = false;
    QObject::connect(&other, &QPushButton::clicked, [&] { clicked = true; });
    Then(0, [&] {
        // A click on the program's own window while the host waits goes nowhere.
        QApplication::postEvent(
            &other, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QApplication::postEvent(
            &other, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5),
                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    });
    Then(30, [&] {
        auto* input = window->findChild<QLineEdit*>();
        input->setText("42");
        Press(Qt::Key_Return);
    });
    const sim::TypedAnswer number = window->GetInput(u"Increment: ");
    EXPECT_EQ(number.kind, sim::TypedAnswer::Kind::Integer);
    EXPECT_EQ(number.integer, 42);
    EXPECT_FALSE(clicked);
    Then(0, [&] {
        window->findChild<QLineEdit*>()->setText("many");
        Press(Qt::Key_Return);
    });
    const sim::TypedAnswer word = window->GetInput(u"Increment: ");
    EXPECT_EQ(word.kind, sim::TypedAnswer::Kind::Text);
    EXPECT_EQ(word.text, u"many");
}

TEST_F(Window, TheInteractivePolylineCommand) {
    host->TypeCommand(drawing(), u"pl ");
    ASSERT_TRUE(host->Busy());
    const std::size_t before = drawing().modelSpace.size();
    // Each input is scheduled by the one before, so a busy machine cannot deliver two while the
    // command waits for one.
    Then(0, [&] {
        window->ClickedAt(QPointF(100, 100));
        Then(20, [&] {
            window->ClickedAt(QPointF(200, 100));
            Then(20, [&] {
                window->ClickedAt(QPointF(200, 200));
                Then(20, [&] { Press(Qt::Key_Return); });
            });
        });
    });
    window->RunHostCommands();
    EXPECT_FALSE(host->Busy());
    ASSERT_EQ(drawing().modelSpace.size(), before + 1);
    EXPECT_EQ(drawing().modelSpace.back()->kind, EntityKind::LwPolyline);
    EXPECT_EQ(drawing().modelSpace.back()->points.size(), 3u);
}

// The desktop places the program's tool windows inside the host's window and takes them out.
TEST_F(Window, ToolWindowsMoveIntoTheHostsWindowAndOut) {
    QtPlatform platform;
    QWidget tool(nullptr, Qt::Tool);
    tool.setObjectName("TFStandard1");
    tool.resize(333, 592);
    tool.show();
    platform.SetWindowParent(u"TFStandard1", host->windowHandle, 671, 36);
    EXPECT_EQ(tool.parentWidget(), window.get());
    EXPECT_TRUE(tool.isVisible());
    // Kept inside a host window too small for the designed place.
    EXPECT_EQ(tool.pos(), QPoint(900 - 333, 36));
    platform.SetWindowParent(u"TFStandard1", 0, 0, 0);
    EXPECT_FALSE(tool.isVisible());
    platform.SetWindowParent(u"TFStandard1", host->windowHandle, 10, 20);
    EXPECT_TRUE(tool.isVisible());
    EXPECT_EQ(tool.pos(), QPoint(10, 20));
    tool.setParent(nullptr);
}

// A host window that is not one of ours (another program's native window).
TEST_F(Window, ToolWindowsBecomeNativeChildrenOfAForeignWindow) {
    if (QGuiApplication::platformName() == "offscreen")
        GTEST_SKIP() << "needs a windowing system; CTest runs it again under Xvfb";
    QWindow other;
    other.resize(800, 600);
    other.create();
    QtPlatform platform;
    QWidget tool(nullptr, Qt::Tool);
    tool.setObjectName("TFStandard9");
    platform.SetWindowParent(u"TFStandard9", static_cast<std::int64_t>(other.winId()), 671, 36);
    ASSERT_NE(tool.windowHandle(), nullptr);
    ASSERT_NE(tool.windowHandle()->parent(), nullptr);
    EXPECT_EQ(tool.windowHandle()->parent()->winId(), other.winId());
    EXPECT_TRUE(tool.isVisible());
    platform.SetWindowParent(u"TFStandard9", 0, 0, 0);
    EXPECT_FALSE(tool.isVisible());
}

// A newcomer's first use: Persian into the memo, the Naskh button, a click in the drawing.
TEST_F(Window, TheNaskhWriterWritesWhereTheUserClicks) {
    RunningHosts hosts;
    hosts.Register(u"Autocad.Application.24", host);
    RecordingPlatform platform;
    TForm1 form(platform, hosts);
    form.show();
    form.FFarsi1()->SetText(Control::Memo1, u"سلام\nدنيا");
    const std::size_t before = drawing().modelSpace.size();
    const QPointF click(450, 200);
    const Point3 expected = window->view().view().ToWorld(click);
    Then(50, [&] { window->ClickedAt(click); });
    form.FFarsi1()->ui().Button3->click();  // waits in the drawing window for the click
    EXPECT_TRUE(platform.errors.empty());
    ASSERT_EQ(drawing().modelSpace.size(), before + 2);
    const sim::EntityData& first = *drawing().modelSpace[before];
    EXPECT_EQ(ShownText(drawing(), first).toStdU16String(), u"سلام");
    EXPECT_NEAR(first.insertion.x, expected.x, 1e-6);
    EXPECT_NEAR(first.insertion.y, expected.y, 1e-6);
    EXPECT_EQ(drawing().modelSpace[before + 1]->insertion.y, first.insertion.y - 1.5);
}

}  // namespace
}  // namespace navisaz::drawing

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
