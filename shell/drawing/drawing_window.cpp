#include "shell/drawing/drawing_window.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "cad/dxf/dxf_file.h"
#include "cad/names.h"

namespace navisaz::drawing {

namespace {

constexpr double PickTolerancePixels = 6;
constexpr double ClickPixels = 4;  // a press and release closer than this is a click
constexpr double ZoomStep = 1.2;
constexpr int RecentFiles = 6;

QString ToQt(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// "x,y" or "x,y,z" typed at a point prompt.
std::optional<Point3> TypedPoint(const QString& text) {
    const QStringList parts = text.split(',');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    Point3 point;
    bool ok = true;
    point.x = parts[0].trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    point.y = parts[1].trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    if (parts.size() == 3) {
        point.z = parts[2].trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    return point;
}

// Whether a widget belongs to the window (its input goes through while a question is open).
bool Inside(const QObject* object, const QWidget* window) {
    for (const QObject* o = object; o != nullptr; o = o->parent()) {
        if (o == window)
            return true;
    }
    return false;
}

}  // namespace

// ---------------------------------------------------------------- the view

DrawingView::DrawingView(DrawingWindow& window) : QWidget(&window), window_(window) {
    setMouseTracking(true);
    setMinimumSize(200, 150);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void DrawingView::ZoomExtents() {
    view_ = View::Showing(Extents(window_.drawing()), size());
    Refresh();
}

void DrawingView::Refresh() {
    stale_ = true;
    update();
}

void DrawingView::Render() {
    picture_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    picture_.fill(Qt::white);
    QPainter painter(&picture_);
    Renderer(window_.drawing()).Draw(painter, view_, window_.picked());
    stale_ = false;
}

void DrawingView::paintEvent(QPaintEvent*) {
    view_.size = size();
    if (stale_ || picture_.size() != size())
        Render();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(pictureShift_, picture_);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const auto question = window_.question();
    if (question == DrawingWindow::Question::Point && window_.base()) {
        painter.setPen(QPen(QColor(0, 120, 255), 1, Qt::DashLine));
        painter.drawLine(view_.ToScreen(*window_.base()), cursor_);  // the rubber band
    }
    if (question == DrawingWindow::Question::Selection && pressAt_) {
        const bool window = cursor_.x() >= pressAt_->x();
        painter.setPen(QPen(window ? QColor(0, 90, 255) : QColor(0, 160, 60), 1,
                            window ? Qt::SolidLine : Qt::DashLine));
        painter.setBrush(window ? QColor(0, 90, 255, 30) : QColor(0, 160, 60, 30));
        painter.drawRect(QRectF(*pressAt_, cursor_).normalized());
    }
}

void DrawingView::resizeEvent(QResizeEvent*) {
    view_.size = size();
    Refresh();
}

void DrawingView::wheelEvent(QWheelEvent* event) {
    // The world point under the cursor stays where it is.
    const QPointF at = event->position();
    const Point3 before = view_.ToWorld(at);
    view_.unitsPerPixel *= event->angleDelta().y() > 0 ? 1 / ZoomStep : ZoomStep;
    const Point3 after = view_.ToWorld(at);
    view_.centre += QPointF(before.x - after.x, before.y - after.y);
    Refresh();
}

void DrawingView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        panFrom_ = event->position();
    } else if (event->button() == Qt::LeftButton) {
        pressAt_ = event->position();
    }
}

void DrawingView::mouseMoveEvent(QMouseEvent* event) {
    cursor_ = event->position();
    if (panFrom_)
        pictureShift_ = cursor_ - *panFrom_;  // the picture moves; no redraw yet
    window_.Hovered(view_.ToWorld(cursor_));
    update();
}

void DrawingView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && panFrom_) {
        const QPointF shift = event->position() - *panFrom_;
        view_.centre += QPointF(-shift.x() * view_.unitsPerPixel, shift.y() * view_.unitsPerPixel);
        panFrom_.reset();
        pictureShift_ = {};
        Refresh();
        return;
    }
    if (event->button() == Qt::LeftButton && pressAt_) {
        const QPointF from = *pressAt_;
        pressAt_.reset();
        const QPointF to = event->position();
        if (std::hypot(to.x() - from.x(), to.y() - from.y()) < ClickPixels) {
            window_.ClickedAt(to);
        } else {
            window_.RectangleFromTo(from, to);
        }
        update();
    }
}

// ---------------------------------------------------------------- the window

DrawingWindow::DrawingWindow(std::shared_ptr<sim::SimApplication> host, QWidget* parent)
    : QMainWindow(parent), host_(std::move(host)) {
    setObjectName("DrawingWindow");
    setLayoutDirection(Qt::LeftToRight);  // the host's own window reads left to right
    resize(900, 650);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    view_ = new DrawingView(*this);
    layout->addWidget(view_, 1);
    history_ = new QPlainTextEdit(central);
    history_->setReadOnly(true);
    history_->setMaximumBlockCount(500);
    history_->setFixedHeight(90);
    layout->addWidget(history_);
    auto* line = new QHBoxLayout();
    prompt_ = new QLabel("Command:", central);
    input_ = new QLineEdit(central);
    line->addWidget(prompt_);
    line->addWidget(input_, 1);
    layout->addLayout(line);
    setCentralWidget(central);
    coordinates_ = new QLabel(this);
    statusBar()->addWidget(coordinates_);
    connect(input_, &QLineEdit::returnPressed, this, [this] { Typed(); });
    input_->installEventFilter(this);
    BuildMenu();
    // The host's window handle is this window's.
    host_->windowHandle = static_cast<std::int64_t>(winId());
    host_->SetUser(std::shared_ptr<sim::Operator>(this, [](sim::Operator*) {}));
    ShowTitle();
}

DrawingWindow::~DrawingWindow() {
    host_->SetUser(std::make_shared<sim::ScriptedOperator>());
    host_->windowHandle = 0;
}

void DrawingWindow::ShowTitle() {
    setWindowTitle("Navisaz drawing - " + ToQt(drawing().name));
}

void DrawingWindow::BuildMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&New", this, [this] {
        host_->NewDrawing();
        ShowTitle();
        view_->ZoomExtents();
    });
    file->addAction("&Open DXF...", this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Open drawing", {}, "DXF (*.dxf)");
        if (!path.isEmpty())
            OpenFile(path);
    });
    file->addAction("&Save", this, [this] {
        if (drawing().path.empty()) {
            const QString path =
                QFileDialog::getSaveFileName(this, "Save drawing", {}, "DXF (*.dxf)");
            if (path.isEmpty())
                return;
            drawing().path = path.toStdU16String();
        }
        try {
            dxf::SaveDxf(drawing(), std::filesystem::path(drawing().path));
            Echo("Saved " + ToQt(drawing().path));
        } catch (const std::exception& error) {
            QMessageBox::warning(this, "Navisaz", QString::fromUtf8(error.what()));
        }
    });
    file->addAction("Save &As...", this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, "Save drawing as", {}, "DXF (*.dxf)");
        if (path.isEmpty())
            return;
        try {
            dxf::SaveDxf(drawing(), path.toStdString());
            drawing().path = path.toStdU16String();
            drawing().name = QFileInfo(path).fileName().toStdU16String();
            AddRecent(path);
            ShowTitle();
        } catch (const std::exception& error) {
            QMessageBox::warning(this, "Navisaz", QString::fromUtf8(error.what()));
        }
    });
    recentMenu_ = file->addMenu("&Recent files");
    QMenu* viewMenu = menuBar()->addMenu("&View");
    viewMenu->addAction("Zoom &extents", this, [this] { view_->ZoomExtents(); });
    AddRecent({});
}

void DrawingWindow::AddRecent(const QString& path) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Navisaz");
    QStringList recent = settings.value("recentDrawings").toStringList();
    if (!path.isEmpty()) {
        recent.removeAll(path);
        recent.prepend(path);
        while (recent.size() > RecentFiles)
            recent.removeLast();
        settings.setValue("recentDrawings", recent);
    }
    recentMenu_->clear();
    for (const QString& file : recent) {
        recentMenu_->addAction(file, this, [this, file] { OpenFile(file); });
    }
}

void DrawingWindow::OpenFile(const QString& path) {
    try {
        host_->OpenDrawing(dxf::OpenDxf(path.toStdString()));
        AddRecent(QFileInfo(path).absoluteFilePath());
        ShowTitle();
        view_->ZoomExtents();
    } catch (const std::exception& error) {
        QMessageBox::warning(this, "Navisaz", QString::fromUtf8(error.what()));
    }
}

void DrawingWindow::Echo(const QString& line) {
    history_->appendPlainText(line);
}

void DrawingWindow::ShowText(const std::u16string& line) {
    Echo(ToQt(line));
}

void DrawingWindow::Hovered(const Point3& world) {
    coordinates_->setText(QString("X=%1  Y=%2").arg(world.x, 0, 'f', 3).arg(world.y, 0, 'f', 3));
}

bool DrawingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == input_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (question_ == Question::None)
        return QMainWindow::eventFilter(watched, event);
    // While the host waits for the user, the program's own windows take no input: they only
    // repaint, as they would while blocked in a call to the real host.
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            if (!Inside(watched, this))
                return true;
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void DrawingWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && question_ != Question::None) {
        pointAnswer_ = {sim::PointAnswer::Kind::Cancel, {}};
        typedAnswer_ = {sim::TypedAnswer::Kind::Cancel, 0, u""};
        selectionCancelled_ = true;
        Echo("*Cancel*");
        Answer();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        Typed();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void DrawingWindow::Answer() {
    answered_ = true;
}

void DrawingWindow::Wait(Question question, const std::u16string& prompt) {
    question_ = question;
    answered_ = false;
    selectionCancelled_ = false;
    prompt_->setText(ToQt(prompt));
    Echo(ToQt(prompt));
    show();
    raise();
    activateWindow();
    input_->setFocus();
    view_->Refresh();
    qApp->installEventFilter(this);
    QEventLoop loop;
    while (!answered_) {
        loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
        if (!isVisible()) {  // the window was closed: the question is cancelled
            pointAnswer_ = {sim::PointAnswer::Kind::Cancel, {}};
            typedAnswer_ = {sim::TypedAnswer::Kind::Cancel, 0, u""};
            selectionCancelled_ = true;
            break;
        }
    }
    qApp->removeEventFilter(this);
    question_ = Question::None;
    prompt_->setText("Command:");
    view_->Refresh();
}

sim::PointAnswer DrawingWindow::GetPoint(const std::u16string& prompt,
                                         const std::optional<Point3>& base) {
    base_ = base;
    Wait(Question::Point, prompt);
    base_.reset();
    return pointAnswer_;
}

sim::SelectionAnswer DrawingWindow::SelectOnScreen(const std::u16string& prompt,
                                                   const sim::Drawing&,
                                                   const sim::EntityFilter& accepts) {
    accepts_ = accepts;
    picked_.clear();
    pickedHandles_.clear();
    Wait(Question::Selection, prompt);
    sim::SelectionAnswer answer{
        selectionCancelled_, selectionCancelled_ ? std::vector<std::u16string>{} : pickedHandles_};
    picked_.clear();
    pickedHandles_.clear();
    accepts_ = nullptr;
    view_->Refresh();
    return answer;
}

sim::TypedAnswer DrawingWindow::GetInput(const std::u16string& prompt) {
    Wait(Question::Input, prompt);
    return typedAnswer_;
}

void DrawingWindow::ClickedAt(QPointF screen) {
    if (question_ == Question::Point) {
        const Point3 world = view_->view().ToWorld(screen);
        pointAnswer_ = {sim::PointAnswer::Kind::Point, world};
        Echo(QString("%1,%2").arg(world.x, 0, 'f', 4).arg(world.y, 0, 'f', 4));
        Answer();
        return;
    }
    if (question_ == Question::Selection) {
        const sim::EntityRef entity =
            Renderer(drawing()).Pick(view_->view(), screen, PickTolerancePixels, accepts_);
        if (entity && picked_.insert(entity.get()).second) {
            pickedHandles_.push_back(entity->handle);
            Echo(QString("1 found, %1 total").arg(picked_.size()));
            view_->Refresh();
        }
    }
}

void DrawingWindow::RectangleFromTo(QPointF from, QPointF to) {
    if (question_ != Question::Selection)
        return;
    // Left to right: a window takes what lies wholly inside; right to left: a crossing also takes
    // what it touches.
    const bool window = to.x() >= from.x();
    const QRectF area = QRectF(from, to).normalized();
    const Renderer renderer(drawing());
    const auto& space = drawing().modelSpaceActive ? drawing().modelSpace : drawing().paperSpace;
    int found = 0;
    for (const sim::EntityRef& e : space) {
        if (accepts_ && !accepts_(*e))
            continue;
        const QRectF box = renderer.ScreenBox(view_->view(), *e);
        const bool inside = window
                                ? area.contains(box.topLeft()) && area.contains(box.bottomRight())
                                : area.intersects(box.adjusted(-0.5, -0.5, 0.5, 0.5));
        if (inside && picked_.insert(e.get()).second) {
            pickedHandles_.push_back(e->handle);
            ++found;
        }
    }
    Echo(QString("%1 found, %2 total").arg(found).arg(picked_.size()));
    view_->Refresh();
}

void DrawingWindow::Typed() {
    const QString text = input_->text().trimmed();
    input_->clear();
    switch (question_) {
        case Question::Point:
            if (text.isEmpty()) {
                pointAnswer_ = {sim::PointAnswer::Kind::Enter, {}};
                Answer();
            } else if (const auto point = TypedPoint(text)) {
                pointAnswer_ = {sim::PointAnswer::Kind::Point, *point};
                Echo(text);
                Answer();
            } else {
                Echo("Invalid point.");
            }
            return;
        case Question::Selection:
            Answer();  // Enter ends the selection
            return;
        case Question::Input: {
            bool isNumber = false;
            const int value = text.toInt(&isNumber);
            if (text.isEmpty()) {
                typedAnswer_ = {sim::TypedAnswer::Kind::Enter, 0, u""};
            } else if (isNumber) {
                typedAnswer_ = {sim::TypedAnswer::Kind::Integer, value, u""};
            } else {
                typedAnswer_ = {sim::TypedAnswer::Kind::Text, 0, text.toStdU16String()};
            }
            Echo(text);
            Answer();
            return;
        }
        case Question::None:
            if (text.isEmpty())
                return;
            // The host's own command line: what the user types runs as a command.
            Echo("Command: " + text);
            try {
                host_->TypeCommand(drawing(), text.toStdU16String() + u"\r");
            } catch (const std::exception& error) {
                Echo(QString::fromUtf8(error.what()));
            }
            RunHostCommands();
            return;
    }
}

void DrawingWindow::RunHostCommands() {
    // The host's own commands (pl, h, a command waiting for answers) go on with the user here.
    for (int guard = 0; guard < 100 && host_->Busy(); ++guard) {
        host_->RunPendingCommand();
    }
    view_->Refresh();
}

}  // namespace navisaz::drawing
