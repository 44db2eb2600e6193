#pragma once

#include "Handles.h"

#include <string>

namespace kaldor::standin::driver {

// SQLBindParameter: checks and keeps the binding of input parameter `number`.
SQLRETURN bindParameter(Statement* s, SQLUSMALLINT number, SQLSMALLINT ioType,
                        ParameterBinding binding);

// The statement text with its parameter markers replaced by the SQL literals of the bound
// values as they are now. A text is sent as it stands when no parameter is bound. False, with
// the diagnostic posted, when a marker has no binding or a value cannot be read.
bool withParameters(Statement* s, const std::string& sql, std::string* out);

} // namespace kaldor::standin::driver
