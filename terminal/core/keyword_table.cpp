// Built-in keywords, loading of the user keywords and the dialog rules.
#include "keyword_table.h"

#include <cctype>

#include "pane.h"

namespace dovrel {
namespace {

// Built-in keywords: text, separator, opener, colour (all match anywhere).
struct BuiltIn {
    const char* text;
    bool isSeparator;
    bool isOpener;
    std::uint32_t colour;
};
constexpr std::array<BuiltIn, kFirstUserEntry> kBuiltIns{{
    {"ZCZC", true, true, kColourMagenta},
    {"NNNN", true, false, kColourMagenta},
    {"KKKK", false, false, kColourBlue},
    {"CQ", false, false, kColourRed},
    {"VVV", false, false, kColourRed},
}};

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

KeywordTable MakeKeywordTable(const std::array<UserKeyword, kUserKeywords>& user) {
    KeywordTable table;
    for (std::size_t i = 0; i < kBuiltIns.size(); ++i) {
        table[i].Text = kBuiltIns[i].text;
        table[i].IsSeparator = kBuiltIns[i].isSeparator;
        table[i].IsOpener = kBuiltIns[i].isOpener;
        table[i].Colour = kBuiltIns[i].colour;
    }
    std::size_t next = kFirstUserEntry;
    for (const UserKeyword& u : user) {
        if (u.text.empty() || next >= table.size()) continue;
        KeywordEntry& e = table[next++];
        e.Text = u.text;
        e.Mode = (u.mode >= 0 && u.mode <= 2) ? static_cast<MatchKind>(u.mode) : MatchKind::Pattern;
        e.Colour = kColourCyan;
    }
    return table;
}

KeywordTable LoadKeywords(const SettingsContext& store) {
    std::array<UserKeyword, kUserKeywords> user;
    for (std::size_t i = 0; i < kUserKeywords; ++i) {
        user[i].text = store.ReadText("Keyword" + std::to_string(i));
        user[i].mode = static_cast<std::int16_t>(store.ReadInt("Keymode" + std::to_string(i), 0));
    }
    return MakeKeywordTable(user);
}

std::string CheckUserKeyword(std::string& text) {
    text = Upper(text);
    if (text.empty()) return {};
    for (const char* basic : {"ZCZC", "NNNN"}) {
        if (std::string(basic).starts_with(text)) {
            text.clear();
            return std::string("Part of the basic keyword \"") + basic + "\"";
        }
    }
    return {};
}

std::int16_t NextMatchKind(std::int16_t mode) {
    return (mode >= 0 && mode < 2) ? static_cast<std::int16_t>(mode + 1) : 0;
}

std::string MatchKindCaption(std::int16_t mode) {
    switch (mode) {
        case 0:
            return "P";
        case 1:
            return "S";
        case 2:
            return "W";
        default:
            return {};
    }
}

std::string MatchKindToolTip(std::int16_t mode) {
    switch (mode) {
        case 0:
            return "Pattern";
        case 1:
            return "Word start";
        case 2:
            return "Full word";
        default:
            return {};
    }
}

std::string KeywordsCheckCaption(bool lookWords) {
    return lookWords ? "&Keywords (Defaults ON)" : "&Keywords (Defaults OFF)";
}

}  // namespace dovrel
