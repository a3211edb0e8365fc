// ObservationArchive: the SQLite file that keeps every decoded report, one
// row per station and observation time (UTC). Batches are stored in one
// transaction each; the file is in WAL mode, so readers in other connections
// and processes are never blocked by a writer, and a killed writer leaves
// every finished batch behind.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive_row.h"

namespace nimbo {

// What storing did with the reports.
struct StoreCounts {
    std::size_t added = 0;      // a new station and time
    std::size_t corrected = 0;  // a correction replaced the report it corrects
    std::size_t filled = 0;     // a report replaced the NIL held for its station and time
    std::size_t unchanged = 0;  // held already, or older than the correction held
    std::size_t conflicts = 0;  // another report of the same rank was held: it stays
    std::size_t unkeyed = 0;    // without a station or an observation time: not stored
    StoreCounts& operator+=(const StoreCounts& other);
};

class ObservationArchive {
  public:
    enum class Access { kReadWrite, kReadOnly };

    // Opens the archive file. kReadWrite creates it when missing and brings
    // an older table layout up to date; kReadOnly changes nothing. A call
    // waits up to busyMilliseconds for another connection's write lock.
    // Null, with the reason in *error, when the file cannot be opened, holds
    // no archive, or was made by a newer program.
    static std::unique_ptr<ObservationArchive> Open(const std::string& path, Access access,
                                                    std::string* error,
                                                    int busyMilliseconds = 2000);
    ~ObservationArchive();
    ObservationArchive(const ObservationArchive&) = delete;
    ObservationArchive& operator=(const ObservationArchive&) = delete;

    // Stores the reports in one transaction, each by the rules of
    // DecideStore (report_precedence.h), and adds what happened to *counts. False when the batch
    // could not be stored (a full disk, a lock held too long, a read-only
    // file): then nothing of it is stored, everything stored before stays,
    // *counts is unchanged, and Error() says why.
    bool Store(const std::vector<ArchivedReport>& reports, StoreCounts* counts);

    // The station's reports from the day `since` on (all of them without
    // it), oldest first, appended to *reports. False on failure (Error()).
    bool History(std::string_view station, std::optional<std::chrono::year_month_day> since,
                 std::vector<ArchivedReport>* reports);
    // Day of the station's latest report; nothing when none is held or on failure.
    std::optional<std::chrono::year_month_day> LatestDay(std::string_view station);
    // Reports held; -1 on failure.
    std::int64_t Count();

    const std::string& Path() const { return m_path; }
    // The last failure: what was being done, the file, and SQLite's reason
    // with the system's error text when there is one.
    const std::string& Error() const { return m_error; }

  private:
    ObservationArchive(sqlite3* db, std::string path, bool readOnly);
    bool PrepareWriting();
    bool CheckReading();
    bool StoreOne(const ArchivedReport& report, StoreCounts* counts);
    bool Run(sqlite3_stmt* statement);
    bool Prepare(sqlite3_stmt** statement, const std::string& sql);
    bool Fail(const std::string& doing);

    sqlite3* m_db;
    std::string m_path;
    bool m_readOnly;
    std::string m_error;
    sqlite3_stmt* m_insert = nullptr;   // a new station and time, else nothing
    sqlite3_stmt* m_replace = nullptr;  // the row of the station and time replaced
    sqlite3_stmt* m_held = nullptr;     // BBB and text of the held report
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
    sqlite3_stmt* m_history = nullptr;  // prepared at the first History
    std::unique_ptr<RowReader> m_historyReader;
    sqlite3_stmt* m_latest = nullptr;
};

}  // namespace nimbo
