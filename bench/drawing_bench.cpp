// The drawing window on the 100,000-entity drawing: opening it, drawing all of it, and the
// redraw after a pan.

#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "big_drawing.h"
#include "cad/dxf/dxf_file.h"
#include "shell/drawing/renderer.h"

using namespace navisaz;

namespace {

double Milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const auto folder = std::filesystem::temp_directory_path() /
                        ("navisaz-drawing-bench-" + std::to_string(::getpid()));
    const auto file = bench::BigDrawingFile(folder);

    std::shared_ptr<sim::Drawing> drawing;
    const double open = Milliseconds([&] { drawing = dxf::OpenDxf(file); });
    const QSize size(1280, 800);
    drawing::View view = drawing::View::Showing(drawing::Extents(*drawing), size);
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    const auto render = [&] {
        picture.fill(Qt::white);
        QPainter painter(&picture);
        drawing::Renderer(*drawing).Draw(painter, view);
    };
    const double full = Milliseconds(render);
    const double fullAgain = Milliseconds(render);

    // While the user drags, the window moves the picture it has; on release it draws anew.
    QImage screen(size, QImage::Format_ARGB32_Premultiplied);
    double panFrame = 0;
    constexpr int Frames = 20;
    for (int i = 0; i < Frames; ++i) {
        panFrame += Milliseconds([&] {
            screen.fill(Qt::white);
            QPainter painter(&screen);
            painter.drawImage(QPointF(i * 5.0, i * 3.0), picture);
        });
    }
    view.centre += QPointF(-100 * view.unitsPerPixel, 60 * view.unitsPerPixel);
    const double afterPan = Milliseconds(render);
    // Zoomed in to a street's worth of the map: most entities fall outside the view.
    view.unitsPerPixel /= 20;
    const double zoomedIn = Milliseconds(render);

    std::printf("%d entities: open %.0f ms; full drawing %.0f ms (again %.0f ms)\n",
                bench::BigDrawingEntities, open, full, fullAgain);
    std::printf(
        "pan: %.2f ms per frame while dragging (the picture moved), %.0f ms to draw anew "
        "on release; zoomed in 20 times: %.0f ms (aim: under 50 ms)\n",
        panFrame / Frames, afterPan, zoomedIn);
    std::filesystem::remove_all(folder);
    return 0;
}
