#include "Odbc.h"

#include <sql.h>
#include <sqlext.h>

#include <QByteArray>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace kaldor::db {

namespace {

QString fromOdbc(const SQLCHAR* text, qsizetype length)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(text), length);
}

// "[vendor][component]message" -> source "[vendor][component]", message "message".
DiagRecord splitSource(DiagRecord record, const QString& full)
{
    static const QRegularExpression prefix(QStringLiteral("^((?:\\[[^\\]]*\\])+)\\s*"));
    const QRegularExpressionMatch m = prefix.match(full);
    if (m.hasMatch()) {
        record.source = m.captured(1);
        record.message = full.mid(m.capturedLength(0));
    } else {
        record.source = QStringLiteral("ODBC");
        record.message = full;
    }
    return record;
}

bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// ODBC reports the lengths of diagnostic messages and column names in 16 bits: the longest
// text it can hand over is one buffer of this many bytes, terminator included.
constexpr SQLSMALLINT LongestTextBuffer = 32767;

// Reads the message of record `i` whole where the driver can give it whole; a message longer
// than ODBC can hand over is read up to that limit and marked with "...".
bool diagnosticRecord(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT i, DiagRecord* record)
{
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLRETURN rc = SQLGetDiagRec(type, handle, i, state, &native, nullptr, 0, &length);
    if (!succeeded(rc))
        return false;
    // A length past the 16-bit field wraps, so only a plausible one sizes the first read.
    SQLSMALLINT size = length >= 0 && length < LongestTextBuffer ? SQLSMALLINT(length + 1) : 1024;
    std::vector<SQLCHAR> message;
    bool cut = false;
    for (;;) {
        message.assign(size_t(size), 0);
        rc = SQLGetDiagRec(type, handle, i, state, &native, message.data(), size, &length);
        if (!succeeded(rc))
            return false;
        const auto filled =
            qsizetype(qstrnlen(reinterpret_cast<const char*>(message.data()), uint(size)));
        cut = length < 0 || length >= size || (rc == SQL_SUCCESS_WITH_INFO && filled == size - 1);
        if (!cut || size == LongestTextBuffer)
            break;
        size = LongestTextBuffer;
    }
    const auto* chars = reinterpret_cast<const char*>(message.data());
    const qsizetype n =
        cut ? qsizetype(qstrnlen(chars, uint(size))) : std::clamp<qsizetype>(length, 0, size - 1);
    QString text = QString::fromUtf8(chars, n);
    if (cut) {
        // A cut may split a character: drop the broken tail rather than show it.
        while (text.endsWith(QChar::ReplacementCharacter))
            text.chop(1);
        text += QStringLiteral("...");
    }
    record->sqlState = fromOdbc(state, 5);
    record->native = native;
    *record = splitSource(*record, text);
    return true;
}

QList<DiagRecord> diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    QList<DiagRecord> records;
    if (!handle)
        return records;
    DiagRecord record;
    for (SQLSMALLINT i = 1; i > 0 && diagnosticRecord(type, handle, i, &record); ++i)
        records.append(record);
    return records;
}

[[noreturn]] void fail(int number, const QString& description, SQLSMALLINT type, SQLHANDLE handle)
{
    throw DbException(DbError{number, description, diagnostics(type, handle)});
}

// One environment for the process, ODBC 3 behaviour.
SQLHENV environment()
{
    static SQLHENV env = [] {
        SQLHENV h = SQL_NULL_HENV;
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
            return SQLHENV(SQL_NULL_HENV);
        SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return h;
    }();
    return env;
}

QByteArray utf8(const QString& s)
{
    return s.toUtf8();
}

// Set once a call has been given up while it still waits for the server. The driver manager
// may hold its locks for that call as long as it waits, so from then on the process makes no
// further ODBC call (not even to disconnect): every one fails at once, as the first did.
std::atomic<bool> abandonedCall{false};

// How long, past the limit, a call may take to come back with the driver's own timeout report
// before it is given up.
constexpr std::chrono::seconds DriverReportGrace{2};

DbError noAnswer(int seconds)
{
    return DbError{OdbcCallFailed,
                   QStringLiteral("ODBC--call failed."),
                   {DiagRecord{QStringLiteral("HYT00"), 0, QStringLiteral("[KALDOR][ODBC layer]"),
                               QStringLiteral("Timeout expired: the server did not answer "
                                              "within %1 s")
                                   .arg(seconds)}}};
}

// Runs a call that waits for the server. With a limit, the call runs on a thread of its own and
// the caller waits for it at most the limit (and the driver's grace): a server that has stopped
// answering cannot hold the program past it, whatever the driver does with the timeout.
template <typename Work> auto withinLimit(int seconds, Work work) -> decltype(work())
{
    if (abandonedCall)
        throw DbException(noAnswer(seconds));
    if (seconds <= 0)
        return work();
    using Result = decltype(work());
    auto task = std::make_shared<std::packaged_task<Result()>>(std::move(work));
    std::future<Result> result = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    if (result.wait_for(std::chrono::seconds(seconds) + DriverReportGrace) ==
        std::future_status::ready)
        return result.get();
    abandonedCall = true;
    throw DbException(noAnswer(seconds));
}

// The length argument that hands `text` over whole: its byte count where the length field
// holds it, else SQL_NTS (the driver reads up to the terminator). None when neither does: a
// text too long for the field that holds a NUL byte.
template <typename Length> std::optional<Length> wholeLength(const QByteArray& text)
{
    if (text.size() <= std::numeric_limits<Length>::max())
        return Length(text.size());
    if (text.contains('\0'))
        return std::nullopt;
    return Length(SQL_NTS);
}

class Statement final {
public:
    explicit Statement(SQLHDBC dbc)
    {
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &m_stmt)))
            fail(OdbcCallFailed, QStringLiteral("ODBC--call failed."), SQL_HANDLE_DBC, dbc);
    }
    ~Statement()
    {
        if (m_stmt)
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
    }
    Q_DISABLE_COPY_MOVE(Statement)
    SQLHSTMT handle() const { return m_stmt; }

    [[noreturn]] void raise() const
    {
        fail(OdbcCallFailed, QStringLiteral("ODBC--call failed."), SQL_HANDLE_STMT, m_stmt);
    }
    void check(SQLRETURN rc) const
    {
        if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE)
            raise();
    }

private:
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
};

SQLSMALLINT columnCount(const Statement& st)
{
    SQLSMALLINT n = 0;
    st.check(SQLNumResultCols(st.handle(), &n));
    return n;
}

bool isNumberType(SQLSMALLINT type)
{
    switch (type) {
    case SQL_NUMERIC:
    case SQL_DECIMAL:
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIGINT:
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
    case SQL_BIT:
        return true;
    default:
        return false;
    }
}

// The columns' names and, in `numbers`, which of them have a number type.
QStringList columnNames(const Statement& st, SQLSMALLINT count, QList<bool>& numbers)
{
    QStringList names;
    std::vector<SQLCHAR> name(256);
    for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(count); ++c) {
        SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        for (;;) {
            st.check(SQLDescribeCol(st.handle(), c, name.data(), SQLSMALLINT(name.size()), &length,
                                    &type, &size, &digits, &nullable));
            const bool whole = length >= 0 && length < SQLSMALLINT(name.size());
            if (whole || name.size() >= size_t(LongestTextBuffer))
                break;
            // A longer name: read it again whole (a wrapped length asks for the most there is).
            name.resize(length > 0 ? size_t(length) + 1 : size_t(LongestTextBuffer));
        }
        numbers.append(isNumberType(type));
        const auto* chars = reinterpret_cast<const char*>(name.data());
        names.append(QString::fromUtf8(chars, qsizetype(qstrnlen(chars, uint(name.size())))));
    }
    return names;
}

// Reads one column of the current row completely, in chunks.
Value readValue(const Statement& st, SQLUSMALLINT column)
{
    QByteArray bytes;
    char chunk[8192];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc =
            SQLGetData(st.handle(), column, SQL_C_CHAR, chunk, sizeof chunk, &indicator);
        if (rc == SQL_NO_DATA)
            break;
        st.check(rc);
        if (indicator == SQL_NULL_DATA)
            return std::nullopt;
        const bool truncated = rc == SQL_SUCCESS_WITH_INFO &&
                               (indicator == SQL_NO_TOTAL || indicator >= SQLLEN(sizeof chunk));
        if (truncated) {
            bytes.append(chunk, qsizetype(sizeof chunk) - 1);
            continue;
        }
        bytes.append(chunk, std::clamp<qsizetype>(indicator, 0, qsizetype(sizeof chunk) - 1));
        break;
    }
    return QString::fromUtf8(bytes);
}

ResultSet readRows(const Statement& st, SQLSMALLINT count)
{
    QList<bool> numbers;
    QStringList names = columnNames(st, count, numbers);
    QList<Row> rows;
    for (;;) {
        const SQLRETURN rc = SQLFetch(st.handle());
        if (rc == SQL_NO_DATA)
            break;
        st.check(rc);
        Row row;
        row.reserve(count);
        for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(count); ++c)
            row.append(readValue(st, c));
        rows.append(std::move(row));
    }
    ResultSet result(std::move(names), std::move(rows));
    result.setNumbers(std::move(numbers));
    return result;
}

// A call on the connection handle, within the limit; a failure carries the handle's records.
template <typename Call> void connectionCall(SQLHDBC dbc, int seconds, Call call)
{
    withinLimit(seconds, [call, dbc] {
        if (!succeeded(call(dbc)))
            fail(OdbcCallFailed, QStringLiteral("ODBC--call failed."), SQL_HANDLE_DBC, dbc);
        return true;
    });
}

// Sends one text and reads its results: a query is its first result set, as a pass-through
// query is read; once its rows are in, the rest of the batch is drained and what a later
// statement says is not its own.
ResultSet runStatement(SQLHDBC dbc, const QString& sql, bool wantRows, int seconds)
{
    Statement st(dbc);
    if (seconds > 0)
        SQLSetStmtAttr(st.handle(), SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(SQLULEN(seconds)), 0);
    QByteArray text = utf8(sql);
    const std::optional<SQLINTEGER> length = wholeLength<SQLINTEGER>(text);
    if (!length)
        throw DbException(DbError{OdbcCallFailed, QStringLiteral("ODBC--call failed."), {}});
    SQLRETURN rc = SQLExecDirect(st.handle(), reinterpret_cast<SQLCHAR*>(text.data()), *length);
    ResultSet first;
    bool haveRows = false;
    for (;;) {
        if (haveRows && rc == SQL_ERROR)
            break;
        st.check(rc);
        if (wantRows && !haveRows && rc != SQL_NO_DATA) {
            const SQLSMALLINT count = columnCount(st);
            if (count > 0) {
                first = readRows(st, count);
                haveRows = true;
            }
        }
        rc = SQLMoreResults(st.handle());
        if (rc == SQL_NO_DATA)
            break;
    }
    return first;
}

// Reads a catalog function's result set: `call` runs it on the statement handle.
template <typename Call> ResultSet runCatalog(SQLHDBC dbc, int seconds, Call call)
{
    Statement st(dbc);
    if (seconds > 0)
        SQLSetStmtAttr(st.handle(), SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(SQLULEN(seconds)), 0);
    st.check(call(st.handle()));
    const SQLSMALLINT count = columnCount(st);
    return count > 0 ? readRows(st, count) : ResultSet();
}

} // namespace

bool callAbandoned()
{
    return abandonedCall;
}

DataSourceListing listDataSources(const ListOptions& options, bool* overflow)
{
    DataSourceListing listing;
    if (overflow)
        *overflow = false;
    if (abandonedCall)
        return listing;
    SQLHENV env = environment();
    if (!env)
        return listing;
    listing.environmentAllocated = true;
    std::vector<SQLCHAR> name(size_t(std::max(options.nameBuffer, 1)));
    std::vector<SQLCHAR> description(size_t(std::max(options.descriptionBuffer, 1)));
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        SQLSMALLINT nameLength = 0, descriptionLength = 0;
        const SQLRETURN rc =
            SQLDataSources(env, direction, name.data(), SQLSMALLINT(name.size()), &nameLength,
                           description.data(), SQLSMALLINT(description.size()), &descriptionLength);
        if (!succeeded(rc))
            break;
        direction = SQL_FETCH_NEXT;
        if (options.limit >= 0 && listing.entries.size() >= options.limit) {
            if (overflow)
                *overflow = true;
            break;
        }
        const auto cut = [](const std::vector<SQLCHAR>& buffer, SQLSMALLINT length) {
            return fromOdbc(buffer.data(),
                            std::clamp<qsizetype>(length, 0, qsizetype(buffer.size()) - 1));
        };
        listing.entries.append({cut(name, nameLength), cut(description, descriptionLength)});
    }
    return listing;
}

ConnectOptions ConnectOptions::forProgram(const QString& label)
{
    ConnectOptions options;
    options.label = label;
    bool ok = false;
    const int seconds = qEnvironmentVariable("KALDOR_QUERY_TIMEOUT").trimmed().toInt(&ok);
    options.queryTimeoutSeconds = ok && seconds > 0 ? seconds : 0;
    options.connectionTimeoutSeconds = options.queryTimeoutSeconds;
    return options;
}

struct OdbcConnection::Handles {
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    ~Handles()
    {
        if (abandonedCall)
            return; // left to the end of the process: the driver may still be in a call
        if (connected)
            SQLDisconnect(dbc);
        if (dbc)
            SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    }
};

OdbcConnection::OdbcConnection(std::unique_ptr<Handles> handles, ConnectOptions options,
                               QString dataSource, QString user)
    : m_handles(std::move(handles)), m_options(std::move(options)),
      m_dataSource(std::move(dataSource)), m_user(std::move(user))
{
}

OdbcConnection::~OdbcConnection() = default;

std::unique_ptr<OdbcConnection> OdbcConnection::open(const QString& dataSource, const QString& user,
                                                     QString password,
                                                     const ConnectOptions& options)
{
    const QString failed = QStringLiteral("ODBC--connection to '%1' failed.").arg(dataSource);
    SQLHENV env = abandonedCall ? SQLHENV(SQL_NULL_HENV) : environment();
    if (!env)
        throw DbException(DbError{OdbcConnectFailed, failed, {}});
    auto handles = std::make_unique<Handles>();
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env, &handles->dbc)))
        fail(OdbcConnectFailed, failed, SQL_HANDLE_ENV, env);
    SQLSetConnectAttr(handles->dbc, SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(SQLULEN(options.loginTimeoutSeconds)), 0);
    if (options.connectionTimeoutSeconds > 0)
        SQLSetConnectAttr(handles->dbc, SQL_ATTR_CONNECTION_TIMEOUT,
                          reinterpret_cast<SQLPOINTER>(SQLULEN(options.connectionTimeoutSeconds)),
                          0);
    SQLSetConnectAttr(handles->dbc, SQL_ATTR_AUTOCOMMIT,
                      reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_AUTOCOMMIT_ON)), 0);

    QByteArray dsn = utf8(dataSource), uid = utf8(user), pwd = utf8(password);
    password.fill(QLatin1Char(' '));
    password.clear();
    // The driver manager and drivers read these texts as C strings: one with a NUL byte in it
    // would reach the server shortened, so it is refused before any call.
    if (dsn.contains('\0') || uid.contains('\0') || pwd.contains('\0')) {
        pwd.fill('\0');
        throw DbException(DbError{OdbcConnectFailed, failed, {}});
    }
    const SQLRETURN rc = SQLConnect(
        handles->dbc, reinterpret_cast<SQLCHAR*>(dsn.data()), *wholeLength<SQLSMALLINT>(dsn),
        reinterpret_cast<SQLCHAR*>(uid.data()), *wholeLength<SQLSMALLINT>(uid),
        reinterpret_cast<SQLCHAR*>(pwd.data()), *wholeLength<SQLSMALLINT>(pwd));
    pwd.fill('\0');
    if (!succeeded(rc))
        fail(OdbcConnectFailed, failed, SQL_HANDLE_DBC, handles->dbc);
    handles->connected = true;
    return std::unique_ptr<OdbcConnection>(
        new OdbcConnection(std::move(handles), options, dataSource, user));
}

void OdbcConnection::setAutoCommit(bool on)
{
    const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    connectionCall(m_handles->dbc, m_options.queryTimeoutSeconds, [value](SQLHDBC dbc) {
        return SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value),
                                 SQL_IS_UINTEGER);
    });
}

void OdbcConnection::commit()
{
    connectionCall(m_handles->dbc, m_options.queryTimeoutSeconds,
                   [](SQLHDBC dbc) { return SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_COMMIT); });
}

void OdbcConnection::rollback()
{
    connectionCall(m_handles->dbc, m_options.queryTimeoutSeconds,
                   [](SQLHDBC dbc) { return SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK); });
}

ResultSet OdbcConnection::run(const QString& sql, bool wantRows)
{
    notifyStatement(m_options.label, sql);
    const int seconds = m_options.queryTimeoutSeconds;
    StatementOutcome outcome{m_options.label, m_dataSource, m_user, sql, nullptr};
    try {
        ResultSet rows = withinLimit(seconds, [dbc = m_handles->dbc, sql, wantRows, seconds] {
            return runStatement(dbc, sql, wantRows, seconds);
        });
        notifyOutcome(outcome);
        return rows;
    } catch (const DbException& e) {
        outcome.error = &e.error();
        notifyOutcome(outcome);
        throw;
    }
}

ResultSet OdbcConnection::catalog(Catalog what, const QString& schema)
{
    const int seconds = m_options.queryTimeoutSeconds;
    return withinLimit(seconds, [dbc = m_handles->dbc, what, owner = utf8(schema), seconds] {
        return runCatalog(dbc, seconds, [&](SQLHSTMT st) {
            auto* schemaName = reinterpret_cast<SQLCHAR*>(const_cast<char*>(owner.constData()));
            auto* all = reinterpret_cast<SQLCHAR*>(const_cast<char*>("%"));
            switch (what) {
            case Catalog::Tables:
                return SQLTables(st, nullptr, 0, schemaName, SQL_NTS, all, SQL_NTS, nullptr, 0);
            case Catalog::Columns:
                return SQLColumns(st, nullptr, 0, schemaName, SQL_NTS, all, SQL_NTS, all, SQL_NTS);
            case Catalog::Procedures:
                break;
            }
            return SQLProcedures(st, nullptr, 0, schemaName, SQL_NTS, all, SQL_NTS);
        });
    });
}

void OdbcConnection::execute(const QString& sql)
{
    run(sql, false);
}

ResultSet OdbcConnection::query(const QString& sql)
{
    return run(sql, true);
}

} // namespace kaldor::db
