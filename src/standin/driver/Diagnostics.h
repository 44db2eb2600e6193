#pragma once

#include "Handles.h"

#include <string>

namespace kaldor::standin::driver {

// Records a server diagnostic on the handle (message prefixed for the dialect); SQL_ERROR.
SQLRETURN postServerError(HandleBase* h, Dialect d, const ServerError& e);
// Records a driver diagnostic (state and text); returns `rc`.
SQLRETURN postDriverError(HandleBase* h, const char* sqlState, const std::string& text,
                          SQLRETURN rc = SQL_ERROR);
// The dialect that names a handle's messages.
Dialect dialectOf(const HandleBase* h);

// SQLGetDiagRec and SQLGetDiagField over a handle's records.
SQLRETURN diagRec(HandleBase* h, SQLSMALLINT recNumber, SQLCHAR* sqlState, SQLINTEGER* native,
                  SQLCHAR* message, SQLSMALLINT bufferLength, SQLSMALLINT* textLength);
SQLRETURN diagField(SQLSMALLINT handleType, HandleBase* h, SQLSMALLINT recNumber,
                    SQLSMALLINT diagId, SQLPOINTER info, SQLSMALLINT bufferLength,
                    SQLSMALLINT* stringLength);

} // namespace kaldor::standin::driver
