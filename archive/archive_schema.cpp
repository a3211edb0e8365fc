// The table is one row per station and observation time; its columns come
// from the record's field walk (archive_row), so a field added to the record
// becomes a column without a step of its own here.
#include "archive_schema.h"

#include <algorithm>
#include <array>

#include "archive_row.h"

namespace nimbo {
namespace {

// Steps from version n to n + 1, at index n - 1, for the changes that adding
// a column cannot express (a new key, a renamed or retyped column).
constexpr std::array<const char*, kArchiveSchemaVersion - 1> kMigrations = {};

const char* SqlType(ColumnType type) {
    switch (type) {
        case ColumnType::kText:
            return "TEXT";
        case ColumnType::kInteger:
            return "INTEGER";
        case ColumnType::kReal:
            return "REAL";
        case ColumnType::kFlag:
            break;
    }
    return "INTEGER NOT NULL DEFAULT 0";
}

bool Execute(sqlite3* db, const std::string& sql, std::string* error) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    *error = sqlite3_errmsg(db);
    return false;
}

std::string CreateTableSql() {
    std::string sql = "CREATE TABLE observations (";
    const char* separator = "";
    for (const ArchiveColumn& column : ArchiveColumns()) {
        sql += separator;
        sql += "\"" + column.name + "\" " + SqlType(column.type);
        separator = ", ";
    }
    return sql + ")";
}

bool AddMissingColumns(sqlite3* db, std::string* error) {
    const std::vector<std::string> present = TableColumns(db);
    for (const ArchiveColumn& column : ArchiveColumns()) {
        if (std::find(present.begin(), present.end(), column.name) != present.end()) continue;
        const std::string sql =
            "ALTER TABLE observations ADD COLUMN \"" + column.name + "\" " + SqlType(column.type);
        if (!Execute(db, sql, error)) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> TableColumns(sqlite3* db) {
    std::vector<std::string> names;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA table_info(observations)", -1, &statement, nullptr) !=
        SQLITE_OK) {
        return names;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
    }
    sqlite3_finalize(statement);
    return names;
}

int SchemaVersion(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    int version = -1;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        version = sqlite3_column_int(statement, 0);
    }
    sqlite3_finalize(statement);
    return version;
}

bool PrepareSchema(sqlite3* db, std::string* error) {
    const int version = SchemaVersion(db);
    if (version < 0) {
        *error = sqlite3_errmsg(db);
        return false;
    }
    if (version > kArchiveSchemaVersion) {
        *error = "made by a newer program (table layout " + std::to_string(version) +
                 ", this program knows " + std::to_string(kArchiveSchemaVersion) + ")";
        return false;
    }
    if (TableColumns(db).empty()) {
        if (!Execute(db, CreateTableSql(), error)) return false;
    } else {
        for (int step = std::max(version, 1); step < kArchiveSchemaVersion; ++step) {
            if (!Execute(db, kMigrations[step - 1], error)) return false;
        }
        if (!AddMissingColumns(db, error)) return false;
    }
    return Execute(db,
                   "CREATE UNIQUE INDEX IF NOT EXISTS observations_station_time ON observations "
                   "(station, year, month, day, hour);"
                   "CREATE INDEX IF NOT EXISTS observations_time ON observations "
                   "(year, month, day, hour);"
                   "PRAGMA user_version = " +
                       std::to_string(kArchiveSchemaVersion),
                   error);
}

}  // namespace nimbo
