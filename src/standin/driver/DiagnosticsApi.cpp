// The ODBC entry points reading a handle's diagnostics.
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
