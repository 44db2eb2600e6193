#pragma once

#include "ServerSession.h"

#include <optional>
#include <string>
#include <string_view>

struct sqlite3;

namespace kaldor::standin {

// An argument of a catalog function: a search pattern ('%' any text, '_' any one character, the
// escape character before either of them or itself for the character), or none, which matches
// every name.
using NamePattern = std::optional<std::string>;

// Whether `name` matches `pattern`, without regard to case as the real servers compare names.
bool matchesPattern(std::string_view pattern, std::string_view name, char escape = '\\');

enum class CatalogFunction { Tables, Columns, Procedures, PrimaryKeys, Statistics };

// What a catalog function asks for. `object` is the table or procedure name; `tableTypes` the
// table type list of SQLTables ("TABLE,VIEW", "'TABLE'"). Catalog names are not compared: the
// server has one database, which is the catalog of every object.
struct CatalogRequest {
    CatalogFunction function = CatalogFunction::Tables;
    NamePattern catalog;
    NamePattern schema;
    NamePattern object;
    NamePattern column;
    NamePattern tableTypes;
};

// The result set of a catalog function with ODBC's standard columns, over the tables, the view
// and the procedures of schema mt of database `db` (schema mt attached); the stand-in's own
// tables are not listed.
StatementResult readCatalog(sqlite3* db, Dialect d, const CatalogRequest& request);

} // namespace kaldor::standin
