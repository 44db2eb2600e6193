// The ODBC entry points reading a statement's result set: its columns (their names also in the
// wide, UTF-16 form), binding them, fetching rows and reading their values.
#include "ApiSupport.h"
#include "GetData.h"
#include "OutputBuffers.h"

#include <limits>

using kaldor::standin::Cell;
using kaldor::standin::ColumnInfo;
using kaldor::standin::ColumnType;
using kaldor::standin::StatementResult;
using namespace kaldor::standin::driver;

namespace {

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
    case ColumnType::SmallInt:
        return SQL_SMALLINT;
    case ColumnType::Integer:
        return SQL_INTEGER;
    case ColumnType::Numeric:
        return SQL_NUMERIC;
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

// The characters a value can take when shown (a number's sign and point included), and its
// bytes in the client's default C type.
SQLLEN displaySize(const ColumnInfo& c)
{
    switch (c.type) {
    case ColumnType::SmallInt:
        return 6;
    case ColumnType::Integer:
        return 11;
    case ColumnType::Numeric:
        return static_cast<SQLLEN>(c.width) + 2;
    case ColumnType::Real:
        return 24;
    case ColumnType::Text:
    case ColumnType::LongText:
        break;
    }
    return static_cast<SQLLEN>(columnSize(c));
}

SQLLEN octetLength(const ColumnInfo& c)
{
    switch (c.type) {
    case ColumnType::SmallInt:
        return 2;
    case ColumnType::Integer:
        return 4;
    case ColumnType::Numeric:
        return static_cast<SQLLEN>(c.width) + 2; // as text, the type's default C type
    case ColumnType::Real:
        return 8;
    case ColumnType::Text:
    case ColumnType::LongText:
        break;
    }
    return static_cast<SQLLEN>(columnSize(c));
}

SQLRETURN colAttrText(Statement* s, const std::string& text, const TextBuffer& out,
                      SQLSMALLINT* length)
{
    return withInfo(s, putText(text, out, length));
}

SQLRETURN colAttrNumber(SQLLEN value, SQLLEN* numeric)
{
    if (numeric) {
        *numeric = value;
    }
    return SQL_SUCCESS;
}

// Stores the row's values in the bound columns: SQL_SUCCESS_WITH_INFO with a 01004 record for
// each text cut to its buffer, SQL_ERROR when a value cannot be stored.
SQLRETURN fillBoundColumns(Statement* s, const std::vector<Cell>& row)
{
    SQLRETURN result = SQL_SUCCESS;
    for (const auto& [column, b] : s->boundColumns) {
        if (column > row.size()) {
            return postDriverError(s, "07009", "Invalid descriptor index");
        }
        CellPosition whole;
        const SQLRETURN rc =
            getCell(s, whole, row[column - 1U], b.cType, b.target, b.bufferLength, b.indicator);
        if (rc == SQL_ERROR) {
            return SQL_ERROR;
        }
        if (rc == SQL_SUCCESS_WITH_INFO) {
            result = SQL_SUCCESS_WITH_INFO;
        }
    }
    if (result == SQL_SUCCESS_WITH_INFO) {
        s->diag.returnCode = SQL_SUCCESS_WITH_INFO;
    }
    return result;
}

SQLRETURN describeColumn(Statement* s, SQLUSMALLINT column, const TextBuffer& name,
                         SQLSMALLINT* nameLength, SQLSMALLINT* dataType, SQLULEN* size,
                         SQLSMALLINT* digits, SQLSMALLINT* nullable)
{
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
    return withInfo(s, putText(info.name, name, nameLength));
}

SQLRETURN colAttribute(Statement* s, SQLUSMALLINT column, SQLUSMALLINT field,
                       const TextBuffer& text, SQLSMALLINT* textLength, SQLLEN* numeric)
{
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
        return colAttrText(s, info.name, text, textLength);
    case SQL_DESC_TYPE_NAME:
        return colAttrText(s, isText ? "varchar" : "numeric", text, textLength);
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME:
    case SQL_DESC_CATALOG_NAME:
    case SQL_DESC_LOCAL_TYPE_NAME:
        return colAttrText(s, "", text, textLength);
    case SQL_DESC_LITERAL_PREFIX:
    case SQL_DESC_LITERAL_SUFFIX:
        return colAttrText(s, isText ? "'" : "", text, textLength);
    case SQL_DESC_SCHEMA_NAME:
        return colAttrText(s, "mt", text, textLength);
    case SQL_DESC_TYPE:
    case SQL_DESC_CONCISE_TYPE:
        return colAttrNumber(sqlTypeOf(info), numeric);
    case SQL_DESC_DISPLAY_SIZE:
        return colAttrNumber(displaySize(info), numeric);
    case SQL_DESC_OCTET_LENGTH:
        return colAttrNumber(octetLength(info), numeric);
    case SQL_DESC_LENGTH:
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

} // namespace

extern "C" {

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
    return describeColumn(s, column, TextBuffer::narrow(name, bufferLength), nameLength, dataType,
                          size, digits, nullable);
}

SQLRETURN SQL_API SQLDescribeColW(SQLHSTMT handle, SQLUSMALLINT column, SQLWCHAR* name,
                                  SQLSMALLINT bufferLength, SQLSMALLINT* nameLength,
                                  SQLSMALLINT* dataType, SQLULEN* size, SQLSMALLINT* digits,
                                  SQLSMALLINT* nullable)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    return describeColumn(s, column, TextBuffer::wideChars(name, bufferLength), nameLength,
                          dataType, size, digits, nullable);
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                  SQLPOINTER text, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* textLength, SQLLEN* numeric)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    return colAttribute(s, column, field, TextBuffer::narrow(text, bufferLength), textLength,
                        numeric);
}

SQLRETURN SQL_API SQLColAttributeW(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                   SQLPOINTER text, SQLSMALLINT bufferLength,
                                   SQLSMALLINT* textLength, SQLLEN* numeric)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    return colAttribute(s, column, field, TextBuffer::wideBytes(text, bufferLength), textLength,
                        numeric);
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
        if (s->rowStatusPtr) {
            *s->rowStatusPtr = SQL_ROW_NOROW;
        }
        return SQL_NO_DATA;
    }
    ++s->row;
    if (s->rowsFetchedPtr) {
        *s->rowsFetchedPtr = 1;
    }
    const SQLRETURN rc = fillBoundColumns(s, r->rows[static_cast<size_t>(s->row)]);
    if (s->rowStatusPtr) {
        *s->rowStatusPtr = rc == SQL_SUCCESS             ? SQL_ROW_SUCCESS
                           : rc == SQL_SUCCESS_WITH_INFO ? SQL_ROW_SUCCESS_WITH_INFO
                                                         : SQL_ROW_ERROR;
    }
    return rc;
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
    return getCell(s, s->data, (*row)[column - 1U], targetType, target, bufferLength, indicator);
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT targetType,
                             SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    if (column < 1) {
        return postDriverError(s, "07009", "Invalid descriptor index");
    }
    if (!target && !indicator) {
        s->boundColumns.erase(column);
        return SQL_SUCCESS;
    }
    if (!isSupportedTarget(targetType)) {
        return postDriverError(s, "HYC00", "Optional feature not implemented");
    }
    if (bufferLength < 0) {
        return postDriverError(s, "HY090", "Invalid string or buffer length");
    }
    s->boundColumns[column] = {targetType, target, bufferLength, indicator};
    return SQL_SUCCESS;
}

} // extern "C"
