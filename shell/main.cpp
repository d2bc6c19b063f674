// Navisaz: the main window over the command surface, with the substitute drawing host started
// in-process unless told otherwise.

#include <QApplication>
#include <QCommandLineParser>
#include <QFontDatabase>
#include <QPainter>
#include <QTimer>
#include <iostream>

#include "cad/dxf/dxf_file.h"
#include "cad/running_hosts.h"
#include "cad/sim/sim_application.h"
#include "commands/qt/UFFarsi.h"
#include "shell/Navisaz.h"
#include "shell/drawing/drawing_window.h"
#include "shell/qt_platform.h"

namespace {

// The ProgID the embedded host answers under.
constexpr const char16_t* EmbeddedHostProgId = u"Autocad.Application.24";

// Tahoma, or a Persian-capable font where it is missing.
QFont ProgramFont() {
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"Tahoma", "Vazirmatn", "Nazli", "Titr", "DejaVu Sans"}) {
        if (families.contains(family)) {
            QFont font(family);
            font.setPixelSize(11);
            return font;
        }
    }
    return QApplication::font();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Navisaz");
    QApplication::setApplicationDisplayName("Navisaz");
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setFont(ProgramFont());

    QCommandLineParser options;
    options.setApplicationDescription("Persian text for CAD drawings.");
    options.addHelpOption();
    const QCommandLineOption noHost("no-embedded-host",
                                    "Do not start the substitute drawing host; connect to a "
                                    "running host only.");
    const QCommandLineOption drawing("drawing", "Open this DXF drawing in the substitute host.",
                                     "file");
    const QCommandLineOption screenshot(
        "screenshot", "Show the windows, save a picture of them and quit.", "png");
    options.addOption(noHost);
    options.addOption(drawing);
    const QCommandLineOption catalogue("catalogue", "Open the catalogue window at start.");
    options.addOption(screenshot);
    options.addOption(catalogue);
    options.process(application);

    std::shared_ptr<navisaz::sim::SimApplication> host;
    if (!options.isSet(noHost)) {
        host = navisaz::sim::SimApplication::Start(EmbeddedHostProgId);
        navisaz::dxf::ReadDrawingFilesAsDxf(*host);
        if (options.isSet(drawing)) {
            try {
                host->drawings = {navisaz::dxf::OpenDxf(options.value(drawing).toStdString())};
                host->activeIndex = 0;
            } catch (const std::exception& error) {
                std::cerr << "navisaz: " << error.what() << '\n';
                return 2;
            }
        }
    }

    navisaz::QtPlatform platform;
    navisaz::TForm1 form(platform, navisaz::RunningHosts::Instance());
    platform.SetMainWindow(&form);

    // The substitute host's face: the user picks and answers there.
    std::unique_ptr<navisaz::drawing::DrawingWindow> drawingWindow;
    if (host) {
        drawingWindow = std::make_unique<navisaz::drawing::DrawingWindow>(host);
        drawingWindow->move(0, 0);
        drawingWindow->show();
        drawingWindow->view().ZoomExtents();
        navisaz::drawing::DrawingWindow* window = drawingWindow.get();
        form.FFarsi1()->afterCommand = [window] {
            QTimer::singleShot(0, window, [window] { window->RunHostCommands(); });
        };
        form.move(drawingWindow->frameGeometry().right() + 10, 0);
    }
    form.show();
    if (options.isSet(catalogue))
        form.Button2Click();
    if (options.isSet(screenshot)) {
        QTimer::singleShot(800, &form, [&form, &drawingWindow, path = options.value(screenshot)] {
            // Both windows side by side, as the user sees them.
            const QPixmap program = form.grab();
            const QPixmap host = drawingWindow ? drawingWindow->grab() : QPixmap();
            QPixmap both(host.width() + program.width() + 10,
                         std::max(host.height(), program.height()));
            both.fill(Qt::darkGray);
            QPainter painter(&both);
            painter.drawPixmap(0, 0, host);
            painter.drawPixmap(host.width() + 10, 0, program);
            painter.end();
            const bool saved = both.save(path);
            if (!saved)
                std::cerr << "navisaz: cannot save " << path.toStdString() << '\n';
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
