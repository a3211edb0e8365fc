// The display routine: message separation, keyword matching, line breaks,
// timestamps, the pane limit, and what reaches the log.
#include "display_routine.h"

#include <gtest/gtest.h>

#include <ostream>

#include "reception_fixture.h"

namespace dovrel {
namespace {

using testing::ReceptionFixture;

struct ShownCase {
    const char* name;
    int separation;  // SMesgBlocs
    bool lookWords;
    const char* keyword;  // user keyword 0 ("": none) and its match kind
    std::uint8_t keywordMode;
    const char* received;
    const char* shown;
};

void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.name; }

class DisplayTest : public ReceptionFixture, public ::testing::WithParamInterface<ShownCase> {
  protected:
    const ShownCase& Case() {
        settings.SMesgBlocs = GetParam().separation;
        settings.LookWords = GetParam().lookWords;
        user[0] = {GetParam().keyword, GetParam().keywordMode};
        return GetParam();
    }
};

TEST_P(DisplayTest, ShowsTheReceivedTextSeparatedAndHighlighted) {
    Feed(Case().received);
    EXPECT_EQ(Shown(), GetParam().shown);
}

TEST_P(DisplayTest, GivesTheSameResultByteByByte) {
    FeedByteByByte(Case().received);
    EXPECT_EQ(Shown(), GetParam().shown);
}

const ShownCase kShownCases[] = {
    {"MessageWithSeparators", 1, false, "", 0, "ZCZC ABC\r\nNNNN\r\n",
     "\n{NEW MSG 0001}\n[ZCZC] ABC\n[NNNN]\n{END MSG 0001}"},
    {"EndWithoutStartGetsItsOwnNumber", 1, false, "", 0, "NNNN\r\nNNNN\r\n",
     "\n[NNNN]\n{END MSG 0001}\n[NNNN]\n{END MSG 0002}"},
    {"NumbersFollowOneAnother", 1, false, "", 0, "ZCZC\r\nNNNN\r\nZCZC\r\nNNNN\r\n",
     "\n{NEW MSG 0001}\n[ZCZC]\n[NNNN]\n{END MSG 0001}\n{NEW MSG 0002}\n[ZCZC]\n[NNNN]\n{END MSG "
     "0002}"},
    {"OpenerMidLineIgnoredInMode1", 1, false, "", 0, "AB XZCZC\r\n", "\nAB XZCZC"},
    {"OpenerMidLineIgnoredInMode0", 0, false, "", 0, "AB XZCZC\r\n", "\nAB XZCZC"},
    {"OpenerAnywhereInMode2", 2, false, "", 0, "AB XZCZC\r\n", "\nAB X\n{NEW MSG 0001}\n[ZCZC]"},
    {"Mode0HighlightsWithoutSeparatorLines", 0, false, "", 0, "ZCZC A\r\nNNNN\r\n",
     "\n[ZCZC] A\n[NNNN]"},
    {"CloserCountsAnywhere", 1, false, "", 0, "ABNNNN\r\n", "\nAB\n[NNNN]\n{END MSG 0001}"},
    {"ZZCZCDoesNotOpen", 1, true, "", 0, "ZZCZC\r\nQ\r\n", "\nZZCZC\nQ"},
    {"PatternInsideAWord", 1, true, "", 0, "ACQUIRE\r\n", "\nA[CQ]UIRE"},
    {"PrefixOfAFailedKeywordIsKept", 1, true, "", 0, "AKCQ\r\n", "\nAK[CQ]"},
    {"PrefixAtLineStartStaysOnItsLine", 1, true, "", 0, "X\r\nKCQ\r\n", "\nX\nK[CQ]"},
    {"KeywordsOffShowCqPlain", 1, false, "", 0, "CQ\r\nZCZC\r\n", "\nCQ\n{NEW MSG 0001}\n[ZCZC]"},
    {"BuiltInsAllHighlighted", 1, true, "", 0, "VVV KKKK CQ\r\n", "\n[VVV] [KKKK] [CQ]"},
    {"WordStartKeyword", 1, true, "DE", 1, "CQ DE ABC\r\nCODE\r\n", "\n[CQ] [DE] ABC\nCODE"},
    {"FullWordKeyword", 1, true, "TEST", 2, "A TEST B\r\nTESTS\r\n", "\nA [TEST] B\nTESTS"},
    {"FullWordAtLineEnd", 1, true, "TEST", 2, "A TEST\r\nB\r\n", "\nA [TEST]\nB"},
    {"UserKeywordsNeedLookWords", 1, false, "DE", 0, "DE\r\n", "\nDE"},
    {"OverlappingKeywordsNeverRepeatText", 1, true, "XCQY", 0, "XCQQY\r\n", "\nX[CQ]QY"},
    {"KeywordRightAfterEndStartsALine", 1, true, "", 0, "NNNNCQ\r\n",
     "\n[NNNN]\n{END MSG 0001}\n[CQ]"},
    {"LfAloneIsDropped", 1, false, "", 0, "A\nB\r\n", "\nAB"},
    {"ControlCharactersShownInBrackets", 1, false, "", 0, "A\x1b\aB\r\n", "\nA<1B><7>B"},
};

INSTANTIATE_TEST_SUITE_P(Cases, DisplayTest, ::testing::ValuesIn(kShownCases),
                         [](const auto& info) { return std::string(info.param.name); });

class DisplayRoutineTest : public ReceptionFixture {};

TEST_F(DisplayRoutineTest, HitsUseTheKeywordColourWithEmphasis) {
    user[0] = {"DE", 0};
    Feed("ZCZC CQ KKKK DE\r\n");
    EXPECT_EQ(pane.TextIn({kColourMagenta, true}), "ZCZC|");
    EXPECT_EQ(pane.TextIn({kColourRed, true}), "CQ|");
    EXPECT_EQ(pane.TextIn({kColourBlue, true}), "KKKK|");
    EXPECT_EQ(pane.TextIn({kColourCyan, true}), "DE|");
    EXPECT_NE(pane.TextIn({kColourGreen, false})
                  .find("\n14:02:33 05/12/2026 --------------------- NEW MSG 0001"),
              std::string::npos);
}

TEST_F(DisplayRoutineTest, NoSeparatorLinesInTheLogWhenOff) {
    Feed("ZCZC\r\nNNNN\r\n");
    EXPECT_EQ(log.Text(), "\r\nZCZC\r\nNNNN");
}

TEST_F(DisplayRoutineTest, LogGetsSeparatorLinesAndCrLfEvenInMode0) {
    settings.SMesgBlocs = 0;
    settings.FMesgBlocs = 1;
    Feed("ZCZC ABC\r\nNNNN\r\n");
    EXPECT_EQ(Shown(), "\n[ZCZC] ABC\n[NNNN]");
    EXPECT_EQ(log.Text(),
              "\r\n14:02:33 05/12/2026 --------------------- NEW MSG 0001\r\n"
              "\r\nZCZC ABC\r\nNNNN"
              "\r\n14:02:33 05/12/2026 --------------------- END MSG 0001\r\n\r\n");
}

TEST_F(DisplayRoutineTest, TimestampsOnScreenOrInTheLog) {
    settings.STimeStamp = true;
    Feed("AB\r\n");
    settings.STimeStamp = false;
    settings.FTimeStamp = true;
    Feed("CD\r\n");
    EXPECT_EQ(Shown(), "\n(14:02:33 )AB\nCD");
    EXPECT_EQ(log.Text(), "\r\nAB\r\n14:02:33 CD");
}

TEST_F(DisplayRoutineTest, FirstCharacterAfterStartBeginsAStampedLine) {
    settings.STimeStamp = true;
    Rx().StartStopBanner(true);
    Feed("A");
    EXPECT_EQ(Shown(), "\n<START>\n\n(14:02:33 )A");
    EXPECT_EQ(log.Text(), "\r\n14:02:33 05/12/2026 ===================== START\r\n\r\nA");
}

TEST_F(DisplayRoutineTest, StopWritesHeldCharactersAndResets) {
    Feed("AB\r\nZC");
    Rx().StartStopBanner(false);
    EXPECT_EQ(Shown(), "\nAB\nZC\n<STOP>\n");
    EXPECT_EQ(pane.Runs().back().text.back(), '\n');
    // After the reset the next "ZC" starts afresh and does not complete "ZCZC".
    Feed("ZC\r\n");
    EXPECT_EQ(Shown(), "\nAB\nZC\n<STOP>\n\nZC");
}

TEST_F(DisplayRoutineTest, APaneAtItsLimitIsEmptiedAtTheNextLineBreak) {
    pane.Append(std::string(kPaneLimit - 1, 'a'), kReceivedStyle);
    Feed("AB");
    EXPECT_EQ(pane.Clears(), 0);
    pane.Append(std::string(1, 'a'), kReceivedStyle);
    Feed("\r\nX");
    EXPECT_EQ(pane.Clears(), 1);
    EXPECT_EQ(pane.Text(), "\nX");
    EXPECT_EQ(log.Text(), "\r\nAB\r\nX");
}

TEST_F(DisplayRoutineTest, MessageCountWrapsToOneAfterItsLimit) {
    Rx();
    for (int i = 0; i < 32767; ++i) Rx().Display().WriteNewMsg();
    EXPECT_EQ(Rx().State().MessageCount, 32767);
    Rx().Display().WriteNewMsg();
    EXPECT_EQ(Rx().State().MessageCount, 1);
}

}  // namespace
}  // namespace dovrel
