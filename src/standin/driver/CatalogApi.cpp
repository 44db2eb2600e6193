// The ODBC catalog functions, also in their wide (UTF-16) form: the tables, views, columns and
// procedures of schema mt as result sets with ODBC's standard columns, read like any other
// result set.
#include "ApiSupport.h"
#include "Catalog.h"
#include "OutputBuffers.h"

using kaldor::standin::CatalogFunction;
using kaldor::standin::CatalogRequest;
using kaldor::standin::NamePattern;
using namespace kaldor::standin::driver;

namespace {

// A name argument: none (a null pointer) matches every name.
NamePattern nameArgument(const SQLCHAR* text, SQLSMALLINT length)
{
    return text ? NamePattern(inputText(text, length)) : std::nullopt;
}

NamePattern nameArgument(const SQLWCHAR* text, SQLSMALLINT length)
{
    return text ? NamePattern(inputWide(text, length)) : std::nullopt;
}

SQLRETURN runCatalog(SQLHSTMT handle, const CatalogRequest& request)
{
    Statement* s = begin(asStatement(handle));
    if (!s) {
        return SQL_INVALID_HANDLE;
    }
    s->resetResults();
    if (!s->dbc->session) {
        return postDriverError(s, "08003", "Connection not open");
    }
    return takeResults(s, {s->dbc->session->catalog(request)});
}

// The bodies of the narrow and wide entry points, which differ only in their texts' type.
template <class Char>
SQLRETURN tables(SQLHSTMT handle, Char* catalog, SQLSMALLINT catalogLength, Char* schema,
                 SQLSMALLINT schemaLength, Char* table, SQLSMALLINT tableLength, Char* types,
                 SQLSMALLINT typesLength)
{
    CatalogRequest r;
    r.function = CatalogFunction::Tables;
    r.catalog = nameArgument(catalog, catalogLength);
    r.schema = nameArgument(schema, schemaLength);
    r.object = nameArgument(table, tableLength);
    r.tableTypes = nameArgument(types, typesLength);
    return runCatalog(handle, r);
}

template <class Char>
SQLRETURN columns(SQLHSTMT handle, Char* catalog, SQLSMALLINT catalogLength, Char* schema,
                  SQLSMALLINT schemaLength, Char* table, SQLSMALLINT tableLength, Char* column,
                  SQLSMALLINT columnLength)
{
    CatalogRequest r;
    r.function = CatalogFunction::Columns;
    r.catalog = nameArgument(catalog, catalogLength);
    r.schema = nameArgument(schema, schemaLength);
    r.object = nameArgument(table, tableLength);
    r.column = nameArgument(column, columnLength);
    return runCatalog(handle, r);
}

template <class Char>
SQLRETURN procedures(SQLHSTMT handle, Char* catalog, SQLSMALLINT catalogLength, Char* schema,
                     SQLSMALLINT schemaLength, Char* procedure, SQLSMALLINT procedureLength)
{
    CatalogRequest r;
    r.function = CatalogFunction::Procedures;
    r.catalog = nameArgument(catalog, catalogLength);
    r.schema = nameArgument(schema, schemaLength);
    r.object = nameArgument(procedure, procedureLength);
    return runCatalog(handle, r);
}

// A catalog function whose arguments the stand-in does not read: an empty result set.
SQLRETURN emptyCatalog(SQLHSTMT handle, CatalogFunction function)
{
    CatalogRequest r;
    r.function = function;
    return runCatalog(handle, r);
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                            SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                            SQLSMALLINT tableLength, SQLCHAR* types, SQLSMALLINT typesLength)
{
    return tables(handle, catalog, catalogLength, schema, schemaLength, table, tableLength, types,
                  typesLength);
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                             SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                             SQLSMALLINT tableLength, SQLCHAR* column, SQLSMALLINT columnLength)
{
    return columns(handle, catalog, catalogLength, schema, schemaLength, table, tableLength, column,
                   columnLength);
}

SQLRETURN SQL_API SQLProcedures(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                                SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* procedure,
                                SQLSMALLINT procedureLength)
{
    return procedures(handle, catalog, catalogLength, schema, schemaLength, procedure,
                      procedureLength);
}

SQLRETURN SQL_API SQLPrimaryKeys(SQLHSTMT handle, SQLCHAR* /*catalog*/,
                                 SQLSMALLINT /*catalogLength*/, SQLCHAR* /*schema*/,
                                 SQLSMALLINT /*schemaLength*/, SQLCHAR* /*table*/,
                                 SQLSMALLINT /*tableLength*/)
{
    return emptyCatalog(handle, CatalogFunction::PrimaryKeys);
}

SQLRETURN SQL_API SQLStatistics(SQLHSTMT handle, SQLCHAR* /*catalog*/,
                                SQLSMALLINT /*catalogLength*/, SQLCHAR* /*schema*/,
                                SQLSMALLINT /*schemaLength*/, SQLCHAR* /*table*/,
                                SQLSMALLINT /*tableLength*/, SQLUSMALLINT /*unique*/,
                                SQLUSMALLINT /*reserved*/)
{
    return emptyCatalog(handle, CatalogFunction::Statistics);
}

SQLRETURN SQL_API SQLTablesW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalogLength,
                             SQLWCHAR* schema, SQLSMALLINT schemaLength, SQLWCHAR* table,
                             SQLSMALLINT tableLength, SQLWCHAR* types, SQLSMALLINT typesLength)
{
    return tables(handle, catalog, catalogLength, schema, schemaLength, table, tableLength, types,
                  typesLength);
}

SQLRETURN SQL_API SQLColumnsW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalogLength,
                              SQLWCHAR* schema, SQLSMALLINT schemaLength, SQLWCHAR* table,
                              SQLSMALLINT tableLength, SQLWCHAR* column, SQLSMALLINT columnLength)
{
    return columns(handle, catalog, catalogLength, schema, schemaLength, table, tableLength, column,
                   columnLength);
}

SQLRETURN SQL_API SQLProceduresW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalogLength,
                                 SQLWCHAR* schema, SQLSMALLINT schemaLength, SQLWCHAR* procedure,
                                 SQLSMALLINT procedureLength)
{
    return procedures(handle, catalog, catalogLength, schema, schemaLength, procedure,
                      procedureLength);
}

SQLRETURN SQL_API SQLPrimaryKeysW(SQLHSTMT handle, SQLWCHAR* /*catalog*/,
                                  SQLSMALLINT /*catalogLength*/, SQLWCHAR* /*schema*/,
                                  SQLSMALLINT /*schemaLength*/, SQLWCHAR* /*table*/,
                                  SQLSMALLINT /*tableLength*/)
{
    return emptyCatalog(handle, CatalogFunction::PrimaryKeys);
}

SQLRETURN SQL_API SQLStatisticsW(SQLHSTMT handle, SQLWCHAR* /*catalog*/,
                                 SQLSMALLINT /*catalogLength*/, SQLWCHAR* /*schema*/,
                                 SQLSMALLINT /*schemaLength*/, SQLWCHAR* /*table*/,
                                 SQLSMALLINT /*tableLength*/, SQLUSMALLINT /*unique*/,
                                 SQLUSMALLINT /*reserved*/)
{
    return emptyCatalog(handle, CatalogFunction::Statistics);
}

} // extern "C"
