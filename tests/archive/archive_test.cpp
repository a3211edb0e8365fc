// The observation archive over real bulletins: storing them twice, the
// versions of a report (corrections, delayed reports, NIL, conflicts), an
// older and a newer file, a lock held by another program and readers while
// a batch is written.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "archive_schema.h"
#include "archive_writer.h"
#include "cp1252.h"
#include "decoder_test_support.h"
#include "report_precedence.h"
#include "temp_dir.h"

namespace nimbo {
namespace {

// Another program's connection to the archive file.
class RawConnection {
  public:
    explicit RawConnection(const std::string& path) { sqlite3_open(path.c_str(), &m_db); }
    ~RawConnection() { sqlite3_close(m_db); }
    bool Execute(const std::string& sql) {
        return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    // Every row as text, one line each, in key order.
    std::string Rows() {
        std::string out;
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(m_db,
                           "SELECT * FROM observations ORDER BY station, year, month, day, hour",
                           -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(s); ++i) {
                const auto* text = sqlite3_column_text(s, i);
                out += (text ? reinterpret_cast<const char*>(text) : "-") + std::string("|");
            }
            out += '\n';
        }
        sqlite3_finalize(s);
        return out;
    }

  private:
    sqlite3* m_db = nullptr;
};

class ArchiveTest : public ::testing::Test {
  protected:
    std::string Path() const { return (m_folder / "archive.sqlite").string(); }

    std::unique_ptr<ObservationArchive> Open(int busyMilliseconds = 2000) {
        std::string error;
        auto archive = ObservationArchive::Open(Path(), ObservationArchive::Access::kReadWrite,
                                                &error, busyMilliseconds);
        EXPECT_TRUE(archive) << error;
        return archive;
    }

    // Decodes the text into the archive as nimbo --db does.
    StoreCounts Import(const std::string& text) {
        auto archive = Open();
        ArchiveWriter writer(*archive);
        testing::DecoderHarness harness;
        void* object = nullptr;
        harness.Decoder().QueryInterface(IWeatherObservationSource::kIid, &object);
        ComponentRef<IWeatherObservationSource> source(
            static_cast<IWeatherObservationSource*>(object));
        std::uint32_t cookie = 0;
        source->Advise(&writer, &cookie);
        harness.Decoder().Advise(&writer, &cookie);
        harness.Decoder().put_DecoderRelax(1);
        harness.Feed(text);
        harness.Destroy();
        EXPECT_TRUE(writer.Flush()) << writer.Error();
        return writer.Counts();
    }

    ArchivedReport Held(const std::string& station, int hour) {
        std::vector<ArchivedReport> reports;
        Open()->History(station, std::nullopt, &reports);
        for (const ArchivedReport& r : reports) {
            if (r.observation.hour == hour) return r;
        }
        return {};
    }

    dovrel::testing::TempDir m_folder;
};

// data0600 holds the 06 UTC bulletins of a morning with their late (RRA,
// RRB) and corrected (CCA, CCB, CCC) versions, "NIL" where a station was late.
TEST_F(ArchiveTest, RealBulletinsStoredTwiceAddNothing) {
    const std::string text = testing::ReadTestData("synop/metno-kvnorcom/synop/data0600");
    EXPECT_EQ(DescribeCounts(Import(text)),
              "165 added, 7 corrected, 26 filled, 0 unchanged, 1 conflict");
    const std::string rows = RawConnection(Path()).Rows();
    const StoreCounts again = Import(text);
    EXPECT_EQ(again.added + again.corrected + again.filled, 0u) << DescribeCounts(again);
    EXPECT_EQ(RawConnection(Path()).Rows(), rows);
}

TEST_F(ArchiveTest, EachReportKeepsItsLatestVersion) {
    Import(testing::ReadTestData("synop/metno-kvnorcom/synop/data0600"));
    const struct {
        const char* station;
        const char* correction;
        const char* heldGroups;  // of the version held
        bool nil;
    } kCases[] = {
        {"01001", "CCA", "72161 8457/", false},     // the correction replaced the original
        {"01026", "CCB", "74742 333", false},       // the second correction the first
        {"01433", "RRA", "38895 52009", false},     // the delayed report filled the NIL
        {"01098", "", "83402 1//// 2////", false},  // a different RRB: the first stays
        {"01007", "RRA", "55007 69962", false},     // NIL, then RRA
        {"01240", "", "01240 NIL=", true},          // NIL, and no later report
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.station);
        const WeatherObservation held = Held(c.station, 6).observation;
        EXPECT_EQ(held.correction, c.correction);
        EXPECT_NE(held.report.find(c.heldGroups), std::string::npos) << held.report;
        EXPECT_EQ(held.nil, c.nil);
        EXPECT_TRUE(held.heading.starts_with("SMNO9") && held.heading.ends_with("DNMI 100600"))
            << held.heading;
    }
}

TEST(ReportPrecedence, VersionsOfOneStationAndTime) {
    const struct {
        const char* heldBbb;
        const char* held;
        bool heldNil;
        const char* bbb;
        const char* report;
        bool nil;
        StoreAction action;
    } kCases[] = {
        {"", "A", false, "", "A", false, StoreAction::kKeep},        // the same again
        {"", "A", false, "RRA", "A", false, StoreAction::kKeep},     // repeated late
        {"", "A", false, "CCA", "B", false, StoreAction::kReplace},  // a correction
        {"CCA", "B", false, "CCB", "C", false, StoreAction::kReplace},
        {"CCB", "C", false, "CCA", "B", false, StoreAction::kKeep},  // older than held
        {"CCA", "B", false, "", "A", false, StoreAction::kKeep},     // the original again
        {"AAA", "B", false, "CCA", "C", false, StoreAction::kConflict},
        {"", "NIL", true, "RRA", "A", false, StoreAction::kFill},
        {"", "A", false, "RRA", "NIL", true, StoreAction::kKeep},
        {"", "A", false, "", "B", false, StoreAction::kConflict},
        {"", "A", false, "RRB", "B", false, StoreAction::kConflict},
        {"", "A", false, "PAA", "B", false, StoreAction::kConflict},  // a segment ranks 0
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.heldBbb) + " " + c.held + " <- " + c.bbb + " " + c.report);
        const ReportVersion held{c.heldBbb, c.held, c.heldNil};
        EXPECT_EQ(DecideStore(&held, {c.bbb, c.report, c.nil}), c.action);
    }
    EXPECT_EQ(DecideStore(nullptr, {"CCA", "A", false}), StoreAction::kAdd);
}

// Texts are stored as UTF-8 and come back as the decoder's bytes, every
// byte of the code page (a report of line noise holds any of them).
TEST(ArchiveText, EveryWindows1252ByteComesBack) {
    std::string bytes;
    for (int c = 1; c < 256; ++c) bytes += static_cast<char>(c);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
    EXPECT_EQ(Utf8ToCp1252("\xe2\x82\xac \xe4\xb8\x80 \xff"), "\x80 ? ?");
}

// A file made when the record had fewer fields gains their columns and
// keeps its rows; a file of a newer layout is not touched.
TEST_F(ArchiveTest, OlderFileIsBroughtUpToDateNewerFileIsRefused) {
    {
        RawConnection old(Path());
        ASSERT_TRUE(old.Execute(
            "CREATE TABLE observations (kind TEXT, station TEXT, year INTEGER, month INTEGER, "
            "day INTEGER, hour INTEGER, air_temperature_c REAL); PRAGMA user_version = 1;"
            "INSERT INTO observations VALUES ('AAXX', '01001', 2026, 1, 10, 6, 8.4)"));
    }
    const ArchivedReport held = Held("01001", 6);
    EXPECT_EQ(held.observation.airTemperature, 8.4);
    {
        auto archive = Open();
        ASSERT_TRUE(archive);
        RawConnection check(Path());
        EXPECT_TRUE(
            check.Execute("SELECT report, received, sea_level_pressure_hpa FROM observations"));
        EXPECT_TRUE(
            check.Execute("PRAGMA user_version = " + std::to_string(kArchiveSchemaVersion + 1)));
    }
    std::string error;
    EXPECT_FALSE(ObservationArchive::Open(Path(), ObservationArchive::Access::kReadWrite, &error));
    EXPECT_NE(error.find("made by a newer program"), std::string::npos) << error;
}

// Another program holds the write lock: the batch fails with the reason and
// stays held, readers still see what was committed, and once the lock is
// gone the same batch is stored.
TEST_F(ArchiveTest, LockHeldElsewhereLosesNothingAndBlocksNoReader) {
    Import(testing::ReadTestData("synop/metno-kvnorcom/synop/data1200"));
    RawConnection other(Path());
    const std::string committed = other.Rows();
    auto archive = Open(50);
    ArchiveWriter writer(*archive);
    WeatherObservation report = Held("01001", 12).observation;
    report.day = *report.day + 1;
    writer.Observation(report);
    ASSERT_TRUE(other.Execute("BEGIN IMMEDIATE; DELETE FROM observations WHERE station = '01003'"));
    EXPECT_FALSE(writer.Flush());
    EXPECT_NE(writer.Error().find("database is locked"), std::string::npos) << writer.Error();
    EXPECT_EQ(writer.Pending(), 1u);
    std::string error;
    auto reader = ObservationArchive::Open(Path(), ObservationArchive::Access::kReadOnly, &error);
    std::vector<ArchivedReport> reports;
    ASSERT_TRUE(reader && reader->History("01003", std::nullopt, &reports)) << error;
    EXPECT_FALSE(reports.empty());  // the uncommitted delete is not seen
    ASSERT_TRUE(other.Execute("ROLLBACK"));
    EXPECT_TRUE(writer.Flush()) << writer.Error();
    EXPECT_EQ(writer.Counts().added, 1u);
    EXPECT_EQ(Open()->Count(),
              static_cast<std::int64_t>(std::count(committed.begin(), committed.end(), '\n')) + 1);
}

}  // namespace
}  // namespace nimbo
