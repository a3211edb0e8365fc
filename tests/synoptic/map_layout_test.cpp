// The map around the models: projection, zoom and fit, decluttering, the
// newest report per station, the coastline data and the SVG's structure.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <sstream>

#include "coastlines.h"
#include "declutter.h"
#include "map_view.h"
#include "station_models.h"
#include "svg_map.h"

namespace synoptic {
namespace {

TEST(MapViewTest, StartViewIsTheWorldPictureAndZoomKeepsThePointUnderTheMouse) {
    MapView view(600, 300);
    EXPECT_NEAR(view.Project(0, 0).x, 303, 1e-9);
    EXPECT_NEAR(view.Project(0, 0).y, 152, 1e-9);
    EXPECT_NEAR(view.Project(51.5, -0.1).y, 152 - 51.5 * 152 / 90, 1e-9);
    const Point before = view.Unproject({420, 80});
    view.ZoomAt({420, 80}, 8);
    EXPECT_DOUBLE_EQ(view.Zoom(), 8);
    const Point after = view.Unproject({420, 80});
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
    view.ZoomAt({0, 0}, 1e6);
    EXPECT_DOUBLE_EQ(view.Zoom(), MapView::kMaxZoom);
}

TEST(MapViewTest, FitShowsTheWholeBoxCentred) {
    MapView view(800, 600);
    view.Fit({4, 57, 12, 64}, 20);
    const GeoBox visible = view.Visible();
    EXPECT_LE(visible.west, 4);
    EXPECT_GE(visible.east, 12);
    EXPECT_LE(visible.south, 57);
    EXPECT_GE(visible.north, 64);
    const Point centre = view.Project(60.5, 8);
    EXPECT_NEAR(centre.x, 400, 1e-6);
    EXPECT_NEAR(centre.y, 300, 1e-6);
}

TEST(DeclutterTest, EarlierBoxesWinAndNoKeptBoxesOverlap) {
    const std::vector<Rect> boxes = {
        {0, 0, 50, 30},            // kept: first
        {40, 20, 90, 50},          // overlaps the first
        {50, 0, 100, 30},          // touches the first only at its edge: kept
        {200, 200, 250, 230},      // far away: kept
        {210, 190, 220, 200},      // touches the fourth's top edge: kept
        {215, 195, 230, 215},      // inside the fourth
        {1000, 1000, 1000, 1010},  // empty
    };
    EXPECT_EQ(Declutter(boxes), (std::vector<std::size_t>{0, 2, 3, 4}));
}

nimbo::WeatherObservation Report(const char* station, double lat, double lon, int day, int hour,
                                 double temperature) {
    nimbo::WeatherObservation o;
    o.station = station;
    o.latitude = lat;
    o.longitude = lon;
    o.day = day;
    o.hour = hour;
    o.airTemperature = temperature;
    o.cloudCoverCode = 8;
    return o;
}

TEST(StationModelsTest, NewestReportPerStationFirstAndOnTop) {
    StationModels models;
    EXPECT_TRUE(models.Add(Report("01001", 70.9, -8.7, 10, 6, 5)));
    EXPECT_TRUE(models.Add(Report("01028", 70.9, -7.9, 10, 9, 7)));   // near 01001
    EXPECT_FALSE(models.Add(Report("01001", 70.9, -8.7, 10, 3, 1)));  // older: ignored
    EXPECT_TRUE(models.Add(Report("01001", 70.9, -8.7, 10, 9, 6)));   // same hour, later
    nimbo::WeatherObservation noPosition = Report("LF5U", 0, 0, 10, 9, 1);
    noPosition.latitude.reset();
    EXPECT_FALSE(models.Add(noPosition));
    ASSERT_EQ(models.Size(), 2u);
    EXPECT_EQ(models.Find("01001")->observation.airTemperature, 6);
    EXPECT_EQ(models.NewestFirst().front()->plot.id, "01001");
    MapView view(600, 300);  // the world
    const std::vector<PlacedModel> placed = LayoutModels(models, view);
    ASSERT_EQ(placed.size(), 1u);  // the two models would overlap
    EXPECT_EQ(placed[0].entry->plot.id, "01001");
    const Point janMayen = view.Project(70.9, -8.7);
    view.ZoomAt(janMayen, 100);  // far enough apart now
    view.Pan(300 - janMayen.x, 150 - janMayen.y);
    EXPECT_EQ(LayoutModels(models, view).size(), 2u);
}

TEST(CoastlinesTest, BothLevelsAreClosedPolygonsWithTheirLevels) {
    for (const CoastDetail detail : {CoastDetail::kLow, CoastDetail::kIntermediate}) {
        const CoastlineLayer& layer = Coastlines(detail);
        EXPECT_GT(layer.coasts.size(), 400u);
        EXPECT_GT(layer.borders.size(), 100u);
        for (const CoastRing& ring : layer.coasts) {
            ASSERT_GE(ring.points.size(), 4u);
            ASSERT_TRUE(ring.points.front().x == ring.points.back().x &&
                        ring.points.front().y == ring.points.back().y);
            ASSERT_TRUE(ring.level >= 1 && ring.level <= 4);
            for (const Point& p : ring.points)
                ASSERT_TRUE(std::fabs(p.x) <= 180 && std::fabs(p.y) <= 90);
        }
    }
}

TEST(CoastlinesTest, OlderFilesAreReadAsLinesAndDamageIsRefused) {
    // One open coast piece of two points (0,0)-(1,1), no borders.
    const unsigned char older[] = {'N', 'C', 'L', '1', 1, 0, 0, 0, 2, 0, 0, 2, 2,
                                   0,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0};
    CoastlineLayer layers[2];
    ASSERT_TRUE(ReadCoastlines(older, sizeof older, layers));
    ASSERT_EQ(layers[0].coasts.size(), 1u);
    EXPECT_EQ(layers[0].coasts[0].level, 0);
    EXPECT_TRUE(LandWithin(layers[0], GeoBox{}).empty());
    EXPECT_EQ(CoastsWithin(layers[0], GeoBox{}).size(), 1u);
    const std::vector<std::vector<unsigned char>> damaged = {
        {'N', 'C', 'L', '1', 5, 0, 0, 0, 0xFF, 0xFF, 0xFF},        // points cut off
        {'N', 'C', 'L', '2', 1, 0, 0, 0, 7, 3, 0, 0, 2, 2, 4, 0},  // level 7
        {'N', 'C', 'L', '2', 1, 0, 0, 0, 1, 2, 0, 0, 2, 2},        // a polygon of two points
        {'N', 'C', 'L', '3', 0, 0, 0, 0},                          // unknown version
    };
    for (const auto& data : damaged) EXPECT_FALSE(ReadCoastlines(data.data(), data.size(), layers));
}

// The land path of an SVG map as polygons in pixels.
std::vector<std::vector<Point>> LandPolygons(const std::string& svg) {
    const std::size_t land = svg.find("<path class=\"land\"");
    if (land == std::string::npos) return {};  // no land in the view
    EXPECT_NE(svg.find("fill-rule=\"evenodd\"", land), std::string::npos);
    const std::size_t start = svg.find(" d=\"", land) + 4;
    std::istringstream d(svg.substr(start, svg.find('"', start) - start));
    std::vector<std::vector<Point>> polygons;
    for (char op = 0; d >> op;) {
        if (op == 'M') polygons.emplace_back();
        Point p;
        if (op != 'Z' && d >> p.x >> p.y) polygons.back().push_back(p);
    }
    return polygons;
}

bool InsideEvenOdd(const std::vector<std::vector<Point>>& polygons, Point p) {
    bool inside = false;
    for (const auto& polygon : polygons) {
        for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
            const Point& a = polygon[i];
            const Point& b = polygon[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y))
                inside = !inside;
        }
    }
    return inside;
}

struct Place {
    const char* name;
    double latitude, longitude;
    bool land;
};

class LandFillTest : public testing::TestWithParam<std::tuple<Place, double>> {};

// The place in the middle of a map of `span` degrees around it, low detail for
// the wide maps and intermediate for the narrow ones.
TEST_P(LandFillTest, SvgMapFillsLandAndLeavesSeaAndLakes) {
    const auto [place, span] = GetParam();
    const MapView view = MapView::Showing({place.longitude - span, place.latitude - span,
                                           place.longitude + span, place.latitude + span},
                                          600, 400);
    const std::string svg = SvgMap(StationModels(), view);
    EXPECT_EQ(InsideEvenOdd(LandPolygons(svg), view.Project(place.latitude, place.longitude)),
              place.land);
}

INSTANTIATE_TEST_SUITE_P(
    Places, LandFillTest,
    testing::Combine(testing::Values(Place{"Oslo", 59.91, 10.75, true},
                                     Place{"Skagerrak", 57.9, 9.0, false},
                                     Place{"LakeVictoria", -1.0, 33.0, false},
                                     Place{"AntarcticaInterior", -82.0, 45.0, true},
                                     Place{"SouthPoleAtTheDateLine", -88.0, 179.9, true},
                                     Place{"RossSeaAtTheDateLine", -75.0, 179.9, false},
                                     Place{"SiberiaInterior", 60.0, 100.0, true},
                                     Place{"ChukotkaWestOfTheDateLine", 67.0, 178.0, true},
                                     Place{"ChukotkaEastOfTheDateLine", 66.0, -174.0, true},
                                     Place{"PacificAtTheDateLine", 0.0, 179.9, false}),
                     testing::Values(2.0, 30.0)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) < 10 ? "Detailed" : "World");
    });

TEST(SvgMapTest, OneClassedGroupPerDrawnStationWithTheValuesAsText) {
    StationModels models;
    nimbo::WeatherObservation o = Report("01001", 70.9, -8.7, 10, 6, 8.4);
    o.windDirection = 330;
    o.windSpeed = 10;
    o.windSpeedUnit = "kt";
    o.dewPoint = -3.2;
    o.seaLevelPressure = 1020.8;
    o.pressureChange = -0.2;
    o.tendencyCode = 6;
    o.presentWeatherCode = 61;
    o.pastWeather1Code = 6;
    o.visibilityCode = 84;
    models.Add(o);
    models.Add(Report("3FYT", 60.8, 3.6, 10, 6, 13.2));
    const std::string svg = SvgMap(models, MapView::Showing({-20, 55, 20, 75}, 800, 500));
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    const std::regex station(
        "<g class=\"station\" data-id=\"([^\"]+)\" transform=[^>]*>(.*?)</g>\n");
    std::map<std::string, std::string> groups;
    for (auto m = std::sregex_iterator(svg.begin(), svg.end(), station);
         m != std::sregex_iterator(); ++m)
        groups[(*m)[1]] = (*m)[2];
    ASSERT_EQ(groups.size(), 2u);
    const std::string& janMayen = groups["01001"];
    for (const char* part :
         {"barb", "cover", "temp", "dewpoint", "pressure", "tendency", "ww", "past", "visibility"})
        EXPECT_NE(janMayen.find(std::string("class=\"") + part + "\""), std::string::npos) << part;
    for (const char* text : {">8</text>", ">-3</text>", ">208</text>", ">-02</text>", ">84</text>"})
        EXPECT_NE(janMayen.find(text), std::string::npos) << text;
    EXPECT_NE(svg.find("class=\"coast\""), std::string::npos);
    EXPECT_EQ(groups["3FYT"].find("class=\"barb\""), std::string::npos);
}

}  // namespace
}  // namespace synoptic
