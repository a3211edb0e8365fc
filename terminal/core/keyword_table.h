// The keyword table: the five built-in keywords ("ZCZC" and "NNNN", which
// open and close a message, "KKKK", "CQ", "VVV") and up to ten user keywords,
// each with its match kind and colour; plus the rules the options dialog
// applies to a user keyword.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings_store.h"

namespace dovrel {

// Match kinds of a keyword (the "Keymode" setting).
enum class MatchKind : std::int16_t { Pattern = 0, WordStart = 1, FullWord = 2 };

struct KeywordEntry {
    int MatchPos = 1;          // position (from 1) of the next character to compare
    std::string Text;          // empty: the entry is unused
    bool IsSeparator = false;  // opens or closes a message
    bool IsOpener = false;     // opens a message
    MatchKind Mode = MatchKind::Pattern;
    std::uint32_t Colour = 0;  // 0xBBGGRR

    bool Empty() const { return Text.empty(); }
};

inline constexpr std::size_t kKeywordEntries = 15;
inline constexpr std::size_t kUserKeywords = 10;
inline constexpr std::size_t kFirstUserEntry = 5;
// The last entry examined when only message separation is wanted.
inline constexpr std::size_t kLastSeparatorEntry = 1;

using KeywordTable = std::array<KeywordEntry, kKeywordEntries>;

// A user keyword as stored: "Keyword<i>" and "Keymode<i>".
struct UserKeyword {
    std::string text;
    std::int16_t mode = 0;
};

// The table with the built-in entries 0..4 and the non-empty user keywords
// packed from entry 5 on, in cyan. A mode outside 0..2 is taken as Pattern.
KeywordTable MakeKeywordTable(const std::array<UserKeyword, kUserKeywords>& user);
// Reads "Keyword0".."Keyword9" and "Keymode0".."Keymode9" and builds the table.
KeywordTable LoadKeywords(const SettingsContext& store);

// Options-dialog rules for a user keyword. Turns `text` to capitals; when it
// is the beginning of "ZCZC" or "NNNN" (any case) it is refused: `text` is
// emptied and the returned message reads Part of the basic keyword "ZCZC".
// Returns the empty text when the keyword is accepted.
std::string CheckUserKeyword(std::string& text);
// The mode button: 0 -> 1 -> 2 -> 0 (any other value restarts at 0).
std::int16_t NextMatchKind(std::int16_t mode);
// Caption "P", "S", "W" and tool tip "Pattern", "Word start", "Full word";
// empty for other values.
std::string MatchKindCaption(std::int16_t mode);
std::string MatchKindToolTip(std::int16_t mode);
// "&Keywords (Defaults ON)" / "&Keywords (Defaults OFF)".
std::string KeywordsCheckCaption(bool lookWords);

}  // namespace dovrel
