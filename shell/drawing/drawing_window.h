#pragma once

// The face of the substitute host: a window that shows the active drawing, lets the user pick
// points and objects where the host asks for them, and has the host's command line below.

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <memory>
#include <optional>
#include <set>

#include "cad/sim/operator.h"
#include "cad/sim/sim_application.h"
#include "shell/drawing/renderer.h"

namespace navisaz::drawing {

class DrawingWindow;

// The drawing itself: paint, pan (middle button or drag with the wheel pressed), zoom (wheel),
// and the clicks and rectangles of a pick.
class DrawingView : public QWidget {
    Q_OBJECT

  public:
    explicit DrawingView(DrawingWindow& window);
    View& view() { return view_; }
    void ZoomExtents();
    // The picture is drawn again from the drawing (after a change).
    void Refresh();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Render();

    DrawingWindow& window_;
    View view_;
    QImage picture_;        // the drawing as last drawn
    QPointF pictureShift_;  // how far a pan in progress has moved it
    bool stale_ = true;
    std::optional<QPointF> panFrom_;
    std::optional<QPointF> pressAt_;
    QPointF cursor_;
};

// The window and the user at the host: it answers the host's questions through the Operator
// interface. While it waits for an answer, the program's own windows only repaint, as a call
// blocked in the real host leaves them.
class DrawingWindow : public QMainWindow, public sim::Operator {
    Q_OBJECT

  public:
    explicit DrawingWindow(std::shared_ptr<sim::SimApplication> host, QWidget* parent = nullptr);
    ~DrawingWindow() override;

    sim::SimApplication& host() { return *host_; }
    sim::Drawing& drawing() { return *host_->ActiveDrawing(); }
    DrawingView& view() { return *view_; }
    // Writes a line into the command line's history.
    void Echo(const QString& line);
    void OpenFile(const QString& path);
    // Lets the user finish the host's own commands (pl, h) that a command of the program started,
    // and shows what changed.
    void RunHostCommands();

    // sim::Operator
    sim::PointAnswer GetPoint(const std::u16string& prompt,
                              const std::optional<Point3>& base) override;
    sim::SelectionAnswer SelectOnScreen(const std::u16string& prompt, const sim::Drawing& drawing,
                                        const sim::EntityFilter& accepts) override;
    sim::TypedAnswer GetInput(const std::u16string& prompt) override;
    void ShowText(const std::u16string& line) override;

    // What the view reports while a question is open.
    enum class Question { None, Point, Selection, Input };
    Question question() const { return question_; }
    const std::optional<Point3>& base() const { return base_; }
    const std::set<const sim::EntityData*>& picked() const { return picked_; }
    void ClickedAt(QPointF screen);
    void RectangleFromTo(QPointF from, QPointF to);
    void Hovered(const Point3& world);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Runs the event loop until the open question has its answer.
    void Wait(Question question, const std::u16string& prompt);
    void Answer();
    void Typed();
    void BuildMenu();
    void AddRecent(const QString& path);
    void ShowTitle();

    std::shared_ptr<sim::SimApplication> host_;
    DrawingView* view_;
    QPlainTextEdit* history_;
    QLabel* prompt_;
    QLineEdit* input_;
    QLabel* coordinates_;
    QMenu* recentMenu_ = nullptr;

    Question question_ = Question::None;
    std::optional<Point3> base_;
    sim::EntityFilter accepts_;
    std::set<const sim::EntityData*> picked_;
    std::vector<std::u16string> pickedHandles_;
    bool answered_ = false;
    sim::PointAnswer pointAnswer_;
    sim::TypedAnswer typedAnswer_;
    bool selectionCancelled_ = false;
};

}  // namespace navisaz::drawing
