// Observation records of real reports (land, ship, mobile), field by field:
// every value the report gives, with its code figure, and nothing else; the
// text events stay as they were.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "decoder_test_support.h"
#include "weather_observation_interface.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;

class RecordingObservations : public _IWeatherObservationEvents {
  public:
    std::vector<WeatherObservation> records;
    ComponentRef<IWeatherObservationSource> source;
    std::uint32_t cookie = 0;

    ~RecordingObservations() override {
        if (source) source->Unadvise(cookie);
    }
    // Connects to the decoder's observation source.
    bool Listen(WeatherDecoder& decoder) {
        void* object = nullptr;
        if (decoder.QueryInterface(IWeatherObservationSource::kIid, &object) != S_OK) return false;
        source = ComponentRef<IWeatherObservationSource>(
            static_cast<IWeatherObservationSource*>(object));
        return source->Advise(this, &cookie) == S_OK;
    }
    void Observation(const WeatherObservation& observation) override {
        records.push_back(observation);
    }
};

// "name=value " for every present field, in declaration order.
std::string Describe(const WeatherObservation& o) {
    std::ostringstream out;
    const auto put = [&out](const char* name, const auto& value) {
        if (value) out << name << '=' << *value << ' ';
    };
    const auto text = [&out](const char* name, const std::string& value) {
        if (!value.empty()) out << name << '=' << value << ' ';
    };
    const auto flag = [&out](const char* name, bool value) {
        if (value) out << name << ' ';
    };
    const auto rain = [&](const char* name, const std::optional<PrecipitationAmount>& p) {
        if (!p) return;
        out << name << '(';
        put("mm", p->amountMm), flag("trace", p->trace), put("code", p->amountCode);
        put("h", p->periodHours), put("tR", p->periodCode);
        out << ") ";
    };
    text("kind", o.kind), text("station", o.station), text("name", o.name),
        text("country", o.country);
    text("region", o.region), put("lat", o.latitude), put("lon", o.longitude), flag("nil", o.nil);
    put("year", o.year), put("month", o.month), put("day", o.day), put("hour", o.hour);
    text("correction", o.correction), put("dir", o.windDirection), put("dd", o.windDirectionCode);
    flag("calm", o.windCalm), flag("variable", o.windVariable), put("ff", o.windSpeed);
    text("unit", o.windSpeedUnit), text("source", o.windSpeedSource), put("iw", o.windUnitCode);
    put("gust", o.gust), put("gustCode", o.gustCode), put("vis", o.visibilityM),
        put("VV", o.visibilityCode), flag("less", o.visibilityLessThan);
    put("oktas", o.cloudCoverOktas), put("N", o.cloudCoverCode), put("T", o.airTemperature);
    put("Td", o.dewPoint), put("RH", o.relativeHumidity), put("P0", o.stationPressure);
    put("P", o.seaLevelPressure), put("a3", o.geopotentialSurface),
        put("hhh", o.geopotentialHeight);
    put("ppp", o.pressureChange), put("a", o.tendencyCode), rain("rain1", o.precipitation);
    rain("rain3", o.precipitationSection3), rain("rain24", o.precipitation24h);
    put("ww", o.presentWeatherCode), put("W1", o.pastWeather1Code), put("W2", o.pastWeather2Code);
    flag("auto", o.automaticWeatherCodes), put("Nh", o.cloudAmountCode), put("CL", o.lowCloudCode);
    put("CM", o.middleCloudCode), put("CH", o.highCloudCode), put("Tx", o.maxTemperature);
    put("Tn", o.minTemperature), put("snow", o.snowDepthCm), put("Tw", o.seaTemperature);
    put("Pw", o.wavePeriodS), put("Hw", o.waveHeightM), flag("instrumented", o.wavesInstrumented);
    for (const auto& error : o.errors) out << "error=" << error << ' ';
    return out.str();
}

struct RecordCase {
    const char* name;
    const char* bulletin;  // real reports (tests/data/sections) under their heading
    const char* record;
};

void PrintTo(const RecordCase& c, std::ostream* out) { *out << c.name; }

class ObservationRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(ObservationRecordTest, HoldsTheReportsValues) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderRelax(1);
    RecordingObservations observations;
    ASSERT_TRUE(observations.Listen(harness.Decoder()));
    harness.Feed(GetParam().bulletin);
    ASSERT_EQ(observations.records.size(), 1u);
    EXPECT_EQ(Describe(observations.records[0]), GetParam().record);
    EXPECT_EQ(observations.source->Unadvise(observations.cookie), S_OK);
    observations.source.Reset();
}

INSTANTIATE_TEST_SUITE_P(
    RealReports, ObservationRecordTest,
    ::testing::Values(
        RecordCase{"Land",
                   "ZCZC 788\nSMNO91 DNMI 100600\nAAXX 10061\n"
                   "01001 11384 73302 10084 20071 30197 40208 56002 60012 70161 8457/\n"
                   "      333 20061 91105 555 02303 10086 435//=\n",
                   "kind=AAXX station=01001 name=Jan Mayen country=NORWAY region=VI: Europe "
                   "lat=70.56 lon=-8.4 year=2026 month=11 day=10 hour=6 dir=330 dd=33 ff=2 "
                   "unit=m/s source=anemometer "
                   "iw=1 gust=5 gustCode=911 vis=50000 VV=84 oktas=7 N=7 T=8.4 Td=7.1 P0=1019.7 "
                   "P=1020.8 ppp=-0.2 a=6 rain1(mm=1 code=1 h=12 tR=2 ) ww=1 W1=6 W2=1 Nh=4 CL=5 "
                   "CM=7 Tn=6.1 "},
        RecordCase{"Ship",
                   "ZCZC 779\nSMVF99 ENVV 100600\nBBXX\n"
                   "3FYT  10061 99608 10036 41498 81803 10132 20118 40102 52024\n"
                   "70322 8572/ 22200 06140 10402 70011=\n",
                   "kind=BBXX station=3FYT lat=60.8 lon=3.6 year=2026 month=11 day=10 hour=6 "
                   "dir=180 dd=18 ff=3 "
                   "unit=m/s source=anemometer iw=1 vis=20000 VV=98 oktas=8 N=8 T=13.2 Td=11.8 "
                   "P=1010.2 ppp=2.4 a=2 ww=3 W1=2 W2=2 Nh=5 CL=7 CM=2 Tw=14 Pw=4 Hw=1 "
                   "instrumented "},
        RecordCase{"MobileWithMissingValues",
                   "ZCZC 1\nSNCN19 CWAO 281802\nOOXX\n"
                   "NOP49 28161 99782 10154 ///// 04551\n     26/// ///// 1//// 29/// 3//// "
                   "91610 333 6///0=\n",
                   "kind=OOXX station=NOP49 lat=78.2 lon=15.4 year=2026 month=11 day=28 hour=16 "
                   "unit=m/s "
                   "source=anemometer iw=1 rain3(tR=0 ) "},
        RecordCase{"MalformedGroupListed",
                   "ZCZC 001\nSMIN90 VOMM 010000\nAAXX 01004\n"
                   "43361 32596 40000 1298 20274 30073 40079 82501 333 59004=\n",
                   "kind=AAXX station=43361 name=Tondi country=INDIA region=II: Asia lat=9.44 "
                   "lon=79.02 year=2026 month=12 day=1 hour=0 dd=0 calm ff=0 unit=kt "
                   "source=anemometer iw=4 vis=4000 "
                   "VV=96 oktas=4 N=4 Td=27.4 P0=1007.3 P=1007.9 Nh=2 CL=5 CM=0 CH=1 error=1298 "},
        // Buoy body in a land bulletin (phoenixlzx AAXX0514).
        RecordCase{"SeaBodyInALandBulletin",
                   "ZCZC 000\nSMCI10 BENJ 140000\nAAXX 14001\n62120 14004 99564 10021 46498 "
                   "/0304 10085 20062 40121 57005 22200 80073=\n",
                   "kind=BBXX station=62120 lat=56.4 lon=2.1 year=2026 month=11 day=14 hour=0 "
                   "dir=30 dd=3 ff=4 unit=kt source=anemometer iw=4 vis=20000 VV=98 T=8.5 "
                   "Td=6.2 P=1012.1 ppp=-0.5 a=7 "},
        // Tendency without its characteristic (AAXX1102), VV 00 (AAXX0602), a
        // correction; an invalid quadrant gives no position.
        RecordCase{"ValuesThatTheTablesLimit",
                   "ZCZC 1\nSMCI10 BENJ 021200 CCA\nAAXX 02121\n56385 31/00 90203 10106 "
                   "5/009=\n",
                   "kind=AAXX station=56385 name=Emei Shan country=CHINA region=II: Asia "
                   "lat=29.31 lon=103.2 year=2026 month=12 day=2 hour=12 correction=CCA dir=20 "
                   "dd=2 ff=3 unit=m/s source=anemometer iw=1 vis=100 VV=0 less N=9 T=10.6 "},
        // The Internet format's stamp dates the report (ogimet-wilmorales21).
        RecordCase{"StampedLine", "202005022300 AAXX 02231 86973 26/// /1204 10165==\n",
                   "kind=AAXX station=86973 name=Uruguaiana (86973- region=III: South America "
                   "lat=-29.5 lon=-57.04 year=2020 month=5 day=2 hour=23 dir=120 "
                   "dd=12 ff=4 unit=m/s source=anemometer iw=1 T=16.5 "},
        RecordCase{"QuadrantOutsideTheTable",
                   "ZCZC 1\nSMVX01 KWBC 061800\nBBXX\nPD8B 06184 99408 20635 41/// 22405=\n",
                   "kind=BBXX station=PD8B year=2026 month=12 day=6 hour=18 dir=240 dd=24 ff=5 "
                   "unit=kt source=anemometer iw=4 oktas=2 N=2 error=20635 "}),
    [](const auto& info) { return std::string(info.param.name); });

// Each record names its bulletin and BBB and keeps the report as received:
// the indicator, the land bulletin's time group, then the report's groups.
TEST(ObservationRecordTest, CarriesItsHeadingAndTheReportAsReceived) {
    DecoderHarness harness;
    RecordingObservations observations;
    ASSERT_TRUE(observations.Listen(harness.Decoder()));
    harness.Feed(
        "ZCZC 788\nSMNO91 DNMI 100600 CCA\nAAXX 10061\n"
        "01001 11384 73302 10084 20071 30197 40208 56002 60012 72161 8457/\n"
        "      333 20061 91105 555 02303 10086 435//=\n01007 NIL=\nNNNN\n"
        "ZCZC 779\nSMVF99 ENVV 100600\nBBXX\nLF3J 10064 99612 10023 41598 71814 10132=\nNNNN\n");
    ASSERT_EQ(observations.records.size(), 3u);
    const WeatherObservation& land = observations.records[0];
    EXPECT_EQ(land.heading, "SMNO91 DNMI 100600");
    EXPECT_EQ(land.correction, "CCA");
    EXPECT_EQ(land.report,
              "AAXX 10061 01001 11384 73302 10084 20071 30197 40208 56002 60012 72161 8457/ 333 "
              "20061 91105 555 02303 10086 435//=");
    EXPECT_EQ(observations.records[1].report, "AAXX 10061 01007 NIL=");
    EXPECT_EQ(observations.records[2].heading, "SMVF99 ENVV 100600");
    EXPECT_EQ(observations.records[2].correction, "");
    EXPECT_EQ(observations.records[2].report, "BBXX LF3J 10064 99612 10023 41598 71814 10132=");
}

// Text that never ends its report keeps its start, up to about a kilobyte, and
// its report end; the next report starts afresh.
TEST(ObservationRecordTest, AnOverlongReportKeepsItsStartAndItsEnd) {
    DecoderHarness harness;
    RecordingObservations observations;
    ASSERT_TRUE(observations.Listen(harness.Decoder()));
    std::string groups;
    for (int i = 0; i < 300; ++i) groups += " 12345";
    harness.Feed("ZCZC 1\nSMNO91 DNMI 100600\nAAXX 10061\n01001 11384 73302 555" + groups +
                 "=\n01007 NIL=\nNNNN\n");
    ASSERT_EQ(observations.records.size(), 2u);
    const std::string& report = observations.records[0].report;
    EXPECT_TRUE(report.starts_with("AAXX 10061 01001 11384 73302 555 12345 12345")) << report;
    EXPECT_TRUE(report.ends_with(" 12345=")) << report;
    EXPECT_LE(report.size(), 1024u);
    EXPECT_GT(report.size(), 1000u);
    EXPECT_EQ(observations.records[1].report, "AAXX 10061 01007 NIL=");
}

// An observation is built for the sinks connected where its report starts: a
// sink connected in the middle of a report hears from the next one on.
TEST(ObservationRecordTest, ASinkConnectedInAReportHearsFromTheNextOne) {
    DecoderHarness harness;
    RecordingObservations observations;
    harness.Feed("ZCZC 1\nSMNO91 DNMI 100600\nAAXX 10061\n01001 11384 73302 10084 20071 ");
    ASSERT_TRUE(observations.Listen(harness.Decoder()));
    harness.Feed("30197=\n01007 NIL=\nNNNN\n");
    ASSERT_EQ(observations.records.size(), 1u);
    EXPECT_EQ(observations.records[0].report, "AAXX 10061 01007 NIL=");
}

// The text events of a report are the same whether or not observations are heard.
TEST(ObservationRecordTest, TextEventsDoNotChange) {
    const std::string bulletin = testing::ReadTestData("synop/metno-kvnorcom/synop/data0600");
    DecoderHarness plain;
    plain.Feed(bulletin);
    DecoderHarness listened;
    RecordingObservations observations;
    ASSERT_TRUE(observations.Listen(listened.Decoder()));
    listened.Feed(bulletin);
    EXPECT_EQ(listened.Sink().Transcript(), plain.Sink().Transcript());
    std::size_t reports = 0;
    for (const auto& separator : plain.Sink().OfKind("Separator")) reports += separator.a == 1;
    EXPECT_EQ(observations.records.size(), reports);
}

}  // namespace
}  // namespace nimbo
