// Plot geometry helpers: placing shapes and measuring them.
#include "plot_geometry.h"

#include <algorithm>
#include <array>

namespace synoptic {

void Rect::Include(const Rect& other) {
    // An all-zero rectangle is the empty start of a union.
    if (left == 0 && top == 0 && right == 0 && bottom == 0) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

const char* PlotPartName(PlotPart part) {
    static constexpr std::array<const char*, 13> kNames = {
        "cover",    "barb",     "calm", "temp", "dewpoint", "visibility", "ww",
        "pressure", "tendency", "past", "low",  "middle",   "high",
    };
    const auto index = static_cast<std::size_t>(part);
    return index < kNames.size() ? kNames[index] : "";
}

Shape Placed(const Shape& shape, const Placement& placement) {
    Shape placed = shape;
    for (PathElement& element : placed.path) {
        for (Point& p : element.p) p = placement.Apply(p);
    }
    placed.centre = placement.Apply(shape.centre);
    placed.radius = shape.radius * placement.scale;
    placed.strokeWidth = shape.strokeWidth * placement.scale;
    placed.fontSize = shape.fontSize * placement.scale;
    return placed;
}

Rect ShapeBounds(const Shape& shape) {
    switch (shape.kind) {
        case ShapeKind::kCircle:
            return {shape.centre.x - shape.radius, shape.centre.y - shape.radius,
                    shape.centre.x + shape.radius, shape.centre.y + shape.radius};
        case ShapeKind::kText: {
            // Digits and signs of a sans-serif face are about 0.6 em wide.
            const double width = 0.6 * shape.fontSize * static_cast<double>(shape.text.size());
            const double left = shape.anchor == TextAnchor::kStart    ? shape.centre.x
                                : shape.anchor == TextAnchor::kMiddle ? shape.centre.x - width / 2
                                                                      : shape.centre.x - width;
            return {left, shape.centre.y - 0.75 * shape.fontSize, left + width,
                    shape.centre.y + 0.2 * shape.fontSize};
        }
        case ShapeKind::kPath:
            break;
    }
    Rect bounds;
    bool first = true;
    for (const PathElement& element : shape.path) {
        const int points = element.op == PathOp::kCubic ? 3 : element.op == PathOp::kClose ? 0 : 1;
        for (int i = 0; i < points; ++i) {
            const Point p = element.p[i];
            if (first) {
                bounds = {p.x, p.y, p.x, p.y};
                first = false;
            }
            bounds.left = std::min(bounds.left, p.x);
            bounds.top = std::min(bounds.top, p.y);
            bounds.right = std::max(bounds.right, p.x);
            bounds.bottom = std::max(bounds.bottom, p.y);
        }
    }
    const double half = shape.strokeWidth / 2;
    return {bounds.left - half, bounds.top - half, bounds.right + half, bounds.bottom + half};
}

}  // namespace synoptic
