// Station models: the wind barb for a table of winds, and the plotted values
// of real reports (decoded by the real decoder) against their records, and
// the text of the map's side panel.
#include "station_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "code_tables.h"
#include "component_ids.h"
#include "component_loader.h"
#include "observation_source.h"
#include "station_report.h"
#include "test_name.h"
#include "weather_decoder_interface.h"
#include "weather_observation_interface.h"

namespace synoptic {
namespace {

struct BarbCase {
    const char* name;
    std::optional<double> direction, knots;
    bool calm, southern;
    const char* value;  // "" when nothing is drawn
    int pennants, fulls, halves;
};

struct Feathers {
    int pennants = 0, fulls = 0, halves = 0;
    double side = 0;  // sign of the first feather against the clockwise side
};

double Length(const PathElement& a, const PathElement& b) {
    return std::hypot(b.p[0].x - a.p[0].x, b.p[0].y - a.p[0].y);
}

Feathers Count(const PlotItem& barb) {
    Feathers f;
    const Point out = barb.shapes[0].path[1].p[0];  // outer end of the staff
    const Point clockwise{-out.y, out.x};
    for (std::size_t i = 1; i < barb.shapes.size(); ++i) {
        const Shape& shape = barb.shapes[i];
        const double length = Length(shape.path[0], shape.path[1]);
        if (shape.filled) {
            ++f.pennants;
        } else {
            ++(length > 7 ? f.fulls : f.halves);
        }
        if (i == 1) {
            const Point d{shape.path[1].p[0].x - shape.path[0].p[0].x,
                          shape.path[1].p[0].y - shape.path[0].p[0].y};
            f.side = d.x * clockwise.x + d.y * clockwise.y;
        }
    }
    return f;
}

class WindBarbTest : public ::testing::TestWithParam<BarbCase> {};

TEST_P(WindBarbTest, FeathersOnTheHemispheresSide) {
    const BarbCase& c = GetParam();
    const PlotItem barb = WindBarb({c.direction, c.knots, c.calm, c.southern});
    EXPECT_EQ(barb.value, c.value);
    if (c.calm) {
        EXPECT_EQ(barb.part, PlotPart::kCalm);
        ASSERT_EQ(barb.shapes.size(), 1u);
        EXPECT_GT(barb.shapes[0].radius, kStationRadius);
        return;
    }
    if (!c.direction) {
        EXPECT_TRUE(barb.shapes.empty());
        return;
    }
    // The staff points to where the wind comes from (north up, y down).
    const Point end = barb.shapes[0].path[1].p[0];
    EXPECT_NEAR(std::fmod(std::atan2(end.x, -end.y) * 180 / M_PI + 360, 360),
                std::fmod(*c.direction, 360), 0.01);
    if (!c.knots) {
        EXPECT_EQ(barb.shapes.size(), 3u);  // staff and the two strokes of the x
        return;
    }
    const Feathers f = Count(barb);
    EXPECT_EQ(f.pennants, c.pennants);
    EXPECT_EQ(f.fulls, c.fulls);
    EXPECT_EQ(f.halves, c.halves);
    if (barb.shapes.size() > 1) {
        EXPECT_EQ(f.side > 0, !c.southern) << "feather side";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Winds, WindBarbTest,
    ::testing::Values(BarbCase{"Calm", {}, 0.0, true, false, "calm", 0, 0, 0},
                      BarbCase{"North2ktRoundsToNoFeather", 360.0, 2.0, false, false, "0", 0, 0, 0},
                      BarbCase{"Northwest5kt", 315.0, 5.0, false, false, "5", 0, 0, 1},
                      BarbCase{"West15kt", 270.0, 14.0, false, false, "15", 0, 1, 1},
                      BarbCase{"West15ktSouth", 270.0, 15.0, false, true, "15", 0, 1, 1},
                      BarbCase{"South65ktSouth", 180.0, 66.0, false, true, "65", 1, 1, 1},
                      BarbCase{"East100kt", 90.0, 100.0, false, false, "100", 2, 0, 0},
                      BarbCase{"Southwest35kt", 225.0, 35.0, false, false, "35", 0, 3, 1},
                      BarbCase{"MissingSpeed", 200.0, {}, false, false, "x", 0, 0, 0},
                      BarbCase{"VariableDirection", {}, 10.0, false, false, "", 0, 0, 0}),
    [](const ::testing::TestParamInfo<BarbCase>& info) { return std::string(info.param.name); });

TEST(WindOfTest, MetresPerSecondAreConvertedAndLatitudeGivesTheHemisphere) {
    nimbo::WeatherObservation o;
    o.windDirection = 90;
    o.windSpeed = 10;
    o.windSpeedUnit = "m/s";
    o.latitude = -33.9;
    const BarbWind wind = WindOf(o);
    EXPECT_NEAR(*wind.speedKnots, 19.44, 0.01);
    EXPECT_TRUE(wind.southernHemisphere);
    EXPECT_EQ(WindBarb(wind).value, "20");
    o.windSpeedUnit = "kt";
    EXPECT_EQ(WindBarb(WindOf(o)).value, "10");
}

// Every report of a real bulletin file, as the decoder records it.
std::vector<nimbo::WeatherObservation> DecodeFile(const std::string& path) {
    struct Sink : nimbo::_IWeatherObservationEvents {
        std::vector<nimbo::WeatherObservation> records;
        void Observation(const nimbo::WeatherObservation& o) override { records.push_back(o); }
    } sink;
    std::string error;
    auto decoder = nimbo::ComponentLoader::Create<nimbo::IWeatherDecoder>(
        nimbo::kProgIdWeatherDecoder, &error);
    EXPECT_TRUE(decoder) << error;
    if (!decoder) return {};
    std::uint32_t cookie = 0;
    EXPECT_TRUE(nimbo::AdviseObservations(*decoder, &sink, &cookie));
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    decoder->put_DecoderRelax(1);
    decoder->Parse(text.str().c_str());
    decoder.Reset();
    return sink.records;
}

// What each plotted part shows, by part name.
std::map<std::string, std::string> Values(const StationPlot& plot) {
    std::map<std::string, std::string> values;
    for (const PlotItem& item : plot.items) values[PlotPartName(item.part)] = item.value;
    return values;
}

std::string Whole(double value) { return std::to_string(std::lround(value)); }

TEST(PlottedValuesTest, RealReportsShowTheirRecordsValues) {
    const auto records = DecodeFile(NIMBO_TEST_DATA_DIR "/synop/metno-kvnorcom/synop/data0600");
    ASSERT_GT(records.size(), 150u);
    for (const nimbo::WeatherObservation& o : records) {
        const auto values = Values(BuildStationModel(o));
        SCOPED_TRACE(o.station);
        EXPECT_EQ(values.at("cover"), o.cloudCoverCode ? std::to_string(*o.cloudCoverCode) : "/");
        if (o.nil) continue;
        EXPECT_EQ(values.count("temp") ? values.at("temp") : "-",
                  o.airTemperature ? Whole(*o.airTemperature) : "-");
        EXPECT_EQ(values.count("dewpoint") ? values.at("dewpoint") : "-",
                  o.dewPoint ? Whole(*o.dewPoint) : "-");
        if (o.seaLevelPressure) {
            char last3[8];
            std::snprintf(last3, sizeof last3, "%03ld",
                          std::lround(*o.seaLevelPressure * 10) % 1000);
            EXPECT_EQ(values.at("pressure"), last3);
        }
        if (!o.automaticWeatherCodes) {
            EXPECT_EQ(values.count("ww") != 0, o.presentWeatherCode && *o.presentWeatherCode > 3);
        }
    }
}

// wawa and Wa of automatic stations are plotted with the symbols of the
// manned figures that say the same; the plotted value stays what was reported.
TEST(PlottedValuesTest, AutomaticStationsWeatherTakesTheMannedSymbols) {
    const struct {
        int wawa, wa;
        std::optional<int> ww, w;
    } rows[] = {{62, 6, 63, 6}, {90, 9, 95, 9}, {30, 3, 45, 4}, {41, 4, {}, {}}, {0, 0, {}, {}}};
    for (const auto& row : rows) {
        nimbo::WeatherObservation automatic;
        automatic.automaticWeatherCodes = true;
        automatic.presentWeatherCode = row.wawa;
        automatic.pastWeather1Code = row.wa;
        nimbo::WeatherObservation manned;
        manned.presentWeatherCode = row.ww;
        manned.pastWeather1Code = row.w;
        const StationPlot plotted = BuildStationModel(automatic),
                          expected = BuildStationModel(manned);
        SCOPED_TRACE(row.wawa);
        ASSERT_EQ(plotted.items.size(), expected.items.size());
        for (std::size_t i = 0; i < plotted.items.size(); ++i) {
            EXPECT_EQ(plotted.items[i].part, expected.items[i].part);
            EXPECT_EQ(plotted.items[i].shapes.size(), expected.items[i].shapes.size());
        }
        const auto values = Values(plotted);
        EXPECT_EQ(values.count("ww") ? values.at("ww") : "-",
                  row.ww ? std::to_string(row.wawa) : "-");
    }
}

TEST(PlottedValuesTest, JanMayenAsAMeteorologistPlotsIt) {
    const auto records = DecodeFile(NIMBO_TEST_DATA_DIR "/synop/metno-kvnorcom/synop/data0600");
    const auto janMayen = std::find_if(records.begin(), records.end(),
                                       [](const auto& o) { return o.station == "01001"; });
    ASSERT_NE(janMayen, records.end());
    // 01001 11384 73302 10084 20071 30197 40208 56002 60012 70161 8457/
    const std::map<std::string, std::string> expected = {
        {"barb", "5"},        {"cover", "7"},      {"temp", "8"},       {"dewpoint", "7"},
        {"visibility", "84"}, {"pressure", "208"}, {"tendency", "-02"}, {"past", "6"},
        {"low", "5"},         {"middle", "7"}};
    EXPECT_EQ(Values(BuildStationModel(*janMayen)), expected);
}

TEST(PressureFiguresTest, LastThreeFiguresOfTenths) {
    EXPECT_EQ(PressureFigures(1013.2), "132");
    EXPECT_EQ(PressureFigures(998.7), "987");
    EXPECT_EQ(PressureFigures(1000.04), "000");
}

// The side panel gives weather and cloud codes with their tables' texts, in
// the tables of the station's kind; a figure without a text stays a figure.
TEST(StationReportTextTest, CodesCarryTheirTablesTexts) {
    nimbo::WeatherObservation manned;
    manned.station = "10400";
    manned.presentWeatherCode = 61;
    manned.pastWeather1Code = 6;
    manned.pastWeather2Code = 2;
    manned.lowCloudCode = 5;
    const std::string text = ReportText(manned);
    const auto line = [](const char* label, nimbo::CodeTable table, int figure, const char* code) {
        return std::string(label) + ": " + std::string(nimbo::CodeText(table, figure)) + " (" +
               code + ")\n";
    };
    EXPECT_NE(text.find(line("Present weather", nimbo::CodeTable::T4677_ww, 61, "ww 61")),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(line("Past weather", nimbo::CodeTable::T4561_W, 6, "W1 6")),
              std::string::npos);
    EXPECT_NE(text.find(line("Past weather", nimbo::CodeTable::T4561_W, 2, "W2 2")),
              std::string::npos);
    EXPECT_NE(text.find(line("Low clouds", nimbo::CodeTable::T0513_CL, 5, "CL 5")),
              std::string::npos);

    nimbo::WeatherObservation automatic = manned;
    automatic.automaticWeatherCodes = true;
    automatic.presentWeatherCode = 150;
    const std::string automaticText = ReportText(automatic);
    EXPECT_NE(automaticText.find("Present weather: wawa 150\n"), std::string::npos)
        << automaticText;
    EXPECT_NE(automaticText.find(line("Past weather", nimbo::CodeTable::T4531_Wa, 6, "Wa1 6")),
              std::string::npos);
}

}  // namespace
}  // namespace synoptic
