#pragma once

// A small client of the plain ODBC C API, used to drive the stand-in through the real
// unixODBC driver manager the way the program does.

#include "StandinStore.h"

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>
#include <vector>

namespace kaldor::standin::test {

struct Diag {
    std::string state;
    SQLINTEGER native = 0;
    std::string message;
};

using Row = std::vector<std::optional<std::string>>;

// One result of a batch: its return code, the rows of a result set, and the diagnostics.
struct Outcome {
    SQLRETURN rc = SQL_SUCCESS;
    std::vector<std::string> columns;
    std::vector<Row> rows;
    SQLLEN rowCount = -1;
    std::vector<Diag> diags;
};

std::vector<Diag> diagnostics(SQLSMALLINT type, SQLHANDLE handle);

class Connection final {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // SQLConnect; false with diag() filled on failure.
    bool open(const std::string& dsn, const std::string& user, const std::string& password);
    bool openWithString(const std::string& connectionString);
    const std::vector<Diag>& diag() const { return diag_; }
    SQLHDBC handle() const { return dbc_; }

    // Runs a batch and collects every result, SQLExecDirect's and each SQLMoreResults'.
    std::vector<Outcome> run(const std::string& sql);
    // Runs a batch that must succeed in every statement; the rows of the first result set.
    std::vector<Row> query(const std::string& sql);
    // One value of the first row of a query ("<NULL>" for NULL, "<none>" for no row).
    std::string scalar(const std::string& sql);

private:
    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    bool connected_ = false;
    std::vector<Diag> diag_;
};

// Reads every row of the open result set on `stmt` with SQLGetData (SQL_C_CHAR, chunked).
std::vector<Row> fetchAll(SQLHSTMT stmt, size_t chunk = 1024);

// The process-wide ODBC configuration with the data sources "Anywhere DB" and "Server DB",
// fresh database files per call of reset().
class StandinFixtureFiles final {
public:
    static StandinFixtureFiles& instance();
    ~StandinFixtureFiles();
    StandinFixtureFiles(const StandinFixtureFiles&) = delete;
    StandinFixtureFiles& operator=(const StandinFixtureFiles&) = delete;
    void reset();
    std::string databasePath(Dialect d) const;
    const std::string& dir() const { return dir_; }

private:
    StandinFixtureFiles();
    std::string dir_;
};

inline constexpr const char* kAnywhereDsn = "Anywhere DB";
inline constexpr const char* kServerDsn = "Server DB";

inline const char* dsnOf(Dialect d)
{
    return d == Dialect::Anywhere ? kAnywhereDsn : kServerDsn;
}

// Test name suffix of a dialect parameter.
template <typename Info> std::string dialectName(const Info& info)
{
    return info.param == Dialect::Anywhere ? "Anywhere" : "SqlServer";
}

} // namespace kaldor::standin::test
