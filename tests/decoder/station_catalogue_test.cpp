// Station catalogue: record layouts, index check and rebuild, lookups on
// damaged files.
#include "station_catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "decoder_test_support.h"

namespace nimbo {
namespace {

using testing::ReadFile;
using testing::ScratchFolder;

void Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

const std::string kCatalogue =
    "07110  LFRB   Brest-Guipavas      FR 4827N 00425W\n"
    "07149  LFPO   Paris-Orly          FR 4843N 00223E\n"
    "07150         Abcdefghijklmnopqr& FR 4523N 00215E\n"
    "10400  EDDL   Duesseldorf         DL 5118N 00646E\n"
    "10410 \tEDLE\tEssen&\tDL\t5124N\t00700E\t\n"
    "10411 \tEDLX\tBroken\tDL\t5124N\n"
    "10500         No Position         DL\n";

// Degrees and minutes over a hundred, south and west negative, the cut-name mark dropped.
TEST(CatalogueRecordTest, FixedLayout) {
    const StationRecord record =
        ParseCatalogueLine("07150         Abcdefghijklmnopqr& FR 4523N 00215E");
    EXPECT_EQ(record.name, "Abcdefghijklmnopqr");
    EXPECT_EQ(record.country, "FR");
    EXPECT_EQ(record.locationIndicator, "");
    EXPECT_FLOAT_EQ(record.latitude, 45.23f);
    EXPECT_FLOAT_EQ(record.longitude, 2.15f);
    const StationRecord south =
        ParseCatalogueLine("85574  SCEL   Santiago            CH 3323S 07047W");
    EXPECT_FLOAT_EQ(south.latitude, -33.23f);
    EXPECT_FLOAT_EQ(south.longitude, -70.47f);
    EXPECT_EQ(south.locationIndicator, "SCEL");
}

TEST(CatalogueRecordTest, TabLayoutNeedsEveryTab) {
    const StationRecord good = ParseCatalogueLine("10410 \tEDLE\tEssen&\tDL\t5124N\t00700E\t");
    EXPECT_EQ(good.name, "Essen");
    EXPECT_EQ(good.locationIndicator, "EDLE");
    EXPECT_FLOAT_EQ(good.latitude, 51.24f);
    EXPECT_FLOAT_EQ(good.longitude, 7.0f);
    EXPECT_EQ(ParseCatalogueLine("10411 \tEDLX\tBroken\tDL\t5124N").name, "");
}

// Coordinates are read as strtol reads a number: leading blanks, a sign,
// figures up to the first other character; none without a figure.
TEST(CatalogueRecordTest, CoordinatesAreReadLikeStrtol) {
    struct Case {
        const char* latitude;
        float expected;
    };
    for (const Case& c : {Case{"5124N", 51.24f}, Case{"+5124N", 51.24f}, Case{"-5124N", -51.24f},
                          Case{"\v5124S", -51.24f}, Case{" 51x4N", 0.51f}, Case{"x5124N", 800.0f},
                          Case{"-N", 800.0f}, Case{"N", 800.0f},
                          Case{"99999999999999999999N", 9223372036854775807.0f / 100.0f}}) {
        const StationRecord record = ParseCatalogueLine(std::string("10410 \tEDLE\tEssen\tDL\t") +
                                                        c.latitude + "\t00700E\t");
        EXPECT_FLOAT_EQ(record.latitude, c.expected) << c.latitude;
    }
}

TEST(CatalogueRecordTest, ShortLinesAreSafe) {
    for (const char* line : {"", "1", "10400", "10400  ", "10400 \t", "10400  EDDL   Due"}) {
        const StationRecord record = ParseCatalogueLine(line);
        EXPECT_FLOAT_EQ(record.latitude, 800.0f) << line;
    }
}

class CatalogueTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    std::string Dat() const { return folder.Path() + "/wmoids.dat"; }
    std::string Idx() const { return folder.Path() + "/wmoids.idx"; }
};

TEST_F(CatalogueTest, IndexIsBuiltWithOneLinePerPrefix) {
    Write(Dat(), kCatalogue);
    StationCatalogue catalogue(folder.Path());
    char expected[64];
    std::snprintf(expected, sizeof expected, "00000000 07110 \n%08zu 10400 \n%08zu 10500 \n",
                  kCatalogue.find("10400"), kCatalogue.find("10500"));
    EXPECT_EQ(ReadFile(Idx()), expected);
}

TEST_F(CatalogueTest, LookUpFindsStationsOfBothLayouts) {
    Write(Dat(), kCatalogue);
    StationCatalogue catalogue(folder.Path());
    EXPECT_EQ(catalogue.LookUp("07149").name, "Paris-Orly");
    EXPECT_EQ(catalogue.LookUp("10400").locationIndicator, "EDDL");
    EXPECT_EQ(catalogue.LookUp("10410").name, "Essen");
    EXPECT_EQ(catalogue.LookUp("10411").name, "");
    EXPECT_EQ(catalogue.LookUp("07111").name, "");
    EXPECT_EQ(catalogue.LookUp("99999").name, "");
    EXPECT_EQ(catalogue.LookUp("1040").name, "");
    const StationRecord noPosition = catalogue.LookUp("10500");
    EXPECT_EQ(noPosition.name, "No Position");
    EXPECT_FLOAT_EQ(noPosition.latitude, 800.0f);
}

// A deleted, stale or out-of-range index is rebuilt as a fresh one.
TEST_F(CatalogueTest, DamagedIndexIsRebuilt) {
    Write(Dat(), kCatalogue);
    { StationCatalogue first(folder.Path()); }
    const std::string index = ReadFile(Idx());
    for (const char* damaged : {"", "00000003 07110 \n", "99999999 07110 \n"}) {
        std::filesystem::remove(Idx());
        if (*damaged != '\0') Write(Idx(), damaged);
        StationCatalogue catalogue(folder.Path());
        EXPECT_EQ(catalogue.LookUp("10400").name, "Duesseldorf") << damaged;
        EXPECT_EQ(catalogue.LookUp("07110").name, "Brest-Guipavas") << damaged;
        EXPECT_EQ(ReadFile(Idx()), index) << damaged;
    }
}

TEST_F(CatalogueTest, LinesEndingInCarriageReturnsAreRead) {
    Write(Dat(),
          "07110  LFRB   Brest-Guipavas      FR 4827N 00425W\r\n"
          "07149  LFPO   Paris-Orly          FR 4843N 00223E\r\r\n");
    StationCatalogue catalogue(folder.Path());
    EXPECT_EQ(catalogue.LookUp("07149").name, "Paris-Orly");
    EXPECT_FLOAT_EQ(catalogue.LookUp("07149").longitude, 2.23f);
    EXPECT_EQ(catalogue.LookUp("07110").country, "FR");
}

// An over-long line or a NUL in a line costs that line only.
TEST_F(CatalogueTest, DamagedLinesDoNotBreakTheLookUp) {
    std::string withNul = kCatalogue;
    withNul[withNul.find("Guipavas")] = '\0';
    Write(Dat(), "07100 " + std::string(1000, 'x') + "\n" + withNul + "111" +
                     std::string(700, 'x') + "\n");
    StationCatalogue catalogue(folder.Path());
    EXPECT_EQ(catalogue.LookUp("07149").name, "Paris-Orly");
    EXPECT_EQ(catalogue.LookUp("10400").name, "Duesseldorf");
    EXPECT_EQ(catalogue.LookUp("11111").name, "");
}

TEST_F(CatalogueTest, MissingCatalogueFindsNothingAndUnwritableFolderStillAllowsLookUps) {
    EXPECT_FALSE(StationCatalogue(folder.Path()).Available());
    EXPECT_EQ(StationCatalogue(folder.Path()).LookUp("10400").name, "");
    Write(Dat(), kCatalogue);
    std::filesystem::create_directory(Idx());  // the index name is taken by a folder
    EXPECT_EQ(StationCatalogue(folder.Path()).LookUp("10400").name, "Duesseldorf");
}

TEST_F(CatalogueTest, CurrentDirectoryComesFirstThenTheEnvironmentFolder) {
    const std::string other = folder.Path() + "/other";
    std::filesystem::create_directory(other);
    Write(other + "/wmoids.dat", kCatalogue);
    setenv("NIMBO_CATALOGUE_DIR", other.c_str(), 1);
    EXPECT_EQ(StationCatalogue::FindFolder(), other);
    Write(Dat(), kCatalogue);
    EXPECT_EQ(StationCatalogue::FindFolder(), "");
    unsetenv("NIMBO_CATALOGUE_DIR");
}

TEST(BundledCatalogueTest, IsSortedAndInTheFixedLayout) {
    const std::string text = ReadFile(NIMBO_CATALOGUE_SOURCE);
    ASSERT_FALSE(text.empty());
    std::string previous;
    std::size_t start = 0;
    int lines = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        ++lines;
        ASSERT_LE(line.size(), 255u);
        ASSERT_GT(line.substr(0, 5), previous) << line;
        previous = line.substr(0, 5);
        ASSERT_NE(line[6], '\t');
    }
    EXPECT_GT(lines, 10000);
}

}  // namespace
}  // namespace nimbo
