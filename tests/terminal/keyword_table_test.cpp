// The keyword table and the options-dialog rules for user keywords.
#include "keyword_table.h"

#include <gtest/gtest.h>

#include "pane.h"
#include "temp_dir.h"

namespace dovrel {
namespace {

TEST(KeywordTableTest, UserKeywordsArePackedFromEntryFive) {
    const testing::TempDir root;
    SettingsContext store(SettingsStore(root.Path()), "Quarnel");
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
    for (std::size_t i = 8; i < kKeywordEntries; ++i) EXPECT_TRUE(t[i].Empty());
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
    EXPECT_EQ(NextMatchKind(2), 0);
    EXPECT_EQ(NextMatchKind(9), 0);
    EXPECT_EQ(MatchKindCaption(3), "");
}

}  // namespace
}  // namespace dovrel
