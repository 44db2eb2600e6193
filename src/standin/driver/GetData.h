#pragma once

#include "Handles.h"

namespace kaldor::standin::driver {

// SQLGetData of one cell of the current row into a C type: texts are returned in pieces from
// where the previous call on the same column stopped; SQL_NO_DATA once the cell is used up.
SQLRETURN getCell(Statement* s, const Cell& cell, SQLSMALLINT targetType, SQLPOINTER target,
                  SQLLEN bufferLength, SQLLEN* ind);

} // namespace kaldor::standin::driver
