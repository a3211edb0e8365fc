// Figure repair: what a token becomes, and where the text returned lives (the
// token itself when nothing is repaired, the caller's storage otherwise).
#include "figure_repair.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

struct RepairCase {
    std::string_view token;
    std::string_view expected;
    bool repaired;  // the result lives in the storage
};

constexpr RepairCase kRepairCases[] = {
    {"10125", "10125", false},  // figures already
    {"1///2", "1///2", false}, {"", "", false},
    {"QPQWT", "10125", true},  // a group printed in letters shift
    {"1PQWX", "1012/", true},  // figures and letters mixed; X for "/"
    {"ENVV", "ENVV", false},   // a word (N pairs with no figure) keeps its letters
    {"NIL", "NIL", false},     {"3V", "3=", true},
};

TEST(FigureRepairTest, RepairsOnlyWhatWasPrintedInLettersShift) {
    for (const RepairCase& row : kRepairCases) {
        SCOPED_TRACE(std::string(row.token));
        std::string storage = "untouched";
        const std::string_view result = RepairFigures(row.token, storage);
        EXPECT_EQ(result, row.expected);
        EXPECT_EQ(RepairFigures(row.token), row.expected);
        if (row.repaired) {
            EXPECT_EQ(result.data(), storage.data());
        } else {
            EXPECT_EQ(result.data(), row.token.data());
            EXPECT_EQ(storage, "untouched");
        }
    }
}

}  // namespace
}  // namespace nimbo
