// Input parameters: the values bound with SQLBindParameter go to the server with the statement,
// one for each of its parameter markers.
#include "Parameters.h"

#include "Diagnostics.h"
#include "GetData.h"
#include "OutputBuffers.h"

#include <cmath>
#include <cstring>
#include <limits>
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
    return cType == SQL_C_CHAR || cType == SQL_C_WCHAR || isNumberTarget(cType);
}

template <typename T> T read(const void* p)
{
    T v{};
    std::memcpy(&v, p, sizeof v);
    return v;
}

// An integer or floating-point C value.
ParameterValue numberValue(SQLSMALLINT cType, const void* p)
{
    ParameterValue v;
    v.kind = ParameterValue::Kind::Integer;
    switch (cType) {
    case SQL_C_LONG:
    case SQL_C_SLONG:
        v.integer = read<SQLINTEGER>(p);
        return v;
    case SQL_C_ULONG:
        v.integer = read<SQLUINTEGER>(p);
        return v;
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
        v.integer = read<SQLSMALLINT>(p);
        return v;
    case SQL_C_USHORT:
        v.integer = read<SQLUSMALLINT>(p);
        return v;
    case SQL_C_TINYINT:
    case SQL_C_STINYINT:
        v.integer = read<SQLSCHAR>(p);
        return v;
    case SQL_C_UTINYINT:
    case SQL_C_BIT:
        v.integer = read<SQLCHAR>(p);
        return v;
    case SQL_C_SBIGINT:
        v.integer = read<SQLBIGINT>(p);
        return v;
    case SQL_C_UBIGINT: {
        const auto u = read<SQLUBIGINT>(p);
        if (u <= static_cast<SQLUBIGINT>(std::numeric_limits<long long>::max())) {
            v.integer = static_cast<long long>(u);
        } else {
            v.kind = ParameterValue::Kind::Text; // beyond the server's integers: kept exact
            v.text = std::to_string(u);
        }
        return v;
    }
    default:
        break;
    }
    v.kind = ParameterValue::Kind::Real;
    v.real = cType == SQL_C_FLOAT ? read<float>(p) : read<double>(p);
    return v;
}

// A number as the text it is for a character parameter.
std::string numberText(const ParameterValue& v)
{
    if (v.kind == ParameterValue::Kind::Integer) {
        return std::to_string(v.integer);
    }
    if (v.kind == ParameterValue::Kind::Text) {
        return v.text;
    }
    std::ostringstream out;
    out.precision(17);
    out << v.real;
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

// The current value of one bound parameter.
bool valueOf(Statement* s, const ParameterBinding& b, ParameterValue* out)
{
    const SQLLEN length = b.indicator ? *b.indicator : SQL_NTS;
    *out = {};
    if (length == SQL_NULL_DATA) {
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
        out->kind = ParameterValue::Kind::Text;
        out->text = characterText(text, length);
        return true;
    }
    const ParameterValue number = numberValue(cType, b.value);
    if (number.kind == ParameterValue::Kind::Real && !std::isfinite(number.real)) {
        postDriverError(s, "22018", "Invalid character value for cast specification");
        return false;
    }
    // A number bound to a text parameter is its text, as the servers convert it.
    if (isCharacterType(b.sqlType)) {
        out->kind = ParameterValue::Kind::Text;
        out->text = numberText(number);
        return true;
    }
    *out = number;
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

bool boundValues(Statement* s, const std::string& sql, std::vector<ParameterValue>* values)
{
    values->clear();
    if (s->parameters.empty()) {
        return true;
    }
    const size_t count = parameterMarkers(sql).size();
    for (size_t i = 1; i <= count; ++i) {
        const auto it = s->parameters.find(static_cast<SQLUSMALLINT>(i));
        if (it == s->parameters.end()) {
            postDriverError(s, "07002", "COUNT field incorrect");
            return false;
        }
        ParameterValue value;
        if (!valueOf(s, it->second, &value)) {
            return false;
        }
        values->push_back(std::move(value));
    }
    return true;
}

} // namespace kaldor::standin::driver
