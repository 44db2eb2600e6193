#pragma once

#include <string>
#include <vector>

namespace kaldor::standin {

enum class Dialect { Anywhere, SqlServer };

// Creates a NEW database file (overwrites) holding the empty schema for the dialect: every
// table, the view, the three procedures, no rows but the login admin/secret.
bool createDatabase(const std::string& path, Dialect d, std::string* error);

// Runs a script of plain SQLite SQL (e.g. demo data) against the file, tables addressed with
// the mt. prefix as in the program's statements.
bool runScript(const std::string& path, const std::string& sqliteSql, std::string* error);

struct DataSourceSpec {
    std::string name;
    Dialect dialect;
    std::string databasePath;
};

// Writes a private ODBC configuration in folder `dir`: odbcinst.ini registering the driver
// library under both driver names, and odbc.ini with the given data sources. A program sets
// ODBCSYSINI=dir and ODBCINI=dir/odbc.ini before its first ODBC call. The driver library and
// the database files are named by absolute paths (a relative one is read from the current
// folder), so the data sources work from any working folder.
bool writeOdbcConfig(const std::string& dir, const std::string& driverLibraryPath,
                     const std::vector<DataSourceSpec>& sources, std::string* error);

// The driver names registered by writeOdbcConfig.
inline constexpr const char* kAnywhereDriverName = "SQL Anywhere 17 (KALDOR stand-in)";
inline constexpr const char* kSqlServerDriverName =
    "ODBC Driver 18 for SQL Server (KALDOR stand-in)";

// "anywhere" or "sqlserver", the value of the Dialect key of a data source.
const char* dialectKey(Dialect d);
// Reads a Dialect key (case-insensitive); false when the text names no dialect.
bool parseDialectKey(const std::string& text, Dialect* d);

} // namespace kaldor::standin
