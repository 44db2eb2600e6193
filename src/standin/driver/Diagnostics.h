#pragma once

#include "Handles.h"
#include "OutputBuffers.h"

#include <string>

namespace kaldor::standin::driver {

// Records a server diagnostic on the handle (message prefixed for the dialect); SQL_ERROR.
SQLRETURN postServerError(HandleBase* h, Dialect d, const ServerError& e);
// Records a driver diagnostic (state and text); returns `rc`.
SQLRETURN postDriverError(HandleBase* h, const char* sqlState, const std::string& text,
                          SQLRETURN rc = SQL_ERROR);
// The dialect that names a handle's messages.
Dialect dialectOf(const HandleBase* h);

// SQLGetDiagRec and SQLGetDiagField over a handle's records, their texts narrow or wide: the
// SQLSTATE into a buffer of six characters, the message and text fields into `text`; `info`
// receives a number field.
SQLRETURN diagRec(HandleBase* h, SQLSMALLINT recNumber, const TextBuffer& sqlState,
                  SQLINTEGER* native, const TextBuffer& message, SQLSMALLINT* textLength);
SQLRETURN diagField(SQLSMALLINT handleType, HandleBase* h, SQLSMALLINT recNumber,
                    SQLSMALLINT diagId, SQLPOINTER info, const TextBuffer& text,
                    SQLSMALLINT* stringLength);

} // namespace kaldor::standin::driver
