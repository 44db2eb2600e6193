#include "OdbcClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace kaldor::standin::test {

SQLCHAR* sqlText(const std::string& s)
{
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
}

SQLHENV newEnvironment()
{
    SQLHENV env = SQL_NULL_HENV;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    return env;
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::u16string fromWide(const SQLWCHAR* text)
{
    std::u16string out;
    for (size_t i = 0; text[i] != 0; ++i) {
        out += static_cast<char16_t>(text[i]);
    }
    return out;
}

std::string alterView(Dialect d, const std::string& title, const std::string& desktop)
{
    return (d == Dialect::Anywhere ? "alter view mt.qrb_zv_customiz as select fldnum,"
                                   : "alter view [mt].[qrb_zv_customiz] as select fldnum,") +
           title + ",row,col,len,fform, ftype  from mt.me2_customiz where desktop='" + desktop +
           "'";
}

void setServerDown(Dialect d, bool down)
{
    const std::string file = StandinFixtureFiles::instance().databasePath(d) + ".down";
    if (down) {
        std::ofstream(file).put('x');
    } else {
        std::filesystem::remove(file);
    }
}

std::vector<std::string> states(SQLSMALLINT type, SQLHANDLE handle)
{
    std::vector<std::string> out;
    for (const Diag& d : diagnostics(type, handle)) {
        out.push_back(d.state);
    }
    return out;
}

SQLRETURN Stmt::exec(const std::string& sql)
{
    SQLFreeStmt(h_, SQL_CLOSE);
    return SQLExecDirect(h_, sqlText(sql), SQL_NTS);
}

std::string Stmt::state() const
{
    const std::vector<std::string> s = states();
    return s.empty() ? "" : s.front();
}

Outcome collect(SQLHSTMT stmt, SQLRETURN rc)
{
    Outcome o;
    o.rc = rc;
    if (rc == SQL_ERROR || rc == SQL_SUCCESS_WITH_INFO) {
        o.diags = diagnostics(SQL_HANDLE_STMT, stmt);
    }
    if (!SQL_SUCCEEDED(rc)) {
        return o;
    }
    SQLSMALLINT count = 0;
    SQLNumResultCols(stmt, &count);
    for (SQLUSMALLINT i = 1; i <= count; ++i) {
        SQLCHAR name[256] = {};
        SQLSMALLINT type = 0;
        SQLDescribeCol(stmt, i, name, sizeof name, nullptr, &type, nullptr, nullptr, nullptr);
        o.columns.emplace_back(reinterpret_cast<char*>(name));
        o.types.push_back(type);
    }
    if (count > 0) {
        o.rows = fetchAll(stmt);
    } else {
        SQLRowCount(stmt, &o.rowCount);
    }
    return o;
}

std::vector<Diag> diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    std::vector<Diag> out;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[1024] = {};
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(
                SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length))) {
            return out;
        }
        out.push_back({reinterpret_cast<char*>(state), native, reinterpret_cast<char*>(message)});
    }
}

std::vector<Row> fetchAll(SQLHSTMT stmt, size_t chunk)
{
    SQLSMALLINT count = 0;
    SQLNumResultCols(stmt, &count);
    std::vector<Row> rows;
    std::vector<char> buffer(chunk);
    while (SQL_SUCCEEDED(SQLFetch(stmt))) {
        Row row;
        for (SQLUSMALLINT c = 1; c <= count; ++c) {
            std::optional<std::string> value;
            for (;;) {
                SQLLEN indicator = 0;
                const SQLRETURN rc = SQLGetData(stmt, c, SQL_C_CHAR, buffer.data(),
                                                static_cast<SQLLEN>(buffer.size()), &indicator);
                if (rc == SQL_NO_DATA || !SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA) {
                    break;
                }
                value = value.value_or("") + buffer.data();
                if (rc == SQL_SUCCESS) {
                    break;
                }
            }
            row.push_back(value);
        }
        rows.push_back(row);
    }
    return rows;
}

Connection::~Connection()
{
    if (connected_) {
        SQLDisconnect(dbc_);
    }
    if (dbc_) {
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    }
    if (env_) {
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
    }
}

void Connection::allocate()
{
    env_ = newEnvironment();
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
    SQLSetConnectAttr(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(loginTimeout_), 0);
}

bool Connection::connected(SQLRETURN rc)
{
    connected_ = SQL_SUCCEEDED(rc);
    diag_ = connected_ ? std::vector<Diag>{} : diagnostics(SQL_HANDLE_DBC, dbc_);
    return connected_;
}

bool Connection::open(const std::string& dsn, const std::string& user, const std::string& password,
                      bool wide)
{
    allocate();
    if (!wide) {
        return connected(SQLConnect(dbc_, sqlText(dsn), SQL_NTS, sqlText(user), SQL_NTS,
                                    sqlText(password), SQL_NTS));
    }
    WideText d = test::wide(dsn);
    WideText u = test::wide(user);
    WideText p = test::wide(password);
    return connected(SQLConnectW(dbc_, d.data(), SQL_NTS, u.data(), SQL_NTS, p.data(), SQL_NTS));
}

SQLRETURN Connection::driverConnect(const std::string& in, bool wide, SQLSMALLINT outChars,
                                    SQLSMALLINT* outLength, std::string* out)
{
    allocate();
    std::vector<SQLWCHAR> buffer(static_cast<size_t>(outChars) + 1);
    SQLRETURN rc = SQL_ERROR;
    if (wide) {
        WideText text = test::wide(in);
        rc = SQLDriverConnectW(dbc_, nullptr, text.data(), SQL_NTS,
                               outChars > 0 ? buffer.data() : nullptr, outChars, outLength,
                               SQL_DRIVER_NOPROMPT);
        if (out) {
            out->assign(buffer.begin(), std::find(buffer.begin(), buffer.end(), 0));
        }
    } else {
        auto* narrow = reinterpret_cast<SQLCHAR*>(buffer.data());
        rc = SQLDriverConnect(dbc_, nullptr, sqlText(in), SQL_NTS, outChars > 0 ? narrow : nullptr,
                              outChars, outLength, SQL_DRIVER_NOPROMPT);
        if (out) {
            *out = reinterpret_cast<char*>(narrow);
        }
    }
    connected(rc);
    return rc;
}

std::vector<Outcome> Connection::run(const std::string& sql)
{
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt);
    std::vector<Outcome> outcomes;
    SQLRETURN rc = SQLExecDirect(stmt, sqlText(sql), SQL_NTS);
    while (rc != SQL_NO_DATA && outcomes.size() < 100) {
        outcomes.push_back(collect(stmt, rc));
        rc = SQLMoreResults(stmt);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return outcomes;
}

std::vector<Row> Connection::query(const std::string& sql)
{
    const std::vector<Outcome> outcomes = run(sql);
    for (const Outcome& o : outcomes) {
        EXPECT_TRUE(SQL_SUCCEEDED(o.rc))
            << sql << "\n  -> " << (o.diags.empty() ? "" : o.diags.front().message);
    }
    return outcomes.empty() ? std::vector<Row>{} : outcomes.front().rows;
}

std::string Connection::scalar(const std::string& sql)
{
    const std::vector<Row> rows = query(sql);
    if (rows.empty() || rows.front().empty()) {
        return "<none>";
    }
    return rows.front().front().value_or("<NULL>");
}

StandinFixtureFiles& StandinFixtureFiles::instance()
{
    static StandinFixtureFiles files;
    return files;
}

StandinFixtureFiles::StandinFixtureFiles()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kaldor-standin-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    dir_ = pattern;
    std::string error;
    const std::vector<DataSourceSpec> sources = {
        {kAnywhereDsn, Dialect::Anywhere, databasePath(Dialect::Anywhere)},
        {kServerDsn, Dialect::SqlServer, databasePath(Dialect::SqlServer)},
    };
    if (!writeOdbcConfig(dir_ + "/odbc", KALDOR_STANDIN_DRIVER, sources, &error)) {
        throw std::runtime_error(error);
    }
    setenv("ODBCSYSINI", (dir_ + "/odbc").c_str(), 1);
    setenv("ODBCINI", (dir_ + "/odbc/odbc.ini").c_str(), 1);
}

StandinFixtureFiles::~StandinFixtureFiles()
{
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void StandinFixtureFiles::reset()
{
    for (const Dialect d : {Dialect::Anywhere, Dialect::SqlServer}) {
        std::filesystem::remove(databasePath(d) + ".down");
        std::string error;
        ASSERT_TRUE(createDatabase(databasePath(d), d, &error)) << error;
    }
}

std::string StandinFixtureFiles::databasePath(Dialect d) const
{
    return dir_ + (d == Dialect::Anywhere ? "/anywhere.db" : "/server.db");
}

} // namespace kaldor::standin::test
