// Typed sending for the three line codes and function-key macros: names,
// "/" notation, item readings, labels, and stopping when the line closes.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "macro_keys.h"
#include "sender.h"
#include "temp_dir.h"

namespace dovrel {
namespace {

// A line that records what is written and can close after some bytes.
class RecordingLine : public LineOutput {
  public:
    bool IsOpen() const override { return open; }
    bool Write(std::string_view bytes) override {
        if (!open) return false;
        sent.append(bytes);
        if (closeAfter > 0 && sent.size() >= closeAfter) open = false;
        return true;
    }
    bool open = true;
    std::size_t closeAfter = 0;
    std::string sent;
};

class SendTest : public ::testing::Test {
  protected:
    int Type(int ch, std::uint8_t dataBits) {
        return m_sender.SendConvert(ch, dataBits, m_alphabet);
    }

    RecordingLine m_line;
    TelexState m_state;
    int m_beeps = 0;
    std::uint8_t m_alphabet = 0;
    Sender m_sender{m_line, m_state, [this] { ++m_beeps; }};
};

// What one typed character sends for each line code: 7 bits clear the top
// bit, no code carries the euro sign, a data size of 6 is no line code.
TEST_F(SendTest, ATypedCharacterPerLineCode) {
    // Typed, data bits, returned, sent, beeps.
    const std::tuple<int, std::uint8_t, int, std::string, int> rows[] = {
        {'A', 8, 'A', "A", 0}, {200, 7, 200, "\x48", 0}, {0x20AC, 8, 0, "", 1},
        {0x20AC, 7, 0, "", 1}, {0x20AC, 5, 0, "", 1},    {0x7E, 5, 0, "", 1},
        {'A', 6, 'A', "", 0}};
    for (const auto& [ch, dataBits, returned, sent, beeps] : rows) {
        m_line.sent.clear();
        m_beeps = 0;
        EXPECT_EQ(Type(ch, dataBits), returned) << ch << "/" << int(dataBits);
        EXPECT_EQ(std::pair(m_line.sent, m_beeps), std::pair(sent, beeps))
            << ch << "/" << int(dataBits);
    }
}

TEST_F(SendTest, CrEmptiesTheBoxAndIsTheCarriageReturnCodeInTelex) {
    for (std::uint8_t dataBits : {8, 5}) {
        int key = 'A';
        EXPECT_FALSE(m_sender.SendBoxKey(key, dataBits, m_alphabet));
        EXPECT_EQ(key, 'A');
        key = 13;
        EXPECT_TRUE(m_sender.SendBoxKey(key, dataBits, m_alphabet));
    }
    EXPECT_EQ(m_line.sent, std::string("A\r\x1f\x03\x1b\x08", 6));  // CR goes in figures
}

TEST_F(SendTest, TelexSendsShiftCodesOnlyWhenTheShiftChanges) {
    // Starts in figures: the first letter needs LTRS (31) first.
    Type('R', 5);
    Type('Y', 5);
    Type('1', 5);
    EXPECT_EQ(m_line.sent, std::string("\x1f\x0a\x15\x1b\x17", 5));
}

TEST_F(SendTest, AClosedLineSwallowsSilentlyAndKeepsTheShift) {
    m_line.open = false;
    EXPECT_EQ(Type('A', 5), 0);
    EXPECT_EQ(m_beeps, 0);
    EXPECT_EQ(m_state.TxShift, Shift::Figures);
    // Once open, the first letter still gets its LTRS.
    m_line.open = true;
    Type('A', 5);
    EXPECT_EQ(m_line.sent, "\x1f\x03");
}

TEST(MacroName, ModifierSuffixes) {
    EXPECT_EQ(MacroName(1, false, false) + MacroName(5, true, false) + MacroName(12, false, true) +
                  MacroName(1, true, true) + MacroName(0, false, false) +
                  MacroName(13, false, false),
              "F1F5SF12CF1SC");
}

TEST(MacroParse, ItemsAndTheirReadings) {
    using namespace std::string_literals;
    const std::pair<const char*, std::string> rows[] = {
        {"/4E/4E/4E/4E/0D/0A", "NNNN\r\n"s},
        {"/4E//0D/", "\x4E\x0D"s},  // empty items skipped
        {"/", ""s},                 // one character: nothing
        {"", ""s},
        {"41/42", ""s},  // must begin with "/"
        {"/41/42", "AB"s},
        {"/4e/ff/0", "\x4e\xff\x00"s},  // either case; one digit
        {"/4EZZ", "\x4E"s},             // reading stops at a non-digit
        {"/ZZ", "\x00"s},               // no digits: a zero byte
        {"/100/41", "A"s},              // not a byte: skipped
        {"/FFFF/41", "A"s},             // 16-bit negative: skipped
        {"/80000000/41", "A"s},         // 32-bit negative: skipped
        {"/000041", "A"s},              // leading zeros
        {"/ 4 1", "A"s},                // blanks ignored
        {"//", ""s},
    };
    for (const auto& [text, bytes] : rows) {
        const std::vector<std::uint8_t> got = ParseMacro(text);
        EXPECT_EQ(std::string(got.begin(), got.end()), bytes) << text;
    }
}

class MacroKeyTest : public ::testing::Test {
  protected:
    SettingsContext Store() const {
        return SettingsContext(SettingsStore(m_dir.Path()), "Quarnel");
    }

    testing::TempDir m_dir;
    RecordingLine m_line;
};

TEST_F(MacroKeyTest, ShiftF5WithoutALabelShowsItsNameAndSendsItsBytesReadAtEveryPress) {
    Store().WriteText("F5S", "/41/42");
    const MacroOutcome out = RunMacroKey(5, true, false, Store(), m_line);
    EXPECT_TRUE(out.ran);
    EXPECT_EQ(out.timePanel, "F5S ");
    EXPECT_EQ(out.bytesSent, 2u);
    Store().WriteText("F5S", "/43");
    RunMacroKey(5, true, false, Store(), m_line);
    EXPECT_EQ(m_line.sent, "ABC");
}

TEST_F(MacroKeyTest, ShiftCtrlReadsOnlyTheSCValue) {
    Store().WriteText("F1S", "/53");
    Store().WriteText("F1C", "/43");
    Store().WriteText("F1SC", "/5A");
    Store().WriteText("F1SC_", "both");
    const MacroOutcome out = RunMacroKey(1, true, true, Store(), m_line);
    EXPECT_EQ(m_line.sent, "Z");
    EXPECT_EQ(out.timePanel, "both ");
}

TEST_F(MacroKeyTest, MissingOrMalformedMacrosDoNothing) {
    Store().WriteText("F3", "/");
    Store().WriteText("F4", "41");
    for (int key : {3, 4, 6}) {
        const MacroOutcome out = RunMacroKey(key, false, false, Store(), m_line);
        EXPECT_FALSE(out.ran) << key;
        EXPECT_EQ(out.timePanel, "");
    }
    EXPECT_EQ(m_line.sent, "");
}

TEST_F(MacroKeyTest, ALineClosedBeforeOrDuringTheMacroStopsIt) {
    Store().WriteText("F8", "/41/42/43/44");
    m_line.closeAfter = 2;
    EXPECT_EQ(RunMacroKey(8, false, false, Store(), m_line).bytesSent, 2u);
    EXPECT_EQ(m_line.sent, "AB");
    const MacroOutcome out = RunMacroKey(8, false, false, Store(), m_line);
    EXPECT_TRUE(out.ran);  // the label is shown all the same
    EXPECT_EQ(out.timePanel, "F8 ");
    EXPECT_EQ(out.bytesSent, 0u);
}

TEST_F(MacroKeyTest, TheDefaultF12IsStoredOnlyWhenEmpty) {
    StoreDefaultF12(Store());
    EXPECT_EQ(Store().ReadText("F12"), "/4E/4E/4E/4E/0D/0A");
    EXPECT_EQ(Store().ReadText("F12_"), "NNNN");
    Store().WriteText("F12", "/41");
    Store().WriteText("F12_", "mine");
    StoreDefaultF12(Store());
    EXPECT_EQ(Store().ReadText("F12"), "/41");
    EXPECT_EQ(Store().ReadText("F12_"), "mine");
    RunMacroKey(12, false, false, Store(), m_line);
    EXPECT_EQ(m_line.sent, "A");
}

}  // namespace
}  // namespace dovrel
