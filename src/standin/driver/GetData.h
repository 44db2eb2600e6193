#pragma once

#include "Handles.h"

namespace kaldor::standin::driver {

// One cell of the current row into a C type (SQLGetData, and SQLFetch for bound columns): texts
// are returned in pieces from `at`, where the previous call on the same cell stopped; SQL_NO_DATA
// once the cell is used up. Diagnostics go to handle `h`.
SQLRETURN getCell(HandleBase* h, CellPosition& at, const Cell& cell, SQLSMALLINT targetType,
                  SQLPOINTER target, SQLLEN bufferLength, SQLLEN* ind);
// Whether `targetType` is one of the C types of numbers that getCell converts to.
bool isNumberTarget(SQLSMALLINT targetType);
// Whether getCell converts to C type `targetType`.
bool isSupportedTarget(SQLSMALLINT targetType);

} // namespace kaldor::standin::driver
