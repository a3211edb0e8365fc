// Message splitter: tokens, delimiters, blank lines, indicators, line replay.
#include "message_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"

namespace nimbo {
namespace {

struct Token {
    std::string text;
    int keyword;
    int separator;
    bool operator==(const Token&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Token& token) {
    return out << "{" << token.text << "," << token.keyword << "," << token.separator << "}";
}

class FakeParser : public TokenParser {
  public:
    std::vector<Token> tokens;
    int resynClears = 0;
    void ProcessToken(std::string_view token, int keyword, TokenSeparator separator) override {
        tokens.push_back({std::string(token), keyword, static_cast<int>(separator)});
    }
    void ClearResyn() override { ++resynClears; }
    bool OutsideBulletin() const override { return false; }
};

class SplitterTest : public ::testing::Test {
  protected:
    SplitterTest() : splitter(parser, sink, options) { options.decoderLock = false; }

    void Feed(const std::string& text) { splitter.Parse(text); }
    std::vector<testing::Event> Messages() const { return sink.OfKind("Message"); }

    FakeParser parser;
    testing::RecordingSink sink;
    DecoderOptions options;
    MessageSplitter splitter;
};

TEST_F(SplitterTest, CutsTokensAtBlanksAndLineEndsWithTheirSeparators) {
    Feed("AB  CD\r\nEF\n");
    EXPECT_EQ(parser.tokens, (std::vector<Token>{{"AB", 0, 0}, {"CD", 0, 1}, {"EF", 0, 1}}));
}

TEST_F(SplitterTest, TokenIsHeldBackUntilTheNextCharacterOrLineEnd) {
    Feed("AB ");
    EXPECT_TRUE(parser.tokens.empty());
    Feed("C");
    EXPECT_EQ(parser.tokens, (std::vector<Token>{{"AB", 0, 0}}));
}

TEST_F(SplitterTest, ZczcWithReferenceStartsAMessage) {
    Feed("ZCZC 123\nSMDL01 EDZW\n");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].a, 1);
    EXPECT_EQ(Messages()[0].text, "123");
    // The reference is not delivered; the next token carries keyword code 1.
    EXPECT_EQ(parser.tokens, (std::vector<Token>{{"SMDL01", 1, 0}, {"EDZW", 0, 1}}));
    Feed("ZCZC\n");  // at the line end: unknown reference
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1].text, "??");
    EXPECT_EQ(Messages()[1].a, 1);
}

TEST_F(SplitterTest, NnnnEndsTheMessageAtItsFourthCharacter) {
    Feed("NNN");
    EXPECT_TRUE(Messages().empty());
    Feed("N");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].a, 0);
    EXPECT_EQ(Messages()[0].text, "??");
    Feed("\nABC\n");
    EXPECT_EQ(parser.tokens, (std::vector<Token>{{"ABC", 2, 1}}));
}

TEST_F(SplitterTest, UnlockedDelimiterMayEndALongerToken) {
    Feed("X ABCZCZC 77\n");
    EXPECT_EQ(parser.tokens[1].text, "ABC");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "77");
}

TEST_F(SplitterTest, LockedDelimiterMustBeTheWholeFirstTokenOfALine) {
    options.messageLock = true;
    Feed("ABCZCZC 1\nX ZCZC 2\nZCZC 3\n");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "3");
    EXPECT_EQ(parser.tokens[0].text, "ABCZCZC");
}

TEST_F(SplitterTest, MatcherDoesNotRetryTheFailingCharacter) {
    Feed("ZZCZC 1\nNNNNN\n");
    // ZZCZC holds no delimiter; NNNNN holds one (the fifth N follows it).
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].a, 0);
    EXPECT_EQ(parser.tokens[0].text, "ZZCZC");
}

TEST_F(SplitterTest, BlankLinesRaiseBlocAndFrameNothing) {
    // A blank line after the reference keeps the message start for the heading.
    Feed("ZCZC 1\r\r\n\r\r\nA\n  \nB\n");
    EXPECT_EQ(sink.OfKind("Bloc").size(), 2u);
    EXPECT_EQ(parser.tokens, (std::vector<Token>{{"A", 1, 1}, {"B", 0, 1}}));
}

TEST_F(SplitterTest, LowerCaseDelimitersCountLikeUpperCase) {
    options.messageLock = true;
    Feed("zczc 7\nA\nnnnn\n");
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, "7");
    EXPECT_EQ(Messages()[1].a, 0);
}

TEST_F(SplitterTest, BlankLineDoesNotTakeThePlaceOfTheHeading) {
    options.decoderLock = true;
    Feed("ZCZC\n\nSINO99 ENBJ 270300\n\nAAXX 27034\n");
    EXPECT_EQ(
        parser.tokens,
        (std::vector<Token>{
            {"SINO99", 1, 0}, {"ENBJ", 0, 0}, {"270300", 0, 1}, {"AAXX", 0, 0}, {"27034", 0, 1}}));
}

TEST_F(SplitterTest, IndicatorAnywhereInATokenIsAnnounced) {
    Feed("XAAXXY BBXX\n");
    const auto indicators = sink.OfKind("Indicator");
    ASSERT_EQ(indicators.size(), 2u);
    EXPECT_EQ(indicators[0].text, "AAXX");
    EXPECT_EQ(indicators[1].text, "BBXX");
}

TEST_F(SplitterTest, LockedDecoderSeesOnlyTheHeadingLineBeforeAnIndicator) {
    options.decoderLock = true;
    Feed("ZCZC 1\nNOISE\nSMDL01 EDZW 061200\nAAXX 06121\n");
    EXPECT_EQ(
        parser.tokens,
        (std::vector<Token>{
            {"SMDL01", 1, 0}, {"EDZW", 0, 0}, {"061200", 0, 1}, {"AAXX", 0, 0}, {"06121", 0, 1}}));
}

TEST_F(SplitterTest, IndicatorWithdrawsTheResynchronisationRequest) {
    options.resyn = true;
    Feed("AAXX\n");
    EXPECT_FALSE(options.resyn);
    EXPECT_EQ(parser.resynClears, 1);
}

TEST_F(SplitterTest, OverLongTokenIsCutAndADelimiterAtItsEndStillCounts) {
    Feed(std::string(100000, '1') + " X " + std::string(kMaxTokenLength, 'A') + "NNNN\n");
    ASSERT_EQ(parser.tokens.size(), 3u);
    EXPECT_EQ(parser.tokens[0].text, std::string(kMaxTokenLength, '1'));
    EXPECT_EQ(parser.tokens[1].text, "X");
    EXPECT_EQ(parser.tokens[2].text, std::string(kMaxTokenLength, 'A'));
    ASSERT_EQ(Messages().size(), 1u);
}

}  // namespace
}  // namespace nimbo
