#include "Diagnostics.h"

#include "OutputBuffers.h"

namespace kaldor::standin::driver {

namespace {

const DiagRecord* record(const HandleBase* h, SQLSMALLINT recNumber)
{
    if (recNumber < 1 || static_cast<size_t>(recNumber) > h->diag.records.size()) {
        return nullptr;
    }
    return &h->diag.records[static_cast<size_t>(recNumber - 1)];
}

// ISO 9075 for the standard's classes, "ODBC 3.0" for ODBC's own.
std::string classOrigin(const std::string& sqlState)
{
    const std::string cls = sqlState.substr(0, 2);
    return cls == "IM" || cls == "HY" || sqlState == "01S00" || sqlState == "08S01" ? "ODBC 3.0"
                                                                                    : "ISO 9075";
}

SQLRETURN textField(const std::string& text, const TextBuffer& out, SQLSMALLINT* stringLength)
{
    return putText(text, out, stringLength) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

template <typename T> SQLRETURN valueField(T value, SQLPOINTER info)
{
    if (info) {
        *static_cast<T*>(info) = value;
    }
    return SQL_SUCCESS;
}

SQLRETURN headerField(const HandleBase* h, SQLSMALLINT diagId, SQLPOINTER info)
{
    switch (diagId) {
    case SQL_DIAG_NUMBER:
        return valueField(static_cast<SQLINTEGER>(h->diag.records.size()), info);
    case SQL_DIAG_RETURNCODE:
        return valueField(h->diag.returnCode, info);
    case SQL_DIAG_ROW_COUNT:
        return valueField(h->diag.rowCount, info);
    case SQL_DIAG_CURSOR_ROW_COUNT:
        return valueField(static_cast<SQLLEN>(0), info);
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
        return valueField(static_cast<SQLINTEGER>(SQL_DIAG_UNKNOWN_STATEMENT), info);
    default:
        return SQL_ERROR;
    }
}

std::string serverName(SQLSMALLINT handleType, const HandleBase* h)
{
    if (handleType == SQL_HANDLE_DBC) {
        return static_cast<const Connection*>(h)->dataSource;
    }
    if (handleType == SQL_HANDLE_STMT) {
        return static_cast<const Statement*>(h)->dbc->dataSource;
    }
    return {};
}

} // namespace

Dialect dialectOf(const HandleBase* h)
{
    if (h->kind == HandleKind::Connection) {
        return static_cast<const Connection*>(h)->dialect;
    }
    if (h->kind == HandleKind::Statement) {
        return static_cast<const Statement*>(h)->dbc->dialect;
    }
    return Dialect::SqlServer;
}

SQLRETURN postServerError(HandleBase* h, Dialect d, const ServerError& e)
{
    h->diag.records.push_back({e.sqlState, e.native, messagePrefix(d) + e.message});
    h->diag.returnCode = SQL_ERROR;
    return SQL_ERROR;
}

SQLRETURN postDriverError(HandleBase* h, const char* sqlState, const std::string& text,
                          SQLRETURN rc)
{
    const std::string prefix =
        h->kind == HandleKind::Environment ? "[KALDOR][Stand-in]" : messagePrefix(dialectOf(h));
    h->diag.records.push_back({sqlState, 0, prefix + text});
    h->diag.returnCode = rc;
    return rc;
}

SQLRETURN diagRec(HandleBase* h, SQLSMALLINT recNumber, const TextBuffer& sqlState,
                  SQLINTEGER* native, const TextBuffer& message, SQLSMALLINT* textLength)
{
    if (recNumber < 1 || message.size < 0) {
        return SQL_ERROR;
    }
    const DiagRecord* r = record(h, recNumber);
    if (!r) {
        return SQL_NO_DATA;
    }
    if (sqlState.data) {
        putText(r->sqlState, sqlState, static_cast<SQLLEN*>(nullptr));
    }
    if (native) {
        *native = r->native;
    }
    return putText(r->message, message, textLength) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

SQLRETURN diagField(SQLSMALLINT handleType, HandleBase* h, SQLSMALLINT recNumber,
                    SQLSMALLINT diagId, SQLPOINTER info, const TextBuffer& text,
                    SQLSMALLINT* stringLength)
{
    if (recNumber == 0) {
        return headerField(h, diagId, info);
    }
    const DiagRecord* r = record(h, recNumber);
    if (!r) {
        return recNumber < 0 ? SQL_ERROR : SQL_NO_DATA;
    }
    switch (diagId) {
    case SQL_DIAG_SQLSTATE:
        return textField(r->sqlState, text, stringLength);
    case SQL_DIAG_NATIVE:
        return valueField(r->native, info);
    case SQL_DIAG_MESSAGE_TEXT:
        return textField(r->message, text, stringLength);
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN:
        return textField(classOrigin(r->sqlState), text, stringLength);
    case SQL_DIAG_CONNECTION_NAME:
        return textField(std::string(), text, stringLength);
    case SQL_DIAG_SERVER_NAME:
        return textField(serverName(handleType, h), text, stringLength);
    case SQL_DIAG_ROW_NUMBER:
        return valueField(static_cast<SQLLEN>(SQL_NO_ROW_NUMBER), info);
    case SQL_DIAG_COLUMN_NUMBER:
        return valueField(static_cast<SQLINTEGER>(SQL_NO_COLUMN_NUMBER), info);
    default:
        return SQL_ERROR;
    }
}

} // namespace kaldor::standin::driver
