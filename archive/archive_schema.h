// The observations table of an archive file: its creation, the steps that
// bring an older file up to date, and the version kept in PRAGMA user_version.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

namespace nimbo {

// Version of the table layout this program writes. An older file is brought
// up to it when opened for writing; a newer one is refused.
inline constexpr int kArchiveSchemaVersion = 1;

// Names of the columns the observations table has (empty when it has none).
std::vector<std::string> TableColumns(sqlite3* db);

// PRAGMA user_version of the file; -1 when it cannot be read.
int SchemaVersion(sqlite3* db);

// Makes the table and its indexes in a new file, or brings an older file up
// to kArchiveSchemaVersion: the numbered steps from its version on, then a
// column for each field the record gained since. Runs inside the caller's
// transaction. False with the reason in *error (a newer file, a failed step).
bool PrepareSchema(sqlite3* db, std::string* error);

}  // namespace nimbo
