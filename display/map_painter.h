// Paints the synoptic map's geometry with QPainter: the background, the
// coastlines and borders (kept as paths and drawn with the view's transform,
// so they stay sharp at every zoom) and the station models, each turned into
// paths and static texts once and reused while its report stays the newest.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QStaticText>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "map_view.h"
#include "station_models.h"

class QPainter;

namespace nimboview {

class MapPainter {
  public:
    // Below this zoom the world map picture is the background; above it the
    // picture would blur, and the plain chart colour takes its place.
    static constexpr double kPictureZoomLimit = 1.5;

    // The picture (600x300, column 303 longitude 0, row 152 the equator) at
    // low zoom, else the chart colour; then the coastlines and borders.
    void PaintBackground(QPainter& painter, const synoptic::MapView& view, const QImage& picture);
    void PaintModels(QPainter& painter, const std::vector<synoptic::PlacedModel>& models);
    // Paints shapes as they are, in black (for symbol tables).
    static void PaintShapes(QPainter& painter, const std::vector<synoptic::Shape>& shapes);

  private:
    struct Stroke {
        double width;
        QPainterPath path;
    };
    struct Label {
        QPointF at;  // top-left of the static text
        QStaticText text;
    };
    struct PaintedModel {
        std::uint64_t arrival = 0;
        std::vector<Stroke> strokes;
        QPainterPath fills;
        std::vector<Label> labels;
    };
    const PaintedModel& Painted(const synoptic::StationEntry& entry);
    static PaintedModel Build(const synoptic::StationPlot& plot);

    std::unordered_map<std::string, PaintedModel> m_cache;
};

}  // namespace nimboview
