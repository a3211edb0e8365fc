// The splitter works one character at a time and keeps all its state in the
// object, so the tokens it delivers do not depend on how the stream is cut.
#include "message_splitter.h"

#include <algorithm>
#include <array>

#include "report_start.h"
#include "tables/code_tables.h"

namespace nimbo {
namespace {

// Delimiters are matched without regard to case: some switches send "nnnn".
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

// "AAXX" and a day-hour group without the blank between them, or with a
// character in its place ("AAXX01004", "AAXXR01004").
bool IsLandIndicatorRunOn(std::string_view token) {
    if ((token.size() != 9 && token.size() != 10) || !token.starts_with(kIndicatorWords[0]))
        return false;
    return token.substr(token.size() - 5).find_first_not_of("0123456789/") ==
           std::string_view::npos;
}

bool IsStamp(std::string_view token) {
    return token.size() == 12 && token.find_first_not_of("0123456789") == std::string_view::npos;
}

// Every token is looked at: "XX" holds an odd position, so only those are
// tried first (a library search costs more than this on five characters).
bool HasDoubleX(std::string_view token) {
    for (std::size_t i = 1; i < token.size(); i += 2) {
        if (token[i] != 'X') continue;
        if (token[i - 1] == 'X' || (i + 1 < token.size() && token[i + 1] == 'X')) return true;
    }
    return false;
}

bool SameLetters(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (UpperAscii(text[i]) != upper[i]) return false;
    }
    return true;
}

}  // namespace

MessageSplitter::MessageSplitter(TokenParser& parser, _IWeatherDecoderEvents& events,
                                 DecoderOptions& options)
    : m_parser(parser), m_events(events), m_options(options) {
    m_matchers[0].text = "ZCZC";
    m_matchers[1].text = "NNNN";
}

namespace {

// Characters that only start or lengthen a token when no delimiter match is
// under way: all but blank, tab, line feed, carriage return and the
// delimiters' first letters.
constexpr std::array<bool, 256> kPlainTokenCharacters = [] {
    std::array<bool, 256> plain{};
    for (auto& entry : plain) entry = true;
    for (const unsigned char c : {' ', '\t', '\n', '\r', 'Z', 'z', 'N', 'n'}) plain[c] = false;
    return plain;
}();

bool IsPlain(char c) { return kPlainTokenCharacters[static_cast<unsigned char>(c)]; }

}  // namespace

void MessageSplitter::Parse(std::string_view fragment) {
    const char* at = fragment.data();
    const char* const end = at + fragment.size();
    while (at != end) {
        if (!MatchUnderWay() && IsPlain(*at)) {
            // Most characters only start or lengthen a token, and no delimiter
            // can begin with them: they are taken as a run.
            StartToken();
            at = AppendPlainRun(at, end);
            continue;
        }
        const char c = *at++;
        if (c == '\r') continue;
        // A tab separates groups like a blank (files written by hand use both).
        if (c == ' ' || c == '\t') {
            OnBlank();
        } else if (c == '\n') {
            OnLineFeed();
        } else {
            OnOther(c);
        }
    }
}

void MessageSplitter::RestartMatchers() {
    for (auto& matcher : m_matchers) matcher.matched = 0;
}

void MessageSplitter::OnBlank() {
    RestartMatchers();
    if (m_state != CharState::kAfterKeyword && m_state != CharState::kLineStart) {
        m_pendingSeparator = kSeparatorBlank;
        m_state = CharState::kAfterBlank;
    }
    m_firstOnLine = false;
}

void MessageSplitter::OnLineFeed() {
    RestartMatchers();
    switch (m_state) {
        case CharState::kAfterKeyword:
            if (m_referencePending) {
                m_referencePending = false;
                m_events.Message(1, "??");
            }
            break;
        case CharState::kLineStart:
            // A blank line is layout: double-spaced traffic has one after every
            // line. It ends neither a report nor a bulletin, and it leaves the line
            // memory (the heading) and a pending delimiter code as they are.
            m_events.Bloc(1);
            break;
        case CharState::kAfterBlank:
        case CharState::kInToken:
            EndToken(kSeparatorLineEnd);
            break;
    }
    ClearToken();
    m_firstOnLine = true;
    m_state = CharState::kLineStart;
}

void MessageSplitter::ClearToken() {
    m_tokenLength = 0;
    m_dropped = 0;
}

void MessageSplitter::OnOther(char c) {
    StartToken();
    AppendToToken(std::string_view(&c, 1));
    RunMatchers(c);
}

// A character after a blank ends the token before it, which is delivered now.
void MessageSplitter::StartToken() {
    if (m_state == CharState::kAfterBlank) EndToken(m_pendingSeparator);
    m_state = CharState::kInToken;
}

// The token read is the reference after a message start, or else is
// delivered with the separator that ended it.
void MessageSplitter::EndToken(TokenSeparator separatorCode) {
    if (m_referencePending) {
        TakeReference();
    } else {
        m_pendingSeparator = separatorCode;
        Deliver(Token(), m_pendingKeyword, separatorCode);
        m_pendingKeyword = kKeywordNone;
    }
    ClearToken();
}

void MessageSplitter::TakeReference() {
    m_referencePending = false;
    m_events.Message(1, std::string(Token()));
}

// No real group comes near the cap: the rest of an endless run of characters
// is dropped, so memory stays flat whatever the input.
void MessageSplitter::AppendToToken(std::string_view characters) {
    const std::size_t kept = std::min(characters.size(), kMaxTokenLength - m_tokenLength);
    characters.copy(m_token.data() + m_tokenLength, kept);
    m_tokenLength += kept;
    m_dropped += characters.size() - kept;
}

// Copies as it scans: most runs are a group of five characters, too short
// for a separate scan and copy to pay.
const char* MessageSplitter::AppendPlainRun(const char* at, const char* end) {
    std::size_t length = m_tokenLength;
    std::size_t dropped = m_dropped;
    do {
        if (length < kMaxTokenLength) {
            m_token[length++] = *at;
        } else {
            ++dropped;
        }
        ++at;
    } while (at != end && IsPlain(*at));
    m_tokenLength = length;
    m_dropped = dropped;
    return at;
}

// A matcher that fails restarts at 0 without trying the same character as a
// first character again, so "ZZCZC" holds no delimiter.
void MessageSplitter::RunMatchers(char c) {
    for (std::size_t i = 0; i < m_matchers.size(); ++i) {
        Matcher& matcher = m_matchers[i];
        if (UpperAscii(c) == matcher.text[matcher.matched]) {
            ++matcher.matched;
        } else {
            matcher.matched = 0;
        }
        if (matcher.matched == matcher.text.size()) {
            matcher.matched = 0;
            if (m_options.messageLock && (!SameLetters(Token(), matcher.text) || !m_firstOnLine))
                continue;
            OnDelimiter(i);
            return;
        }
    }
}

void MessageSplitter::OnDelimiter(std::size_t which) {
    if (!m_options.messageLock) {
        // The delimiter's characters that were kept are the token's last ones.
        const std::size_t delimiterLength = m_matchers[which].text.size();
        const std::size_t kept = m_dropped >= delimiterLength ? 0 : delimiterLength - m_dropped;
        const std::string_view rest = Token().substr(0, m_tokenLength - kept);
        if (!rest.empty()) Deliver(rest, m_pendingKeyword, m_pendingSeparator);
    }
    m_state = CharState::kAfterKeyword;
    m_firstOnLine = false;
    m_pendingSeparator = kSeparatorBlank;
    ClearToken();
    if (which == 0) {
        m_referencePending = true;
        m_pendingKeyword = kKeywordAfterZczc;
    } else {
        m_events.Message(0, "??");
        m_pendingKeyword = kKeywordAfterNnnn;
    }
    RestartMatchers();
}

// A line of the Internet format starts with a YYYYMMDDHHMM stamp and then
// the indicator: the stamp is held until the next token shows whether it is
// one, and then stands for the report's heading.
void MessageSplitter::Deliver(std::string_view token, int keywordCode,
                              TokenSeparator separatorCode) {
    const bool lineStart = m_nextAtLineStart;
    m_nextAtLineStart = separatorCode != kSeparatorBlank;
    if (lineStart && !m_stampHeld && IsLandIndicatorRunOn(token)) {
        // The blank after the indicator was lost or garbled: taken apart, and named.
        DeliverToken(kIndicatorWords[0], keywordCode, kSeparatorBlank, true, nullptr);
        m_parser.RepairedIndicator(token);
        DeliverToken(token.substr(token.size() - 5), kKeywordNone, separatorCode, false, nullptr);
        return;
    }
    if (m_stampHeld && DeliverHeldStamp(token, keywordCode, separatorCode)) return;
    if (lineStart && separatorCode == kSeparatorBlank && IsStamp(token)) {
        m_stampHeld = true;
        m_stamp = token;
        m_stampKeyword = keywordCode;
        return;
    }
    DeliverToken(token, keywordCode, separatorCode, lineStart, nullptr);
}

// The token after a held stamp: an indicator takes the stamp as its
// heading (and is delivered here: returns true); anything else follows the
// stamp delivered as an ordinary token.
bool MessageSplitter::DeliverHeldStamp(std::string_view token, int keywordCode,
                                       TokenSeparator separatorCode) {
    m_stampHeld = false;
    const std::string stamp = std::move(m_stamp);
    if (keywordCode == kKeywordNone && IsIndicatorWord(token)) {
        DeliverToken(token, keywordCode, separatorCode, false, &stamp);
        return true;
    }
    DeliverToken(stamp, m_stampKeyword, kSeparatorBlank, true, nullptr);
    return false;
}

// An indicator garbled in one of its four letters is still taken where a
// bulletin's indicator stands: first on the line after a message start or a
// heading line. Takes a token of four characters at a line start; returns
// the entry it stands for, or npos.
std::size_t MessageSplitter::GarbledIndicator(std::string_view token, int keywordCode) const {
    if (!WaitsForIndicator()) return kNoEntry;
    const LineSlots& previous = PreviousLine();
    const bool afterHeading = IsDesignator(previous[0]) && previous[1].size() == 4;
    if (keywordCode != kKeywordAfterZczc && !afterHeading) return kNoEntry;
    for (std::size_t entry = 0; entry < kIndicatorWords.size(); ++entry) {
        const std::string_view word = kIndicatorWords[entry];
        int differences = 0;
        for (std::size_t i = 0; i < word.size(); ++i) differences += token[i] != word[i];
        if (differences == 1) return entry;
    }
    return kNoEntry;
}

void MessageSplitter::DeliverToken(std::string_view received, int keywordCode,
                                   TokenSeparator separatorCode, bool lineStart,
                                   const std::string* stamp) {
    const std::size_t repaired =
        received.size() == 4 && lineStart ? GarbledIndicator(received, keywordCode) : kNoEntry;
    const std::string_view token = repaired == kNoEntry ? received : kIndicatorWords[repaired];
    if (keywordCode != kKeywordNone || separatorCode == kSeparatorBlankLine) {
        m_searching = true;
        if (keywordCode == kKeywordAfterZczc) {
            // Nothing received before a message start is its heading.
            RotateLines();
            RotateLines();
        }
        if (separatorCode != kSeparatorBlank) RotateLines();
    }
    // Every indicator word ends in "XX": most tokens are ruled out at once.
    const bool mayHoldIndicator = HasDoubleX(token);
    for (std::size_t entry = 0; mayHoldIndicator && entry < kIndicatorWords.size(); ++entry) {
        const std::string_view word = kIndicatorWords[entry];
        if (token.find(word) == std::string_view::npos) continue;
        m_events.Indicator(std::string(word));
        if (stamp != nullptr) {
            m_parser.ProcessToken(*stamp, kKeywordAfterZczc, kSeparatorLineEnd);
        } else if (WaitsForIndicator() && m_options.decoderLock && !m_options.resyn) {
            ReplayPreviousLine();
        }
        if (repaired != kNoEntry) m_parser.RepairedIndicator(received);
        m_options.resyn = false;
        m_parser.ClearResyn();
        m_searching = false;
        m_currentEntry = entry;
    }
    if (!(m_searching && m_options.decoderLock && !m_options.resyn)) {
        m_parser.ProcessToken(token, keywordCode, separatorCode);
    }
    if (WaitsForIndicator() && m_currentCount < CurrentLine().size()) {
        CurrentLine()[m_currentCount++] = token;
    }
    if (separatorCode != kSeparatorBlank) RotateLines();
}

// Between bulletins the line memory keeps the last lines, so that the line
// before the next indicator can be handed on as its heading.
bool MessageSplitter::WaitsForIndicator() const {
    return m_searching || m_parser.OutsideBulletin();
}

// Hands the parser the line before the indicator, normally the bulletin
// heading, as if it had just started a message.
void MessageSplitter::ReplayPreviousLine() {
    const LineSlots& previous = PreviousLine();
    bool first = true;
    for (std::size_t i = 0; i < previous.size(); ++i) {
        if (previous[i].empty()) continue;
        const bool last = i + 1 == previous.size() || previous[i + 1].empty();
        m_parser.ProcessToken(previous[i], first ? kKeywordAfterZczc : kKeywordNone,
                              last ? kSeparatorLineEnd : kSeparatorBlank);
        first = false;
    }
}

void MessageSplitter::RotateLines() {
    m_currentLine ^= 1;
    for (auto& slot : CurrentLine()) slot.clear();
    m_currentCount = 0;
}

}  // namespace nimbo
