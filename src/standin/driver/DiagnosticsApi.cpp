// The ODBC entry points reading a handle's diagnostics, narrow and wide.
#include "Diagnostics.h"

using namespace kaldor::standin::driver;

extern "C" {

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recNumber,
                                SQLCHAR* sqlState, SQLINTEGER* native, SQLCHAR* message,
                                SQLSMALLINT bufferLength, SQLSMALLINT* textLength)
{
    HandleBase* h = asAnyHandle(handleType, handle);
    if (!h) {
        return SQL_INVALID_HANDLE;
    }
    return diagRec(h, recNumber, TextBuffer::narrow(sqlState, 6), native,
                   TextBuffer::narrow(message, bufferLength), textLength);
}

SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recNumber,
                                 SQLWCHAR* sqlState, SQLINTEGER* native, SQLWCHAR* message,
                                 SQLSMALLINT bufferLength, SQLSMALLINT* textLength)
{
    HandleBase* h = asAnyHandle(handleType, handle);
    if (!h) {
        return SQL_INVALID_HANDLE;
    }
    return diagRec(h, recNumber, TextBuffer::wideChars(sqlState, 6), native,
                   TextBuffer::wideChars(message, bufferLength), textLength);
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recNumber,
                                  SQLSMALLINT diagId, SQLPOINTER info, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* stringLength)
{
    HandleBase* h = asAnyHandle(handleType, handle);
    if (!h) {
        return SQL_INVALID_HANDLE;
    }
    return diagField(handleType, h, recNumber, diagId, info, TextBuffer::narrow(info, bufferLength),
                     stringLength);
}

SQLRETURN SQL_API SQLGetDiagFieldW(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recNumber,
                                   SQLSMALLINT diagId, SQLPOINTER info, SQLSMALLINT bufferLength,
                                   SQLSMALLINT* stringLength)
{
    HandleBase* h = asAnyHandle(handleType, handle);
    if (!h) {
        return SQL_INVALID_HANDLE;
    }
    return diagField(handleType, h, recNumber, diagId, info,
                     TextBuffer::wideBytes(info, bufferLength), stringLength);
}

} // extern "C"
