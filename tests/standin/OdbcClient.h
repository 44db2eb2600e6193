#pragma once

// A small client of the plain ODBC C API, used to drive the stand-in through the real
// unixODBC driver manager the way the program does.

#include "StandinStore.h"

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kaldor::standin::test {

inline constexpr const char* kAnywhereDsn = "Anywhere DB";
inline constexpr const char* kServerDsn = "Server DB";

inline const char* dsnOf(Dialect d)
{
    return d == Dialect::Anywhere ? kAnywhereDsn : kServerDsn;
}

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
    std::vector<SQLSMALLINT> types; // of the columns
    std::vector<Row> rows;
    SQLLEN rowCount = -1;
    std::vector<Diag> diags;
};

std::vector<Diag> diagnostics(SQLSMALLINT type, SQLHANDLE handle);
// The outcome of a call that returned rc on stmt, with the rows of its result set if any.
Outcome collect(SQLHSTMT stmt, SQLRETURN rc);
// The states of the diagnostics of a handle, in order.
std::vector<std::string> states(SQLSMALLINT type, SQLHANDLE handle);
SQLCHAR* sqlText(const std::string& s);
// An environment handle set to ODBC 3.
SQLHENV newEnvironment();
std::string readFile(const std::filesystem::path& path);

using WideText = std::basic_string<SQLWCHAR>;
inline WideText wide(std::u16string_view text)
{
    return WideText(text.begin(), text.end());
}
inline WideText wide(std::string_view ascii)
{
    return WideText(ascii.begin(), ascii.end());
}
std::u16string fromWide(const SQLWCHAR* text);

// The statement the program redefines the view with, showing the title column `title` of the
// desktop `desktop`.
std::string alterView(Dialect d, const std::string& title, const std::string& desktop);
// Makes the server of a dialect refuse every request, or answer again.
void setServerDown(Dialect d, bool down);

// The bytes of a C value as it lies in memory.
template <typename T> std::vector<unsigned char> bytesOf(T v)
{
    std::vector<unsigned char> b(sizeof v);
    std::memcpy(b.data(), &v, sizeof v);
    return b;
}

class Connection final {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // SQLConnect, or SQLConnectW when wide; false with diag() filled on failure.
    bool open(const std::string& dsn, const std::string& user, const std::string& password,
              bool wide = false);
    bool open(Dialect d, bool wide = false) { return open(dsnOf(d), "admin", "secret", wide); }
    // SQLDriverConnect or SQLDriverConnectW, with a buffer of outChars characters for the
    // completed string (none for 0): its return code, and the length and text given back.
    SQLRETURN driverConnect(const std::string& in, bool wide, SQLSMALLINT outChars,
                            SQLSMALLINT* outLength, std::string* out = nullptr);
    bool openWithString(const std::string& in)
    {
        SQLSMALLINT length = 0;
        return SQL_SUCCEEDED(driverConnect(in, false, 1023, &length));
    }
    const std::vector<Diag>& diag() const { return diag_; }
    SQLHDBC handle() const { return dbc_; }
    // Seconds the next open waits for a login answer (5 unless set).
    void setLoginTimeout(SQLULEN seconds) { loginTimeout_ = seconds; }

    // Runs a batch and collects every result, SQLExecDirect's and each SQLMoreResults'.
    std::vector<Outcome> run(const std::string& sql);
    // Runs a batch that must succeed in every statement; the rows of the first result set.
    std::vector<Row> query(const std::string& sql);
    // One value of the first row of a query ("<NULL>" for NULL, "<none>" for no row).
    std::string scalar(const std::string& sql);

private:
    void allocate();
    bool connected(SQLRETURN rc);

    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    bool connected_ = false;
    SQLULEN loginTimeout_ = 5;
    std::vector<Diag> diag_;
};

// A statement handle of its own, freed with it.
class Stmt final {
public:
    explicit Stmt(SQLHDBC dbc) { SQLAllocHandle(SQL_HANDLE_STMT, dbc, &h_); }
    ~Stmt() { SQLFreeHandle(SQL_HANDLE_STMT, h_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    SQLHSTMT h() const { return h_; }
    // Closes the open cursor, then SQLExecDirect.
    SQLRETURN exec(const std::string& sql);
    std::vector<std::string> states() const { return test::states(SQL_HANDLE_STMT, h_); }
    std::string state() const;

private:
    SQLHSTMT h_ = SQL_NULL_HSTMT;
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

// Test name suffix of a dialect parameter.
template <typename Info> std::string dialectName(const Info& info)
{
    return info.param == Dialect::Anywhere ? "Anywhere" : "SqlServer";
}

// Fresh databases and a connection c_ of the account admin to the dialect of the parameter.
class DialectTest : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override
    {
        StandinFixtureFiles::instance().reset();
        ASSERT_TRUE(c_.open(GetParam())) << (c_.diag().empty() ? "" : c_.diag().front().message);
    }
    SQLHDBC dbc() const { return c_.handle(); }
    Connection c_;
};

#define KALDOR_FOR_EACH_DIALECT(Suite)                                                             \
    INSTANTIATE_TEST_SUITE_P(Dialects, Suite,                                                      \
                             ::testing::Values(Dialect::Anywhere, Dialect::SqlServer),             \
                             dialectName<::testing::TestParamInfo<Dialect>>)

} // namespace kaldor::standin::test
