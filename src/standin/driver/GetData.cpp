// The conversions of a cell's text to the application's C types, for SQLGetData and for the
// columns bound with SQLBindCol.
#include "GetData.h"

#include "ApiSupport.h"
#include "OutputBuffers.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace kaldor::standin::driver {

namespace {

SQLRETURN getText(HandleBase* h, CellPosition& at, const std::string& text, SQLPOINTER target,
                  SQLLEN bufferLength, SQLLEN* indicator)
{
    const size_t remaining = text.size() - std::min(at.offset, text.size());
    if (indicator) {
        *indicator = static_cast<SQLLEN>(remaining);
    }
    if (!target || bufferLength <= 0) {
        return remaining == 0 ? (at.done = true, SQL_SUCCESS) : withInfo(h, true);
    }
    const size_t n = std::min(remaining, static_cast<size_t>(bufferLength) - 1);
    std::memcpy(target, text.data() + at.offset, n);
    static_cast<char*>(target)[n] = '\0';
    at.offset += n;
    if (n < remaining) {
        return withInfo(h, true);
    }
    at.done = true;
    return SQL_SUCCESS;
}

SQLRETURN getWideText(HandleBase* h, CellPosition& at, const std::string& text, SQLPOINTER target,
                      SQLLEN bufferLength, SQLLEN* indicator)
{
    const std::u16string wide = toUtf16(text);
    const size_t remaining = wide.size() - std::min(at.offset, wide.size());
    if (indicator) {
        *indicator = static_cast<SQLLEN>(remaining * sizeof(char16_t));
    }
    const size_t room = bufferLength > 0 ? static_cast<size_t>(bufferLength) / 2 : 0;
    if (!target || room == 0) {
        return remaining == 0 ? (at.done = true, SQL_SUCCESS) : withInfo(h, true);
    }
    size_t n = std::min(remaining, room - 1);
    const bool splitsPair = n > 0 && n < remaining && wide[at.offset + n - 1] >= 0xd800 &&
                            wide[at.offset + n - 1] <= 0xdbff;
    n -= splitsPair ? 1 : 0;
    auto* out = static_cast<char16_t*>(target);
    std::memcpy(out, wide.data() + at.offset, n * sizeof(char16_t));
    out[n] = u'\0';
    at.offset += n;
    if (n < remaining) {
        return withInfo(h, true);
    }
    at.done = true;
    return SQL_SUCCESS;
}

template <typename T>
SQLRETURN storeNumber(CellPosition& at, T value, SQLPOINTER target, SQLLEN* ind)
{
    if (target) {
        std::memcpy(target, &value, sizeof value);
    }
    if (ind) {
        *ind = sizeof value;
    }
    at.done = true;
    return SQL_SUCCESS;
}

// An integer C type: the value cut to an integer if it lies in the type's range, else 22003.
template <typename T>
SQLRETURN storeInteger(HandleBase* h, CellPosition& at, long double value, SQLPOINTER target,
                       SQLLEN* ind)
{
    const auto below = static_cast<long double>(std::numeric_limits<T>::min()) - 1;
    const auto above = static_cast<long double>(std::numeric_limits<T>::max()) + 1;
    if (!(value > below && value < above)) {
        return postDriverError(h, "22003", "Numeric value out of range");
    }
    return storeNumber(at, static_cast<T>(value), target, ind);
}

SQLRETURN getNumber(HandleBase* h, CellPosition& at, const std::string& text,
                    SQLSMALLINT targetType, SQLPOINTER target, SQLLEN* ind)
{
    const std::string t = trim(text);
    char* end = nullptr;
    errno = 0;
    // A long double holds every 64-bit integer exactly.
    const long double value = std::strtold(t.c_str(), &end);
    if (t.empty() || end != t.c_str() + t.size() || errno == ERANGE) {
        return postDriverError(h, "22018", "Invalid character value for cast specification");
    }
    switch (targetType) {
    case SQL_C_DOUBLE:
        return storeNumber(at, static_cast<double>(value), target, ind);
    case SQL_C_FLOAT:
        return storeNumber(at, static_cast<float>(value), target, ind);
    case SQL_C_BIT:
        return storeNumber(at, static_cast<unsigned char>(value != 0), target, ind);
    case SQL_C_SBIGINT:
        return storeInteger<SQLBIGINT>(h, at, value, target, ind);
    case SQL_C_UBIGINT:
        return storeInteger<SQLUBIGINT>(h, at, value, target, ind);
    case SQL_C_ULONG:
        return storeInteger<SQLUINTEGER>(h, at, value, target, ind);
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
        return storeInteger<SQLSMALLINT>(h, at, value, target, ind);
    case SQL_C_USHORT:
        return storeInteger<SQLUSMALLINT>(h, at, value, target, ind);
    case SQL_C_TINYINT:
    case SQL_C_STINYINT:
        return storeInteger<SQLSCHAR>(h, at, value, target, ind);
    case SQL_C_UTINYINT:
        return storeInteger<SQLCHAR>(h, at, value, target, ind);
    default:
        return storeInteger<SQLINTEGER>(h, at, value, target, ind);
    }
}

SQLRETURN getBinary(HandleBase* h, CellPosition& at, const std::string& text, SQLPOINTER target,
                    SQLLEN bufferLength, SQLLEN* ind)
{
    const size_t remaining = text.size() - std::min(at.offset, text.size());
    if (ind) {
        *ind = static_cast<SQLLEN>(remaining);
    }
    const size_t n =
        target && bufferLength > 0 ? std::min(remaining, static_cast<size_t>(bufferLength)) : 0;
    if (n > 0) {
        std::memcpy(target, text.data() + at.offset, n);
    }
    at.offset += n;
    if (n < remaining) {
        return withInfo(h, true);
    }
    at.done = true;
    return SQL_SUCCESS;
}

} // namespace

bool isNumberTarget(SQLSMALLINT targetType)
{
    switch (targetType) {
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
    case SQL_C_DOUBLE:
    case SQL_C_FLOAT:
    case SQL_C_BIT:
        return true;
    default:
        return false;
    }
}

SQLRETURN getCell(HandleBase* h, CellPosition& at, const Cell& cell, SQLSMALLINT targetType,
                  SQLPOINTER target, SQLLEN bufferLength, SQLLEN* ind)
{
    if (at.done) {
        return SQL_NO_DATA;
    }
    if (cell.null) {
        if (!ind) {
            return postDriverError(h, "22002", "Indicator variable required but not supplied");
        }
        *ind = SQL_NULL_DATA;
        at.done = true;
        return SQL_SUCCESS;
    }
    switch (targetType) {
    case SQL_C_CHAR:
    case SQL_C_DEFAULT:
        return getText(h, at, cell.text, target, bufferLength, ind);
    case SQL_C_WCHAR:
        return getWideText(h, at, cell.text, target, bufferLength, ind);
    case SQL_C_BINARY:
        return getBinary(h, at, cell.text, target, bufferLength, ind);
    default:
        break;
    }
    if (isNumberTarget(targetType)) {
        return getNumber(h, at, cell.text, targetType, target, ind);
    }
    return postDriverError(h, "HYC00", "Optional feature not implemented");
}

bool isSupportedTarget(SQLSMALLINT targetType)
{
    return targetType == SQL_C_CHAR || targetType == SQL_C_DEFAULT || targetType == SQL_C_WCHAR ||
           targetType == SQL_C_BINARY || isNumberTarget(targetType);
}

} // namespace kaldor::standin::driver
