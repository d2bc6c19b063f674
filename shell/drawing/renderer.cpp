#include "shell/drawing/renderer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QRegularExpression>
#include <cmath>
#include <numbers>

#include "cad/names.h"
#include "cad/sim/sim_objects.h"
#include "engine/codepage.h"
#include "engine/naskh_decoder.h"
#include "engine/shiraz2_decoder.h"

namespace navisaz::drawing {

namespace {

using sim::EntityKind;

constexpr double RadiansToDegrees = 180.0 / std::numbers::pi;
constexpr double PointMarkPixels = 3;
constexpr double ArrowPixels = 10;
constexpr double LineSpacingInHeights = 1.5;  // multi-line texts
constexpr int MaxBlockDepth = 8;              // blocks inside blocks inside ...

QPointF Plane(const Point3& p) {
    return {p.x, p.y};
}

bool IsShx(const std::u16string& file) {
    return FoldCase(file).find(u".SHX") != std::u16string::npos ||
           file.find(u'.') == std::u16string::npos;
}

// A Persian-capable family for texts whose own font is not on this system.
const QString& PersianFamily() {
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* candidate : {"Tahoma", "Vazirmatn", "Nazli", "Roya", "DejaVu Sans"}) {
            if (families.contains(candidate))
                return QString(candidate);
        }
        return QString();
    }();
    return family;
}

// The font family a text style draws with.
QString StyleFamily(const sim::TextStyleData* style) {
    if (style == nullptr)
        return PersianFamily();
    if (!style->typeface.empty())
        return QString::fromStdU16String(style->typeface);
    if (!IsShx(style->fontFile)) {
        QString file = QString::fromStdU16String(style->fontFile);
        return file.left(file.lastIndexOf('.'));  // "arial.ttf" → "arial"
    }
    return PersianFamily();
}

// A multi-line text's paragraphs without their format codes.
QStringList MTextLines(const std::u16string& contents) {
    QString text = QString::fromStdU16String(contents);
    static const QRegularExpression codes(R"(\\[fFCcHAWQTpL][^;]*;|\\[LlOoKk]|[{}])");
    text.replace(codes, "");
    return text.split("\\P");
}

// A box grown point by point (QRectF ignores boxes of no size when joining them).
struct Bounds {
    double left = INFINITY, bottom = INFINITY, right = -INFINITY, top = -INFINITY;
    void Add(QPointF p) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        bottom = std::min(bottom, p.y());
        top = std::max(top, p.y());
    }
    void Add(const QRectF& box) {
        if (box.isNull() && box.topLeft().isNull())
            return;
        Add(box.topLeft());
        Add(box.bottomRight());
    }
    QRectF Rect() const {
        if (left > right)
            return {};
        return QRectF(QPointF(left, bottom), QPointF(right, top));
    }
};

double SegmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = ab.x() * ab.x() + ab.y() * ab.y();
    double t = length2 == 0 ? 0 : QPointF::dotProduct(p - a, ab) / length2;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

}  // namespace

QTransform View::WorldToScreen() const {
    QTransform t;
    t.translate(size.width() / 2, size.height() / 2);
    t.scale(1 / unitsPerPixel, -1 / unitsPerPixel);
    t.translate(-centre.x(), -centre.y());
    return t;
}

QPointF View::ToScreen(const Point3& p) const {
    return WorldToScreen().map(Plane(p));
}

Point3 View::ToWorld(const QPointF& screen) const {
    const QPointF world = WorldToScreen().inverted().map(screen);
    return {world.x(), world.y(), 0};
}

View View::Showing(const QRectF& box, QSizeF size) {
    View view;
    view.size = size;
    if (!box.isValid() || box.isEmpty()) {
        view.centre = box.center();
        view.unitsPerPixel = 1;
        return view;
    }
    view.centre = box.center();
    view.unitsPerPixel = std::max(box.width() / size.width(), box.height() / size.height()) * 1.05;
    if (view.unitsPerPixel <= 0)
        view.unitsPerPixel = 1;
    return view;
}

QColor AciColor(std::int32_t color) {
    static const QColor basic[] = {Qt::black,
                                   QColor(255, 0, 0),
                                   QColor(255, 255, 0),
                                   QColor(0, 255, 0),
                                   QColor(0, 255, 255),
                                   QColor(0, 0, 255),
                                   QColor(255, 0, 255),
                                   Qt::black,
                                   QColor(128, 128, 128),
                                   QColor(192, 192, 192)};
    if (color >= 1 && color <= 9)
        return basic[color];
    if (color >= 250 && color <= 255) {
        const int grey = 51 + (color - 250) * 40;
        return QColor(grey, grey, grey);
    }
    if (color >= 10 && color <= 249) {
        // The colour wheel: 24 hues of 10 shades each.
        const int hue = ((color - 10) / 10) * 15;
        const int shade = (color - 10) % 10;
        const int value = 255 - (shade / 2) * 40;
        const int saturation = (shade % 2 == 0) ? 255 : 128;
        return QColor::fromHsv(hue % 360, saturation, std::max(value, 60));
    }
    return Qt::black;
}

QColor EntityColor(const sim::Drawing& drawing, const sim::EntityData& entity) {
    std::int32_t color = entity.color;
    if (color == sim::ColorByLayer || color == sim::ColorByBlock) {
        const auto* layer = const_cast<sim::Drawing&>(drawing).FindLayer(entity.layer);
        color = layer ? layer->color : 7;
    }
    QColor shown = AciColor(std::abs(color));
    // Yellow and the light colours stand out poorly on white: darken them a little.
    if (shown.lightness() > 200)
        shown = shown.darker(150);
    return shown;
}

QString ShownText(const sim::Drawing& drawing, const sim::EntityData& text) {
    const auto* style = const_cast<sim::Drawing&>(drawing).FindTextStyle(text.style);
    const std::u16string font = style ? FoldCase(style->fontFile) : u"";
    if (style && style->typeface.empty()) {
        if (font.starts_with(u"NASKH")) {
            return QString::fromStdU16String(
                WidenBytes(CodePage::Windows1256, NaskhToWindows(text.text)));
        }
        if (font.starts_with(u"SHIRAZ")) {
            return QString::fromStdU16String(
                WidenBytes(CodePage::Windows1256, Shiraz2ToWindows(text.text)));
        }
    }
    return QString::fromStdU16String(text.text);
}

QRectF Extents(const sim::Drawing& drawing) {
    Bounds bounds;
    const Renderer renderer(drawing);
    const auto& space = drawing.modelSpaceActive ? drawing.modelSpace : drawing.paperSpace;
    for (const sim::EntityRef& e : space)
        bounds.Add(renderer.WorldBox(*e));
    return bounds.Rect();
}

QRectF Renderer::WorldBox(const sim::EntityData& e) const {
    Bounds bounds;
    const auto add = [&bounds](QPointF p) { bounds.Add(p); };
    switch (e.kind) {
        case EntityKind::Text: {
            const auto* style = const_cast<sim::Drawing&>(drawing_).FindTextStyle(e.style);
            Point3 low, high;
            sim::TextExtents(e, style ? style->widthFactor : 1.0, low, high);
            add(Plane(low));
            add(Plane(high));
            break;
        }
        case EntityKind::MText: {
            const QStringList lines = MTextLines(e.text);
            double width = e.width;
            for (const QString& line : lines) {
                width = std::max(width, line.size() * e.height * sim::CharacterWidthInHeights);
            }
            add({e.insertion.x, e.insertion.y});
            add({e.insertion.x + width,
                 e.insertion.y - lines.size() * e.height * LineSpacingInHeights});
            break;
        }
        case EntityKind::Circle:
            if (!e.points.empty()) {
                add({e.points[0].x - e.radius, e.points[0].y - e.radius});
                add({e.points[0].x + e.radius, e.points[0].y + e.radius});
            }
            break;
        case EntityKind::Hatch:
            for (const auto& loop : e.loops) {
                for (const Point3& p : loop)
                    add(Plane(p));
            }
            break;
        case EntityKind::Insert: {
            const auto* block = const_cast<sim::Drawing&>(drawing_).FindBlock(e.blockName);
            add(Plane(e.insertion));
            if (block != nullptr) {
                QTransform placement;
                placement.translate(e.insertion.x, e.insertion.y);
                placement.rotateRadians(e.rotation);
                placement.scale(e.xScale, e.yScale);
                placement.translate(-block->basePoint.x, -block->basePoint.y);
                for (const sim::EntityRef& inner : block->entities) {
                    if (inner->kind == EntityKind::Insert)
                        continue;
                    const QRectF part = WorldBox(*inner);
                    for (const QPointF corner :
                         {part.topLeft(), part.topRight(), part.bottomLeft(), part.bottomRight()}) {
                        add(placement.map(corner));
                    }
                }
            }
            break;
        }
        default:
            for (const Point3& p : e.points)
                add(Plane(p));
    }
    return bounds.Rect();
}

QRectF Renderer::ScreenBox(const View& view, const sim::EntityData& entity) const {
    return view.WorldToScreen().mapRect(WorldBox(entity));
}

void Renderer::Draw(QPainter& painter, const View& view,
                    const std::set<const sim::EntityData*>& highlighted) const {
    painter.setRenderHint(QPainter::Antialiasing, true);
    const auto& space = drawing_.modelSpaceActive ? drawing_.modelSpace : drawing_.paperSpace;
    const QRectF visible =
        view.WorldToScreen().inverted().mapRect(QRectF(QPointF(0, 0), view.size));
    for (const sim::EntityRef& e : space) {
        const QRectF box = WorldBox(*e);
        if (!box.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).intersects(visible) && !box.isNull())
            continue;
        DrawEntity(painter, view, *e, QTransform(), highlighted.contains(e.get()), 0);
    }
}

void Renderer::DrawEntity(QPainter& painter, const View& view, const sim::EntityData& e,
                          const QTransform& placement, bool highlighted, int depth) const {
    const QTransform toScreen = placement * view.WorldToScreen();
    const QColor color = highlighted ? QColor(0, 120, 255) : EntityColor(drawing_, e);
    QPen pen(color, highlighted ? 2.5 : 1.0);
    if (highlighted)
        pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const auto screen = [&toScreen](const Point3& p) { return toScreen.map(Plane(p)); };
    const double scale = std::hypot(toScreen.m11(), toScreen.m12());  // pixels per world unit
    switch (e.kind) {
        case EntityKind::Line:
            if (e.points.size() >= 2)
                painter.drawLine(screen(e.points[0]), screen(e.points[1]));
            break;
        case EntityKind::LwPolyline: {
            QPolygonF polygon;
            for (const Point3& p : e.points)
                polygon << screen(p);
            const bool varying =
                std::any_of(e.startWidths.begin(), e.startWidths.end(),
                            [](double w) { return w > 0; }) ||
                std::any_of(e.endWidths.begin(), e.endWidths.end(), [](double w) { return w > 0; });
            if (varying) {
                // Each segment as wide as the mean of its start and end widths.
                const std::size_t segments = polygon.size() - (e.closed ? 0 : 1);
                for (std::size_t i = 0; i < segments && polygon.size() > 1; ++i) {
                    const double start = i < e.startWidths.size() ? e.startWidths[i] : 0;
                    const double end = i < e.endWidths.size() ? e.endWidths[i] : 0;
                    QPen segment = pen;
                    segment.setWidthF(std::max(1.0, (start + end) / 2 * scale));
                    painter.setPen(segment);
                    painter.drawLine(polygon[int(i)], polygon[int((i + 1) % polygon.size())]);
                }
                break;
            }
            if (e.constantWidth > 0) {
                QPen wide = pen;
                wide.setWidthF(std::max(1.0, e.constantWidth * scale));
                painter.setPen(wide);
            }
            if (e.closed) {
                painter.drawPolygon(polygon);
            } else {
                painter.drawPolyline(polygon);
            }
            break;
        }
        case EntityKind::Circle:
            if (!e.points.empty()) {
                painter.drawEllipse(screen(e.points[0]), e.radius * scale, e.radius * scale);
            }
            break;
        case EntityKind::Point:
            if (!e.points.empty()) {
                const QPointF c = screen(e.points[0]);
                painter.drawLine(c - QPointF(PointMarkPixels, 0), c + QPointF(PointMarkPixels, 0));
                painter.drawLine(c - QPointF(0, PointMarkPixels), c + QPointF(0, PointMarkPixels));
            }
            break;
        case EntityKind::Hatch: {
            QPainterPath path;
            path.setFillRule(Qt::OddEvenFill);
            for (const auto& loop : e.loops) {
                QPolygonF polygon;
                for (const Point3& p : loop)
                    polygon << screen(p);
                path.addPolygon(polygon);
                path.closeSubpath();
            }
            const bool solid = SameName(e.patternName, u"SOLID");
            QColor fill = color;
            if (!solid)
                fill.setAlpha(110);
            painter.setPen(Qt::NoPen);
            painter.setBrush(solid ? QBrush(fill) : QBrush(fill, Qt::BDiagPattern));
            painter.drawPath(path);
            break;
        }
        case EntityKind::Leader: {
            QPolygonF polygon;
            for (const Point3& p : e.points)
                polygon << screen(p);
            painter.drawPolyline(polygon);
            if (polygon.size() >= 2) {
                const QPointF tip = polygon[0];
                QPointF direction = polygon[1] - tip;
                const double length = std::hypot(direction.x(), direction.y());
                if (length > 0) {
                    direction /= length;
                    const QPointF side(-direction.y(), direction.x());
                    const QPointF back = tip + direction * ArrowPixels;
                    painter.setBrush(color);
                    painter.drawPolygon(QPolygonF() << tip << back + side * ArrowPixels / 3
                                                    << back - side * ArrowPixels / 3);
                }
            }
            break;
        }
        case EntityKind::Insert: {
            const auto* block = const_cast<sim::Drawing&>(drawing_).FindBlock(e.blockName);
            if (block == nullptr || depth >= MaxBlockDepth)
                break;
            QTransform inner;
            inner.translate(-block->basePoint.x, -block->basePoint.y);
            QTransform outer;
            outer.translate(e.insertion.x, e.insertion.y);
            outer.rotateRadians(e.rotation);
            outer.scale(e.xScale, e.yScale);
            const QTransform blockPlacement = inner * outer * placement;
            for (const sim::EntityRef& part : block->entities) {
                DrawEntity(painter, view, *part, blockPlacement, highlighted, depth + 1);
            }
            break;
        }
        case EntityKind::Text:
        case EntityKind::MText: {
            const double pixels = e.height * scale;
            if (pixels < 1.5) {  // too small to read: a stroke where the text is
                painter.drawPoint(screen(e.insertion));
                break;
            }
            const auto* style = const_cast<sim::Drawing&>(drawing_).FindTextStyle(e.style);
            QFont font(StyleFamily(style));
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
            painter.setFont(font);
            const QFontMetricsF metrics(font);
            painter.save();
            painter.translate(screen(e.insertion));
            painter.rotate(-(e.rotation + std::atan2(placement.m12(), placement.m11())) *
                           RadiansToDegrees);
            if (e.kind == EntityKind::Text) {
                const QString shown = ShownText(drawing_, e);
                const double width = metrics.horizontalAdvance(shown);
                double x = 0, y = 0;
                const int alignment = e.alignment;
                const int column = alignment <= 5 ? (alignment == 1 || alignment == 4 ? 1
                                                     : alignment == 2                 ? 2
                                                                                      : 0)
                                                  : (alignment - 6) % 3;
                if (column == 1)
                    x = -width / 2;
                if (column == 2)
                    x = -width;
                if (alignment >= 6 && alignment <= 8)
                    y = metrics.capHeight();
                if (alignment == 4 || (alignment >= 9 && alignment <= 11))
                    y = metrics.capHeight() / 2;
                // A backward text of a Windows font is mirrored; the Naskh fonts' backward flag
                // only puts their glyph codes in reading order, which the decoding already did.
                const bool shx =
                    style == nullptr || (style->typeface.empty() && IsShx(style->fontFile));
                if (e.backward && !shx)
                    painter.scale(-1, 1);
                painter.drawText(QPointF(x, y), shown);
            } else {
                double y = metrics.ascent();
                const double wrap = e.width * scale;
                for (const QString& paragraph : MTextLines(e.text)) {
                    // Lines break at blanks where the text is wider than the multi-line text.
                    QString line;
                    for (const QString& word : paragraph.split(' ')) {
                        const QString candidate = line.isEmpty() ? word : line + ' ' + word;
                        if (wrap > 0 && !line.isEmpty() &&
                            metrics.horizontalAdvance(candidate) > wrap) {
                            painter.drawText(QPointF(0, y), line);
                            y += pixels * LineSpacingInHeights;
                            line = word;
                        } else {
                            line = candidate;
                        }
                    }
                    painter.drawText(QPointF(0, y), line);
                    y += pixels * LineSpacingInHeights;
                }
            }
            painter.restore();
            break;
        }
    }
}

sim::EntityRef Renderer::Pick(const View& view, QPointF point, double tolerance,
                              const std::function<bool(const sim::EntityData&)>& accepts) const {
    const auto& space = drawing_.modelSpaceActive ? drawing_.modelSpace : drawing_.paperSpace;
    sim::EntityRef best;
    double bestDistance = tolerance;
    for (const sim::EntityRef& e : space) {
        if (accepts && !accepts(*e))
            continue;
        double distance = tolerance + 1;
        if (e->kind == EntityKind::Line || e->kind == EntityKind::LwPolyline ||
            e->kind == EntityKind::Leader) {
            std::vector<QPointF> points;
            for (const Point3& p : e->points)
                points.push_back(view.ToScreen(p));
            if (e->kind == EntityKind::LwPolyline && e->closed && !points.empty()) {
                points.push_back(points.front());
            }
            for (std::size_t i = 1; i < points.size(); ++i) {
                distance = std::min(distance, SegmentDistance(point, points[i - 1], points[i]));
            }
        } else if (e->kind == EntityKind::Circle && !e->points.empty()) {
            const QPointF c = view.ToScreen(e->points[0]);
            distance = std::fabs(std::hypot(point.x() - c.x(), point.y() - c.y()) -
                                 e->radius / view.unitsPerPixel);
        } else {
            const QRectF box =
                ScreenBox(view, *e).adjusted(-tolerance, -tolerance, tolerance, tolerance);
            if (box.contains(point)) {
                const QPointF c = box.center();
                distance =
                    std::min(tolerance, std::hypot(point.x() - c.x(), point.y() - c.y()) / 10);
            }
        }
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = e;
        }
    }
    return best;
}

}  // namespace navisaz::drawing
