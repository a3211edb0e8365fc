// The part of the world a map shows and how it is projected: equirectangular,
// with the scales of the world map picture (600/360 pixels per degree of
// longitude, 152/90 per degree of latitude at the start) and its origin
// (longitude 0 at column 303, the equator at row 152). Zoom keeps that ratio.
#pragma once

#include "plot_geometry.h"

namespace synoptic {

// Longitudes west..east and latitudes south..north, in degrees.
struct GeoBox {
    double west = -180, south = -90, east = 180, north = 90;
};

class MapView {
  public:
    static constexpr double kStartColumnsPerDegree = 600.0 / 360.0;
    static constexpr double kRowsPerColumn = (152.0 / 90.0) / (600.0 / 360.0);
    static constexpr double kMinZoom = 0.5;
    static constexpr double kMaxZoom = 200;

    // The start view of the world map picture on a width x height area.
    MapView(double width, double height);

    // The view that shows `box` whole in a width x height area, centred.
    static MapView Showing(const GeoBox& box, double width, double height);

    Point Project(double latitude, double longitude) const;
    // Latitude in y and longitude in x of a pixel.
    Point Unproject(Point pixel) const;

    // Zooms by `factor` keeping the point under `pixel` in place; the zoom
    // stays within kMinZoom..kMaxZoom.
    void ZoomAt(Point pixel, double factor);
    void Pan(double dx, double dy);
    void Resize(double width, double height);
    // Shows `box` whole, centred, with `margin` pixels around it.
    void Fit(const GeoBox& box, double margin);

    double Zoom() const { return m_columnsPerDegree / kStartColumnsPerDegree; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    GeoBox Visible() const;

  private:
    double m_width, m_height;
    double m_columnsPerDegree = kStartColumnsPerDegree;
    Point m_origin{303, 152};  // pixel of latitude 0, longitude 0
};

}  // namespace synoptic
