// The ODBC entry points of the stand-in driver (ANSI API, ODBC 3). The unixODBC driver
// manager loads this library from odbcinst.ini and forwards the application's calls here.
#include "ConnectionString.h"
#include "Diagnostics.h"
#include "Handles.h"
#include "OutputBuffers.h"

#include <odbcinst.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

using kaldor::standin::Cell;
using kaldor::standin::ColumnInfo;
using kaldor::standin::ColumnType;
using kaldor::standin::Dialect;
using kaldor::standin::parseDialectKey;
using kaldor::standin::ServerError;
using kaldor::standin::ServerSession;
using kaldor::standin::StatementResult;
using kaldor::standin::trim;
using namespace kaldor::standin::driver;

namespace {

constexpr const char* kDriverFile = "libkaldor-standin.so";
constexpr const char* kDriverVersion = "01.00.0000";

// Starts an API call on a handle: its earlier diagnostics are dropped.
template <typename H> H* begin(H* h)
{
    if (h) {
        h->diag.clear();
    }
    return h;
}

SQLRETURN withInfo(HandleBase* h, bool cut)
{
    if (cut) {
        return postDriverError(h, "01004", "String data, right truncated", SQL_SUCCESS_WITH_INFO);
    }
    return SQL_SUCCESS;
}

std::string profileValue(const std::string& dsn, const char* key)
{
    char buffer[4096] = {};
    SQLGetPrivateProfileString(dsn.c_str(), key, "", buffer, sizeof buffer, "odbc.ini");
    return trim(buffer);
}

std::string valueOr(const std::map<std::string, std::string>& attrs, const char* key,
                    const std::string& fallback)
{
    const auto it = attrs.find(key);
    return it == attrs.end() ? fallback : it->second;
}

// Opens the session for data source `dsn`; Database and Dialect come from odbc.ini unless
// the connection string names them.
SQLRETURN connectTo(Connection* c, const std::string& dsn, const std::string& user,
                    const std::string& password,
                    const std::map<std::string, std::string>& overrides = {})
{
    if (c->session) {
        return postDriverError(c, "08002", "Connection name in use");
    }
    c->dataSource = dsn;
    const std::string database = valueOr(overrides, "DATABASE", profileValue(dsn, "Database"));
    const std::string dialectText = valueOr(overrides, "DIALECT", profileValue(dsn, "Dialect"));
    Dialect d = Dialect::SqlServer;
    if (!parseDialectKey(dialectText, &d)) {
        return postDriverError(c, "IM002",
                               "Data source '" + dsn +
                                   "' names no dialect (Dialect=anywhere"
                                   " or Dialect=sqlserver)");
    }
    c->dialect = d;
    if (database.empty()) {
        return postDriverError(c, "IM002", "Data source '" + dsn + "' names no database");
    }
    ServerError error;
    c->session = ServerSession::connect(database, d, user, password, &error);
    if (!c->session) {
        return postServerError(c, d, error);
    }
    c->session->setAutocommit(c->autocommit == SQL_AUTOCOMMIT_ON);
    return SQL_SUCCESS;
}

ServerSession* sessionOf(Statement* s)
{
    return s->dbc->session.get();
}

SQLRETURN reportCurrent(Statement* s)
{
    const StatementResult* r = s->currentResult();
    if (r && r->failed) {
        return postServerError(s, s->dbc->dialect, r->error);
    }
    if (r && !r->hasRows) {
        s->diag.rowCount = static_cast<SQLLEN>(r->rowCount);
    }
    return SQL_SUCCESS;
}

SQLRETURN execute(Statement* s, const std::string& sql)
{
    s->resetResults();
    ServerSession* session = sessionOf(s);
    if (!session) {
        return postDriverError(s, "08003", "Connection not open");
    }
    session->setQueryTimeout(static_cast<unsigned long>(s->queryTimeout));
    s->results = session->execute(sql);
    s->executed = true;
    return reportCurrent(s);
}

const std::vector<Cell>* currentRow(const Statement* s)
{
    const StatementResult* r = s->currentResult();
    if (!r || !r->hasRows || s->row < 0 || static_cast<size_t>(s->row) >= r->rows.size()) {
        return nullptr;
    }
    return &r->rows[static_cast<size_t>(s->row)];
}

SQLSMALLINT sqlTypeOf(const ColumnInfo& c)
{
    switch (c.type) {
    case ColumnType::Integer:
        return SQL_INTEGER;
    case ColumnType::Real:
        return SQL_DOUBLE;
    case ColumnType::LongText:
        return SQL_LONGVARCHAR;
    case ColumnType::Text:
        break;
    }
    return SQL_VARCHAR;
}

SQLULEN columnSize(const ColumnInfo& c)
{
    return c.type == ColumnType::LongText ? static_cast<SQLULEN>(std::numeric_limits<int>::max())
                                          : static_cast<SQLULEN>(c.width);
}

// --- SQLGetData -------------------------------------------------------------------------

SQLRETURN getText(Statement* s, const std::string& text, SQLPOINTER target, SQLLEN bufferLength,
                  SQLLEN* indicator)
{
    const size_t remaining = text.size() - std::min(s->dataOffset, text.size());
    if (indicator) {
        *indicator = static_cast<SQLLEN>(remaining);
    }
    if (!target || bufferLength <= 0) {
        return remaining == 0 ? (s->dataDone = true, SQL_SUCCESS) : withInfo(s, true);
    }
    const size_t n = std::min(remaining, static_cast<size_t>(bufferLength) - 1);
    std::memcpy(target, text.data() + s->dataOffset, n);
    static_cast<char*>(target)[n] = '\0';
    s->dataOffset += n;
    if (n < remaining) {
        return withInfo(s, true);
    }
    s->dataDone = true;
    return SQL_SUCCESS;
}

SQLRETURN getWideText(Statement* s, const std::string& text, SQLPOINTER target, SQLLEN bufferLength,
                      SQLLEN* indicator)
{
    const std::u16string wide = toUtf16(text);
    const size_t remaining = wide.size() - std::min(s->dataOffset, wide.size());
    if (indicator) {
        *indicator = static_cast<SQLLEN>(remaining * sizeof(char16_t));
    }
    const size_t room = bufferLength > 0 ? static_cast<size_t>(bufferLength) / 2 : 0;
    if (!target || room == 0) {
        return remaining == 0 ? (s->dataDone = true, SQL_SUCCESS) : withInfo(s, true);
    }
    size_t n = std::min(remaining, room - 1);
    const bool splitsPair = n > 0 && n < remaining && wide[s->dataOffset + n - 1] >= 0xd800 &&
                            wide[s->dataOffset + n - 1] <= 0xdbff;
    n -= splitsPair ? 1 : 0;
    auto* out = static_cast<char16_t*>(target);
    std::memcpy(out, wide.data() + s->dataOffset, n * sizeof(char16_t));
    out[n] = u'\0';
    s->dataOffset += n;
    if (n < remaining) {
        return withInfo(s, true);
    }
    s->dataDone = true;
    return SQL_SUCCESS;
}

template <typename T> SQLRETURN storeNumber(Statement* s, T value, SQLPOINTER target, SQLLEN* ind)
{
    if (target) {
        std::memcpy(target, &value, sizeof value);
    }
    if (ind) {
        *ind = sizeof value;
    }
    s->dataDone = true;
    return SQL_SUCCESS;
}

SQLRETURN getNumber(Statement* s, const std::string& text, SQLSMALLINT targetType,
                    SQLPOINTER target, SQLLEN* ind)
{
    const std::string t = trim(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(t.c_str(), &end);
    if (t.empty() || end != t.c_str() + t.size() || errno == ERANGE) {
        return postDriverError(s, "22018", "Invalid character value for cast specification");
    }
    switch (targetType) {
    case SQL_C_DOUBLE:
        return storeNumber(s, value, target, ind);
    case SQL_C_FLOAT:
        return storeNumber(s, static_cast<float>(value), target, ind);
    case SQL_C_SBIGINT:
        return storeNumber(s, static_cast<SQLBIGINT>(std::strtoll(t.c_str(), nullptr, 10)), target,
                           ind);
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
        return storeNumber(s, static_cast<SQLSMALLINT>(value), target, ind);
    case SQL_C_BIT:
        return storeNumber(s, static_cast<unsigned char>(value != 0), target, ind);
    default:
        break;
    }
    if (value < std::numeric_limits<SQLINTEGER>::min() ||
        value > std::numeric_limits<SQLINTEGER>::max()) {
        return postDriverError(s, "22003", "Numeric value out of range");
    }
    return storeNumber(s, static_cast<SQLINTEGER>(value), target, ind);
}

SQLRETURN getBinary(Statement* s, const std::string& text, SQLPOINTER target, SQLLEN bufferLength,
                    SQLLEN* ind)
{
    const size_t remaining = text.size() - std::min(s->dataOffset, text.size());
    if (ind) {
        *ind = static_cast<SQLLEN>(remaining);
    }
    const size_t n =
        target && bufferLength > 0 ? std::min(remaining, static_cast<size_t>(bufferLength)) : 0;
    if (n > 0) {
        std::memcpy(target, text.data() + s->dataOffset, n);
    }
    s->dataOffset += n;
    if (n < remaining) {
        return withInfo(s, true);
    }
    s->dataDone = true;
    return SQL_SUCCESS;
}

SQLRETURN getCell(Statement* s, const Cell& cell, SQLSMALLINT targetType, SQLPOINTER target,
                  SQLLEN bufferLength, SQLLEN* ind)
{
    if (s->dataDone) {
        return SQL_NO_DATA;
    }
    if (cell.null) {
        if (!ind) {
            return postDriverError(s, "22002", "Indicator variable required but not supplied");
        }
        *ind = SQL_NULL_DATA;
        s->dataDone = true;
        return SQL_SUCCESS;
    }
    switch (targetType) {
    case SQL_C_CHAR:
    case SQL_C_DEFAULT:
        return getText(s, cell.text, target, bufferLength, ind);
    case SQL_C_WCHAR:
        return getWideText(s, cell.text, target, bufferLength, ind);
    case SQL_C_BINARY:
        return getBinary(s, cell.text, target, bufferLength, ind);
    case SQL_C_LONG:
    case SQL_C_SLONG:
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
    case SQL_C_SBIGINT:
    case SQL_C_DOUBLE:
    case SQL_C_FLOAT:
    case SQL_C_BIT:
        return getNumber(s, cell.text, targetType, target, ind);
    default:
        return postDriverError(s, "HYC00", "Optional feature not implemented");
    }
}

// --- SQLGetInfo -------------------------------------------------------------------------

SQLRETURN infoText(Connection* c, const std::string& text, SQLPOINTER value,
                   SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    return withInfo(c, copyText(text, value, bufferLength, length));
}

template <typename T, typename Length> SQLRETURN writeValue(T v, SQLPOINTER value, Length* length)
{
    if (value) {
        std::memcpy(value, &v, sizeof v);
    }
    if (length) {
        *length = sizeof v;
    }
    return SQL_SUCCESS;
}

bool textInfo(Connection* c, SQLUSMALLINT type, std::string* text)
{
    const bool anywhere = c->dialect == Dialect::Anywhere;
    switch (type) {
    case SQL_DRIVER_ODBC_VER:
    case SQL_ODBC_VER:
        *text = "03.00";
        return true;
    case SQL_DRIVER_NAME:
        *text = kDriverFile;
        return true;
    case SQL_DRIVER_VER:
        *text = kDriverVersion;
        return true;
    case SQL_DBMS_NAME:
        *text = anywhere ? "SQL Anywhere" : "Microsoft SQL Server";
        return true;
    case SQL_DBMS_VER:
        *text = anywhere ? "17.00.0000" : "16.00.1000";
        return true;
    case SQL_DATA_SOURCE_NAME:
    case SQL_SERVER_NAME:
        *text = c->dataSource;
        return true;
    case SQL_DATABASE_NAME:
        *text = c->session ? c->session->databasePath() : "";
        return true;
    case SQL_USER_NAME:
        *text = c->session ? c->session->user() : "";
        return true;
    case SQL_IDENTIFIER_QUOTE_CHAR:
        *text = "\"";
        return true;
    case SQL_CATALOG_NAME_SEPARATOR:
    case SQL_SEARCH_PATTERN_ESCAPE:
        *text = type == SQL_CATALOG_NAME_SEPARATOR ? "." : "\\";
        return true;
    case SQL_DATA_SOURCE_READ_ONLY:
    case SQL_ACCESSIBLE_TABLES:
    case SQL_ACCESSIBLE_PROCEDURES:
    case SQL_PROCEDURES:
    case SQL_MULT_RESULT_SETS:
    case SQL_MULTIPLE_ACTIVE_TXN:
    case SQL_NEED_LONG_DATA_LEN:
    case SQL_ROW_UPDATES:
    case SQL_EXPRESSIONS_IN_ORDERBY:
    case SQL_COLUMN_ALIAS:
    case SQL_ORDER_BY_COLUMNS_IN_SELECT:
    case SQL_LIKE_ESCAPE_CLAUSE:
    case SQL_OUTER_JOINS:
    case SQL_INTEGRITY:
    case SQL_MAX_ROW_SIZE_INCLUDES_LONG:
        *text = type == SQL_DATA_SOURCE_READ_ONLY || type == SQL_NEED_LONG_DATA_LEN ||
                        type == SQL_ROW_UPDATES || type == SQL_ORDER_BY_COLUMNS_IN_SELECT ||
                        type == SQL_INTEGRITY || type == SQL_MAX_ROW_SIZE_INCLUDES_LONG
                    ? "N"
                    : "Y";
        return true;
    case SQL_SCHEMA_TERM:
    case SQL_PROCEDURE_TERM:
    case SQL_TABLE_TERM:
    case SQL_CATALOG_TERM:
        *text = type == SQL_SCHEMA_TERM      ? "owner"
                : type == SQL_PROCEDURE_TERM ? "procedure"
                : type == SQL_TABLE_TERM     ? "table"
                                             : "";
        return true;
    case SQL_KEYWORDS:
    case SQL_SPECIAL_CHARACTERS:
    case SQL_COLLATION_SEQ:
        *text = "";
        return true;
    default:
        return false;
    }
}

bool numberInfo(SQLUSMALLINT type, SQLUINTEGER* value, bool* isShort)
{
    *isShort = true;
    switch (type) {
    case SQL_MAX_DRIVER_CONNECTIONS:
    case SQL_MAX_CONCURRENT_ACTIVITIES:
    case SQL_MAX_COLUMN_NAME_LEN:
    case SQL_MAX_CURSOR_NAME_LEN:
    case SQL_MAX_SCHEMA_NAME_LEN:
    case SQL_MAX_CATALOG_NAME_LEN:
    case SQL_MAX_TABLE_NAME_LEN:
    case SQL_MAX_COLUMNS_IN_SELECT:
    case SQL_MAX_IDENTIFIER_LEN:
        *value = type == SQL_MAX_COLUMN_NAME_LEN || type == SQL_MAX_TABLE_NAME_LEN ||
                         type == SQL_MAX_IDENTIFIER_LEN || type == SQL_MAX_SCHEMA_NAME_LEN
                     ? 128
                     : 0;
        return true;
    case SQL_TXN_CAPABLE:
        *value = SQL_TC_ALL;
        return true;
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
        *value = SQL_CB_PRESERVE;
        return true;
    case SQL_IDENTIFIER_CASE:
    case SQL_QUOTED_IDENTIFIER_CASE:
        *value = SQL_IC_MIXED;
        return true;
    case SQL_NULL_COLLATION:
        *value = SQL_NC_LOW;
        return true;
    case SQL_CONCAT_NULL_BEHAVIOR:
        *value = SQL_CB_NULL;
        return true;
    case SQL_CORRELATION_NAME:
        *value = SQL_CN_ANY;
        return true;
    case SQL_GROUP_BY:
        *value = SQL_GB_GROUP_BY_CONTAINS_SELECT;
        return true;
    case SQL_FILE_USAGE:
        *value = SQL_FILE_NOT_SUPPORTED;
        return true;
    case SQL_NON_NULLABLE_COLUMNS:
        *value = SQL_NNC_NON_NULL;
        return true;
    case SQL_ODBC_API_CONFORMANCE:
        *value = SQL_OAC_LEVEL1;
        return true;
    case SQL_ODBC_SQL_CONFORMANCE:
        *value = SQL_OSC_MINIMUM;
        return true;
    default:
        break;
    }
    *isShort = false;
    switch (type) {
    case SQL_GETDATA_EXTENSIONS:
        *value = SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND;
        return true;
    case SQL_DEFAULT_TXN_ISOLATION:
    case SQL_TXN_ISOLATION_OPTION:
        *value = SQL_TXN_SERIALIZABLE;
        return true;
    case SQL_SCROLL_OPTIONS:
        *value = SQL_SO_FORWARD_ONLY;
        return true;
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1:
        *value = SQL_CA1_NEXT;
        return true;
    case SQL_ODBC_INTERFACE_CONFORMANCE:
        *value = SQL_OIC_CORE;
        return true;
    case SQL_ASYNC_MODE:
        *value = SQL_AM_NONE;
        return true;
    case SQL_BATCH_SUPPORT:
        *value = SQL_BS_SELECT_EXPLICIT | SQL_BS_ROW_COUNT_EXPLICIT;
        return true;
    case SQL_BATCH_ROW_COUNT:
        *value = SQL_BRC_EXPLICIT;
        return true;
    case SQL_PARAM_ARRAY_ROW_COUNTS:
        *value = SQL_PARC_NO_BATCH;
        return true;
    case SQL_PARAM_ARRAY_SELECTS:
        *value = SQL_PAS_NO_SELECT;
        return true;
    case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS:
    case SQL_STATIC_CURSOR_ATTRIBUTES1:
    case SQL_STATIC_CURSOR_ATTRIBUTES2:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
    case SQL_KEYSET_CURSOR_ATTRIBUTES1:
    case SQL_KEYSET_CURSOR_ATTRIBUTES2:
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2:
    case SQL_MAX_STATEMENT_LEN:
    case SQL_MAX_ROW_SIZE:
    case SQL_MAX_BINARY_LITERAL_LEN:
    case SQL_MAX_CHAR_LITERAL_LEN:
    case SQL_STRING_FUNCTIONS:
    case SQL_NUMERIC_FUNCTIONS:
    case SQL_TIMEDATE_FUNCTIONS:
    case SQL_SYSTEM_FUNCTIONS:
    case SQL_CONVERT_FUNCTIONS:
    case SQL_POS_OPERATIONS:
    case SQL_STATIC_SENSITIVITY:
    case SQL_LOCK_TYPES:
    case SQL_BOOKMARK_PERSISTENCE:
    case SQL_DATETIME_LITERALS:
        *value = 0;
        return true;
    case SQL_CURSOR_SENSITIVITY:
        *value = SQL_INSENSITIVE;
        return true;
    case SQL_SCHEMA_USAGE:
        *value = SQL_SU_DML_STATEMENTS | SQL_SU_PROCEDURE_INVOCATION | SQL_SU_TABLE_DEFINITION;
        return true;
    case SQL_SQL_CONFORMANCE:
        *value = SQL_SC_SQL92_ENTRY;
        return true;
    default:
        return false;
    }
}

// --- statement attributes ---------------------------------------------------------------

SQLULEN attrValue(SQLPOINTER value)
{
    return static_cast<SQLULEN>(reinterpret_cast<uintptr_t>(value));
}

// The functions this driver exports, for SQLGetFunctions.
constexpr SQLUSMALLINT kFunctions[] = {
    SQL_API_SQLALLOCHANDLE,    SQL_API_SQLFREEHANDLE,   SQL_API_SQLFREESTMT,
    SQL_API_SQLSETENVATTR,     SQL_API_SQLGETENVATTR,   SQL_API_SQLCONNECT,
    SQL_API_SQLDRIVERCONNECT,  SQL_API_SQLDISCONNECT,   SQL_API_SQLSETCONNECTATTR,
    SQL_API_SQLGETCONNECTATTR, SQL_API_SQLGETINFO,      SQL_API_SQLGETFUNCTIONS,
    SQL_API_SQLSETSTMTATTR,    SQL_API_SQLGETSTMTATTR,  SQL_API_SQLEXECDIRECT,
    SQL_API_SQLPREPARE,        SQL_API_SQLEXECUTE,      SQL_API_SQLNUMRESULTCOLS,
    SQL_API_SQLDESCRIBECOL,    SQL_API_SQLCOLATTRIBUTE, SQL_API_SQLFETCH,
    SQL_API_SQLGETDATA,        SQL_API_SQLMORERESULTS,  SQL_API_SQLROWCOUNT,
    SQL_API_SQLCLOSECURSOR,    SQL_API_SQLCANCEL,       SQL_API_SQLENDTRAN,
    SQL_API_SQLGETDIAGREC,     SQL_API_SQLGETDIAGFIELD, SQL_API_SQLNATIVESQL,
    SQL_API_SQLNUMPARAMS,
};

void freeStatement(Statement* s)
{
    s->dbc->statements.erase(s);
    unregisterHandle(s);
    delete s;
}

void freeConnection(Connection* c)
{
    while (!c->statements.empty()) {
        freeStatement(*c->statements.begin());
    }
    c->env->connections.erase(c);
    unregisterHandle(c);
    delete c;
}

SQLRETURN colAttrText(Statement* s, const std::string& text, SQLPOINTER out,
                      SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    return withInfo(s, copyText(text, out, bufferLength, length));
}

SQLRETURN colAttrNumber(SQLLEN value, SQLLEN* numeric)
{
    if (numeric) {
        *numeric = value;
    }
    return SQL_SUCCESS;
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT handleType, SQLHANDLE inputHandle,
                                 SQLHANDLE* outputHandle)
{
    if (!outputHandle) {
        return SQL_ERROR;
    }
    *outputHandle = SQL_NULL_HANDLE;
    if (handleType == SQL_HANDLE_ENV) {
        auto* env = new Environment();
        registerHandle(env);
        *outputHandle = static_cast<HandleBase*>(env);
        return SQL_SUCCESS;
    }
    if (handleType == SQL_HANDLE_DBC) {
        Environment* env = begin(asEnvironment(inputHandle));
        if (!env) {
            return SQL_INVALID_HANDLE;
        }
        auto* c = new Connection(env);
        registerHandle(c);
        env->connections.insert(c);
        *outputHandle = static_cast<HandleBase*>(c);
        return SQL_SUCCESS;
    }
    if (handleType == SQL_HANDLE_STMT) {
        Connection* c = begin(asConnection(inputHandle));
        if (!c) {
            return SQL_INVALID_HANDLE;
        }
        if (!c->session) {
            return postDriverError(c, "08003", "Connection not open");
        }
        auto* s = new Statement(c);
        registerHandle(s);
        c->statements.insert(s);
        *outputHandle = static_cast<HandleBase*>(s);
        return SQL_SUCCESS;
    }
    HandleBase* h = asAnyHandle(SQL_HANDLE_DBC, inputHandle);
    return h ? postDriverError(begin(h), "HYC00", "Optional feature not implemented")
             : SQL_INVALID_HANDLE;
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT handleType, SQLHANDLE handle)
{
    switch (handleType) {
    case SQL_HANDLE_ENV: {
        Environment* env = asEnvironment(handle);
        if (!env) {
            return SQL_INVALID_HANDLE;
        }
        if (!env->connections.empty()) {
            return postDriverError(begin(env), "HY010", "Function sequence error");
        }
        unregisterHandle(env);
        delete env;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
        Connection* c = asConnection(handle);
        if (!c) {
            return SQL_INVALID_HANDLE;
        }
        if (c->session) {
            return postDriverError(begin(c), "HY010", "Function sequence error");
        }
        freeConnection(c);
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
        Statement* s = asStatement(handle);
        if (!s) {
            return SQL_INVALID_HANDLE;
        }
        freeStatement(s);
        return SQL_SUCCESS;
    }
    default:
        return SQL_INVALID_HANDLE;
    }
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    switch (option) {
    case SQL_CLOSE:
        s->resetResults();
        return SQL_SUCCESS;
    case SQL_DROP:
        freeStatement(s);
        return SQL_SUCCESS;
    case SQL_UNBIND:
    case SQL_RESET_PARAMS:
        return SQL_SUCCESS;
    default:
        return postDriverError(s, "HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER /*length*/)
{
    Environment* env = begin(asEnvironment(handle));
    if (!env) {
        return SQL_INVALID_HANDLE;
    }
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
        env->odbcVersion = static_cast<SQLINTEGER>(attrValue(value));
        return SQL_SUCCESS;
    case SQL_ATTR_OUTPUT_NTS:
    case SQL_ATTR_CONNECTION_POOLING:
    case SQL_ATTR_CP_MATCH:
        return SQL_SUCCESS;
    default:
        return postDriverError(env, "HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER /*bufferLength*/, SQLINTEGER* length)
{
    Environment* env = begin(asEnvironment(handle));
    if (!env) {
        return SQL_INVALID_HANDLE;
    }
    SQLINTEGER v = 0;
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
        v = env->odbcVersion;
        break;
    case SQL_ATTR_OUTPUT_NTS:
        v = SQL_TRUE;
        break;
    case SQL_ATTR_CONNECTION_POOLING:
        v = SQL_CP_OFF;
        break;
    case SQL_ATTR_CP_MATCH:
        v = SQL_CP_STRICT_MATCH;
        break;
    default:
        return postDriverError(env, "HY092", "Invalid attribute/option identifier");
    }
    return writeValue(v, value, length);
}

SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* serverName, SQLSMALLINT nameLength,
                             SQLCHAR* userName, SQLSMALLINT userLength, SQLCHAR* authentication,
                             SQLSMALLINT authLength)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return connectTo(c, inputText(serverName, nameLength), inputText(userName, userLength),
                     inputText(authentication, authLength));
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND /*window*/, SQLCHAR* inString,
                                   SQLSMALLINT inLength, SQLCHAR* outString,
                                   SQLSMALLINT outBufferLength, SQLSMALLINT* outLength,
                                   SQLUSMALLINT /*completion*/)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    const std::string text = inputText(inString, inLength);
    const auto attrs = parseConnectionString(text);
    const std::string dsn = valueOr(attrs, "DSN", "");
    const std::string user = valueOr(attrs, "UID", "");
    const std::string password = valueOr(attrs, "PWD", "");
    if (dsn.empty() && attrs.count("DATABASE") == 0) {
        return postDriverError(c, "IM002",
                               "Data source name not found and no default driver"
                               " specified");
    }
    const SQLRETURN rc = connectTo(c, dsn, user, password, attrs);
    if (!SQL_SUCCEEDED(rc)) {
        return rc;
    }
    return withInfo(c, copyText(text, outString, outBufferLength, outLength));
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    if (!c->session) {
        return postDriverError(c, "08003", "Connection not open");
    }
    while (!c->statements.empty()) {
        freeStatement(*c->statements.begin());
    }
    c->session.reset();
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER /*length*/)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    const auto v = static_cast<SQLUINTEGER>(attrValue(value));
    switch (attribute) {
    case SQL_ATTR_LOGIN_TIMEOUT:
        c->loginTimeout = v;
        return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_TIMEOUT:
        c->connectionTimeout = v;
        return SQL_SUCCESS;
    case SQL_ATTR_AUTOCOMMIT:
        c->autocommit = v;
        if (c->session) {
            c->session->setAutocommit(v == SQL_AUTOCOMMIT_ON);
        }
        return SQL_SUCCESS;
    case SQL_ATTR_ACCESS_MODE:
        c->accessMode = v;
        return SQL_SUCCESS;
    case SQL_ATTR_TXN_ISOLATION:
        c->txnIsolation = v;
        return SQL_SUCCESS;
    case SQL_ATTR_PACKET_SIZE:
        c->packetSize = v;
        return SQL_SUCCESS;
    case SQL_ATTR_CURRENT_CATALOG:
    case SQL_ATTR_QUIET_MODE:
    case SQL_ATTR_TRACE:
    case SQL_ATTR_ODBC_CURSORS:
    case SQL_ATTR_METADATA_ID:
        return SQL_SUCCESS;
    default:
        return postDriverError(c, "HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER bufferLength, SQLINTEGER* length)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    SQLUINTEGER v = 0;
    switch (attribute) {
    case SQL_ATTR_LOGIN_TIMEOUT:
        v = c->loginTimeout;
        break;
    case SQL_ATTR_CONNECTION_TIMEOUT:
        v = c->connectionTimeout;
        break;
    case SQL_ATTR_AUTOCOMMIT:
        v = c->autocommit;
        break;
    case SQL_ATTR_ACCESS_MODE:
        v = c->accessMode;
        break;
    case SQL_ATTR_TXN_ISOLATION:
        v = c->txnIsolation;
        break;
    case SQL_ATTR_PACKET_SIZE:
        v = c->packetSize;
        break;
    case SQL_ATTR_CONNECTION_DEAD:
        v = c->session && c->session->alive(nullptr) ? SQL_CD_FALSE : SQL_CD_TRUE;
        break;
    case SQL_ATTR_CURRENT_CATALOG:
        return withInfo(c, copyText(std::string("mt"), value, bufferLength, length));
    default:
        return postDriverError(c, "HY092", "Invalid attribute/option identifier");
    }
    return writeValue(v, value, length);
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT infoType, SQLPOINTER value,
                             SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    std::string text;
    if (textInfo(c, infoType, &text)) {
        return infoText(c, text, value, bufferLength, length);
    }
    SQLUINTEGER number = 0;
    bool isShort = false;
    if (numberInfo(infoType, &number, &isShort)) {
        return isShort ? writeValue(static_cast<SQLUSMALLINT>(number), value, length)
                       : writeValue(number, value, length);
    }
    return postDriverError(c, "HY096", "Information type out of range");
}

SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT function, SQLUSMALLINT* supported)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    if (!supported) {
        return postDriverError(c, "HY009", "Invalid use of null pointer");
    }
    if (function == SQL_API_ODBC3_ALL_FUNCTIONS) {
        std::memset(supported, 0, sizeof(SQLUSMALLINT) * SQL_API_ODBC3_ALL_FUNCTIONS_SIZE);
        for (const SQLUSMALLINT f : kFunctions) {
            supported[f >> 4] = static_cast<SQLUSMALLINT>(supported[f >> 4] | (1U << (f & 0xf)));
        }
        return SQL_SUCCESS;
    }
    if (function == SQL_API_ALL_FUNCTIONS) {
        std::memset(supported, 0, sizeof(SQLUSMALLINT) * 100);
        for (const SQLUSMALLINT f : kFunctions) {
            if (f < 100) {
                supported[f] = SQL_TRUE;
            }
        }
        return SQL_SUCCESS;
    }
    *supported = SQL_FALSE;
    for (const SQLUSMALLINT f : kFunctions) {
        if (f == function) {
            *supported = SQL_TRUE;
        }
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                 SQLINTEGER /*length*/)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    const SQLULEN v = attrValue(value);
    switch (attribute) {
    case SQL_ATTR_QUERY_TIMEOUT:
        s->queryTimeout = v;
        return SQL_SUCCESS;
    case SQL_ATTR_MAX_ROWS:
        s->maxRows = v;
        return SQL_SUCCESS;
    case SQL_ATTR_ROW_ARRAY_SIZE:
        if (v != 1) {
            return postDriverError(s, "01S02", "Option value changed", SQL_SUCCESS_WITH_INFO);
        }
        return SQL_SUCCESS;
    case SQL_ATTR_ROWS_FETCHED_PTR:
        s->rowsFetchedPtr = static_cast<SQLULEN*>(value);
        return SQL_SUCCESS;
    case SQL_ATTR_CURSOR_TYPE:
    case SQL_ATTR_CONCURRENCY:
    case SQL_ATTR_CURSOR_SCROLLABLE:
    case SQL_ATTR_CURSOR_SENSITIVITY:
        if ((attribute == SQL_ATTR_CURSOR_TYPE && v != SQL_CURSOR_FORWARD_ONLY) ||
            (attribute == SQL_ATTR_CONCURRENCY && v != SQL_CONCUR_READ_ONLY)) {
            return postDriverError(s, "01S02", "Option value changed", SQL_SUCCESS_WITH_INFO);
        }
        return SQL_SUCCESS;
    case SQL_ATTR_NOSCAN:
    case SQL_ATTR_MAX_LENGTH:
    case SQL_ATTR_RETRIEVE_DATA:
    case SQL_ATTR_USE_BOOKMARKS:
    case SQL_ATTR_ROW_STATUS_PTR:
    case SQL_ATTR_ROW_BIND_TYPE:
    case SQL_ATTR_PARAMSET_SIZE:
    case SQL_ATTR_ASYNC_ENABLE:
    case SQL_ATTR_METADATA_ID:
        return SQL_SUCCESS;
    default:
        return postDriverError(s, "HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                 SQLINTEGER /*bufferLength*/, SQLINTEGER* length)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    SQLULEN v = 0;
    switch (attribute) {
    case SQL_ATTR_QUERY_TIMEOUT:
        v = s->queryTimeout;
        break;
    case SQL_ATTR_MAX_ROWS:
        v = s->maxRows;
        break;
    case SQL_ATTR_ROW_ARRAY_SIZE:
        v = 1;
        break;
    case SQL_ATTR_CURSOR_TYPE:
        v = SQL_CURSOR_FORWARD_ONLY;
        break;
    case SQL_ATTR_CONCURRENCY:
        v = SQL_CONCUR_READ_ONLY;
        break;
    case SQL_ATTR_CURSOR_SCROLLABLE:
        v = SQL_NONSCROLLABLE;
        break;
    case SQL_ATTR_ROW_NUMBER:
        v = s->row >= 0 ? static_cast<SQLULEN>(s->row + 1) : 0;
        break;
    default:
        return postDriverError(s, "HY092", "Invalid attribute/option identifier");
    }
    return writeValue(v, value, length);
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (!text) {
        return postDriverError(s, "HY009", "Invalid use of null pointer");
    }
    return execute(s, inputText(text, length));
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (!text) {
        return postDriverError(s, "HY009", "Invalid use of null pointer");
    }
    s->resetResults();
    s->prepared = inputText(text, length);
    s->hasPrepared = true;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (!s->hasPrepared) {
        return postDriverError(s, "HY010", "Function sequence error");
    }
    return execute(s, s->prepared);
}

SQLRETURN SQL_API SQLNativeSql(SQLHDBC handle, SQLCHAR* inText, SQLINTEGER inLength,
                               SQLCHAR* outText, SQLINTEGER bufferLength, SQLINTEGER* outLength)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return withInfo(c, copyText(inputText(inText, inLength), outText, bufferLength, outLength));
}

SQLRETURN SQL_API SQLNumParams(SQLHSTMT handle, SQLSMALLINT* count)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (count) {
        *count = 0;
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    const StatementResult* r = s->currentResult();
    if (count) {
        *count = r && r->hasRows ? static_cast<SQLSMALLINT>(r->columns.size()) : 0;
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column, SQLCHAR* name,
                                 SQLSMALLINT bufferLength, SQLSMALLINT* nameLength,
                                 SQLSMALLINT* dataType, SQLULEN* size, SQLSMALLINT* digits,
                                 SQLSMALLINT* nullable)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    const StatementResult* r = s->currentResult();
    if (!r || !r->hasRows) {
        return postDriverError(s, "07005", "Prepared statement not a cursor-specification");
    }
    if (column < 1 || column > r->columns.size()) {
        return postDriverError(s, "07009", "Invalid descriptor index");
    }
    const ColumnInfo& info = r->columns[column - 1U];
    if (dataType) {
        *dataType = sqlTypeOf(info);
    }
    if (size) {
        *size = columnSize(info);
    }
    if (digits) {
        *digits = 0;
    }
    if (nullable) {
        *nullable = SQL_NULLABLE;
    }
    return withInfo(s, copyText(info.name, name, bufferLength, nameLength));
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                  SQLPOINTER text, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* textLength, SQLLEN* numeric)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    const StatementResult* r = s->currentResult();
    if (!r || !r->hasRows) {
        return postDriverError(s, "07005", "Prepared statement not a cursor-specification");
    }
    if (field == SQL_DESC_COUNT) {
        return colAttrNumber(static_cast<SQLLEN>(r->columns.size()), numeric);
    }
    if (column < 1 || column > r->columns.size()) {
        return postDriverError(s, "07009", "Invalid descriptor index");
    }
    const ColumnInfo& info = r->columns[column - 1U];
    const bool isText = info.type == ColumnType::Text || info.type == ColumnType::LongText;
    switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_DESC_BASE_COLUMN_NAME:
    case SQL_COLUMN_NAME:
        return colAttrText(s, info.name, text, bufferLength, textLength);
    case SQL_DESC_TYPE_NAME:
        return colAttrText(s, isText ? "varchar" : "numeric", text, bufferLength, textLength);
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME:
    case SQL_DESC_CATALOG_NAME:
    case SQL_DESC_LITERAL_PREFIX:
    case SQL_DESC_LITERAL_SUFFIX:
    case SQL_DESC_LOCAL_TYPE_NAME:
        return colAttrText(s, "", text, bufferLength, textLength);
    case SQL_DESC_SCHEMA_NAME:
        return colAttrText(s, "mt", text, bufferLength, textLength);
    case SQL_DESC_TYPE:
    case SQL_DESC_CONCISE_TYPE:
        return colAttrNumber(sqlTypeOf(info), numeric);
    case SQL_DESC_LENGTH:
    case SQL_DESC_OCTET_LENGTH:
    case SQL_DESC_DISPLAY_SIZE:
    case SQL_DESC_PRECISION:
    case SQL_COLUMN_LENGTH:
    case SQL_COLUMN_PRECISION:
        return colAttrNumber(static_cast<SQLLEN>(columnSize(info)), numeric);
    case SQL_DESC_SCALE:
    case SQL_COLUMN_SCALE:
    case SQL_DESC_AUTO_UNIQUE_VALUE:
    case SQL_DESC_FIXED_PREC_SCALE:
    case SQL_DESC_UNSIGNED:
    case SQL_DESC_NUM_PREC_RADIX:
        return colAttrNumber(field == SQL_DESC_UNSIGNED && isText ? SQL_TRUE : 0, numeric);
    case SQL_DESC_NULLABLE:
    case SQL_COLUMN_NULLABLE:
        return colAttrNumber(SQL_NULLABLE, numeric);
    case SQL_DESC_CASE_SENSITIVE:
        return colAttrNumber(SQL_FALSE, numeric);
    case SQL_DESC_SEARCHABLE:
        return colAttrNumber(SQL_PRED_SEARCHABLE, numeric);
    case SQL_DESC_UPDATABLE:
        return colAttrNumber(SQL_ATTR_READWRITE_UNKNOWN, numeric);
    case SQL_DESC_UNNAMED:
        return colAttrNumber(info.name.empty() ? SQL_UNNAMED : SQL_NAMED, numeric);
    default:
        return postDriverError(s, "HY091", "Invalid descriptor field identifier");
    }
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    const StatementResult* r = s->currentResult();
    if (!r || !r->hasRows) {
        return postDriverError(s, "24000", "Invalid cursor state");
    }
    s->resetData();
    const auto count = static_cast<long long>(r->rows.size());
    const bool capped = s->maxRows > 0 && s->row + 1 >= static_cast<long long>(s->maxRows);
    if (s->row + 1 >= count || capped) {
        s->row = count;
        if (s->rowsFetchedPtr) {
            *s->rowsFetchedPtr = 0;
        }
        return SQL_NO_DATA;
    }
    ++s->row;
    if (s->rowsFetchedPtr) {
        *s->rowsFetchedPtr = 1;
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT targetType,
                             SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    const std::vector<Cell>* row = currentRow(s);
    if (!row) {
        return postDriverError(s, "24000", "Invalid cursor state");
    }
    if (column < 1 || column > row->size()) {
        return postDriverError(s, "07009", "Invalid descriptor index");
    }
    if (column != s->dataColumn) {
        s->resetData();
        s->dataColumn = column;
    }
    return getCell(s, (*row)[column - 1U], targetType, target, bufferLength, indicator);
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (!s->executed || s->current + 1 >= s->results.size()) {
        s->resetResults();
        return SQL_NO_DATA;
    }
    ++s->current;
    s->row = -1;
    s->resetData();
    return reportCurrent(s);
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    const StatementResult* r = s->currentResult();
    if (count) {
        *count = r && !r->failed ? static_cast<SQLLEN>(r->rowCount) : -1;
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    const StatementResult* r = s->currentResult();
    if (!r || !r->hasRows) {
        return postDriverError(s, "24000", "Invalid cursor state");
    }
    s->resetResults();
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT handle)
{
    Statement* s = asStatement(handle);
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (ServerSession* session = sessionOf(s)) {
        session->cancel();
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT completion)
{
    const bool commitWork = completion == SQL_COMMIT;
    if (handleType == SQL_HANDLE_ENV) {
        Environment* env = begin(asEnvironment(handle));
        if (!env) {
            return SQL_INVALID_HANDLE;
        }
        for (Connection* c : env->connections) {
            if (c->session) {
                ServerError e;
                if (!c->session->endTransaction(commitWork, &e)) {
                    return postServerError(env, c->dialect, e);
                }
            }
        }
        return SQL_SUCCESS;
    }
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    if (!c->session) {
        return postDriverError(c, "08003", "Connection not open");
    }
    ServerError e;
    if (!c->session->alive(&e) || !c->session->endTransaction(commitWork, &e)) {
        return postServerError(c, c->dialect, e);
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recNumber,
                                SQLCHAR* sqlState, SQLINTEGER* native, SQLCHAR* message,
                                SQLSMALLINT bufferLength, SQLSMALLINT* textLength)
{
    HandleBase* h = asAnyHandle(handleType, handle);
    if (!h) {
        return SQL_INVALID_HANDLE;
    }
    return diagRec(h, recNumber, sqlState, native, message, bufferLength, textLength);
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recNumber,
                                  SQLSMALLINT diagId, SQLPOINTER info, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* stringLength)
{
    HandleBase* h = asAnyHandle(handleType, handle);
    if (!h) {
        return SQL_INVALID_HANDLE;
    }
    return diagField(handleType, h, recNumber, diagId, info, bufferLength, stringLength);
}

} // extern "C"
