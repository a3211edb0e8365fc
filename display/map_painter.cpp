// Map painting: geometry shapes become QPainterPaths and QStaticTexts.
#include "map_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "coastlines.h"

namespace nimboview {
namespace {

const QColor kChart(246, 244, 236);
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

// The coastlines or borders of a level of detail as one path in degrees
// (x longitude, y minus latitude), made once.
const QPainterPath& GeoPath(synoptic::CoastDetail detail, bool borders) {
    static QPainterPath paths[2][2];
    static bool made[2][2] = {};
    const int d = detail == synoptic::CoastDetail::kLow ? 0 : 1;
    const int b = borders ? 1 : 0;
    if (!made[d][b]) {
        const synoptic::CoastlineLayer& layer = synoptic::Coastlines(detail);
        for (const synoptic::GeoLine& line : borders ? layer.borders : layer.coasts) {
            for (std::size_t i = 0; i < line.size(); ++i) {
                const QPointF p(line[i].x, -line[i].y);
                if (i == 0) {
                    paths[d][b].moveTo(p);
                } else {
                    paths[d][b].lineTo(p);
                }
            }
        }
        made[d][b] = true;
    }
    return paths[d][b];
}

}  // namespace

void MapPainter::PaintBackground(QPainter& painter, const synoptic::MapView& view,
                                 const QImage& picture) {
    const synoptic::Point origin = view.Project(0, 0);
    const double columnsPerDegree = view.Project(0, 1).x - origin.x;
    const double zoom = view.Zoom();
    painter.fillRect(QRectF(0, 0, view.Width(), view.Height()), kChart);
    if (zoom < kPictureZoomLimit && !picture.isNull()) {
        // Picture pixel (303, 152) is longitude 0 on the equator.
        const QRectF target(origin.x - 303 * zoom, origin.y - 152 * zoom, 600 * zoom, 300 * zoom);
        painter.drawImage(target, picture);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(QTransform(columnsPerDegree, 0, 0,
                                    columnsPerDegree * synoptic::MapView::kRowsPerColumn,
                                    origin.x, origin.y));
    const auto detail = zoom < 4 ? synoptic::CoastDetail::kLow : synoptic::CoastDetail::kIntermediate;
    QPen border(kBorder, 1);
    border.setCosmetic(true);
    painter.strokePath(GeoPath(detail, true), border);
    QPen coast(kCoast, 1.1);
    coast.setCosmetic(true);
    painter.strokePath(GeoPath(detail, false), coast);
    painter.restore();
}

MapPainter::PaintedModel MapPainter::Build(const synoptic::StationPlot& plot) {
    PaintedModel painted;
    const QFont font = ModelFont();
    const QFontMetricsF metrics(font);
    for (const synoptic::PlotItem& item : plot.items) {
        for (const synoptic::Shape& shape : item.shapes) {
            if (shape.kind == synoptic::ShapeKind::kText) {
                QStaticText text(QString::fromStdString(shape.text));
                text.prepare(QTransform(), font);
                const double width = text.size().width();
                double left = shape.centre.x;
                if (shape.anchor == synoptic::TextAnchor::kMiddle) left -= width / 2;
                if (shape.anchor == synoptic::TextAnchor::kEnd) left -= width;
                painted.labels.push_back({QPointF(left, shape.centre.y - metrics.ascent()), text});
                continue;
            }
            if (shape.filled) AddToPath(painted.fills, shape);
            if (!shape.stroked) continue;
            const double width = std::round(shape.strokeWidth * 4) / 4;
            auto stroke = std::find_if(painted.strokes.begin(), painted.strokes.end(),
                                       [width](const Stroke& s) { return s.width == width; });
            if (stroke == painted.strokes.end()) {
                painted.strokes.push_back({width, {}});
                stroke = painted.strokes.end() - 1;
            }
            AddToPath(stroke->path, shape);
        }
    }
    return painted;
}

const MapPainter::PaintedModel& MapPainter::Painted(const synoptic::StationEntry& entry) {
    PaintedModel& painted = m_cache[entry.plot.id];
    if (painted.arrival != entry.arrival) {
        painted = Build(entry.plot);
        painted.arrival = entry.arrival;
    }
    return painted;
}

void MapPainter::PaintShapes(QPainter& painter, const std::vector<synoptic::Shape>& shapes) {
    synoptic::StationPlot plot;
    plot.items.push_back({synoptic::PlotPart::kCover, "", shapes});
    const PaintedModel painted = Build(plot);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(painted.fills, kModel);
    for (const Stroke& stroke : painted.strokes)
        painter.strokePath(stroke.path, QPen(kModel, stroke.width, Qt::SolidLine, Qt::FlatCap,
                                             Qt::MiterJoin));
    painter.restore();
}

void MapPainter::PaintModels(QPainter& painter,
                             const std::vector<synoptic::PlacedModel>& models) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(ModelFont());
    for (const synoptic::PlacedModel& placed : models) {
        const PaintedModel& painted = Painted(*placed.entry);
        painter.setTransform(QTransform::fromTranslate(placed.at.x, placed.at.y));
        painter.fillPath(painted.fills, kModel);
        for (const Stroke& stroke : painted.strokes) {
            painter.strokePath(stroke.path, QPen(kModel, stroke.width, Qt::SolidLine,
                                                 Qt::FlatCap, Qt::MiterJoin));
        }
        painter.setPen(kModel);
        for (const Label& label : painted.labels) painter.drawStaticText(label.at, label.text);
    }
    painter.restore();
}

}  // namespace nimboview
