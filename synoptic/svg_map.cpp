// SVG output of the plot geometry. Numbers carry two decimals at most; the
// coastlines are clipped to the view so a regional map stays small.
#include "svg_map.h"

#include <algorithm>
#include <cstdio>

#include "coastlines.h"

namespace synoptic {
namespace {

void AppendNumber(std::string& out, double value) {
    char text[32];
    int length = std::snprintf(text, sizeof text, "%.2f", value);
    // Trailing zeros and a bare point add nothing.
    while (length > 0 && text[length - 1] == '0') --length;
    if (length > 0 && text[length - 1] == '.') --length;
    if (length == 2 && text[0] == '-' && text[1] == '0') {
        text[0] = '0';
        length = 1;
    }
    out.append(text, static_cast<std::size_t>(length));
}

void AppendPoint(std::string& out, Point p) {
    AppendNumber(out, p.x);
    out += ' ';
    AppendNumber(out, p.y);
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string PathData(const std::vector<PathElement>& path) {
    std::string d;
    for (const PathElement& element : path) {
        switch (element.op) {
            case PathOp::kMove:
                d += 'M';
                AppendPoint(d, element.p[0]);
                break;
            case PathOp::kLine:
                d += 'L';
                AppendPoint(d, element.p[0]);
                break;
            case PathOp::kCubic:
                d += 'C';
                AppendPoint(d, element.p[0]);
                d += ' ';
                AppendPoint(d, element.p[1]);
                d += ' ';
                AppendPoint(d, element.p[2]);
                break;
            case PathOp::kClose:
                d += 'Z';
                break;
        }
    }
    return d;
}

std::string Paint(const Shape& shape) {
    std::string paint = shape.filled ? " fill=\"#000\"" : " fill=\"none\"";
    if (shape.stroked) {
        paint += " stroke=\"#000\" stroke-width=\"";
        AppendNumber(paint, shape.strokeWidth);
        paint += "\"";
    }
    return paint;
}

// The lines (or with `closed` the polygons) as one path.
void AppendGeoPath(std::string& out, const std::vector<GeoLine>& lines, const MapView& view,
                   bool closed, const char* attributes) {
    std::string d;
    for (const GeoLine& line : lines) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            d += i == 0 ? 'M' : 'L';
            AppendPoint(d, view.Project(line[i].y, line[i].x));
        }
        if (closed) d += 'Z';
    }
    if (!d.empty()) out += "<path " + std::string(attributes) + " d=\"" + d + "\"/>\n";
}

// The borders that reach into the view.
std::vector<GeoLine> VisibleLines(const std::vector<GeoLine>& lines, const GeoBox& box) {
    std::vector<GeoLine> visible;
    for (const GeoLine& line : lines) {
        const bool inside = std::any_of(line.begin(), line.end(), [&](const Point& p) {
            return p.x >= box.west && p.x <= box.east && p.y >= box.south && p.y <= box.north;
        });
        if (inside) visible.push_back(line);
    }
    return visible;
}

void AppendStation(std::string& out, const PlacedModel& placed) {
    out += "<g class=\"station\" data-id=\"" + Escaped(placed.entry->plot.id) +
           "\" transform=\"translate(";
    AppendPoint(out, placed.at);
    out += ")\">";
    for (const PlotItem& item : placed.entry->plot.items) {
        const std::string cls = std::string("class=\"") + PlotPartName(item.part) + "\"";
        if (item.shapes.size() == 1) {
            out += SvgShape(item.shapes.front(), cls);
            continue;
        }
        out += "<g " + cls + ">";
        for (const Shape& shape : item.shapes) out += SvgShape(shape, "");
        out += "</g>";
    }
    out += "</g>\n";
}

}  // namespace

std::string SvgShape(const Shape& shape, const std::string& attributes) {
    const std::string lead = attributes.empty() ? "" : " " + attributes;
    std::string out;
    switch (shape.kind) {
        case ShapeKind::kCircle:
            out = "<circle" + lead + " cx=\"";
            AppendNumber(out, shape.centre.x);
            out += "\" cy=\"";
            AppendNumber(out, shape.centre.y);
            out += "\" r=\"";
            AppendNumber(out, shape.radius);
            return out + "\"" + Paint(shape) + "/>";
        case ShapeKind::kText: {
            static constexpr const char* kAnchors[] = {"start", "middle", "end"};
            out = "<text" + lead + " x=\"";
            AppendNumber(out, shape.centre.x);
            out += "\" y=\"";
            AppendNumber(out, shape.centre.y);
            out += "\" font-size=\"";
            AppendNumber(out, shape.fontSize);
            out += "\" text-anchor=\"";
            out += kAnchors[static_cast<int>(shape.anchor)];
            return out + "\">" + Escaped(shape.text) + "</text>";
        }
        case ShapeKind::kPath:
            break;
    }
    return "<path" + lead + " d=\"" + PathData(shape.path) + "\"" + Paint(shape) + "/>";
}

std::string SvgMap(const StationModels& models, const MapView& view) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "width=\"";
    AppendNumber(out, view.Width());
    out += "\" height=\"";
    AppendNumber(out, view.Height());
    out += "\" viewBox=\"0 0 ";
    AppendPoint(out, {view.Width(), view.Height()});
    out += "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
    // A pale blue sea, and the land in the station map window's paper colour.
    out += "<rect class=\"background\" width=\"100%\" height=\"100%\" fill=\"#d8e5ee\"/>\n";
    const CoastlineLayer& layer = Coastlines(DetailForZoom(view.Zoom()));
    const GeoBox visible = view.Visible();
    const GeoBox box{visible.west - 1, visible.south - 1, visible.east + 1, visible.north + 1};
    AppendGeoPath(out, LandWithin(layer, box), view, true,
                  "class=\"land\" fill=\"#f6f4ec\" fill-rule=\"evenodd\" stroke=\"none\"");
    AppendGeoPath(out, VisibleLines(layer.borders, box), view, false,
                  "class=\"border\" fill=\"none\" stroke=\"#b5a58a\" stroke-width=\"0.6\"");
    AppendGeoPath(out, CoastsWithin(layer, box), view, false,
                  "class=\"coast\" fill=\"none\" stroke=\"#6f8596\" stroke-width=\"0.8\"");
    for (const PlacedModel& placed : LayoutModels(models, view)) AppendStation(out, placed);
    return out + "</svg>\n";
}

}  // namespace synoptic
