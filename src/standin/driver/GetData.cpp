// SQLGetData's conversions of a cell's text to the application's C types.
#include "GetData.h"

#include "ApiSupport.h"
#include "OutputBuffers.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace kaldor::standin::driver {

namespace {

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

} // namespace

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

} // namespace kaldor::standin::driver
