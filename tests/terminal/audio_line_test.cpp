// The sound input as the line: the line settings as demodulator settings,
// the choice between serial device and sound input, and what the window
// sees when the input goes away.
#include "audio_line.h"

#include <gtest/gtest.h>

#include "audio_port.h"
#include "line_control.h"
#include "line_demod_settings.h"
#include "line_panels.h"
#include "line_switch.h"
#include "modulator.h"
#include "port_discovery.h"
#include "recording_line_view.h"
#include "scripted_audio_input.h"
#include "scripted_prompts.h"

namespace dovrel {
namespace {

// One row: the line's speed, stop code, data bits, parity code; what the
// demodulator is to be given.
struct MappingRow {
    const char* name;
    std::int32_t baud;
    std::uint8_t stop, data, parity;
    double demodBaud, stopBits;
    int dataBits;
    modem::Parity parityOut;
};

const MappingRow kMappings[] = {
    {"Telex45StandsFor45_45", 45, 1, 5, 0, 45.45, 1.5, 5, modem::Parity::None},
    {"TelexIgnoresParity", 50, 0, 5, 2, 50, 1.0, 5, modem::Parity::None},
    {"Ascii7Odd", 75, 2, 7, 1, 75, 2.0, 7, modem::Parity::Odd},
    {"Ascii7Even", 100, 1, 7, 2, 100, 1.5, 7, modem::Parity::Even},
    {"Ascii8Mark", 110, 0, 8, 3, 110, 1.0, 8, modem::Parity::Mark},
    {"Ascii8Space", 300, 2, 8, 4, 300, 2.0, 8, modem::Parity::Space},
    {"OutOfRangeCodesKeepDefaults", 150, 9, 6, 9, 150, 1.5, 5, modem::Parity::None},
};

TEST(DemodMapping, PanelsSetTheDemodulatorAsTheySetASerialLine) {
    for (const MappingRow& row : kMappings) {
        SCOPED_TRACE(row.name);
        LineSettings line;
        line.Baud = row.baud;
        line.Stop = row.stop;
        line.Data = row.data;
        line.Parity = row.parity;
        line.Shift = 170;
        const modem::DemodSettings s = DemodSettingsOf(line);
        EXPECT_DOUBLE_EQ(s.baud, row.demodBaud);
        EXPECT_DOUBLE_EQ(s.stopBits, row.stopBits);
        EXPECT_EQ(s.dataBits, row.dataBits);
        EXPECT_EQ(s.parity, row.parityOut);
        EXPECT_DOUBLE_EQ(s.shiftHz, 170);
        EXPECT_EQ(s.polarity, modem::Polarity::Automatic);
        EXPECT_EQ(AudioSettingsProblem(line), "");
    }
}

TEST(AudioPort, NamesPanelTextsAndSettingsItCannotTake) {
    LineSettings line;
    line.PortName = "audio:USB Audio CODEC Mono";
    EXPECT_TRUE(IsAudioPort(line));
    EXPECT_EQ(PortPanelText(line), "USB Audio CODEC Mono");
    line.PortName = "audio:file:/tmp/x/rec.wav";
    EXPECT_EQ(AudioFileOf(AudioInputOf(line)), "/tmp/x/rec.wav");
    EXPECT_EQ(PortPanelText(line), "rec.wav");
    line.PortName = "audio:";
    EXPECT_FALSE(IsAudioPort(line));
    line.PortName = "/dev/audio:x";
    EXPECT_FALSE(IsAudioPort(line));
    // The "Bauds" panel reaches speeds no demodulator setting covers.
    line.Baud = 600;
    EXPECT_NE(AudioSettingsProblem(line), "");
    line.Baud = 50;
    line.Shift = 0;
    EXPECT_NE(AudioSettingsProblem(line), "");
    // The tuning strip's right click steps through the services' shifts.
    const std::pair<std::int32_t, std::int32_t> shifts[] = {
        {85, 170}, {425, 450}, {450, 850}, {850, 85}, {100, 170}, {0, 85}, {5000, 85}};
    for (const auto& [from, to] : shifts) EXPECT_EQ(NextShift(from), to) << from;
}

TEST(AudioPort, PortDialogListsSoundInputsAfterTheSerialPorts) {
    PortList list;
    list.entries.push_back({"/dev/ttyUSB0", PortUse::Free, "/dev/ttyUSB0"});
    LineSettings current;
    current.PortName = "audio:Line In";
    AppendAudioInputs(list, {"Line In", "default", "Mic"}, current, "audio:Line In");
    std::string labels;
    for (const PortEntry& entry : list.entries) labels += entry.label + "|";
    EXPECT_EQ(labels, "/dev/ttyUSB0|audio:default|=audio:Line In|audio:Mic|");
    EXPECT_EQ(list.selected, 2);
    const LineSettings chosen = ChoosePort(current, list.entries[3], false, false);
    EXPECT_EQ(chosen.PortName, "audio:Mic");
    EXPECT_EQ(chosen.Port, 0);
}

class AudioLineTest : public ::testing::Test {
  protected:
    AudioLineTest() {
        m_control.Settings().PortName = "audio:test";
        m_control.Settings().Data = 5;
    }
    test::ScriptedAudioOpener m_opener;
    SerialLine m_serial{""};
    AudioLine m_audio{m_opener};
    LineSwitch m_switch{m_serial, m_audio};
    testing::ScriptedBox m_box;
    testing::RecordingView m_view;
    LineControl m_control{m_switch, SettingsContext(SettingsStore("/nonexistent"), "x"), m_box,
                          m_view};
};

TEST_F(AudioLineTest, ConnectOpensTheInputAndPanelClicksOnlyResetTheDemodulator) {
    ASSERT_TRUE(m_control.Connect());
    EXPECT_TRUE(m_switch.IsAudio());
    EXPECT_EQ(m_view.Last().StatusText, "CONNECTED");
    EXPECT_EQ(m_view.Last().Port, "test");
    EXPECT_EQ(m_switch.OpenName(), "audio:test");
    for (const char* panel : {"Stops", "Mode", "Shift"})
        EXPECT_TRUE(m_control.ClickPanel(panel, PanelButton::Left, false)) << panel;
    EXPECT_EQ(m_opener.state.opens, 1);
    ASSERT_NE(m_audio.Demodulator(), nullptr);
    EXPECT_DOUBLE_EQ(m_audio.Demodulator()->Settings().stopBits, 2.0);
    EXPECT_EQ(m_audio.Demodulator()->Settings().dataBits, 7);
    EXPECT_DOUBLE_EQ(m_audio.Demodulator()->Settings().shiftHz, 850);
    // The polarity choice reaches the demodulator and the store.
    m_control.SetPolarity(2);
    EXPECT_EQ(m_audio.Demodulator()->Settings().polarity, modem::Polarity::Reverse);
    EXPECT_TRUE(m_audio.Demodulator()->Settings().mendShifts);
    m_control.SetMendShifts(false);
    EXPECT_FALSE(m_audio.Demodulator()->Settings().mendShifts);
    EXPECT_EQ(m_opener.state.opens, 1);
    // Receive only: the sending side finds nothing to write to.
    EXPECT_FALSE(m_switch.Write("RY"));
    EXPECT_FALSE(m_serial.IsOpen());
}

TEST_F(AudioLineTest, SilenceGivesNothingAndALostInputShowsDisconnected) {
    ASSERT_TRUE(m_control.Connect());
    m_opener.state.pending.assign(8000, 0.0f);
    EXPECT_EQ(m_control.ReadReceived(), "");
    EXPECT_TRUE(m_box.shown.empty());
    m_opener.state.lost = true;
    m_control.ReadReceived();
    EXPECT_FALSE(m_switch.IsOpen());
    EXPECT_EQ(m_view.Last().StatusText, "DISCONNECTED");
    ASSERT_EQ(m_box.shown.size(), 1u);
    EXPECT_EQ(m_box.Texts()[0], "Sound input test lost");
}

TEST_F(AudioLineTest, AnUnknownInputASpeedOrARateItCannotTakeFailsWithItsReason) {
    m_control.Settings().PortName = "audio:gone";
    EXPECT_FALSE(m_control.Connect());
    m_control.Settings().PortName = "audio:test";
    m_control.Settings().Baud = 1200;
    EXPECT_FALSE(m_control.Connect());
    m_control.Settings().Baud = 50;
    m_opener.state.rate = 0;
    EXPECT_FALSE(m_control.Connect());
    EXPECT_EQ(m_box.Texts(),
              (std::vector<std::string>{"Sound input not found: gone",
                                        "Sound input cannot receive 1200 bauds (45 to 300)",
                                        "Sound input test gives no sample rate"}));
    EXPECT_EQ(m_view.Last().StatusText, "DISCONNECTED");
}

// Rates the demodulator does not take directly are resampled; the end of a
// recording is shown once, with the line still open.
TEST_F(AudioLineTest, AnyRateIsReceivedAndTheEndOfARecordingIsShown) {
    const std::vector<std::uint8_t> codes = {0x0a, 0x15, 0x0a, 0x15, 0x0a, 0x15, 0x0a, 0x15};
    for (const double rate : {6000.0, 96000.0, 384000.0}) {
        modem::Modulator modulator(rate, modem::ModSettings{});
        m_opener.state = {};
        m_opener.state.rate = rate;
        modulator.Idle(50, m_opener.state.pending);
        for (int i = 0; i < 5; ++i) modulator.Send(codes, m_opener.state.pending);
        ASSERT_TRUE(m_control.Connect()) << rate;
        const std::string got = m_control.ReadReceived();
        EXPECT_NE(got.find(std::string(codes.begin(), codes.end())), std::string::npos) << rate;
        m_control.Disconnect();
    }
    ASSERT_TRUE(m_control.Connect());
    m_opener.state.ended = true;
    m_control.ReadReceived();
    EXPECT_EQ(m_view.Last().StatusText, "END OF RECORDING");
    EXPECT_TRUE(m_view.Last().connected);
    EXPECT_TRUE(m_view.Last().ended);
}

}  // namespace
}  // namespace dovrel
