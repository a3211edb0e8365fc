// Map projection, zoom and pan.
#include "map_view.h"

#include <algorithm>

namespace synoptic {

MapView::MapView(double width, double height) : m_width(width), m_height(height) {}

MapView MapView::Showing(const GeoBox& box, double width, double height) {
    MapView view(width, height);
    view.Fit(box, 0);
    return view;
}

Point MapView::Project(double latitude, double longitude) const {
    return {m_origin.x + longitude * m_columnsPerDegree,
            m_origin.y - latitude * m_columnsPerDegree * kRowsPerColumn};
}

Point MapView::Unproject(Point pixel) const {
    return {(pixel.x - m_origin.x) / m_columnsPerDegree,
            (m_origin.y - pixel.y) / (m_columnsPerDegree * kRowsPerColumn)};
}

void MapView::ZoomAt(Point pixel, double factor) {
    const double zoom = std::clamp(Zoom() * factor, kMinZoom, kMaxZoom);
    const double applied = zoom * kStartColumnsPerDegree / m_columnsPerDegree;
    m_origin = {pixel.x + (m_origin.x - pixel.x) * applied,
                pixel.y + (m_origin.y - pixel.y) * applied};
    m_columnsPerDegree *= applied;
}

void MapView::Pan(double dx, double dy) {
    m_origin.x += dx;
    m_origin.y += dy;
}

void MapView::Resize(double width, double height) {
    m_width = width;
    m_height = height;
}

void MapView::Fit(const GeoBox& box, double margin) {
    // A lone station is shown with a few degrees around it.
    const double lonSpan = std::max(box.east - box.west, 4.0);
    const double latSpan = std::max(box.north - box.south, 2.0);
    const double usableWidth = std::max(m_width - 2 * margin, 1.0);
    const double usableHeight = std::max(m_height - 2 * margin, 1.0);
    const double byWidth = usableWidth / lonSpan;
    const double byHeight = usableHeight / (latSpan * kRowsPerColumn);
    const double zoom =
        std::clamp(std::min(byWidth, byHeight) / kStartColumnsPerDegree, kMinZoom, kMaxZoom);
    m_columnsPerDegree = zoom * kStartColumnsPerDegree;
    const double centreLon = (box.west + box.east) / 2;
    const double centreLat = (box.south + box.north) / 2;
    m_origin = {m_width / 2 - centreLon * m_columnsPerDegree,
                m_height / 2 + centreLat * m_columnsPerDegree * kRowsPerColumn};
}

GeoBox MapView::Visible() const {
    const Point topLeft = Unproject({0, 0});
    const Point bottomRight = Unproject({m_width, m_height});
    return {topLeft.x, bottomRight.y, bottomRight.x, topLeft.y};
}

}  // namespace synoptic
