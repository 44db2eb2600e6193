// Input parameters: the values bound with SQLBindParameter go to the server as SQL literals in
// place of the statement's parameter markers.
#include "Parameters.h"

#include "Diagnostics.h"
#include "OutputBuffers.h"
#include "SqliteDatabase.h"

#include <cstring>
#include <sstream>

namespace kaldor::standin::driver {

namespace {

bool isCharacterType(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
        return true;
    default:
        return false;
    }
}

// The C type that SQL_C_DEFAULT stands for with a parameter of `sqlType`.
SQLSMALLINT defaultCType(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
        return SQL_C_WCHAR;
    case SQL_INTEGER:
        return SQL_C_SLONG;
    case SQL_SMALLINT:
        return SQL_C_SSHORT;
    case SQL_TINYINT:
        return SQL_C_STINYINT;
    case SQL_BIGINT:
        return SQL_C_SBIGINT;
    case SQL_BIT:
        return SQL_C_BIT;
    case SQL_DOUBLE:
    case SQL_FLOAT:
        return SQL_C_DOUBLE;
    case SQL_REAL:
        return SQL_C_FLOAT;
    default:
        return SQL_C_CHAR;
    }
}

bool isSupportedCType(SQLSMALLINT cType)
{
    switch (cType) {
    case SQL_C_CHAR:
    case SQL_C_WCHAR:
    case SQL_C_LONG:
    case SQL_C_SLONG:
    case SQL_C_ULONG:
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
    case SQL_C_USHORT:
    case SQL_C_TINYINT:
    case SQL_C_STINYINT:
    case SQL_C_UTINYINT:
    case SQL_C_SBIGINT:
    case SQL_C_UBIGINT:
    case SQL_C_BIT:
    case SQL_C_DOUBLE:
    case SQL_C_FLOAT:
        return true;
    default:
        return false;
    }
}

template <typename T> T read(const void* p)
{
    T v{};
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The decimal text of an integer or floating-point C value.
std::string numberText(SQLSMALLINT cType, const void* p)
{
    switch (cType) {
    case SQL_C_LONG:
    case SQL_C_SLONG:
        return std::to_string(read<SQLINTEGER>(p));
    case SQL_C_ULONG:
        return std::to_string(read<SQLUINTEGER>(p));
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
        return std::to_string(read<SQLSMALLINT>(p));
    case SQL_C_USHORT:
        return std::to_string(read<SQLUSMALLINT>(p));
    case SQL_C_TINYINT:
    case SQL_C_STINYINT:
        return std::to_string(read<SQLSCHAR>(p));
    case SQL_C_UTINYINT:
    case SQL_C_BIT:
        return std::to_string(read<SQLCHAR>(p));
    case SQL_C_SBIGINT:
        return std::to_string(read<SQLBIGINT>(p));
    case SQL_C_UBIGINT:
        return std::to_string(read<SQLUBIGINT>(p));
    default:
        break;
    }
    const double d = cType == SQL_C_FLOAT ? read<float>(p) : read<double>(p);
    std::ostringstream out;
    out.precision(17);
    out << d;
    return out.str();
}

// The text of a character value: `length` bytes, or up to its NUL with SQL_NTS.
std::string characterText(const ParameterBinding& b, SQLLEN length)
{
    if (b.cType == SQL_C_WCHAR) {
        const auto* units = static_cast<const char16_t*>(b.value);
        size_t count = 0;
        if (length == SQL_NTS) {
            while (units[count] != u'\0') {
                ++count;
            }
        } else {
            count = static_cast<size_t>(length) / sizeof(char16_t);
        }
        return toUtf8(std::u16string_view(units, count));
    }
    const auto* chars = static_cast<const char*>(b.value);
    return length == SQL_NTS ? std::string(chars) : std::string(chars, static_cast<size_t>(length));
}

// The SQL literal of one bound value: NULL, 'text' or a number.
bool literal(Statement* s, const ParameterBinding& b, std::string* out)
{
    const SQLLEN length = b.indicator ? *b.indicator : SQL_NTS;
    if (length == SQL_NULL_DATA) {
        *out = "NULL";
        return true;
    }
    if (length == SQL_DATA_AT_EXEC || length <= SQL_LEN_DATA_AT_EXEC_OFFSET) {
        postDriverError(s, "HYC00", "Optional feature not implemented");
        return false;
    }
    if (!b.value) {
        postDriverError(s, "HY009", "Invalid use of null pointer");
        return false;
    }
    const SQLSMALLINT cType = b.cType == SQL_C_DEFAULT ? defaultCType(b.sqlType) : b.cType;
    if (cType == SQL_C_CHAR || cType == SQL_C_WCHAR) {
        if (length < 0 && length != SQL_NTS) {
            postDriverError(s, "HY090", "Invalid string or buffer length");
            return false;
        }
        ParameterBinding text = b;
        text.cType = cType;
        *out = sqlLiteral(characterText(text, length));
        return true;
    }
    const std::string number = numberText(cType, b.value);
    if (number.find_first_not_of("0123456789-.e+") != std::string::npos) {
        postDriverError(s, "22018", "Invalid character value for cast specification");
        return false;
    }
    // A number bound to a text parameter is its text, as the servers convert it.
    *out = isCharacterType(b.sqlType) ? sqlLiteral(number) : number;
    return true;
}

} // namespace

SQLRETURN bindParameter(Statement* s, SQLUSMALLINT number, SQLSMALLINT ioType,
                        ParameterBinding binding)
{
    if (number < 1) {
        return postDriverError(s, "07009", "Invalid descriptor index");
    }
    if (ioType != SQL_PARAM_INPUT) {
        return postDriverError(s, "HYC00", "Optional feature not implemented");
    }
    const SQLSMALLINT cType =
        binding.cType == SQL_C_DEFAULT ? defaultCType(binding.sqlType) : binding.cType;
    if (!isSupportedCType(cType)) {
        return postDriverError(s, "HYC00", "Optional feature not implemented");
    }
    if (!binding.value && !binding.indicator) {
        return postDriverError(s, "HY009", "Invalid use of null pointer");
    }
    s->parameters[number] = binding;
    return SQL_SUCCESS;
}

bool withParameters(Statement* s, const std::string& sql, std::string* out)
{
    if (s->parameters.empty()) {
        *out = sql;
        return true;
    }
    const size_t count = parameterMarkers(sql).size();
    std::vector<std::string> values;
    for (size_t i = 1; i <= count; ++i) {
        const auto it = s->parameters.find(static_cast<SQLUSMALLINT>(i));
        if (it == s->parameters.end()) {
            postDriverError(s, "07002", "COUNT field incorrect");
            return false;
        }
        std::string value;
        if (!literal(s, it->second, &value)) {
            return false;
        }
        values.push_back(value);
    }
    *out = replaceParameterMarkers(sql, values);
    return true;
}

} // namespace kaldor::standin::driver
