#pragma once

#include "Handles.h"

#include <string>
#include <vector>

namespace kaldor::standin::driver {

// SQLBindParameter: checks and keeps the binding of input parameter `number`.
SQLRETURN bindParameter(Statement* s, SQLUSMALLINT number, SQLSMALLINT ioType,
                        ParameterBinding binding);

// The values bound to the parameter markers of `sql`, as they are now, in the markers' order;
// none when no parameter is bound (the text goes to the server as it stands). False, with the
// diagnostic posted, when a marker has no binding or a value cannot be read.
bool boundValues(Statement* s, const std::string& sql, std::vector<ParameterValue>* values);

} // namespace kaldor::standin::driver
