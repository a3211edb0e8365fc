// Lost shift recovery: a damaged shift costs a group at most, and plain
// language comes out as it came.
#include "shift_recovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_text_encoder.h"
#include "sender_shifts.h"
#include "signal_quality.h"

namespace {

constexpr int kFigs = 27, kLtrs = 31, kLetterH = 20, kLetterP = 22, kLost = -1;
constexpr const char* kSynop =
    "AAXX 27034\n01028 41470 40319 10012\n01062 41356 73611 11004\n01003 41580 70304 11036=\n"
    "NNNN\n";

// `text` sent with the shift repeated at every line start; its `nth` code
// `from` is received as `to` (or lost), `margin` sure.
struct Damage {
    const char* name;
    const char* text;
    int from, nth, to;
    float margin;
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

std::string Mended(const Damage& d) {
    dovrel::TelexOptions options;
    dovrel::TelexState state;
    std::vector<dovrel::UnsendableChar> unsendable;
    const std::string codes = modem::RepeatShifts(
        dovrel::EncodeLineText(d.text, options, state, unsendable), modem::ShiftPractice::EachLine);
    modem::ShiftRecovery recovery;
    std::vector<std::uint8_t> out;
    int seen = 0;
    for (const char c : codes) {
        const auto code = static_cast<std::uint8_t>(c);
        modem::SoftCode soft{code, code, 1.0f};
        if (code == d.from && seen++ == d.nth) {
            if (d.to == kLost) continue;
            soft = {static_cast<std::uint8_t>(d.to), code, d.margin};
        }
        recovery.Push(soft, out);
    }
    recovery.Flush(out);
    return modem::ReaderText({reinterpret_cast<const char*>(out.data()), out.size()});
}

class ShiftRecoveryTest : public testing::TestWithParam<Damage> {};

TEST_P(ShiftRecoveryTest, GivesTheTextSent) { EXPECT_EQ(Mended(GetParam()), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Modem, ShiftRecoveryTest,
    testing::Values(Damage{"FigsLostInAFigureRun", kSynop, kFigs, 2, kLost, 1},
                    Damage{"FigsReadAsLtrs", kSynop, kFigs, 3, kLtrs, 1},
                    Damage{"LtrsLostBeforeTheEnd", kSynop, kLtrs, 1, kLost, 1},
                    // A '0' read as '$': its least sure bit turned over.
                    Damage{"SignInAReportGroup", kSynop, kLetterP, 5, kLetterH, 0.5f},
                    Damage{"TopRowWordsStayLetters",
                           "AT 1200 UTC WE WROTE TO YOUR OFFICE\nPRETTY POWER\n", kLost, 0, kLost,
                           1},
                    Damage{"TestLineAfterReportsStaysLetters",
                           "ZCZC\n01028 41470 40319 10012\nRYRYRYRYRYRYRYRYRYRYRYRYRY\nRYRYRY\n",
                           kLost, 0, kLost, 1}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

}  // namespace
