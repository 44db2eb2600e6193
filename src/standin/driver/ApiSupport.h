#pragma once

// What the files of ODBC entry points share: starting a call on a handle, the truncation
// warning, writing fixed-size values and freeing handles.

#include "Diagnostics.h"
#include "Handles.h"

#include <cstdint>
#include <cstring>

namespace kaldor::standin::driver {

// Starts an API call on a handle: its earlier diagnostics are dropped.
template <typename H> H* begin(H* h)
{
    if (h) {
        h->diag.clear();
    }
    return h;
}

// SQL_SUCCESS, or the 01004 warning when a text was cut to fit its buffer.
SQLRETURN withInfo(HandleBase* h, bool cut);

// Writes a fixed-size value to an output argument (either may be null).
template <typename T, typename Length> SQLRETURN writeValue(T v, SQLPOINTER value, Length* length)
{
    if (value) {
        std::memcpy(value, &v, sizeof v);
    }
    if (length) {
        *length = sizeof v;
    }
    return SQL_SUCCESS;
}

// An integer attribute passed in the pointer argument.
inline SQLULEN attrValue(SQLPOINTER value)
{
    return static_cast<SQLULEN>(reinterpret_cast<uintptr_t>(value));
}

// The outcome of the statement's current result: its failure, or its row count noted.
SQLRETURN reportCurrent(Statement* s);
// Gives the statement the results of an execution (or a catalog function), the first current.
SQLRETURN takeResults(Statement* s, std::vector<StatementResult> results);

void freeStatement(Statement* s);
void freeConnection(Connection* c);

} // namespace kaldor::standin::driver
