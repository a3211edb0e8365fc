// The geometry of a plotted map as plain data: paths, circles and texts in
// pixels with y pointing down. It is built once from the observations and
// then painted by the window (QPainter) or written out as SVG text, so both
// show the same drawing.
#pragma once

#include <string>
#include <vector>

namespace synoptic {

struct Point {
    double x = 0;
    double y = 0;
};

struct Rect {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    bool Intersects(const Rect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    Rect Moved(Point by) const { return {left + by.x, top + by.y, right + by.x, bottom + by.y}; }
    void Include(const Rect& other);
};

enum class PathOp { kMove, kLine, kCubic, kClose };

// One path command; a cubic uses all three points (two controls, the end),
// a move or a line only the first.
struct PathElement {
    PathOp op = PathOp::kMove;
    Point p[3];
};

enum class ShapeKind { kPath, kCircle, kText };
enum class TextAnchor { kStart, kMiddle, kEnd };

// One drawn element. A path or circle is stroked, filled or both; a text is
// placed by its baseline point and anchor.
struct Shape {
    ShapeKind kind = ShapeKind::kPath;
    std::vector<PathElement> path;
    Point centre;       // circle centre, or the text's anchor point on its baseline
    double radius = 0;  // circle
    bool stroked = true;
    bool filled = false;
    double strokeWidth = 1;
    std::string text;  // UTF-8
    TextAnchor anchor = TextAnchor::kStart;
    double fontSize = 0;  // pixels
};

// What a part of a station model shows; its name is the SVG class.
enum class PlotPart {
    kCover,
    kBarb,
    kCalm,
    kTemperature,
    kDewPoint,
    kVisibility,
    kPresentWeather,
    kPressure,
    kTendency,
    kPastWeather,
    kLowCloud,
    kMiddleCloud,
    kHighCloud,
};
const char* PlotPartName(PlotPart part);

// The shapes of one part; value is the plotted text or code figure.
struct PlotItem {
    PlotPart part = PlotPart::kCover;
    std::string value;
    std::vector<Shape> shapes;
};

// A station model around the station at (0, 0), in pixels.
struct StationPlot {
    std::string id;
    std::vector<PlotItem> items;
    Rect bounds;  // what the model covers, for decluttering
};

// Affine placement of shapes: scale, then translate.
struct Placement {
    double scale = 1;
    Point offset;
    Point Apply(Point p) const { return {p.x * scale + offset.x, p.y * scale + offset.y}; }
};
Shape Placed(const Shape& shape, const Placement& placement);

// Rough extent of a shape (texts by an average glyph width).
Rect ShapeBounds(const Shape& shape);

}  // namespace synoptic
