// Paints the synoptic map's geometry with QPainter: the background with the
// coastlines and borders, drawn as vector lines for the view at hand (so they
// stay sharp at every zoom) and kept as a picture until the view changes, and
// the station models, each drawn once from its geometry into a small picture
// of its own, which is reused while its report stays the newest (a model has
// the same size in pixels at every zoom).
#pragma once

#include <QImage>
#include <array>
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
    struct Sprite {
        std::uint64_t arrival = 0;
        QImage image;
        QPoint offset;  // of the station within the image
    };
    static constexpr std::size_t kMaxSprites = 4000;
    const Sprite& SpriteOf(const synoptic::StationEntry& entry);
    void RenderBackground(const synoptic::MapView& view, const QImage& picture);

    std::unordered_map<std::string, Sprite> m_sprites;
    QImage m_background;
    std::array<double, 5> m_backgroundKey{};  // the view it shows
};

}  // namespace nimboview
