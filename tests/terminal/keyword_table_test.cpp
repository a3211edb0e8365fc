// The keyword table and the options-dialog rules for user keywords.
#include "keyword_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "pane.h"

namespace dovrel {
namespace {

TEST(KeywordTableTest, BuiltInsComeFirst) {
    const KeywordTable t = MakeKeywordTable({});
    const char* texts[] = {"ZCZC", "NNNN", "KKKK", "CQ", "VVV"};
    const std::uint32_t colours[] = {kColourMagenta, kColourMagenta, kColourBlue, kColourRed,
                                     kColourRed};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(t[i].Text, texts[i]);
        EXPECT_EQ(t[i].Colour, colours[i]);
        EXPECT_EQ(t[i].Mode, MatchKind::Pattern);
        EXPECT_EQ(t[i].MatchPos, 1);
    }
    EXPECT_TRUE(t[0].IsSeparator && t[0].IsOpener);
    EXPECT_TRUE(t[1].IsSeparator && !t[1].IsOpener);
    EXPECT_FALSE(t[2].IsSeparator);
    for (std::size_t i = 5; i < kKeywordEntries; ++i) EXPECT_TRUE(t[i].Empty());
}

TEST(KeywordTableTest, UserKeywordsArePackedFromEntryFive) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("dovrel-keyword-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    SettingsContext store(SettingsStore(root), "Quarnel");
    store.WriteText("Keyword1", "DE");
    store.WriteInt("Keymode1", 1);
    store.WriteText("Keyword4", "TEST");
    store.WriteInt("Keymode4", 2);
    store.WriteText("Keyword9", "ODD");
    store.WriteInt("Keymode9", 7);
    const KeywordTable t = LoadKeywords(store);
    EXPECT_EQ(t[5].Text, "DE");
    EXPECT_EQ(t[5].Mode, MatchKind::WordStart);
    EXPECT_EQ(t[5].Colour, kColourCyan);
    EXPECT_FALSE(t[5].IsSeparator);
    EXPECT_EQ(t[6].Text, "TEST");
    EXPECT_EQ(t[6].Mode, MatchKind::FullWord);
    EXPECT_EQ(t[7].Text, "ODD");
    EXPECT_EQ(t[7].Mode, MatchKind::Pattern);  // out of range
    EXPECT_TRUE(t[8].Empty());
    std::filesystem::remove_all(root);
}

struct CheckCase {
    const char* typed;
    const char* kept;
    const char* message;
};

TEST(KeywordTableTest, DialogTurnsToCapitalsAndRefusesBasicKeywordParts) {
    const CheckCase cases[] = {
        {"zc", "", "Part of the basic keyword \"ZCZC\""},
        {"ZCZC", "", "Part of the basic keyword \"ZCZC\""},
        {"n", "", "Part of the basic keyword \"NNNN\""},
        {"nnn", "", "Part of the basic keyword \"NNNN\""},
        {"de", "DE", ""},
        {"CZ", "CZ", ""},
        {"ZCZCA", "ZCZCA", ""},
        {"", "", ""},
    };
    for (const CheckCase& c : cases) {
        std::string text = c.typed;
        EXPECT_EQ(CheckUserKeyword(text), c.message) << c.typed;
        EXPECT_EQ(text, c.kept) << c.typed;
    }
}

TEST(KeywordTableTest, ModeButtonSteps) {
    EXPECT_EQ(NextMatchKind(0), 1);
    EXPECT_EQ(NextMatchKind(1), 2);
    EXPECT_EQ(NextMatchKind(2), 0);
    EXPECT_EQ(NextMatchKind(9), 0);
    EXPECT_EQ(MatchKindCaption(1), "S");
    EXPECT_EQ(MatchKindToolTip(2), "Full word");
    EXPECT_EQ(MatchKindCaption(3), "");
    EXPECT_EQ(KeywordsCheckCaption(true), "&Keywords (Defaults ON)");
    EXPECT_EQ(KeywordsCheckCaption(false), "&Keywords (Defaults OFF)");
}

}  // namespace
}  // namespace dovrel
