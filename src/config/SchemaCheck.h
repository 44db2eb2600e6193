#pragma once

#include "Odbc.h"
#include "Session.h"

#include <QString>
#include <QStringList>

namespace kaldor::configtool {

// What the program needs of a database's schema mt, asked of the server through the ODBC
// catalog functions (no statement is sent): every table and column it reads or writes (the
// VIZ/IDOV user list with the dialect's column names), the web fields' view and the three
// procedures; and text columns at least as wide as what the program lets be typed into them.
struct SchemaReport {
    QStringList missing; // "table mt.x", "column mt.x.y", "view mt.x", "procedure mt.x"
    QStringList narrow;  // one line per column narrower than what may be typed into it
};

SchemaReport checkSchema(db::OdbcConnection& connection, DatabaseKind dialect);

} // namespace kaldor::configtool
