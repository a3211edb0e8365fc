// The archive's connection: opening and preparing the file, storing batches
// of reports by the precedence rules, and reading a station's history.
#include "observation_archive.h"

#include <cstring>

#include "archive_schema.h"
#include "cp1252.h"
#include "report_precedence.h"

namespace nimbo {
namespace {

// SQLite's reason, with the system's error text when the file system failed.
std::string Reason(sqlite3* db) {
    std::string text = sqlite3_errmsg(db);
    const int code = sqlite3_errcode(db) & 0xFF;
    const int system = sqlite3_system_errno(db);
    if (system != 0 && (code == SQLITE_IOERR || code == SQLITE_FULL || code == SQLITE_CANTOPEN)) {
        text += std::string(" (") + std::strerror(system) + ")";
    }
    return text;
}

std::string ColumnList() {
    std::string list;
    for (const ArchiveColumn& column : ArchiveColumns()) {
        list += (list.empty() ? "\"" : ", \"") + column.name + "\"";
    }
    return list;
}

std::string InsertSql(const char* verb) {
    std::string values;
    for (std::size_t i = 1; i <= ArchiveColumns().size(); ++i) {
        values += (i == 1 ? "?" : ", ?") + std::to_string(i);
    }
    return std::string(verb) + " INTO observations (" + ColumnList() + ") VALUES (" + values + ")";
}

std::string Text(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text == nullptr ? std::string() : Utf8ToCp1252(text);
}

void BindKey(sqlite3_stmt* statement, std::string_view station, int year, int month, int day) {
    sqlite3_bind_text(statement, 1, station.data(), static_cast<int>(station.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_int(statement, 2, year);
    sqlite3_bind_int(statement, 3, month);
    sqlite3_bind_int(statement, 4, day);
}

}  // namespace

StoreCounts& StoreCounts::operator+=(const StoreCounts& other) {
    added += other.added;
    corrected += other.corrected;
    filled += other.filled;
    unchanged += other.unchanged;
    conflicts += other.conflicts;
    unkeyed += other.unkeyed;
    return *this;
}

std::unique_ptr<ObservationArchive> ObservationArchive::Open(const std::string& path, Access access,
                                                             std::string* error,
                                                             int busyMilliseconds) {
    const bool readOnly = access == Access::kReadOnly;
    sqlite3* db = nullptr;
    // A connection is used by one thread at a time: no mutex per call. A
    // reader that may write cleans the WAL files up when it is the last to
    // close; query_only keeps it from changing anything else.
    const int flags = SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READWRITE;
    int opened =
        sqlite3_open_v2(path.c_str(), &db, readOnly ? flags : flags | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK && readOnly) {
        sqlite3_close(db);
        opened =
            sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READONLY, nullptr);
    }
    if (opened == SQLITE_OK && readOnly) {
        sqlite3_exec(db, "PRAGMA query_only = ON", nullptr, nullptr, nullptr);
    }
    std::unique_ptr<ObservationArchive> archive(new ObservationArchive(db, path, readOnly));
    if (opened != SQLITE_OK) {
        archive->Fail("cannot open the archive");
    } else {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, busyMilliseconds);
        if (readOnly ? archive->CheckReading() : archive->PrepareWriting()) return archive;
    }
    if (error != nullptr) *error = archive->Error();
    return nullptr;
}

ObservationArchive::ObservationArchive(sqlite3* db, std::string path, bool readOnly)
    : m_db(db), m_path(std::move(path)), m_readOnly(readOnly) {}

ObservationArchive::~ObservationArchive() {
    for (sqlite3_stmt* statement :
         {m_insert, m_replace, m_held, m_begin, m_commit, m_history, m_latest}) {
        sqlite3_finalize(statement);
    }
    sqlite3_close(m_db);
}

bool ObservationArchive::Fail(const std::string& doing) {
    m_error = doing + " " + m_path + ": " + (m_db != nullptr ? Reason(m_db) : "out of memory");
    return false;
}

bool ObservationArchive::CheckReading() {
    const int version = SchemaVersion(m_db);
    if (version < 0) return Fail("cannot open the archive");
    const char* reason = version > kArchiveSchemaVersion ? "made by a newer program"
                         : TableColumns(m_db).empty()    ? "it holds no observations"
                                                         : nullptr;
    if (reason != nullptr) m_error = "cannot open the archive " + m_path + ": " + reason;
    return reason == nullptr;
}

// WAL: readers see the last commit while a batch is written; NORMAL: a
// commit reaches the file (not yet the disk) before it returns, which is
// what surviving a killed process needs. The reports of a bulletin land all
// over the station index: a page cache of 64 MB and a checkpoint every
// 40,000 pages (160 MB of WAL) keep an import from rereading and rewriting
// the same pages. Past a checkpoint the WAL file is cut back to 64 MB: a
// terminal that stores a bulletin now and then keeps no more than that.
bool ObservationArchive::PrepareWriting() {
    if (sqlite3_exec(m_db,
                     "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; "
                     "PRAGMA cache_size = -65536; PRAGMA wal_autocheckpoint = 40000; "
                     "PRAGMA journal_size_limit = 67108864",
                     nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        return Fail("cannot open the archive");
    }
    std::string reason;
    if (!PrepareSchema(m_db, &reason) ||
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        if (reason.empty()) reason = Reason(m_db);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_error = "cannot open the archive " + m_path + ": " + reason;
        return false;
    }
    const std::string held =
        "SELECT correction, report, nil FROM observations WHERE station = ?1 AND year = ?2 AND "
        "month = ?3 AND day = ?4 AND hour = ?5";
    for (auto [sql, statement] :
         {std::pair{InsertSql("INSERT OR IGNORE"), &m_insert},
          std::pair{InsertSql("INSERT OR REPLACE"), &m_replace}, std::pair{held, &m_held},
          std::pair{std::string("BEGIN IMMEDIATE"), &m_begin},
          std::pair{std::string("COMMIT"), &m_commit}}) {
        if (sqlite3_prepare_v3(m_db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, statement,
                               nullptr) != SQLITE_OK) {
            return Fail("cannot open the archive");
        }
    }
    return true;
}

bool ObservationArchive::Run(sqlite3_stmt* statement) {
    const int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    return result == SQLITE_DONE || result == SQLITE_ROW;
}

bool ObservationArchive::Store(const std::vector<ArchivedReport>& reports, StoreCounts* counts) {
    if (m_readOnly) {
        m_error = "cannot store in " + m_path + ": the archive is open for reading only";
        return false;
    }
    if (!Run(m_begin)) return Fail("cannot store in");
    StoreCounts batch;
    bool stored = true;
    for (const ArchivedReport& report : reports) {
        if (!(stored = StoreOne(report, &batch))) break;
    }
    if (stored && Run(m_commit)) {
        m_error.clear();
        if (counts != nullptr) *counts += batch;
        return true;
    }
    Fail("cannot store in");
    // A full disk may have rolled the transaction back already.
    if (!sqlite3_get_autocommit(m_db)) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

// The common case, a station and time not held yet, costs one statement.
bool ObservationArchive::StoreOne(const ArchivedReport& report, StoreCounts* counts) {
    const WeatherObservation& o = report.observation;
    if (o.station.empty() || !o.year || !o.month || !o.day || !o.hour) {
        ++counts->unkeyed;
        return true;
    }
    BindReport(m_insert, report);
    if (!Run(m_insert)) return false;
    if (sqlite3_changes(m_db) == 1) {
        ++counts->added;
        return true;
    }
    BindKey(m_held, o.station, *o.year, *o.month, *o.day);
    sqlite3_bind_int(m_held, 5, *o.hour);
    if (sqlite3_step(m_held) != SQLITE_ROW) {
        sqlite3_reset(m_held);
        return false;
    }
    const std::string heldBbb = Text(m_held, 0);
    const std::string heldReport = Text(m_held, 1);
    const ReportVersion held{heldBbb, heldReport, sqlite3_column_int(m_held, 2) != 0};
    sqlite3_reset(m_held);
    const StoreAction action = DecideStore(&held, {o.correction, o.report, o.nil});
    switch (action) {
        case StoreAction::kReplace:
        case StoreAction::kFill:
            BindReport(m_replace, report);
            if (!Run(m_replace)) return false;
            ++(action == StoreAction::kFill ? counts->filled : counts->corrected);
            break;
        case StoreAction::kConflict:
            ++counts->conflicts;
            break;
        case StoreAction::kAdd:
        case StoreAction::kKeep:
            ++counts->unchanged;
            break;
    }
    return true;
}

// Prepared at the first call and kept: the history window and nimbo ask
// again and again.
bool ObservationArchive::Prepare(sqlite3_stmt** statement, const std::string& sql) {
    if (*statement != nullptr) {
        sqlite3_reset(*statement);
        return true;
    }
    return sqlite3_prepare_v3(m_db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, statement,
                              nullptr) == SQLITE_OK;
}

bool ObservationArchive::History(std::string_view station,
                                 std::optional<std::chrono::year_month_day> since,
                                 std::vector<ArchivedReport>* reports) {
    // Only the columns the file has: an archive made before the record had a
    // field is read without it.
    std::string columns;
    if (m_history == nullptr) {
        for (const std::string& name : TableColumns(m_db)) {
            columns += (columns.empty() ? "\"" : ", \"") + name + "\"";
        }
        if (columns.empty()) return Fail("cannot read");
    }
    if (!Prepare(&m_history, "SELECT " + columns +
                                 " FROM observations WHERE station = ?1 AND (year, month, day) "
                                 ">= (?2, ?3, ?4) ORDER BY year, month, day, hour")) {
        return Fail("cannot read");
    }
    if (!m_historyReader) m_historyReader = std::make_unique<RowReader>(m_history);
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    if (since) {
        year = static_cast<int>(since->year());
        month = static_cast<unsigned>(since->month());
        day = static_cast<unsigned>(since->day());
    }
    BindKey(m_history, station, year, static_cast<int>(month), static_cast<int>(day));
    int result = SQLITE_ROW;
    while ((result = sqlite3_step(m_history)) == SQLITE_ROW) {
        reports->push_back(m_historyReader->Read());
    }
    sqlite3_reset(m_history);
    return result == SQLITE_DONE || Fail("cannot read");
}

std::optional<std::chrono::year_month_day> ObservationArchive::LatestDay(std::string_view station) {
    std::optional<std::chrono::year_month_day> latest;
    if (!Prepare(&m_latest,
                 "SELECT year, month, day FROM observations WHERE station = ?1 "
                 "ORDER BY year DESC, month DESC, day DESC, hour DESC LIMIT 1")) {
        Fail("cannot read");
        return latest;
    }
    sqlite3_bind_text(m_latest, 1, station.data(), static_cast<int>(station.size()),
                      SQLITE_TRANSIENT);
    const int result = sqlite3_step(m_latest);
    if (result == SQLITE_ROW) {
        latest = std::chrono::year_month_day{
            std::chrono::year(sqlite3_column_int(m_latest, 0)),
            std::chrono::month(static_cast<unsigned>(sqlite3_column_int(m_latest, 1))),
            std::chrono::day(static_cast<unsigned>(sqlite3_column_int(m_latest, 2)))};
    } else if (result != SQLITE_DONE) {
        Fail("cannot read");
    }
    sqlite3_reset(m_latest);
    return latest;
}

std::int64_t ObservationArchive::Count() {
    sqlite3_stmt* statement = nullptr;
    std::int64_t count = -1;
    if (sqlite3_prepare_v2(m_db, "SELECT count(*) FROM observations", -1, &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        count = sqlite3_column_int64(statement, 0);
    }
    if (count < 0) Fail("cannot read");
    sqlite3_finalize(statement);
    return count;
}

}  // namespace nimbo
