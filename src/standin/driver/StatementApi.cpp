// The ODBC entry points of statements: attributes, parameters, preparing and executing a batch
// (its text also in the wide, UTF-16 form), its results one after another, cancelling and
// closing.
#include "ApiSupport.h"
#include "OutputBuffers.h"
#include "Parameters.h"

using kaldor::standin::parameterMarkers;
using kaldor::standin::ServerSession;
using kaldor::standin::StatementResult;
using namespace kaldor::standin::driver;

namespace {

ServerSession* sessionOf(Statement* s)
{
    return s->dbc->session.get();
}

SQLRETURN execute(Statement* s, const std::string& sql)
{
    s->resetResults();
    ServerSession* session = sessionOf(s);
    if (!session) {
        return postDriverError(s, "08003", "Connection not open");
    }
    std::vector<kaldor::standin::ParameterValue> values;
    if (!boundValues(s, sql, &values)) {
        return SQL_ERROR;
    }
    session->setQueryTimeout(static_cast<unsigned long>(s->queryTimeout));
    return takeResults(s, session->execute(sql, values));
}

SQLRETURN execDirect(Statement* s, const std::string& sql)
{
    s->lastText = sql;
    s->hasText = true;
    return execute(s, sql);
}

SQLRETURN prepare(Statement* s, const std::string& sql)
{
    s->resetResults();
    s->prepared = sql;
    s->hasPrepared = true;
    s->lastText = sql;
    s->hasText = true;
    return SQL_SUCCESS;
}

} // namespace

extern "C" {

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
        s->boundColumns.clear();
        return SQL_SUCCESS;
    case SQL_RESET_PARAMS:
        s->parameters.clear();
        return SQL_SUCCESS;
    default:
        return postDriverError(s, "HY092", "Invalid attribute/option identifier");
    }
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
    case SQL_ATTR_ROW_STATUS_PTR:
        s->rowStatusPtr = static_cast<SQLUSMALLINT*>(value);
        return SQL_SUCCESS;
    case SQL_ATTR_CURSOR_TYPE:
    case SQL_ATTR_CONCURRENCY:
    case SQL_ATTR_CURSOR_SCROLLABLE:
    case SQL_ATTR_CURSOR_SENSITIVITY:
        if ((attribute == SQL_ATTR_CURSOR_TYPE && v != SQL_CURSOR_FORWARD_ONLY) ||
            (attribute == SQL_ATTR_CONCURRENCY && v != SQL_CONCUR_READ_ONLY) ||
            (attribute == SQL_ATTR_CURSOR_SCROLLABLE && v != SQL_NONSCROLLABLE) ||
            (attribute == SQL_ATTR_CURSOR_SENSITIVITY && v == SQL_SENSITIVE)) {
            return postDriverError(s, "01S02", "Option value changed", SQL_SUCCESS_WITH_INFO);
        }
        return SQL_SUCCESS;
    case SQL_ATTR_NOSCAN:
    case SQL_ATTR_MAX_LENGTH:
    case SQL_ATTR_RETRIEVE_DATA:
    case SQL_ATTR_USE_BOOKMARKS:
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
    case SQL_ATTR_ROWS_FETCHED_PTR:
        return writeValue(s->rowsFetchedPtr, value, length);
    case SQL_ATTR_ROW_STATUS_PTR:
        return writeValue(s->rowStatusPtr, value, length);
    default:
        return postDriverError(s, "HY092", "Invalid attribute/option identifier");
    }
    return writeValue(v, value, length);
}

// The statement attributes hold no texts: their wide forms are the same.
SQLRETURN SQL_API SQLSetStmtAttrW(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                  SQLINTEGER length)
{
    return SQLSetStmtAttr(handle, attribute, value, length);
}

SQLRETURN SQL_API SQLGetStmtAttrW(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                  SQLINTEGER bufferLength, SQLINTEGER* length)
{
    return SQLGetStmtAttr(handle, attribute, value, bufferLength, length);
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
    return execDirect(s, inputText(text, length));
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
    return prepare(s, inputText(text, length));
}

SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (!text) {
        return postDriverError(s, "HY009", "Invalid use of null pointer");
    }
    return execDirect(s, inputWide(text, length));
}

SQLRETURN SQL_API SQLPrepareW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (!text) {
        return postDriverError(s, "HY009", "Invalid use of null pointer");
    }
    return prepare(s, inputWide(text, length));
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

SQLRETURN SQL_API SQLNumParams(SQLHSTMT handle, SQLSMALLINT* count)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (!s->hasText) {
        return postDriverError(s, "HY010", "Function sequence error");
    }
    if (count) {
        *count = static_cast<SQLSMALLINT>(parameterMarkers(s->lastText).size());
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT ioType,
                                   SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN /*columnSize*/,
                                   SQLSMALLINT /*digits*/, SQLPOINTER value, SQLLEN bufferLength,
                                   SQLLEN* indicator)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    return bindParameter(s, number, ioType, {cType, sqlType, value, bufferLength, indicator});
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

} // extern "C"
