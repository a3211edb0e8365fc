// One row of the observations table: the report it holds, the table's
// columns, and the moves of a report into a statement's parameters and out of
// a result row. The columns follow the record's field walk, so the archive,
// the CSV and the JSON always carry the same names.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

#include "weather_observation.h"

namespace nimbo {

// One stored report: the decoded record (with its bulletin heading, BBB and
// text) and when it was received, UTC, as "YYYY-MM-DDTHH:MM:SSZ".
struct ArchivedReport {
    WeatherObservation observation;
    std::string received;
};

enum class ColumnType { kText, kInteger, kReal, kFlag };

struct ArchiveColumn {
    std::string name;
    ColumnType type;
};

// The table's columns in order: the record's data fields under their CSV
// names, then "errors" (the malformed groups, blank-separated), "correction"
// (the heading's BBB), "heading", "report" (its text as received) and
// "received". A name the record comes to carry itself stays one column.
const std::vector<ArchiveColumn>& ArchiveColumns();

// Binds the report to the parameters 1..N of `statement`, one per column of
// ArchiveColumns() in that order. An absent value or an empty text binds
// NULL, a flag 0 or 1, a text its UTF-8. The report must outlive the step.
void BindReport(sqlite3_stmt* statement, const ArchivedReport& report);

// Reads the rows of a statement whose result columns carry the archive's
// column names, in any order; a column the result lacks (an archive made
// before the record had that field) leaves the value absent.
class RowReader {
  public:
    explicit RowReader(sqlite3_stmt* statement);
    // The current row of the statement.
    ArchivedReport Read() const;

  private:
    sqlite3_stmt* m_statement;
    std::vector<int> m_resultColumnOfVisit;  // -1: not in the result
};

}  // namespace nimbo
