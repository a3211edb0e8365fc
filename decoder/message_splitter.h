// MessageSplitter: cuts the received character stream into tokens, finds the
// "ZCZC"/"NNNN" message delimiters, blank lines and report indicators, and
// hands the tokens, with how they were framed, to the report parser.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "decoder_options.h"
#include "weather_decoder_interface.h"

namespace nimbo {

// Keyword code of a delivered token.
inline constexpr int kKeywordNone = 0;
inline constexpr int kKeywordAfterZczc = 1;
inline constexpr int kKeywordAfterNnnn = 2;

// Longest token the splitter delivers; the rest of a longer run of
// characters is dropped, and the parser reports such a token once.
inline constexpr std::size_t kMaxTokenLength = 256;

// What ended a delivered token. Its own type: the report parser's separator
// levels use the same small numbers for another meaning.
enum class TokenSeparator { kBlank, kLineEnd, kBlankLine };
inline constexpr TokenSeparator kSeparatorBlank = TokenSeparator::kBlank;
inline constexpr TokenSeparator kSeparatorLineEnd = TokenSeparator::kLineEnd;
inline constexpr TokenSeparator kSeparatorBlankLine = TokenSeparator::kBlankLine;

// What the splitter drives.
class TokenParser {
  public:
    virtual ~TokenParser() = default;
    virtual void ProcessToken(std::string_view token, int keywordCode,
                              TokenSeparator separatorCode) = 0;
    // The one-shot resynchronisation request is withdrawn.
    virtual void ClearResyn() = 0;
    // True after text that starts no report (a switch stamp after the last
    // report, say): the next indicator opens a new bulletin, and the line
    // before it is its heading.
    virtual bool OutsideBulletin() const = 0;
    // An indicator garbled in one letter ("AAXA") was taken for the one it
    // differs from; `received` is the text as it came.
    virtual void RepairedIndicator(std::string_view received) { static_cast<void>(received); }
};

class MessageSplitter {
  public:
    // All three are borrowed and must outlive the splitter; the options are
    // read at every token, and the splitter withdraws `resyn` at an indicator.
    MessageSplitter(TokenParser& parser, _IWeatherDecoderEvents& events, DecoderOptions& options);

    // Feeds a fragment; fragments may cut tokens and lines anywhere.
    void Parse(std::string_view fragment);

  private:
    enum class CharState { kAfterKeyword = 0, kAfterBlank = 1, kLineStart = 2, kInToken = 3 };
    struct Matcher {
        std::string_view text;
        std::size_t matched = 0;
    };
    using LineSlots = std::array<std::string, 4>;

    void OnBlank();
    void OnLineFeed();
    void OnOther(char c);
    void StartToken();
    void EndToken(TokenSeparator separatorCode);
    void TakeReference();
    std::string_view Token() const { return {m_token.data(), m_tokenLength}; }
    void ClearToken();
    void AppendToToken(std::string_view characters);
    // Appends the run of plain characters from `at` (one at least); returns its end.
    const char* AppendPlainRun(const char* at, const char* end);
    bool MatchUnderWay() const { return (m_matchers[0].matched | m_matchers[1].matched) != 0; }
    void RunMatchers(char c);
    void OnDelimiter(std::size_t which);
    void RestartMatchers();
    void Deliver(std::string_view token, int keywordCode, TokenSeparator separatorCode);
    bool DeliverHeldStamp(std::string_view token, int keywordCode, TokenSeparator separatorCode);
    void DeliverToken(std::string_view token, int keywordCode, TokenSeparator separatorCode,
                      bool lineStart, const std::string* stamp);
    std::size_t GarbledIndicator(std::string_view token, int keywordCode) const;
    bool WaitsForIndicator() const;
    void ReplayPreviousLine();
    void RotateLines();
    LineSlots& CurrentLine() { return m_lines[m_currentLine]; }
    const LineSlots& PreviousLine() const { return m_lines[m_currentLine ^ 1]; }

    TokenParser& m_parser;
    _IWeatherDecoderEvents& m_events;
    DecoderOptions& m_options;
    // The token being read, kept in place: it is delivered as a view of this.
    std::array<char, kMaxTokenLength> m_token{};
    std::size_t m_tokenLength = 0;
    std::size_t m_dropped = 0;  // characters of the current token beyond the cap
    CharState m_state = CharState::kLineStart;
    std::array<Matcher, 2> m_matchers;
    bool m_firstOnLine = true;
    bool m_referencePending = false;
    TokenSeparator m_pendingSeparator = kSeparatorBlank;
    int m_pendingKeyword = kKeywordNone;
    bool m_searching = true;
    // The current and the previous line; rotating swaps their roles.
    std::array<LineSlots, 2> m_lines;
    std::size_t m_currentLine = 0;
    std::size_t m_currentCount = 0;
    std::size_t m_currentEntry = 0;
    bool m_nextAtLineStart = true;  // the next delivered token starts its line
    bool m_stampHeld = false;       // a YYYYMMDDHHMM stamp waits for the next token
    std::string m_stamp;
    int m_stampKeyword = kKeywordNone;
};

}  // namespace nimbo
