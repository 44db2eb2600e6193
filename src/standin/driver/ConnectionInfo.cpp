// What the driver tells of itself and of the server on a connection: SQLGetInfo, from a table of
// information types and their values, and SQLGetFunctions.
#include "ApiSupport.h"
#include "OutputBuffers.h"

#include <variant>

using kaldor::standin::Dialect;
using namespace kaldor::standin::driver;

namespace {

// A value that depends on the connection: the dialect's server, the data source, the session.
using ConnectionText = std::string (*)(const Connection&);
struct Short {
    SQLUSMALLINT value;
};
struct Long {
    SQLUINTEGER value;
};
using InfoValue = std::variant<const char*, ConnectionText, Short, Long>;

struct InfoEntry {
    SQLUSMALLINT type;
    InfoValue value;
};

constexpr Short shortValue(unsigned v)
{
    return Short{static_cast<SQLUSMALLINT>(v)};
}

constexpr Long longValue(unsigned long v)
{
    return Long{static_cast<SQLUINTEGER>(v)};
}

std::string dbmsName(const Connection& c)
{
    return c.dialect == Dialect::Anywhere ? "SQL Anywhere" : "Microsoft SQL Server";
}

std::string dbmsVersion(const Connection& c)
{
    return c.dialect == Dialect::Anywhere ? "17.00.0000" : "16.00.1000";
}

std::string dataSourceName(const Connection& c)
{
    return c.dataSource;
}

std::string databaseName(const Connection& c)
{
    return c.session ? c.session->databasePath() : "";
}

std::string userName(const Connection& c)
{
    return c.session ? c.session->user() : "";
}

const InfoEntry kInfo[] = {
    // The driver and the server.
    {SQL_DRIVER_ODBC_VER, "03.00"},
    {SQL_ODBC_VER, "03.00"},
    {SQL_DRIVER_NAME, "libkaldor-standin.so"},
    {SQL_DRIVER_VER, "01.00.0000"},
    {SQL_DBMS_NAME, &dbmsName},
    {SQL_DBMS_VER, &dbmsVersion},
    {SQL_DATA_SOURCE_NAME, &dataSourceName},
    {SQL_SERVER_NAME, &dataSourceName},
    {SQL_DATABASE_NAME, &databaseName},
    {SQL_USER_NAME, &userName},
    {SQL_ODBC_API_CONFORMANCE, shortValue(SQL_OAC_LEVEL1)},
    {SQL_ODBC_SQL_CONFORMANCE, shortValue(SQL_OSC_MINIMUM)},
    {SQL_ODBC_INTERFACE_CONFORMANCE, longValue(SQL_OIC_CORE)},
    {SQL_SQL_CONFORMANCE, longValue(SQL_SC_SQL92_ENTRY)},
    // Names and terms.
    {SQL_IDENTIFIER_QUOTE_CHAR, "\""},
    {SQL_CATALOG_NAME_SEPARATOR, "."},
    {SQL_SEARCH_PATTERN_ESCAPE, "\\"},
    {SQL_SCHEMA_TERM, "owner"},
    {SQL_PROCEDURE_TERM, "procedure"},
    {SQL_TABLE_TERM, "table"},
    {SQL_CATALOG_TERM, ""},
    {SQL_KEYWORDS, ""},
    {SQL_SPECIAL_CHARACTERS, ""},
    {SQL_COLLATION_SEQ, ""},
    {SQL_IDENTIFIER_CASE, shortValue(SQL_IC_MIXED)},
    {SQL_QUOTED_IDENTIFIER_CASE, shortValue(SQL_IC_MIXED)},
    {SQL_SCHEMA_USAGE,
     longValue(SQL_SU_DML_STATEMENTS | SQL_SU_PROCEDURE_INVOCATION | SQL_SU_TABLE_DEFINITION)},
    // What the server accepts.
    {SQL_DATA_SOURCE_READ_ONLY, "N"},
    {SQL_NEED_LONG_DATA_LEN, "N"},
    {SQL_ROW_UPDATES, "N"},
    {SQL_ORDER_BY_COLUMNS_IN_SELECT, "N"},
    {SQL_INTEGRITY, "N"},
    {SQL_MAX_ROW_SIZE_INCLUDES_LONG, "N"},
    {SQL_ACCESSIBLE_TABLES, "Y"},
    {SQL_ACCESSIBLE_PROCEDURES, "Y"},
    {SQL_PROCEDURES, "Y"},
    {SQL_MULT_RESULT_SETS, "Y"},
    {SQL_MULTIPLE_ACTIVE_TXN, "Y"},
    {SQL_EXPRESSIONS_IN_ORDERBY, "Y"},
    {SQL_COLUMN_ALIAS, "Y"},
    {SQL_LIKE_ESCAPE_CLAUSE, "Y"},
    {SQL_OUTER_JOINS, "Y"},
    {SQL_NULL_COLLATION, shortValue(SQL_NC_LOW)},
    {SQL_CONCAT_NULL_BEHAVIOR, shortValue(SQL_CB_NULL)},
    {SQL_CORRELATION_NAME, shortValue(SQL_CN_ANY)},
    {SQL_GROUP_BY, shortValue(SQL_GB_GROUP_BY_CONTAINS_SELECT)},
    {SQL_FILE_USAGE, shortValue(SQL_FILE_NOT_SUPPORTED)},
    {SQL_NON_NULLABLE_COLUMNS, shortValue(SQL_NNC_NON_NULL)},
    // Limits; 0 is none.
    {SQL_MAX_COLUMN_NAME_LEN, shortValue(128)},
    {SQL_MAX_TABLE_NAME_LEN, shortValue(128)},
    {SQL_MAX_IDENTIFIER_LEN, shortValue(128)},
    {SQL_MAX_SCHEMA_NAME_LEN, shortValue(128)},
    {SQL_MAX_DRIVER_CONNECTIONS, shortValue(0)},
    {SQL_MAX_CONCURRENT_ACTIVITIES, shortValue(0)},
    {SQL_MAX_CURSOR_NAME_LEN, shortValue(0)},
    {SQL_MAX_CATALOG_NAME_LEN, shortValue(0)},
    {SQL_MAX_COLUMNS_IN_SELECT, shortValue(0)},
    {SQL_MAX_ASYNC_CONCURRENT_STATEMENTS, longValue(0)},
    {SQL_MAX_STATEMENT_LEN, longValue(0)},
    {SQL_MAX_ROW_SIZE, longValue(0)},
    {SQL_MAX_BINARY_LITERAL_LEN, longValue(0)},
    {SQL_MAX_CHAR_LITERAL_LEN, longValue(0)},
    // Transactions and cursors.
    {SQL_TXN_CAPABLE, shortValue(SQL_TC_ALL)},
    {SQL_CURSOR_COMMIT_BEHAVIOR, shortValue(SQL_CB_PRESERVE)},
    {SQL_CURSOR_ROLLBACK_BEHAVIOR, shortValue(SQL_CB_PRESERVE)},
    {SQL_DEFAULT_TXN_ISOLATION, longValue(SQL_TXN_SERIALIZABLE)},
    {SQL_TXN_ISOLATION_OPTION, longValue(SQL_TXN_SERIALIZABLE)},
    {SQL_GETDATA_EXTENSIONS, longValue(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND)},
    {SQL_SCROLL_OPTIONS, longValue(SQL_SO_FORWARD_ONLY)},
    {SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1, longValue(SQL_CA1_NEXT)},
    {SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2, longValue(0)},
    {SQL_STATIC_CURSOR_ATTRIBUTES1, longValue(0)},
    {SQL_STATIC_CURSOR_ATTRIBUTES2, longValue(0)},
    {SQL_DYNAMIC_CURSOR_ATTRIBUTES1, longValue(0)},
    {SQL_DYNAMIC_CURSOR_ATTRIBUTES2, longValue(0)},
    {SQL_KEYSET_CURSOR_ATTRIBUTES1, longValue(0)},
    {SQL_KEYSET_CURSOR_ATTRIBUTES2, longValue(0)},
    {SQL_CURSOR_SENSITIVITY, longValue(SQL_INSENSITIVE)},
    {SQL_STATIC_SENSITIVITY, longValue(0)},
    {SQL_POS_OPERATIONS, longValue(0)},
    {SQL_LOCK_TYPES, longValue(0)},
    {SQL_BOOKMARK_PERSISTENCE, longValue(0)},
    {SQL_ASYNC_MODE, longValue(SQL_AM_NONE)},
    // Batches and parameter arrays.
    {SQL_BATCH_SUPPORT, longValue(SQL_BS_SELECT_EXPLICIT | SQL_BS_ROW_COUNT_EXPLICIT)},
    {SQL_BATCH_ROW_COUNT, longValue(SQL_BRC_EXPLICIT)},
    {SQL_PARAM_ARRAY_ROW_COUNTS, longValue(SQL_PARC_NO_BATCH)},
    {SQL_PARAM_ARRAY_SELECTS, longValue(SQL_PAS_NO_SELECT)},
    // Scalar functions and literals: none reported.
    {SQL_STRING_FUNCTIONS, longValue(0)},
    {SQL_NUMERIC_FUNCTIONS, longValue(0)},
    {SQL_TIMEDATE_FUNCTIONS, longValue(0)},
    {SQL_SYSTEM_FUNCTIONS, longValue(0)},
    {SQL_CONVERT_FUNCTIONS, longValue(0)},
    {SQL_DATETIME_LITERALS, longValue(0)},
};

const InfoEntry* findInfo(SQLUSMALLINT type)
{
    for (const InfoEntry& e : kInfo) {
        if (e.type == type) {
            return &e;
        }
    }
    return nullptr;
}

SQLRETURN getInfo(Connection* c, SQLUSMALLINT infoType, SQLPOINTER value, const TextBuffer& text,
                  SQLSMALLINT* length)
{
    const InfoEntry* entry = findInfo(infoType);
    if (!entry) {
        return postDriverError(c, "HY096", "Information type out of range");
    }
    const auto& v = entry->value;
    if (const auto* fixed = std::get_if<const char*>(&v)) {
        return withInfo(c, putText(*fixed, text, length));
    }
    if (const auto* of = std::get_if<ConnectionText>(&v)) {
        return withInfo(c, putText((*of)(*c), text, length));
    }
    if (const auto* s = std::get_if<Short>(&v)) {
        return writeValue(s->value, value, length);
    }
    return writeValue(std::get<Long>(v).value, value, length);
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
    SQL_API_SQLNUMPARAMS,      SQL_API_SQLTABLES,       SQL_API_SQLCOLUMNS,
    SQL_API_SQLPROCEDURES,     SQL_API_SQLPRIMARYKEYS,  SQL_API_SQLSTATISTICS,
    SQL_API_SQLBINDPARAMETER,  SQL_API_SQLBINDCOL,
};

} // namespace

extern "C" {

SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT infoType, SQLPOINTER value,
                             SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return getInfo(c, infoType, value, TextBuffer::narrow(value, bufferLength), length);
}

SQLRETURN SQL_API SQLGetInfoW(SQLHDBC handle, SQLUSMALLINT infoType, SQLPOINTER value,
                              SQLSMALLINT bufferLength, SQLSMALLINT* length)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return getInfo(c, infoType, value, TextBuffer::wideBytes(value, bufferLength), length);
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

} // extern "C"
