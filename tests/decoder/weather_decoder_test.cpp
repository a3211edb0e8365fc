// The decoder object: option defaults and puts, sinks, and robustness of the
// component members.
#include "weather_decoder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "decoder_test_support.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;
using testing::RecordingSink;

TEST(WeatherDecoderTest, OptionDefaults) {
    DecoderHarness harness;
    using Getter = HRESULT (WeatherDecoder::*)(std::int32_t*);
    for (const auto& [get, expected] : {std::pair<Getter, int>{&WeatherDecoder::get_MessageLock, 0},
                                        {&WeatherDecoder::get_DecoderLock, 1},
                                        {&WeatherDecoder::get_DecoderRelax, 0},
                                        {&WeatherDecoder::get_DecoderResyn, 0},
                                        {&WeatherDecoder::get_DecoderQuiet, 0},
                                        {&WeatherDecoder::get_LogRaw, 0}}) {
        std::int32_t value = -1;
        (harness.Decoder().*get)(&value);
        EXPECT_EQ(value, expected);
    }
    std::string node = "x";
    harness.Decoder().get_NodeName(&node);
    EXPECT_EQ(node, "");
}

TEST(WeatherDecoderTest, AnyNonZeroValueSetsAFlagAndGettersAnswerOne) {
    DecoderHarness harness;
    EXPECT_EQ(harness.Decoder().put_MessageLock(-1), S_OK);
    std::int32_t value = 0;
    harness.Decoder().get_MessageLock(&value);
    EXPECT_EQ(value, 1);
    harness.Decoder().put_DecoderRelax(42);
    harness.Decoder().get_DecoderRelax(&value);
    EXPECT_EQ(value, 1);
}

TEST(WeatherDecoderTest, ResynReadsBackUntilTheNextIndicator) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderResyn(1);
    std::int32_t value = 0;
    harness.Decoder().get_DecoderResyn(&value);
    EXPECT_EQ(value, 1);
    harness.Feed("AAXX 06121\n");
    harness.Decoder().get_DecoderResyn(&value);
    EXPECT_EQ(value, 0);
}

TEST(WeatherDecoderTest, EmptyParseRaisesNothingAndNullIsRefused) {
    DecoderHarness harness;
    EXPECT_EQ(harness.Decoder().Parse(""), S_OK);
    EXPECT_TRUE(harness.Sink().events.empty());
    EXPECT_EQ(harness.Decoder().Parse(nullptr), E_POINTER);
    EXPECT_EQ(harness.Decoder().get_DecoderLock(nullptr), E_POINTER);
    EXPECT_EQ(harness.Decoder().get_LogPathName(nullptr), E_POINTER);
}

TEST(WeatherDecoderTest, EverySinkReceivesEveryEventInOrder) {
    DecoderHarness harness;
    RecordingSink second;
    std::uint32_t cookie = 0;
    ASSERT_EQ(harness.Decoder().Advise(&second, &cookie), S_OK);
    harness.Feed("ZCZC 001\nSMDL01 EDZW 061200\nAAXX 06121\n10400 32965 02405 10125=\nNNNN\n");
    EXPECT_FALSE(second.events.empty());
    EXPECT_EQ(second.events, harness.Sink().events);
    EXPECT_EQ(harness.Decoder().Unadvise(cookie), S_OK);
    EXPECT_EQ(harness.Decoder().Unadvise(cookie), CONNECT_E_NOCONNECTION);
    harness.Feed("ZCZC 002\n");
    EXPECT_NE(second.events.size(), harness.Sink().events.size());
}

class ThrowingSink : public RecordingSink {
  public:
    void Result(const std::string&, std::int32_t, std::int32_t) override {
        throw std::runtime_error("sink failure");
    }
};

TEST(WeatherDecoderTest, ThrowingSinkDoesNotStopDecodingNorTheOtherSinks) {
    DecoderHarness harness;
    ThrowingSink throwing;
    RecordingSink after;
    std::uint32_t cookie = 0;
    harness.Decoder().Advise(&throwing, &cookie);
    harness.Decoder().Advise(&after, &cookie);
    EXPECT_EQ(harness.Decoder().Parse("ZCZC 001\nSMDL01 EDZW 061200\nAAXX 06121\n10400 NIL=\n"),
              S_OK);
    EXPECT_EQ(after.Text(), harness.Text());
    EXPECT_FALSE(after.Text().empty());
}

class UnadvisingSink : public RecordingSink {
  public:
    WeatherDecoder* decoder = nullptr;
    std::uint32_t cookie = 0;
    void Bloc(std::int32_t) override { decoder->Unadvise(cookie); }
};

TEST(WeatherDecoderTest, SinkMayDisconnectFromInsideAnEvent) {
    DecoderHarness harness;
    UnadvisingSink sink;
    sink.decoder = &harness.Decoder();
    harness.Decoder().Advise(&sink, &sink.cookie);
    harness.Feed("A\n\nB C\n\n");
    EXPECT_EQ(harness.Sink().OfKind("Bloc").size(), 2u);
}

// The text log is a sink of the decoder's own, ahead of the clients': a
// client that hears a line finds it in the log already. Closed, it hears
// nothing more.
class LogReadingSink : public RecordingSink {
  public:
    std::string path;
    int found = 0;
    void Result(const std::string& data, std::int32_t level, std::int32_t slevel) override {
        RecordingSink::Result(data, level, slevel);
        const std::string log = testing::ReadFile(path);
        found += log.size() >= data.size() && log.ends_with(data);
    }
};

TEST(WeatherDecoderTest, TextLogHoldsEachLineBeforeAClientHearsIt) {
    DecoderHarness harness;
    LogReadingSink sink;
    std::uint32_t cookie = 0;
    harness.Decoder().Advise(&sink, &cookie);
    harness.Decoder().put_LogFileName("log");
    ASSERT_EQ(harness.Decoder().put_LogText(1), S_OK);
    sink.path = harness.Folder() + "/Data/log.wmo";
    harness.Feed("ZCZC 001\nSMDL01 EDZW 061200\nAAXX 06121\n10400 31465 02405=\n");
    EXPECT_GT(sink.found, 5);
    EXPECT_EQ(sink.found, static_cast<int>(sink.OfKind("Result").size()));
    harness.Decoder().put_LogText(0);
    const std::string closed = testing::ReadFile(sink.path);
    harness.Feed("10384 31465 02405=\n");
    EXPECT_EQ(testing::ReadFile(sink.path), closed);
}

TEST(WeatherDecoderTest, ArbitraryBytesAndHugeTokensAreSafe) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderLock(0);
    harness.Decoder().put_DecoderRelax(1);
    std::string noise;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        char c = static_cast<char>((state >> 16) & 0xFF);
        if (c == '\0') c = ' ';
        noise.push_back(c);
    }
    harness.Feed(noise);
    harness.Feed("AAXX 06121\n" + std::string(100000, '1') + " 32965 " + std::string(70000, '9') +
                 "=\n");
    harness.Feed("BBXX\n" + std::string(5000, 'X') + " 06121 99" + std::string(3000, '/') + "\n");
    // Then the next bulletin decodes.
    const std::size_t before = harness.Text().size();
    harness.Feed("ZCZC 001\nSMDL01 EDZW 061200\nAAXX 06121\n10400 32965 02405=\n");
    EXPECT_NE(harness.Text().find("Station Identity:  10400", before), std::string::npos);
}

}  // namespace
}  // namespace nimbo
