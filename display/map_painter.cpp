// Map painting: the background picture with its coastlines, and the station
// models as small pictures drawn from their geometry.
#include "map_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "coastlines.h"

namespace nimboview {
namespace {

// The land takes the chart's paper colour; the sea is a pale blue under which
// the black models and red markers stay as readable as on land.
const QColor kChart(246, 244, 236);
const QColor kSea(216, 229, 238);
const QColor kCoast(111, 133, 150);
const QColor kBorder(181, 165, 138);
const QColor kModel(0, 0, 0);

QFont ModelFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void AddToPath(QPainterPath& qpath, const synoptic::Shape& shape) {
    if (shape.kind == synoptic::ShapeKind::kCircle) {
        qpath.addEllipse(QPointF(shape.centre.x, shape.centre.y), shape.radius, shape.radius);
        return;
    }
    for (const synoptic::PathElement& e : shape.path) {
        switch (e.op) {
            case synoptic::PathOp::kMove:
                qpath.moveTo(e.p[0].x, e.p[0].y);
                break;
            case synoptic::PathOp::kLine:
                qpath.lineTo(e.p[0].x, e.p[0].y);
                break;
            case synoptic::PathOp::kCubic:
                qpath.cubicTo(e.p[0].x, e.p[0].y, e.p[1].x, e.p[1].y, e.p[2].x, e.p[2].y);
                break;
            case synoptic::PathOp::kClose:
                qpath.closeSubpath();
                break;
        }
    }
}

// The visible part of the world with a few pixels more around it, so that
// clipped polygons end outside the picture.
synoptic::GeoBox Margined(const synoptic::MapView& view) {
    synoptic::GeoBox box = view.Visible();
    const double margin = (box.east - box.west) / view.Width() * 4;
    return {box.west - margin, box.south - margin, box.east + margin, box.north + margin};
}

QPolygonF Projected(const synoptic::GeoLine& line, const synoptic::MapView& view) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(line.size()));
    for (const synoptic::Point& p : line) {
        const synoptic::Point at = view.Project(p.y, p.x);
        polygon << QPointF(at.x, at.y);
    }
    return polygon;
}

// Fills the land over the sea, lakes left out by the even-odd rule. The fill
// is not anti-aliased: the anti-aliased coast drawn over its edge smooths it,
// and an anti-aliased fill of the whole land would make panning slower.
void FillLand(QPainter& painter, const synoptic::CoastlineLayer& layer,
              const synoptic::MapView& view) {
    QPainterPath land;
    land.setFillRule(Qt::OddEvenFill);
    for (const synoptic::GeoLine& ring : synoptic::LandWithin(layer, Margined(view)))
        land.addPolygon(Projected(ring, view));
    painter.fillPath(land, kChart);
}

// Draws a long line as pieces of a few dozen points: Qt strokes a line as one
// outline, and a long outline costs much more than its pieces.
void DrawInPieces(QPainter& painter, const QPolygonF& line) {
    constexpr qsizetype kPiece = 32;
    for (qsizetype at = 0; at + 1 < line.size(); at += kPiece)
        painter.drawPolyline(line.constData() + at,
                             static_cast<int>(std::min(kPiece + 1, line.size() - at)));
}

// Draws the lines that reach into the view, in window pixels.
void DrawLines(QPainter& painter, const std::vector<synoptic::GeoLine>& lines,
               const synoptic::MapView& view) {
    const synoptic::GeoBox visible = view.Visible();
    for (const synoptic::GeoLine& line : lines) {
        bool inside = false;
        for (const synoptic::Point& p : line) {
            if (p.x >= visible.west - 1 && p.x <= visible.east + 1 && p.y >= visible.south - 1 &&
                p.y <= visible.north + 1) {
                inside = true;
                break;
            }
        }
        if (inside) painter.drawPolyline(Projected(line, view));
    }
}

// Paints a list of shapes: fills, strokes by width, and texts.
void PaintShapeList(QPainter& painter, const std::vector<synoptic::Shape>& shapes) {
    const QFontMetricsF metrics(painter.font());
    for (const synoptic::Shape& shape : shapes) {
        if (shape.kind == synoptic::ShapeKind::kText) {
            const QString text = QString::fromStdString(shape.text);
            const double width = metrics.horizontalAdvance(text);
            double left = shape.centre.x;
            if (shape.anchor == synoptic::TextAnchor::kMiddle) left -= width / 2;
            if (shape.anchor == synoptic::TextAnchor::kEnd) left -= width;
            painter.setPen(kModel);
            painter.drawText(QPointF(left, shape.centre.y), text);
            continue;
        }
        QPainterPath path;
        AddToPath(path, shape);
        if (shape.filled) painter.fillPath(path, kModel);
        if (shape.stroked)
            painter.strokePath(
                path, QPen(kModel, shape.strokeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    }
}

}  // namespace

void MapPainter::PaintBackground(QPainter& painter, const synoptic::MapView& view,
                                 const QImage& picture) {
    const synoptic::Point origin = view.Project(0, 0);
    const std::array<double, 5> key = {origin.x, origin.y, view.Zoom(), view.Width(),
                                       view.Height()};
    if (key != m_backgroundKey || m_background.isNull()) {
        RenderBackground(view, picture);
        m_backgroundKey = key;
    }
    painter.drawImage(0, 0, m_background);
}

void MapPainter::RenderBackground(const synoptic::MapView& view, const QImage& picture) {
    m_background = QImage(static_cast<int>(std::ceil(view.Width())),
                          static_cast<int>(std::ceil(view.Height())), QImage::Format_RGB32);
    QPainter painter(&m_background);
    const synoptic::Point origin = view.Project(0, 0);
    const double zoom = view.Zoom();
    if (zoom < kPictureZoomLimit && !picture.isNull()) {
        // Picture pixel (303, 152) is longitude 0 on the equator.
        m_background.fill(kChart);
        const QRectF target(origin.x - 303 * zoom, origin.y - 152 * zoom, 600 * zoom, 300 * zoom);
        painter.drawImage(target, picture);
        return;
    }
    m_background.fill(kSea);
    const synoptic::CoastlineLayer& layer = synoptic::Coastlines(synoptic::DetailForZoom(zoom));
    FillLand(painter, layer, view);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kBorder, 1));
    DrawLines(painter, layer.borders, view);
    painter.setPen(QPen(kCoast, 1.1));
    for (const synoptic::GeoLine& line : synoptic::CoastsWithin(layer, Margined(view)))
        DrawInPieces(painter, Projected(line, view));
}

void MapPainter::PaintShapes(QPainter& painter, const std::vector<synoptic::Shape>& shapes) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(ModelFont());
    PaintShapeList(painter, shapes);
    painter.restore();
}

const MapPainter::Sprite& MapPainter::SpriteOf(const synoptic::StationEntry& entry) {
    // Pictures of stations panned away are made again when needed; this keeps
    // a long session over the whole world to a few tens of megabytes.
    if (m_sprites.size() >= kMaxSprites && m_sprites.count(entry.plot.id) == 0) m_sprites.clear();
    Sprite& sprite = m_sprites[entry.plot.id];
    if (sprite.arrival == entry.arrival && !sprite.image.isNull()) return sprite;
    std::vector<synoptic::Shape> shapes;
    synoptic::Rect bounds;
    for (const synoptic::PlotItem& item : entry.plot.items) {
        for (const synoptic::Shape& shape : item.shapes) {
            shapes.push_back(shape);
            bounds.Include(synoptic::ShapeBounds(shape));
        }
    }
    // Room for anti-aliasing and for texts a little wider than estimated.
    const int left = static_cast<int>(std::floor(bounds.left)) - 8;
    const int top = static_cast<int>(std::floor(bounds.top)) - 3;
    const int right = static_cast<int>(std::ceil(bounds.right)) + 8;
    const int bottom = static_cast<int>(std::ceil(bounds.bottom)) + 3;
    sprite.image = QImage(right - left, bottom - top, QImage::Format_ARGB32_Premultiplied);
    sprite.image.fill(Qt::transparent);
    sprite.offset = QPoint(-left, -top);
    sprite.arrival = entry.arrival;
    QPainter painter(&sprite.image);
    painter.translate(sprite.offset);
    PaintShapes(painter, shapes);
    return sprite;
}

void MapPainter::PaintModels(QPainter& painter, const std::vector<synoptic::PlacedModel>& models) {
    for (const synoptic::PlacedModel& placed : models) {
        const Sprite& sprite = SpriteOf(*placed.entry);
        painter.drawImage(QPointF(std::round(placed.at.x) - sprite.offset.x(),
                                  std::round(placed.at.y) - sprite.offset.y()),
                          sprite.image);
    }
}

}  // namespace nimboview
