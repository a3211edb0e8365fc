// Program-wide settings: defaults, unusual readings, line settings round trip.
#include "terminal_settings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <tuple>

#include "temp_dir.h"

namespace dovrel {
namespace {

class TerminalSettingsTest : public ::testing::Test {
  protected:
    SettingsContext Context() const {
        return SettingsContext(SettingsStore(m_dir.Path()), "Quarnel");
    }

    testing::TempDir m_dir;
};

TEST_F(TerminalSettingsTest, Defaults) {
    const TerminalSettings s = LoadTerminalSettings(Context());
    EXPECT_EQ(s.WaitTime, 10);
    EXPECT_DOUBLE_EQ(s.FontSize, 8.25);
    EXPECT_TRUE(s.ObsArchive);  // on unless switched off
    EXPECT_EQ(s.DecoderFontZoom, 0);
    const LineSettings line = LoadLineSettings(Context());
    EXPECT_EQ(std::make_tuple(int(line.Baud), int(line.Data), int(line.Stop)),
              std::make_tuple(50, 5, 1));
}

TEST_F(TerminalSettingsTest, StoredValuesAndSpecialReadings) {
    const SettingsContext c = Context();
    c.WriteSwitch("TelexCrl", true, -1);
    c.WriteSwitch("AutoSynop", true, 1);
    c.WriteInt("TelexUOS", 300);  // out of a byte's range: default kept
    c.WriteInt("TelexCod", 3);
    c.WriteText("FontSize", "11.25");
    c.WriteInt("Baud", 0);
    c.WriteInt("Data", 0);
    c.WriteInt("DecoderFontZoom", 41);  // beyond the zoom's limit
    const TerminalSettings s = LoadTerminalSettings(c);
    EXPECT_TRUE(s.TelexCrl);
    EXPECT_TRUE(s.AutoSynop);
    EXPECT_EQ(s.TelexUOS, 0);
    EXPECT_EQ(s.TelexCod, 3);
    EXPECT_DOUBLE_EQ(s.FontSize, 11.25);
    EXPECT_EQ(s.DecoderFontZoom, 40);
    const LineSettings line = LoadLineSettings(c);
    EXPECT_EQ(line.Baud, 45);
    EXPECT_EQ(line.Data, 5);
}

TEST_F(TerminalSettingsTest, FontSizeIgnoresLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may not exist; harmless then
    EXPECT_DOUBLE_EQ(ParseFontSize("18.75"), 18.75);
    EXPECT_DOUBLE_EQ(ParseFontSize("18,75"), 8.25);
    EXPECT_DOUBLE_EQ(ParseFontSize("-3"), 8.25);
    EXPECT_DOUBLE_EQ(ParseFontSize(""), 8.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(FormatFontSize(8.25), "8.25");
    EXPECT_EQ(FormatFontSize(11.25), "11.25");
    EXPECT_EQ(FormatFontSize(10), "10");
    // Zoom steps of one point, never below 4 points nor beyond 40 steps.
    EXPECT_EQ(StepZoom(0, 1, 8.25), 1);
    EXPECT_EQ(StepZoom(-4, -1, 8.25), -4);
    EXPECT_DOUBLE_EQ(ZoomedFontSize(8.25, -4), 4.25);
    EXPECT_EQ(StepZoom(40, 1, 8.25), 40);
    EXPECT_EQ(StepZoom(7, 0, 8.25), 0);
    EXPECT_EQ(ClampZoom(-41), -40);
}

TEST_F(TerminalSettingsTest, LineSettingsRoundTrip) {
    const LineSettings line{.Port = 2,
                            .Baud = 75,
                            .Parity = 3,
                            .Data = 8,
                            .Stop = 2,
                            .DTR = true,
                            .PortName = "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"};
    ASSERT_TRUE(SaveLineSettings(Context(), line));
    const LineSettings back = LoadLineSettings(Context());
    EXPECT_EQ(std::tie(back.Port, back.Baud, back.Parity, back.Data, back.Stop, back.DTR, back.RTS,
                       back.PortName),
              std::tie(line.Port, line.Baud, line.Parity, line.Data, line.Stop, line.DTR, line.RTS,
                       line.PortName));
}

}  // namespace
}  // namespace dovrel
