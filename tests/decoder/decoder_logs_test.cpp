// Decoder logs: default names, open and close results, empty files removed,
// raw bulletin framing and numbering, text log equal to the events.
#include "decoder_logs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "decoder_log_status.h"
#include "decoder_test_support.h"
#include "odd_files.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;
using testing::ReadFile;

const std::string kBulletin =
    "ZCZC 001\nSMDL01 EDZW 061200\nAAXX 06121\n10400 32965 02405 10125=\n10384 NIL=\nNNNN\n";

std::string Failures(DecoderHarness& harness) {
    void* object = nullptr;
    EXPECT_EQ(harness.Decoder().QueryInterface(IDecoderLogStatus::kIid, &object), S_OK);
    const ComponentRef<IDecoderLogStatus> status(static_cast<IDecoderLogStatus*>(object));
    std::string text;
    status->TakeLogFailures(&text);
    return text;
}

std::string Base(DecoderHarness& harness) {
    harness.Decoder().put_LogPathName(harness.Folder());
    harness.Decoder().put_LogFileName("log");
    return harness.Folder() + "/log";
}

// "Data" under the start directory, created; then the current directory once it
// changed. The default file name is "YYMMDD-HHMM".
TEST(DecoderLogsTest, DefaultFolderAndFileName) {
    DecoderHarness harness;
    std::string folder, name;
    harness.Decoder().get_LogFileName(&name);
    EXPECT_TRUE(std::regex_match(name, std::regex("[0-9]{6}-[0-9]{4}"))) << name;
    EXPECT_EQ(harness.Decoder().get_LogPathName(&folder), S_OK);
    EXPECT_EQ(folder, harness.Folder() + "/Data");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    std::filesystem::create_directory(harness.Folder() + "/elsewhere");
    std::filesystem::current_path(harness.Folder() + "/elsewhere");
    harness.Decoder().get_LogPathName(&folder);
    EXPECT_EQ(folder, harness.Folder() + "/elsewhere");
}

TEST(DecoderLogsTest, DefaultFileNameFormat) {
    const std::tm time{0, 9, 3, 7, 0, 126, 0, 0, 0, 0, nullptr};  // 2026-01-07 03:09
    EXPECT_EQ(DefaultLogFileName("", time), "260107-0309");
    EXPECT_EQ(DefaultLogFileName("LX", time), "LX-260107-0309");
    EXPECT_EQ(DefaultLogFileName("../../escape", time), ".._.._escape-260107-0309");
    // A name too long for a file name is shortened with a hash of the whole.
    EXPECT_EQ(DefaultLogFileName(std::string(5000, 'N'), time).size(), 160u + 12u);
}

// The instance name becomes the node name: whatever it holds, both logs are
// made inside the log folder, as is a file name put with a path in it.
TEST(DecoderLogsTest, NodeOrFileNameWithPathPartsKeepsTheLogsInTheFolder) {
    DecoderHarness harness;
    const std::string folder = harness.Folder() + "/Data/in";
    std::filesystem::create_directories(folder);
    WeatherDecoder& decoder = harness.Decoder();
    decoder.put_LogPathName(folder);
    decoder.put_NodeName("../../escape");
    std::string name;
    decoder.get_LogFileName(&name);
    for (const std::string& put : {name, std::string("../up/../../x")}) {
        decoder.put_LogFileName(put);
        ASSERT_EQ(decoder.put_LogRaw(1), S_OK) << put;
        ASSERT_EQ(decoder.put_LogText(1), S_OK) << put;
        harness.Feed(kBulletin);
        decoder.put_LogRaw(0);
        decoder.put_LogText(0);
    }
    std::vector<std::string> made;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(harness.Folder())) {
        if (entry.is_regular_file() && entry.path().parent_path() != harness.Folder()) {
            made.push_back(entry.path().lexically_relative(folder).string());
        }
    }
    std::sort(made.begin(), made.end());
    EXPECT_THAT(made, ::testing::ElementsAre(name + ".syn", name + ".wmo", ".._up_.._.._x.syn",
                                             ".._up_.._.._x.wmo"));
    EXPECT_EQ(name.rfind(".._.._escape-", 0), 0u) << name;
}

TEST(DecoderLogsTest, OpenAnswersOkAndCloseAnswersAccessDenied) {
    DecoderHarness harness;
    Base(harness);
    EXPECT_EQ(harness.Decoder().put_LogRaw(1), S_OK);
    EXPECT_EQ(harness.Decoder().put_LogText(1), S_OK);
    std::int32_t open = 0;
    harness.Decoder().get_LogRaw(&open);
    EXPECT_EQ(open, 1);
    EXPECT_EQ(harness.Decoder().put_LogRaw(0), E_ACCESSDENIED);
    EXPECT_EQ(harness.Decoder().put_LogText(0), E_ACCESSDENIED);
    // A log that cannot be opened answers access denied; decoding goes on.
    harness.Decoder().put_LogPathName(harness.Folder() + "/no/such/folder");
    EXPECT_EQ(harness.Decoder().put_LogRaw(1), E_ACCESSDENIED);
    EXPECT_EQ(harness.Decoder().put_LogText(1), E_ACCESSDENIED);
    harness.Feed(kBulletin);
    EXPECT_NE(harness.Text().find("Station Identity"), std::string::npos);
    // Only a regular file is a log: a FIFO or device is refused and survives.
    for (const auto& odd : dovrel::testing::MakeOddFiles(harness.Folder())) {
        harness.Decoder().put_LogPathName(harness.Folder());
        harness.Decoder().put_LogFileName(odd.filename().string());
        std::filesystem::rename(odd, odd.string() + ".syn");
        const char kind = dovrel::testing::KindOf(odd.string() + ".syn");
        EXPECT_EQ(harness.Decoder().put_LogRaw(1), E_ACCESSDENIED);
        EXPECT_EQ(dovrel::testing::KindOf(odd.string() + ".syn"), kind);
        EXPECT_THAT(Failures(harness), ::testing::HasSubstr(", not a regular file"));
    }
}

// A full disk: each log reports its first failed write once and closes;
// decoding goes on.
TEST(DecoderLogsTest, AFullDiskIsReportedOncePerLogAndDecodingGoesOn) {
    DecoderHarness harness;
    const dovrel::testing::FullFolder full(harness.Folder() + "/full");
    if (!full.Full()) GTEST_SKIP() << "no tiny file system can be mounted here (not root)";
    harness.Decoder().put_LogPathName(harness.Folder() + "/full");
    harness.Decoder().put_LogFileName("x");
    ASSERT_EQ(harness.Decoder().put_LogRaw(1), S_OK);
    ASSERT_EQ(harness.Decoder().put_LogText(1), S_OK);
    for (int i = 0; i < 3; ++i) harness.Feed(kBulletin);
    const std::string base = harness.Folder() + "/full/x";
    EXPECT_EQ(Failures(harness), "Cannot write the log file " + base +
                                     ".syn: No space left on device\nCannot write the log file " +
                                     base + ".wmo: No space left on device");
    harness.Feed(kBulletin);
    EXPECT_EQ(Failures(harness), "");
    std::int32_t open = 1;
    harness.Decoder().get_LogText(&open);
    EXPECT_EQ(open, 0);
    EXPECT_EQ(harness.Sink().OfKind("Indicator").size(), 4u);
}

// Also when bulletins were seen before the log was opened. An empty folder or
// name keeps the previous one.
TEST(DecoderLogsTest, EmptyLogLeavesNoFileAndEmptyNamesAreIgnored) {
    DecoderHarness harness;
    const std::string base = Base(harness);
    harness.Decoder().put_LogText(1);
    harness.Decoder().put_LogText(0);
    harness.Feed(kBulletin);
    harness.Decoder().put_LogRaw(1);
    harness.Decoder().put_LogRaw(0);
    EXPECT_FALSE(std::filesystem::exists(base + ".syn"));
    EXPECT_FALSE(std::filesystem::exists(base + ".wmo"));
    harness.Decoder().put_LogPathName("");
    harness.Decoder().put_LogFileName("");
    harness.Decoder().put_LogText(1);
    harness.Feed(kBulletin);
    harness.Decoder().put_LogText(0);
    EXPECT_TRUE(std::filesystem::exists(base + ".wmo"));
}

// Reopened, the file keeps what it held; a new file numbers from one again.
TEST(DecoderLogsTest, RawLogHoldsTheBulletinsReframedAndNumbered) {
    DecoderHarness harness;
    const std::string base = Base(harness);
    harness.Decoder().put_LogRaw(1);
    harness.Feed(kBulletin);
    harness.Decoder().put_LogRaw(0);
    const std::string reframed =
        "ZCZC 00001\nSMDL01 EDZW 061200\nAAXX 06121\n10400 32965 02405 10125=\n10384 NIL=\nNNNN\n";
    EXPECT_EQ(ReadFile(base + ".syn"), reframed);
    harness.Decoder().put_LogRaw(1);
    harness.Decoder().put_LogRaw(0);
    EXPECT_EQ(ReadFile(base + ".syn"), reframed);
    harness.Decoder().put_LogFileName("second");
    harness.Decoder().put_LogRaw(1);
    harness.Feed(kBulletin + kBulletin);
    harness.Decoder().put_LogRaw(0);
    const std::string second = ReadFile(harness.Folder() + "/second.syn");
    EXPECT_EQ(second.rfind("ZCZC 00001\n", 0), 0u);
    EXPECT_NE(second.find("ZCZC 00002\n"), std::string::npos);
}

// Closing the raw log or destroying the decoder ends the open bulletin: exactly
// one "NNNN", although destruction both ends the bulletin and closes the log.
TEST(DecoderLogsTest, ClosingTheRawLogEndsTheOpenBulletin) {
    for (const bool destroy : {false, true}) {
        DecoderHarness harness;
        const std::string base = Base(harness);
        harness.Decoder().put_LogRaw(1);
        harness.Feed("ZCZC 001\nSMDL01 EDZW 061200\nAAXX 06121\n10400 32965 02405 10125=\n");
        if (destroy) {
            harness.Destroy();
        } else {
            harness.Decoder().put_LogRaw(0);
            harness.Feed("10384 NIL=\n");
            harness.Decoder().put_LogRaw(1);
            harness.Feed("10385 NIL=\n");
            harness.Decoder().put_LogRaw(0);
        }
        EXPECT_EQ(ReadFile(base + ".syn"),
                  "ZCZC 00001\nSMDL01 EDZW 061200\nAAXX 06121\n10400 32965 02405 10125=\nNNNN\n");
    }
}

TEST(DecoderLogsTest, TextLogHoldsResultsErrorsAndRuleLinesInEventOrder) {
    DecoderHarness harness;
    const std::string base = Base(harness);
    harness.Decoder().put_LogText(1);
    harness.Feed(kBulletin +
                 "ZCZC 002\nSMDL01 EDZW 061200\nAAXX 06121\n10400 32965 02405 1012=\nNNNN\n");
    harness.Decoder().put_LogText(0);
    std::string expected;
    for (const auto& event : harness.Sink().events) {
        if (event.kind == "Result" || event.kind == "Error") expected += event.text;
        if (event.kind == "Separator") {
            expected += std::string(81, event.a == 0 ? '=' : event.a == 1 ? '-' : '.') + "\n";
        }
    }
    EXPECT_NE(expected.find("DATA ERROR:        1012\n"), std::string::npos);
    EXPECT_EQ(ReadFile(base + ".wmo"), expected);
}

}  // namespace
}  // namespace nimbo
