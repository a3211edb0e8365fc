// Observation dates: a report's day of the month belongs to the latest such
// day not after the reference date, across month and year ends, in the time
// lines; the reference date is a decoder property.
#include "observation_date.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "decoder_test_support.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;

TEST(ObservationDateTest, DayBelongsToTheLatestSuchDayNotAfterTheReference) {
    const struct {
        int day;
        const char* reference;
        const char* date;  // "" for none
    } cases[] = {
        {7, "2026-12-07", "2026-12-07"},  {8, "2026-12-07", "2026-11-08"},
        {31, "2027-01-01", "2026-12-31"}, {1, "2027-01-01", "2027-01-01"},
        {31, "2026-12-01", "2026-10-31"},  // November has no 31st
        {29, "2024-03-01", "2024-02-29"}, {30, "2024-03-01", "2024-01-30"},
        {29, "2023-03-01", "2023-01-29"}, {0, "2026-12-07", ""},
        {32, "2026-12-07", ""},
    };
    for (const auto& c : cases) {
        const auto date = DateOfDay(c.day, *ParseIsoDate(c.reference));
        EXPECT_EQ(date, ParseIsoDate(c.date)) << c.day << " before " << c.reference;
    }
    for (const char* text : {"2023-02-29", "2026-13-01", "2026-1-01", "26-12-07", ""})
        EXPECT_FALSE(ParseIsoDate(text)) << text;
}

// The year end and a short month, through the decoder's reference date.
TEST(ObservationDateTest, TimeLinesAcrossTheYearEnd) {
    for (const auto& [reference, lines] :
         {std::pair<std::string, std::string>{"2027-01-01",
                                              "Transmitted time:  31/12/2026 18:00 UTC\n"},
          {"2027-01-01", "Observation time:  31/12/2026 18:xx UTC\n"},
          {"2027-01-01", "Observation time:  01/01/2027 00:xx UTC\n"},
          {"2026-12-01", "Observation time:  31/10/2026 18:xx UTC\n"}}) {
        DecoderHarness harness;
        EXPECT_EQ(harness.Decoder().put_ReferenceDate(reference), S_OK);
        harness.Feed(
            "ZCZC 1\nSMDL01 EDZW 311800\nAAXX 31181\n10400 NIL=\nAAXX 01001\n10400 NIL=\n");
        EXPECT_NE(harness.Text().find(lines), std::string::npos) << reference << ": " << lines;
    }
}

TEST(ObservationDateTest, ReferenceDateIsTodayInUtcUnlessSet) {
    DecoderHarness harness;
    std::string value;
    harness.Decoder().get_ReferenceDate(&value);
    EXPECT_EQ(value, testing::kReferenceDate);
    EXPECT_EQ(harness.Decoder().put_ReferenceDate("2026-02-30"), E_INVALIDARG);
    EXPECT_EQ(harness.Decoder().put_ReferenceDate(""), S_OK);
    const CalendarDate today = UtcDate(std::time(nullptr));
    char report[64];
    std::snprintf(report, sizeof report, "AAXX %02d001\n10400 NIL=\n", today.day);
    harness.Feed(report);
    char line[64];
    std::snprintf(line, sizeof line, "/%02d/%04d 00:xx UTC", today.month, today.year);
    EXPECT_NE(harness.Text().find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace nimbo
