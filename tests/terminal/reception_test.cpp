// The receive path: conversion, the display driver that shows pending text
// without waiting for new data, silence watch, pause, panels, printer line,
// and the same result for every chunking of a real capture.
#include "reception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "reception_fixture.h"
#include "temp_dir.h"

namespace dovrel {
namespace {

using testing::ManualScheduler;
using testing::ReadFile;
using testing::ReceptionFixture;
using testing::RecordingLog;

class ReceptionTest : public ReceptionFixture {};

// The rest after a keyword is shown without new data; only a partly matched
// keyword waits for it.
TEST_F(ReceptionTest, OnlyAPartlyMatchedKeywordWaitsForData) {
    Feed("ZCZC ABD\r\nNNNN\r\nEND\r\nZC");
    EXPECT_EQ(Shown(), "\n{NEW MSG 0001}\n[ZCZC] ABD\n[NNNN]\n{END MSG 0001}\nEND");
    EXPECT_FALSE(Rx().HasPending());
    EXPECT_EQ(scheduler.Waiting(), 0u);
    EXPECT_EQ(Rx().State().HeldText, "ZC");
    Feed("X");
    EXPECT_EQ(Shown(), "\n{NEW MSG 0001}\n[ZCZC] ABD\n[NNNN]\n{END MSG 0001}\nEND\nZCX");
}

TEST_F(ReceptionTest, HeldCharactersAreWrittenAfterASecondOfQuietAndWhenTheLineCloses) {
    Feed("ABD\r\nNN");
    Rx().OnTimerTick(true);  // a tick may come right after the data
    EXPECT_EQ(Rx().State().HeldText, "NN");
    Rx().OnTimerTick(true);
    EXPECT_EQ(Shown(), "\nABD\nNN");
    EXPECT_EQ(log.Text(), "\r\nABD\r\nNN");
    Feed("NN\r\nZCZ");  // starts afresh: no "NNNN" made of the two halves
    EXPECT_EQ(Shown(), "\nABD\nNNNN");
    Rx().Disconnected();
    EXPECT_EQ(Shown(), "\nABD\nNNNN\nZCZ");
    EXPECT_EQ(log.Text(), "\r\nABD\r\nNNNN\r\nZCZ");
}

TEST_F(ReceptionTest, ALineWithoutLineEndsIsBrokenInThePaneAndKeptWholeInTheLog) {
    const std::string line(100000, 'A');
    Feed(line);
    std::size_t longest = 0;
    for (std::size_t at = 0, nl; at <= pane.Text().size(); at = nl + 1) {
        nl = std::min(pane.Text().find('\n', at), pane.Text().size());
        longest = std::max(longest, nl - at);
    }
    EXPECT_LE(longest, kPaneLineLimit);
    EXPECT_LT(pane.Text().size(), kPaneLimit + kPaneLineLimit);
    EXPECT_EQ(log.Text(), "\r\n" + line);
}

TEST_F(ReceptionTest, LongBurstIsShownInBatchesFromTheEventLoop) {
    std::string burst;
    for (int i = 0; i < 3000; ++i) burst += "CQ DE ABD 12345\r\n";
    Rx().OnDataReceived(burst);
    EXPECT_TRUE(Rx().HasPending());
    EXPECT_GE(scheduler.Waiting(), 1u);
    scheduler.RunAll();
    EXPECT_FALSE(Rx().HasPending());
    EXPECT_EQ(pane.Clears(), 1);  // more than the pane holds went through
    EXPECT_EQ(log.Text().size(), 3000u * std::string("\r\nCQ DE ABD 12345").size());
}

TEST_F(ReceptionTest, PausedTextIsCollectedAndShownOnResume) {
    Rx().SetStatusText("DISCONNECTED");
    EXPECT_TRUE(Rx().OnPaneKey(PaneKey::Other));  // not paused: restores the status
    EXPECT_EQ(panels.Get("Status"), "DISCONNECTED");
    Feed("A");
    EXPECT_FALSE(Rx().OnPaneKey(PaneKey::Pause));
    EXPECT_EQ(panels.Get("Status"), "PAUSE");
    const std::string pausedText(200, 'B');
    Feed(pausedText);
    EXPECT_EQ(Shown(), "\nA");
    EXPECT_EQ(log.Text(), "\r\nA");
    EXPECT_EQ(panels.Get("Text"), "A" + pausedText);  // the panel still follows
    EXPECT_FALSE(Rx().OnPaneKey(PaneKey::Other));     // keys keep the pause
    EXPECT_EQ(panels.Get("Status"), "PAUSE");

    Rx().SetStatusText("CONNECTED");
    EXPECT_TRUE(Rx().OnPaneKey(PaneKey::EscapeDown));
    EXPECT_EQ(panels.Get("Status"), "CONNECTED");
    scheduler.RunAll();  // no new character needed
    EXPECT_EQ(Shown(), "\nA" + pausedText);
    EXPECT_EQ(log.Text(), "\r\nA" + pausedText);
    Rx().OnPaneKey(PaneKey::CtrlA);
    Feed("XY");
    EXPECT_EQ(Shown(), "\nA" + pausedText);
    EXPECT_TRUE(Rx().OnPaneKey(PaneKey::CtrlCUp));
    scheduler.RunAll();
    EXPECT_EQ(Shown(), "\nA" + pausedText + "XY");
}

TEST_F(ReceptionTest, NoSignalOnceThenRecoveredOnItsOwnLine) {
    settings.WaitTime = 30;
    Rx().SetStatusText("CONNECTED");
    Rx().Connected();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.interval, 1000);
    Feed("AB");
    int noSignalShown = 0;
    for (int i = 0; i < 40; ++i) {
        panels.panels.erase("Status");
        Rx().OnTimerTick(true);
        if (panels.Get("Status") == "NO SIGNAL") {
            ++noSignalShown;
            EXPECT_EQ(i + 1, 30);
        }
    }
    EXPECT_EQ(noSignalShown, 1);
    Feed("CD");
    EXPECT_EQ(Shown(), "\nAB\nSignal recovered after 40s\nCD");
    EXPECT_EQ(log.Text(), "\r\nAB\r\n**** Signal recovered after 40s\r\nCD");
    EXPECT_EQ(panels.Get("Status"), "CONNECTED");
    EXPECT_EQ(Rx().State().SilenceSeconds, 0);
}

TEST_F(ReceptionTest, NoSignalNeverWithWaitTimeZeroNorWhileThePortIsClosed) {
    settings.WaitTime = 0;
    for (int i = 0; i < 1000; ++i) Rx().OnTimerTick(true);
    EXPECT_EQ(panels.Get("Status"), "<unset>");
    settings.WaitTime = 5;
    for (int i = 0; i < 10; ++i) Rx().OnTimerTick(false);
    EXPECT_FALSE(Rx().State().NoSignalShown);
}

TEST_F(ReceptionTest, TimePanelShowsTheConnectionTime) {
    Rx().Connected();
    clock.Advance(3725);
    Rx().OnTimerTick(true);
    EXPECT_EQ(panels.Get("Time"), "01:02:05 ");
    clock.Advance(24 * 3600);
    Rx().OnTimerTick(true);
    EXPECT_EQ(panels.Get("Time"), "01:02:05 ");  // wraps after a day
    Rx().Disconnected();
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(panels.Get("Time"), "");
}

TEST_F(ReceptionTest, ConnectedRestartsMessageNumbers) {
    Feed("ZCZC\r\n");
    EXPECT_EQ(Rx().State().MessageCount, 1);
    Rx().SetStatusText("CONNECTED");
    EXPECT_EQ(Rx().State().MessageCount, 0);
    Feed("NNNN\r\nZCZC\r\n");
    EXPECT_NE(pane.Text().find("NEW MSG 0001"), std::string::npos);
}

TEST_F(ReceptionTest, TextPanelFollowsItsRuleOverManyBlocks) {
    Rx().SetTextPanelWidth(7);
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        const std::string block(static_cast<std::size_t>(i % 13), static_cast<char>('A' + i % 26));
        if (expected.size() > 7) expected.erase(0, expected.size() - 7);
        expected += block;
        Feed(block);
        ASSERT_EQ(panels.Get("Text"), expected) << "block " << i;
    }
}

TEST_F(ReceptionTest, TelexCodesAreDecodedWithShiftsAndTheCodePanelShowsTheAlphabet) {
    code = LineCode::Telex;
    settings.TelexCod = 3;  // "CYR": decoded as ITA2
    // LTRS R Y FIGS 1 2 CR LF
    Feed(std::string{31, 10, 21, 27, 23, 19, 8, 2});
    EXPECT_EQ(panels.Get("Code"), "ITA2");
    EXPECT_EQ(Shown(), "\nRY12");
    EXPECT_EQ(panels.Get("Text"), "RY12\r\n");
}

TEST_F(ReceptionTest, RawTextGoesToTheWeatherDecoderWhenAutoSynopIsOnAndBellBeeps) {
    std::string parsed;
    int beeps = 0;
    Rx().SetWeatherParse([&](const std::string& raw) { parsed += raw; });
    Rx().SetBeep([&] { ++beeps; });
    Feed("AAXX\r\n");
    EXPECT_EQ(parsed, "");
    settings.AutoSynop = true;
    settings.BellBeeps = true;
    Feed("AAXX\r\nA\aB");
    EXPECT_EQ(parsed, "AAXX\r\nA\aB");
    EXPECT_EQ(beeps, 1);  // instead of showing
    EXPECT_EQ(Shown(), "\nAAXX\nAAXX\nAB");
}

// One line per block, only when on; a line without CR is cut at 79.
TEST_F(ReceptionTest, PrinterGetsOneLinePerBlockOnlyWhenOnAndLongLinesCut) {
    Feed("LINE0\r\n");
    EXPECT_EQ(Rx().State().PrinterLine, "");
    Rx().SetPrintOn(true);
    Feed("LINE1\r\nLINE2\r\n");
    EXPECT_EQ(printer.printed.size(), 1u);
    Feed(std::string(78, 'A'));
    EXPECT_EQ(Rx().State().PrinterLine, std::string(78, 'A'));
    Feed(std::string(122, 'B'));
    EXPECT_EQ(printer.printed,
              (std::vector<std::string>{"LINE1\r", "LINE2\r",
                                        std::string(78, 'A') + std::string(122, 'B') + "\r"}));
    EXPECT_EQ(Rx().State().PrinterLine, "");
}

// A log whose write lets the event loop deliver another block, as a modal
// box raised by a failed write would.
class ReenteringLog : public LogWriter {
  public:
    void WriteLog(std::string_view text) override {
        written.append(text);
        if (rx != nullptr && !entered) {
            entered = true;
            rx->OnDataReceived("LATE");
        }
    }
    Reception* rx = nullptr;
    bool entered = false;
    std::string written;
};

TEST_F(ReceptionTest, BlockArrivingWhileDisplayingIsShownAfterwardsInOrder) {
    ReenteringLog reentering;
    Rx().SetLog(&reentering);
    reentering.rx = &Rx();
    Feed("FIRST ");
    scheduler.RunAll();
    EXPECT_EQ(Shown(), "\nFIRST LATE");
    EXPECT_EQ(reentering.written, "\r\nFIRST LATE");
    Rx().ClearPane();
    EXPECT_EQ(pane.Text(), "");
    EXPECT_FALSE(Rx().State().Busy);
}

// Every chunking of the bundled capture gives the same pane and log.
class CaptureTest : public ReceptionFixture {
  protected:
    CaptureTest() {
        code = LineCode::Telex;
        settings.STimeStamp = true;
        settings.FTimeStamp = true;
        settings.FMesgBlocs = 1;
        user[0] = {"AAXX", 2};
        user[1] = {"ENMI", 1};
    }
    static std::string Capture() {
        return ReadFile(std::filesystem::path(DOVREL_SAMPLES_DIR) / "capture.ita2");
    }
};

TEST_F(CaptureTest, EveryChunkingGivesTheSamePaneAndLog) {
    const std::string capture = Capture();
    ASSERT_GT(capture.size(), 10000u);
    Feed(capture);
    const auto wholeRuns = pane.Runs();
    const std::string wholeLog = log.Text();

    for (std::size_t chunk : {1u, 7u, 64u, 1000u}) {
        testing::RecordingPane chunkPane;
        RecordingLog chunkLog;
        TelexState chunkTelex;
        ManualScheduler chunkScheduler;
        Reception rx(settings, chunkTelex, MakeKeywordTable(user), chunkPane, clock,
                     chunkScheduler);
        rx.SetLineCode(LineCode::Telex);
        rx.SetLog(&chunkLog);
        for (std::size_t i = 0; i < capture.size(); i += chunk) {
            rx.OnDataReceived(std::string_view(capture).substr(i, chunk));
            chunkScheduler.RunAll();
        }
        EXPECT_EQ(chunkPane.Text(), pane.Text()) << "chunk " << chunk;
        EXPECT_EQ(chunkPane.Runs().size(), wholeRuns.size()) << "chunk " << chunk;
        EXPECT_EQ(chunkLog.Text(), wholeLog) << "chunk " << chunk;
    }
}

TEST_F(CaptureTest, ElevenMessagesAreNumberedAndUserKeywordsHighlighted) {
    Feed(Capture());
    EXPECT_NE(log.Text().find("END MSG 0011"), std::string::npos);
    EXPECT_EQ(log.Text().find("NEW MSG 0012"), std::string::npos);
    EXPECT_NE(log.Text().find("SINO99 ENBJ 270300"), std::string::npos);
    EXPECT_NE(pane.TextIn({kColourCyan, true}).find("AAXX|"), std::string::npos);
    EXPECT_NE(pane.TextIn({kColourCyan, true}).find("ENMI|"), std::string::npos);
}

}  // namespace
}  // namespace dovrel
