// Telex coding: ITA2 decoding in every mode, encoding, display filter.
#include "telex_coding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "telex_panels.h"

namespace dovrel {
namespace {

using namespace std::string_literals;

constexpr std::uint8_t F = kCodeFigs;
constexpr std::uint8_t L = kCodeLtrs;

class TelexTest : public ::testing::Test {
  protected:
    // Decodes codes as the receive path does and returns the raw characters.
    std::string Decode(const std::vector<std::uint8_t>& codes) {
        std::string out;
        for (std::uint8_t c : codes) out += TelexDecode(c, alphabet, mode, state);
        return out;
    }
    // Decodes and filters, as shown in the pane.
    std::string Show(const std::vector<std::uint8_t>& bytes, TelexOptions& options) {
        std::string out;
        for (std::uint8_t b : bytes) {
            std::string ch = DecodeLineByte(b, options, state);
            out +=
                DisplayFilter(ch, options.rawCrLf, options.bellBeeps, state, [this] { ++beeps; });
        }
        return out;
    }
    std::string Encode(const std::string& text) {
        std::string out;
        for (unsigned char c : text) {
            int ch = c;
            out += TelexEncode(ch, alphabet, state);
        }
        return out;
    }

    TelexState state;
    std::uint8_t alphabet = 0;
    std::uint8_t mode = 0;
    int beeps = 0;
};

// The two alphabets differ only in figures shift (spot checks: codes 5 and
// 20); the round trip below decodes every letter and figure it encodes.
TEST_F(TelexTest, TheAlphabetsDifferInFigures) {
    EXPECT_EQ(Decode({L, 0, 1, 2, 3, 4}), "E\nA ");
    const std::pair<std::uint8_t, std::string> figures[] = {
        {5, "'"}, {20, "$"}, {5, "\a"}, {20, "#"}};
    for (int i = 0; i < 4; ++i) {
        alphabet = i < 2 ? 0 : 1;
        EXPECT_EQ(Decode({F, figures[i].first}), figures[i].second) << i;
    }
}

TEST_F(TelexTest, ShiftCodesAndMasking) {
    EXPECT_EQ(Decode({3, F, 3, L, 3}), "A-A");
    std::uint8_t code = 0xE3;  // high bits are line noise
    EXPECT_EQ(TelexDecode(code, alphabet, mode, state), "A");
    EXPECT_EQ(code, 3);
}

TEST_F(TelexTest, ModesChangeShift) {
    const std::pair<std::uint8_t, std::vector<std::uint8_t>> rows[] = {
        {kModeUnshiftOnSpace, {F, 23, 4, 23}},
        {kModeNormal, {F, 23, 4, 23}},
        {kModeFiguresOnSpace, {L, 23, 4, 23}},
        {kModeFiguresOnly, {L, 1}},
        {kModeLettersOnly, {F, 1}}};
    const char* shown[] = {"1 Q", "1 1", "Q 1", "3", "E"};
    for (int i = 0; i < 5; ++i) {
        mode = rows[i].first;
        EXPECT_EQ(Decode(rows[i].second), shown[i]) << i;
    }
}

TEST_F(TelexTest, AlphabetAboveOneBecomesIta2AtFirstCharacter) {
    alphabet = 3;
    EXPECT_EQ(AlphabetName(alphabet), "CYR");
    EXPECT_EQ(Decode({F, 5}), "'");
    EXPECT_EQ(alphabet, 0);
    alphabet = 4;
    int ch = 'A';
    TelexEncode(ch, alphabet, state);
    EXPECT_EQ(alphabet, 0);
}

TEST_F(TelexTest, EncodeShiftlessCodesInFigures) {
    state.TxShift = Shift::Letters;
    EXPECT_EQ(Encode("a"), std::string({3}));
    EXPECT_EQ(Encode(" "), std::string({F, 4}));
    EXPECT_EQ(state.TxShift, Shift::Figures);
    EXPECT_EQ(Encode("\r\n"), std::string({8, 2}));
    state.TxShift = Shift::Letters;
    EXPECT_EQ(Encode("_"), std::string({F, 0}));
    EXPECT_EQ(Encode("\x7f"), std::string({0}));  // DEL lowers to "_"
}

TEST_F(TelexTest, EncodeRefusesWhatTheAlphabetLacks) {
    struct Case {
        int ch;
        std::uint8_t alphabet;
        bool sendable;
    };
    const Case cases[] = {
        {'%', 0, false}, {'<', 0, false}, {'[', 0, false},  {'{', 0, false}, {'`', 0, false},
        {7, 0, false},   {9, 0, false},   {0xE9, 0, false}, {'@', 0, true},  {'@', 1, false},
        {'!', 1, true},  {'!', 0, false}, {'$', 0, true},   {'$', 1, true},  {';', 1, true},
        {';', 0, false}, {'&', 1, true},  {'&', 0, false},  {'"', 1, true},  {'"', 0, false},
    };
    for (const Case& c : cases) {
        int ch = c.ch;
        std::uint8_t a = c.alphabet;
        const std::string codes = TelexEncode(ch, a, state);
        EXPECT_EQ(!codes.empty(), c.sendable) << "char " << c.ch << " alphabet " << int(c.alphabet);
        EXPECT_EQ(ch != 0, c.sendable) << "char " << c.ch;
    }
}

TEST_F(TelexTest, RoundTripInBothAlphabetsAfterAnyShiftHistory) {
    const std::string ita2 =
        "ZCZC 775\r\nSMNO91 DNMI 100600\r\n01001 11384 73302 8457/=\r\n"
        "THE QUICK BROWN FOX (3/4) ?:,.'+-=#@*$\r\n";
    const std::string tlx = "WIND 25KT; GUSTS!? \"OK\" & $#\r\n";
    for (std::uint8_t a : {0, 1})
        for (Shift tx : {Shift::Figures, Shift::Letters})
            for (Shift rx : {Shift::Letters, Shift::Figures}) {
                TelexState sender{tx, Shift::Letters, 0};
                TelexState receiver{Shift::Figures, rx, 0};
                // The sender believes the far end is in its starting shift;
                // a shift code sent first makes that true for any receiver.
                std::string codes(1, static_cast<char>(tx == Shift::Letters ? L : F));
                std::uint8_t encAlphabet = a, decAlphabet = a, m = 0;
                for (unsigned char c : a == 0 ? ita2 : tlx) {
                    int ch = c;
                    codes += TelexEncode(ch, encAlphabet, sender);
                    ASSERT_NE(ch, 0) << "cannot send '" << c << "'";
                }
                std::string back;
                for (std::uint8_t code : codes) back += TelexDecode(code, decAlphabet, m, receiver);
                EXPECT_EQ(back, a == 0 ? ita2 : tlx)
                    << "alphabet " << int(a) << " tx " << int(tx) << " rx " << int(rx);
            }
}

TEST_F(TelexTest, BellFollowsBellBeeps) {
    TelexOptions options;
    options.alphabet = 1;
    options.bellBeeps = true;
    EXPECT_EQ(Show({F, 5}, options), "");
    EXPECT_EQ(beeps, 1);
    options.bellBeeps = false;
    EXPECT_EQ(Show({F, 5}, options), "<7>");
    options.alphabet = 0;
    EXPECT_EQ(Show({F, 5}, options), "'");
    EXPECT_EQ(beeps, 1);
}

TEST_F(TelexTest, CrLfCleanUp) {
    const std::pair<std::string, std::string> cases[] = {{"A\rB", "AB"},
                                                         {"A\r\nB", "A\rB"},
                                                         {"A\r\r\nB", "A\rB"},
                                                         {"A\r\r\n\nB", "A\r\rB"},
                                                         {"A\nB", "A\nB"},
                                                         {"A\r\r\r\nB", "A\r\nB"},
                                                         {"A\r\r\n\r\r\nB", "A\r\rB"},
                                                         {"A\r\n\r\nB", "A\r\rB"},
                                                         {"A\r\r\n\r\nB", "A\r\rB"}};
    for (const auto& [in, shown] : cases) {
        TelexOptions options;
        options.code = LineCode::Ascii8;
        state = {};
        std::vector<std::uint8_t> bytes(in.begin(), in.end());
        EXPECT_EQ(Show(bytes, options), shown) << "input " << ::testing::PrintToString(in);
        options.rawCrLf = true;
        state = {};
        EXPECT_EQ(Show(bytes, options), in);
    }
}

TEST_F(TelexTest, ControlCharactersInAscii) {
    TelexOptions options;
    options.code = LineCode::Ascii8;
    EXPECT_EQ(Show({0x9B, 0x0E, 0x0F, 0x00, 0x1B, 0xC8, 'a'}, options), "<9B><00><1B><C8>a");
    options.code = LineCode::Ascii7;
    EXPECT_EQ(Show({0xC1}, options), "<C1>");  // ASCII7 bytes are not masked
    options.code = LineCode::Telex;
    EXPECT_EQ(Show({0}, options), "");
}

TEST(TelexPanels, TextsAndClicks) {
    EXPECT_EQ(AlphabetName(4), "WTX");
    EXPECT_EQ(AlphabetName(5), "");
    EXPECT_EQ(ToggleAlphabet(0) * 10 + ToggleAlphabet(1), 10);
    EXPECT_EQ(ToggleAlphabet(3), 3);
    std::uint8_t mode = 0;
    std::string seen;
    for (int i = 0; i < 5; ++i, mode = NextUosMode(mode)) seen += UosText(mode) + " ";
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(seen, "NOR UOS FOS FIG LET ");
    EXPECT_EQ(CrLfText(false) + CrLfToolTip(false), "NORCR/LF processed");
}

}  // namespace
}  // namespace dovrel
