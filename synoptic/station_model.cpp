// Station model layout: each part is placed at its WMO position around the
// circle, in pixels at scale 1.
#include "station_model.h"

#include <cmath>
#include <cstdio>

#include "automatic_weather.h"
#include "weather_symbols.h"

namespace synoptic {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kKnotsPerMetrePerSecond = 1.943844;
constexpr double kFontSize = 9;
constexpr double kStaffLength = 26;  // from the centre to the outer end
constexpr double kBarbLength = 10;
constexpr double kBarbSpacing = 3.4;
constexpr double kLineWidth = 1;

Shape Text(std::string text, Point at, TextAnchor anchor) {
    Shape shape;
    shape.kind = ShapeKind::kText;
    shape.text = std::move(text);
    shape.centre = at;
    shape.anchor = anchor;
    shape.fontSize = kFontSize;
    shape.stroked = false;
    shape.filled = true;
    return shape;
}

std::string Format(const char* format, long value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void AddText(StationPlot& plot, PlotPart part, std::string text, Point at, TextAnchor anchor) {
    PlotItem item{part, text, {}};
    item.shapes.push_back(Text(std::move(text), at, anchor));
    plot.items.push_back(std::move(item));
}

// A symbol of a table, scaled from its box and centred at `at`.
void AddSymbol(StationPlot& plot, PlotPart part, SymbolTable table, int figure, Point at,
               double scale, std::string value) {
    const std::vector<Shape>& shapes = Symbol(table, figure);
    if (shapes.empty()) return;
    PlotItem item{part, std::move(value), {}};
    const Placement placement{scale, at};
    for (const Shape& shape : shapes) item.shapes.push_back(Placed(shape, placement));
    plot.items.push_back(std::move(item));
}

Shape Line(Point a, Point b) {
    Shape shape;
    shape.strokeWidth = kLineWidth;
    shape.path = {{PathOp::kMove, {a}}, {PathOp::kLine, {b}}};
    return shape;
}

Point Along(Point from, Point direction, double distance) {
    return {from.x + direction.x * distance, from.y + direction.y * distance};
}

// Pennants, full and half barbs from the outer end of the staff inwards.
void AddFeathers(PlotItem& barb, Point tip, Point out, Point side, int fives) {
    const int pennants = fives / 10;
    const int fulls = (fives % 10) / 2;
    const bool half = fives % 2 != 0;
    Point at = tip;
    for (int i = 0; i < pennants; ++i) {
        const Point inner = Along(at, out, -kBarbSpacing * 1.3);
        Shape pennant;
        pennant.filled = true;
        pennant.strokeWidth = kLineWidth;
        pennant.path = {{PathOp::kMove, {at}},
                        {PathOp::kLine, {Along(at, side, kBarbLength)}},
                        {PathOp::kLine, {inner}},
                        {PathOp::kClose, {}}};
        barb.shapes.push_back(pennant);
        at = inner;
    }
    // Barbs after pennants keep a little distance from them.
    if (pennants > 0) at = Along(at, out, -kBarbSpacing * 0.6);
    // A lone half barb stands a little in from the end, as WMO draws it.
    if (pennants == 0 && fulls == 0 && half) at = Along(at, out, -kBarbSpacing);
    for (int i = 0; i < fulls + (half ? 1 : 0); ++i) {
        const double length = i < fulls ? kBarbLength : kBarbLength / 2;
        const Point end = Along(Along(at, side, length), out, length * 0.5);
        barb.shapes.push_back(Line(at, end));
        at = Along(at, out, -kBarbSpacing);
    }
}

}  // namespace

BarbWind WindOf(const nimbo::WeatherObservation& observation) {
    BarbWind wind;
    wind.calm = observation.windCalm;
    if (observation.windDirection) wind.directionDegrees = *observation.windDirection;
    if (observation.windSpeed) {
        const bool metres = observation.windSpeedUnit == "m/s";
        wind.speedKnots = *observation.windSpeed * (metres ? kKnotsPerMetrePerSecond : 1.0);
    }
    wind.southernHemisphere = observation.latitude && *observation.latitude < 0;
    return wind;
}

PlotItem WindBarb(const BarbWind& wind) {
    if (wind.calm) {
        PlotItem calm{PlotPart::kCalm, "calm", {}};
        Shape circle;
        circle.kind = ShapeKind::kCircle;
        circle.radius = kStationRadius + 2.5;
        circle.strokeWidth = kLineWidth;
        calm.shapes.push_back(circle);
        return calm;
    }
    PlotItem barb{PlotPart::kBarb, "", {}};
    if (!wind.directionDegrees) return barb;
    const double angle = *wind.directionDegrees * kPi / 180.0;
    const Point out{std::sin(angle), -std::cos(angle)};
    // The clockwise side of the staff on a north-up map with y down.
    const Point clockwise{-out.y, out.x};
    const Point side = wind.southernHemisphere ? Point{-clockwise.x, -clockwise.y} : clockwise;
    const Point tip = Along({0, 0}, out, kStaffLength);
    barb.shapes.push_back(Line(Along({0, 0}, out, kStationRadius), tip));
    if (!wind.speedKnots) {
        barb.value = "x";
        const double r = 2.5;
        barb.shapes.push_back(Line({tip.x - r, tip.y - r}, {tip.x + r, tip.y + r}));
        barb.shapes.push_back(Line({tip.x - r, tip.y + r}, {tip.x + r, tip.y - r}));
        return barb;
    }
    const int fives = static_cast<int>(std::lround(*wind.speedKnots / 5.0));
    barb.value = std::to_string(fives * 5);
    AddFeathers(barb, tip, out, side, fives);
    return barb;
}

std::string PressureFigures(double hectopascals) {
    const long tenths = std::lround(hectopascals * 10.0);
    return Format("%03ld", ((tenths % 1000) + 1000) % 1000);
}

namespace {

void AddCover(StationPlot& plot, const nimbo::WeatherObservation& o) {
    const int figure = o.cloudCoverCode.value_or(kCoverNotReported);
    const std::string value = o.cloudCoverCode ? std::to_string(figure) : "/";
    AddSymbol(plot, PlotPart::kCover, SymbolTable::kCloudCover, figure, {0, 0},
              kStationRadius / 10.0, value);
}

// The figures whose symbols show the weather: as reported by a manned
// station, or their twins for an automatic station's codes. The plotted
// value stays the reported figure.
std::optional<int> PresentWeatherSymbol(const nimbo::WeatherObservation& o) {
    if (!o.presentWeatherCode) return std::nullopt;
    return o.automaticWeatherCodes ? PresentWeatherOfAutomatic(*o.presentWeatherCode)
                                   : o.presentWeatherCode;
}

std::optional<int> PastWeatherSymbol(const nimbo::WeatherObservation& o) {
    if (!o.pastWeather1Code) return std::nullopt;
    return o.automaticWeatherCodes ? PastWeatherOfAutomatic(*o.pastWeather1Code)
                                   : o.pastWeather1Code;
}

void AddLeftSide(StationPlot& plot, const nimbo::WeatherObservation& o) {
    if (o.airTemperature)
        AddText(plot, PlotPart::kTemperature, Format("%ld", std::lround(*o.airTemperature)),
                {-7, -6}, TextAnchor::kEnd);
    if (o.dewPoint)
        AddText(plot, PlotPart::kDewPoint, Format("%ld", std::lround(*o.dewPoint)), {-7, 13},
                TextAnchor::kEnd);
    // ww 00-03 (change of the sky) is not plotted.
    const std::optional<int> symbol = PresentWeatherSymbol(o);
    const bool ww = symbol && *symbol > 3 && !Symbol(SymbolTable::kPresentWeather, *symbol).empty();
    if (ww)
        AddSymbol(plot, PlotPart::kPresentWeather, SymbolTable::kPresentWeather, *symbol, {-14, 0},
                  0.6, Format("%02ld", *o.presentWeatherCode));
    if (o.visibilityCode)
        AddText(plot, PlotPart::kVisibility, Format("%02ld", *o.visibilityCode),
                {ww ? -21.0 : -8.0, 3}, TextAnchor::kEnd);
    if (const std::optional<int> past = PastWeatherSymbol(o))
        AddSymbol(plot, PlotPart::kPastWeather, SymbolTable::kPastWeather, *past, {13, 11}, 0.5,
                  std::to_string(*o.pastWeather1Code));
}

void AddRightSide(StationPlot& plot, const nimbo::WeatherObservation& o) {
    if (o.seaLevelPressure)
        AddText(plot, PlotPart::kPressure, PressureFigures(*o.seaLevelPressure), {7, -6},
                TextAnchor::kStart);
    if (o.pressureChange) {
        const long tenths = std::lround(*o.pressureChange * 10.0);
        const std::string amount = (tenths < 0 ? "-" : "+") + Format("%02ld", std::labs(tenths));
        PlotItem item{PlotPart::kTendency, amount, {}};
        item.shapes.push_back(Text(amount, {7, 3.5}, TextAnchor::kStart));
        if (o.tendencyCode) {
            for (const Shape& shape : Symbol(SymbolTable::kTendency, *o.tendencyCode))
                item.shapes.push_back(Placed(shape, {0.45, {28, 0.5}}));
        }
        plot.items.push_back(std::move(item));
    }
    if (o.lowCloudCode)
        AddSymbol(plot, PlotPart::kLowCloud, SymbolTable::kLowCloud, *o.lowCloudCode, {0, 11}, 0.5,
                  std::to_string(*o.lowCloudCode));
    if (o.middleCloudCode)
        AddSymbol(plot, PlotPart::kMiddleCloud, SymbolTable::kMiddleCloud, *o.middleCloudCode,
                  {0, -10.5}, 0.5, std::to_string(*o.middleCloudCode));
    if (o.highCloudCode)
        AddSymbol(plot, PlotPart::kHighCloud, SymbolTable::kHighCloud, *o.highCloudCode, {0, -18.5},
                  0.5, std::to_string(*o.highCloudCode));
}

}  // namespace

StationPlot BuildStationModel(const nimbo::WeatherObservation& observation) {
    StationPlot plot;
    plot.id = observation.station;
    PlotItem wind = WindBarb(WindOf(observation));
    if (!wind.shapes.empty()) plot.items.push_back(std::move(wind));
    AddCover(plot, observation);
    if (!observation.nil) {
        AddLeftSide(plot, observation);
        AddRightSide(plot, observation);
    }
    for (PlotItem& item : plot.items) {
        for (Shape& shape : item.shapes) shape = Placed(shape, {kModelScale, {0, 0}});
    }
    // The barb may reach over a neighbour; the rest of the model may not.
    const double r = kStationRadius * kModelScale;
    plot.bounds = {-r, -r, r, r};
    for (const PlotItem& item : plot.items) {
        if (item.part == PlotPart::kBarb) continue;
        for (const Shape& shape : item.shapes) plot.bounds.Include(ShapeBounds(shape));
    }
    return plot;
}

}  // namespace synoptic
