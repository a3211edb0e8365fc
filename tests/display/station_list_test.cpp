// Station list: projection onto the map picture, the first-value rules, the
// labels, the ring of 1000 records and the hover test.
#include "station_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "test_name.h"

namespace nimboview {
namespace {

struct ProjectionCase {
    double latitude;
    double longitude;
    MapPoint expected;
};

void PrintTo(const ProjectionCase& c, std::ostream* out) {
    *out << c.latitude << "/" << c.longitude;
}

class ProjectionTest : public ::testing::TestWithParam<ProjectionCase> {};

TEST_P(ProjectionTest, PlacesPositionOnMapPicture) {
    const auto& c = GetParam();
    EXPECT_EQ(StationList::Project(c.latitude, c.longitude), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, ProjectionTest,
    ::testing::Values(ProjectionCase{0.0, 0.0, {303, 152}}, ProjectionCase{51.5, -0.1, {303, 66}},
                      ProjectionCase{0.0, 179.0, {1, 152}}, ProjectionCase{0.0, 178.0, {599, 152}},
                      ProjectionCase{0.0, -180.0, {4, 152}}, ProjectionCase{-90.0, 0.0, {303, 304}},
                      ProjectionCase{90.0, 0.0, {303, 0}},
                      // Truncation toward zero on both sides of 0.
                      ProjectionCase{0.5, 0.5, {303, 152}}, ProjectionCase{-0.7, -0.7, {302, 153}}),
    [](const auto& info) {
        std::ostringstream name;
        name << "Lat" << info.param.latitude << "Lon" << info.param.longitude;
        return testsupport::TestName(name.str());
    });

TEST(ProjectionTest, FarOffValuesStayInRecordRange) {
    const MapPoint point = StationList::Project(-1e9, -1e9);
    EXPECT_EQ(point.x, -32768);
    EXPECT_EQ(point.y, 32767);
    const MapPoint nan = StationList::Project(std::nan(""), std::nan(""));
    EXPECT_EQ(nan, (MapPoint{0, 0}));
}

class StationListTest : public ::testing::Test {
  protected:
    void Add(const char* ident, const char* name = "", float lat = 0, float lng = 0) {
        m_list.AddPosition(lat, lng, ident, name);
    }
    const StationRecord& NewestRecord() const { return m_list.At(m_list.Newest()); }

    StationList m_list;
};

TEST_F(StationListTest, StartsEmptyAndIgnoresValuesBeforeAnyPosition) {
    EXPECT_EQ(m_list.DrawCount(), 0);
    EXPECT_EQ(m_list.Hovered(), -1);
    EXPECT_FALSE(m_list.MapWindowPosition());
    EXPECT_FALSE(m_list.SetTemperature(10.0f));
    EXPECT_FALSE(m_list.SetPressure(1000.0f));
    EXPECT_EQ(m_list.Newest(), -1);
}

TEST_F(StationListTest, StoresPositionAndCutsTexts) {
    Add("ABCDEFGHIJ", "A name longer than nineteen", 51.5f, -0.1f);
    const StationRecord& record = NewestRecord();
    EXPECT_EQ(record.ident, "ABCDEFG");
    EXPECT_EQ(record.name, "A name longer than ");
    EXPECT_EQ(record.x, 303);
    EXPECT_EQ(record.y, 66);
    EXPECT_EQ(record.size, 1);
    EXPECT_EQ(record.temperature, StationRecord::kNotReported);
    EXPECT_EQ(record.pressure, StationRecord::kNotReported);
}

TEST_F(StationListTest, OnlyFirstValuesCountRoundedHalfAway) {
    Add("ABC");
    EXPECT_TRUE(m_list.SetTemperature(-3.25f));
    EXPECT_FALSE(m_list.SetTemperature(20.0f));
    EXPECT_TRUE(m_list.SetPressure(1013.25f));
    EXPECT_FALSE(m_list.SetPressure(990.0f));
    EXPECT_EQ(NewestRecord().temperature, -33);
    EXPECT_EQ(NewestRecord().pressure, 10133);
    Add("DEF");
    EXPECT_TRUE(m_list.SetTemperature(3.25f));
    EXPECT_EQ(NewestRecord().temperature, 33);
}

TEST_F(StationListTest, ValuesThatWouldLookUnreportedOrOverflowAreKeptInRange) {
    Add("ABC");
    EXPECT_TRUE(m_list.SetTemperature(3276.7f));
    EXPECT_EQ(NewestRecord().temperature, 32766);
    Add("DEF");
    EXPECT_TRUE(m_list.SetPressure(1e9f));
    EXPECT_EQ(NewestRecord().pressure, 32766);
    Add("GHI");
    EXPECT_FALSE(m_list.SetTemperature(std::nanf("")));
}

struct LabelCase {
    std::int16_t temperature;
    std::int16_t pressure;
    const char* expected;
};

void PrintTo(const LabelCase& c, std::ostream* out) { *out << c.expected; }

class LabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelTest, ShowsReportedValues) {
    StationRecord record;
    record.ident = "ABC";
    record.temperature = GetParam().temperature;
    record.pressure = GetParam().pressure;
    EXPECT_EQ(StationList::Label(record), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LabelTest,
    ::testing::Values(LabelCase{-33, 10133, "ABC [-3.3/1013.3]"},
                      LabelCase{32767, 10133, "ABC [1013.3]"}, LabelCase{-33, 32767, "ABC [-3.3]"},
                      LabelCase{32767, 32767, "ABC"}, LabelCase{5, 9980, "ABC [0.5/998.0]"},
                      // At the limits the values no longer show.
                      LabelCase{1000, 11200, "ABC"}, LabelCase{999, 11199, "ABC [99.9/1119.9]"}),
    [](const auto& info) {
        return testsupport::TestName("T" + std::to_string(info.param.temperature) + "_P" +
                                     std::to_string(info.param.pressure));
    });

TEST(HoverLabelTest, AddsNameWhenKnown) {
    StationRecord record;
    record.ident = "01028";
    record.name = "Bjornoya";
    record.temperature = 12;
    EXPECT_EQ(StationList::HoverLabel(record), "01028 [1.2] (Bjornoya)");
    record.name.clear();
    EXPECT_EQ(StationList::HoverLabel(record), "01028 [1.2]");
}

TEST(LabelPlacementTest, GoesLeftOfMarkerNearRightEdge) {
    EXPECT_EQ(StationList::LabelLeft(100, 50, 600), 105);
    EXPECT_EQ(StationList::LabelLeft(545, 50, 600), 550);  // ends exactly at the edge
    EXPECT_EQ(StationList::LabelLeft(546, 50, 600), 491);
}

// The newest record is not drawn as an old one until the ring wraps.
TEST_F(StationListTest, RingWrapsAfterThousandPositions) {
    Add("A");
    EXPECT_EQ(m_list.DrawCount(), 0);
    for (int i = 1; i < 1000; ++i) Add("S");
    EXPECT_EQ(m_list.Newest(), 999);
    EXPECT_FALSE(m_list.Wrapped());
    EXPECT_EQ(m_list.DrawCount(), 999);
    Add("NEW", "", 10.0f, 10.0f);
    EXPECT_EQ(m_list.Newest(), 0);
    EXPECT_TRUE(m_list.Wrapped());
    EXPECT_EQ(m_list.DrawCount(), 1000);
    EXPECT_EQ(m_list.At(0).ident, "NEW");
}

TEST_F(StationListTest, HoverFindsNearestStationWithinSixPixels) {
    Add("A", "", 0.0f, 0.0f);    // (303, 152)
    Add("B", "", 0.0f, 0.0f);    // same place, later
    Add("D", "", 0.0f, 4.0f);    // (309, 152)
    Add("C", "", 30.0f, 30.0f);  // newest: not hoverable before the wrap
    EXPECT_TRUE(m_list.HoverAt(310, 150));
    EXPECT_EQ(m_list.Hovered(), 2);  // D is nearer than A and B
    EXPECT_TRUE(m_list.HoverAt(305, 146));
    EXPECT_EQ(m_list.Hovered(), 0);
    EXPECT_FALSE(m_list.HoverAt(297, 158));  // same station again: no repaint
    EXPECT_FALSE(m_list.HoverAt(316, 152));  // left without a label shown
    EXPECT_EQ(m_list.Hovered(), -1);
    // Placed by a zoomed view, the reach is the same in window pixels.
    const auto zoomed = [](const StationRecord& r) {
        return std::pair<double, double>(r.longitude * 10 + 50, 50 - r.latitude * 10);
    };
    EXPECT_TRUE(m_list.HoverAt(56, 44, zoomed));
    EXPECT_EQ(m_list.Hovered(), 0);
    EXPECT_FALSE(m_list.HoverAt(57, 50, zoomed));  // 7 pixels off, no label shown
    EXPECT_EQ(m_list.Hovered(), -1);
}

TEST_F(StationListTest, LeavingShownHoverLabelRepaints) {
    Add("A", "", 0.0f, 0.0f);
    Add("B", "", 40.0f, 40.0f);
    ASSERT_TRUE(m_list.HoverAt(303, 152));
    m_list.SetHoverLabelShown();
    EXPECT_TRUE(m_list.HoverAt(0, 0));
    EXPECT_EQ(m_list.Hovered(), -1);
    EXPECT_FALSE(m_list.HoverAt(1, 1));
}

}  // namespace
}  // namespace nimboview
