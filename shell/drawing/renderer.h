#pragma once

// Draws a drawing of the substitute host with QPainter: what the user of the drawing window sees
// of model space or paper space, as the real host would show it.

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <functional>
#include <set>

#include "cad/sim/drawing.h"

namespace navisaz::drawing {

// Where the drawing is on the screen: world units per pixel and the world point at the view's
// centre; the y axis points up in the world and down on the screen.
struct View {
    QPointF centre{0, 0};
    double unitsPerPixel = 1;
    QSizeF size{800, 600};

    QTransform WorldToScreen() const;
    QPointF ToScreen(const Point3& p) const;
    Point3 ToWorld(const QPointF& screen) const;
    // A view showing all of box with a margin.
    static View Showing(const QRectF& box, QSizeF size);
};

// The extents of the active space's entities (texts by the host's character-width rule).
QRectF Extents(const sim::Drawing& drawing);

// The colour the host draws an entity in: its own colour, or its layer's for ByLayer.
QColor EntityColor(const sim::Drawing& drawing, const sim::EntityData& entity);
// The colour of an AutoCAD colour number (1 red, 2 yellow, ..., 7 drawn black on white).
QColor AciColor(std::int32_t color);

// The text a text entity shows: glyph codes of the Naskh and Shiraz2 fonts decoded to Persian,
// anything else as it is.
QString ShownText(const sim::Drawing& drawing, const sim::EntityData& text);

class Renderer {
  public:
    explicit Renderer(const sim::Drawing& drawing) : drawing_(drawing) {}
    // Draws the active space onto painter in view; highlighted entities are drawn emphasised.
    void Draw(QPainter& painter, const View& view,
              const std::set<const sim::EntityData*>& highlighted = {}) const;
    // The entity nearest to a screen point within tolerance pixels among those accepts takes
    // (all when empty), or nullptr.
    sim::EntityRef Pick(const View& view, QPointF screen, double tolerance,
                        const std::function<bool(const sim::EntityData&)>& accepts = {}) const;
    // The world and screen boxes of an entity.
    QRectF WorldBox(const sim::EntityData& entity) const;
    QRectF ScreenBox(const View& view, const sim::EntityData& entity) const;

  private:
    void DrawEntity(QPainter& painter, const View& view, const sim::EntityData& entity,
                    const QTransform& placement, bool highlighted, int depth) const;

    const sim::Drawing& drawing_;
};

}  // namespace navisaz::drawing
