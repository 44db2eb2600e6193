#include "Catalog.h"

#include "ServerErrors.h"
#include "SqlText.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>

namespace kaldor::standin {

namespace {

constexpr const char* kSchema = "mt";
// The length a long text column reports, as both servers do for theirs.
constexpr long long kLongTextSize = 2147483647;

struct StmtDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

// The bytes of the UTF-8 character that starts at `i`.
size_t charLength(std::string_view s, size_t i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    const size_t n = lead < 0xc0 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
    return std::min(n, s.size() - i);
}

bool sameLetter(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
}

bool matches(const NamePattern& pattern, std::string_view name)
{
    return !pattern || matchesPattern(*pattern, name);
}

// --- the result sets' columns ------------------------------------------------------------

ColumnInfo name(const char* n)
{
    return {n, ColumnType::Text, 128};
}

ColumnInfo remark(const char* n)
{
    return {n, ColumnType::Text, 254};
}

ColumnInfo smallint(const char* n)
{
    return {n, ColumnType::SmallInt, 5};
}

ColumnInfo integer(const char* n)
{
    return {n, ColumnType::Integer, 10};
}

std::vector<ColumnInfo> resultColumns(CatalogFunction f)
{
    switch (f) {
    case CatalogFunction::Tables:
        return {name("TABLE_CAT"), name("TABLE_SCHEM"), name("TABLE_NAME"), name("TABLE_TYPE"),
                remark("REMARKS")};
    case CatalogFunction::Columns:
        return {name("TABLE_CAT"),
                name("TABLE_SCHEM"),
                name("TABLE_NAME"),
                name("COLUMN_NAME"),
                smallint("DATA_TYPE"),
                name("TYPE_NAME"),
                integer("COLUMN_SIZE"),
                integer("BUFFER_LENGTH"),
                smallint("DECIMAL_DIGITS"),
                smallint("NUM_PREC_RADIX"),
                smallint("NULLABLE"),
                remark("REMARKS"),
                remark("COLUMN_DEF"),
                smallint("SQL_DATA_TYPE"),
                smallint("SQL_DATETIME_SUB"),
                integer("CHAR_OCTET_LENGTH"),
                integer("ORDINAL_POSITION"),
                remark("IS_NULLABLE")};
    case CatalogFunction::Procedures:
        return {
            name("PROCEDURE_CAT"),       name("PROCEDURE_SCHEM"),      name("PROCEDURE_NAME"),
            integer("NUM_INPUT_PARAMS"), integer("NUM_OUTPUT_PARAMS"), integer("NUM_RESULT_SETS"),
            remark("REMARKS"),           smallint("PROCEDURE_TYPE")};
    case CatalogFunction::PrimaryKeys:
        return {name("TABLE_CAT"),   name("TABLE_SCHEM"), name("TABLE_NAME"),
                name("COLUMN_NAME"), smallint("KEY_SEQ"), name("PK_NAME")};
    case CatalogFunction::Statistics:
        return {name("TABLE_CAT"),       name("TABLE_SCHEM"),
                name("TABLE_NAME"),      smallint("NON_UNIQUE"),
                name("INDEX_QUALIFIER"), name("INDEX_NAME"),
                smallint("TYPE"),        smallint("ORDINAL_POSITION"),
                name("COLUMN_NAME"),     {"ASC_OR_DESC", ColumnType::Text, 1},
                integer("CARDINALITY"),  integer("PAGES"),
                name("FILTER_CONDITION")};
    }
    return {};
}

Cell text(std::string t)
{
    return {false, std::move(t)};
}

Cell number(long long n)
{
    return {false, std::to_string(n)};
}

Cell numberOrNull(const std::optional<long long>& n)
{
    return n ? number(*n) : Cell{};
}

// --- reading the schema ------------------------------------------------------------------

struct SchemaObject {
    std::string name;
    bool view = false;
};

bool byName(const std::string& a, const std::string& b)
{
    return toLower(a) < toLower(b);
}

// Tables and views of schema mt in the order of their names, the stand-in's own left out.
bool readObjects(sqlite3* db, std::vector<SchemaObject>* out)
{
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name, type FROM mt.sqlite_master WHERE type IN ('table', 'view')",
                       -1, &raw, nullptr);
    const StmtPtr stmt(raw);
    if (!stmt) {
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const std::string n = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
        const std::string lower = toLower(n);
        if (lower.starts_with("standin_") || lower.starts_with("sqlite_")) {
            continue;
        }
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 1));
        out->push_back({n, std::string(type) == "view"});
    }
    std::sort(out->begin(), out->end(),
              [](const SchemaObject& a, const SchemaObject& b) { return byName(a.name, b.name); });
    return rc == SQLITE_DONE;
}

struct TableColumn {
    std::string name;
    std::string declared;
    bool notNull = false;
    long long position = 0;
};

bool readColumns(sqlite3* db, const std::string& table, std::vector<TableColumn>* out)
{
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name, type, \"notnull\", cid FROM pragma_table_info(?1, 'mt')"
                       " ORDER BY cid",
                       -1, &raw, nullptr);
    const StmtPtr stmt(raw);
    if (!stmt) {
        return false;
    }
    sqlite3_bind_text(stmt.get(), 1, table.c_str(), static_cast<int>(table.size()),
                      SQLITE_TRANSIENT);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const auto* n = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 1));
        out->push_back({n ? n : "", type ? type : "", sqlite3_column_int(stmt.get(), 2) != 0,
                        sqlite3_column_int64(stmt.get(), 3) + 1});
    }
    return rc == SQLITE_DONE;
}

bool readProcedures(sqlite3* db, std::vector<std::string>* out)
{
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM mt.standin_procedure", -1, &raw, nullptr);
    const StmtPtr stmt(raw);
    if (!stmt) {
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        out->emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    }
    std::sort(out->begin(), out->end(), byName);
    return rc == SQLITE_DONE;
}

// A column's type as SQLColumns reports it, from the type the schema declares: varchar(n),
// long varchar or text, numeric (the server's default precision), integer.
struct ReportedType {
    long long dataType = SQL_VARCHAR;
    std::string typeName = "varchar";
    long long size = 255;
    long long bufferLength = 255;
    std::optional<long long> digits;
    std::optional<long long> radix;
    std::optional<long long> octets = 255;
};

std::vector<long long> typeArguments(const std::string& type)
{
    std::vector<long long> args;
    const size_t open = type.find('(');
    if (open == std::string::npos) {
        return args;
    }
    const char* p = type.c_str() + open + 1;
    while (*p != '\0' && *p != ')') {
        char* end = nullptr;
        args.push_back(std::strtoll(p, &end, 10));
        p = end == p ? p + 1 : end;
        while (*p == ',' || *p == ' ') {
            ++p;
        }
    }
    return args;
}

ReportedType reportedType(const std::string& declared, Dialect d)
{
    const std::string type = toLower(trim(declared));
    const std::string base = trim(type.substr(0, type.find('(')));
    const std::vector<long long> args = typeArguments(type);
    ReportedType t;
    if (base == "varchar" || base == "char") {
        t.typeName = base;
        t.dataType = base == "char" ? SQL_CHAR : SQL_VARCHAR;
        t.size = t.bufferLength = args.empty() ? 1 : args[0];
        t.octets = t.size;
    } else if (base == "long varchar" || base == "text") {
        t.typeName = base;
        t.dataType = SQL_LONGVARCHAR;
        t.size = t.bufferLength = kLongTextSize;
        t.octets = kLongTextSize;
    } else if (base == "numeric" || base == "decimal") {
        // Without a precision: SQL Server's numeric(18,0), SQL Anywhere's numeric(30,6).
        t.typeName = base;
        t.dataType = base == "numeric" ? SQL_NUMERIC : SQL_DECIMAL;
        t.size = !args.empty() ? args[0] : d == Dialect::Anywhere ? 30 : 18;
        t.digits = args.size() > 1 ? args[1] : args.empty() && d == Dialect::Anywhere ? 6 : 0;
        t.bufferLength = t.size + 2;
        t.radix = 10;
        t.octets.reset();
    } else if (base == "integer" || base == "int") {
        t.typeName = "integer";
        t.dataType = SQL_INTEGER;
        t.size = 10;
        t.bufferLength = 4;
        t.digits = 0;
        t.radix = 10;
        t.octets.reset();
    }
    return t;
}

// --- the result sets ---------------------------------------------------------------------

std::string upper(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// The table types of SQLTables' list: "TABLE, VIEW" or "'TABLE','VIEW'".
std::set<std::string> tableTypes(const std::string& list)
{
    std::set<std::string> types;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        std::string item = trim(std::string_view(list).substr(start, comma - start));
        if (item.size() >= 2 && item.front() == '\'' && item.back() == '\'') {
            item = item.substr(1, item.size() - 2);
        }
        types.insert(upper(item));
        start = comma + 1;
    }
    return types;
}

bool isEmptyText(const NamePattern& p)
{
    return p && p->empty();
}

StatementResult tablesResult(sqlite3* db, const CatalogRequest& r, StatementResult result)
{
    // The three listings that SQLTables gives for '%' with the other names empty.
    if (r.catalog == SQL_ALL_CATALOGS && isEmptyText(r.schema) && isEmptyText(r.object)) {
        return result; // the server's database has no catalog name
    }
    if (r.schema == SQL_ALL_SCHEMAS && isEmptyText(r.catalog) && isEmptyText(r.object)) {
        result.rows.push_back({Cell{}, text(kSchema), Cell{}, Cell{}, Cell{}});
        return result;
    }
    if (r.tableTypes == SQL_ALL_TABLE_TYPES && isEmptyText(r.catalog) && isEmptyText(r.schema) &&
        isEmptyText(r.object)) {
        for (const char* type : {"TABLE", "VIEW"}) {
            result.rows.push_back({Cell{}, Cell{}, Cell{}, text(type), Cell{}});
        }
        return result;
    }
    if (!matches(r.schema, kSchema)) {
        return result;
    }
    std::vector<SchemaObject> objects;
    if (!readObjects(db, &objects)) {
        return {};
    }
    const bool anyType = !r.tableTypes || r.tableTypes->empty() || *r.tableTypes == "%";
    const std::set<std::string> types =
        anyType ? std::set<std::string>{} : tableTypes(*r.tableTypes);
    // Ordered by type, then by name.
    for (const bool views : {false, true}) {
        const char* type = views ? "VIEW" : "TABLE";
        if (!anyType && types.count(type) == 0) {
            continue;
        }
        for (const SchemaObject& o : objects) {
            if (o.view == views && matches(r.object, o.name)) {
                result.rows.push_back({Cell{}, text(kSchema), text(o.name), text(type), Cell{}});
            }
        }
    }
    return result;
}

bool columnsResult(sqlite3* db, Dialect d, const CatalogRequest& r, StatementResult* result)
{
    if (!matches(r.schema, kSchema)) {
        return true;
    }
    std::vector<SchemaObject> objects;
    if (!readObjects(db, &objects)) {
        return false;
    }
    for (const SchemaObject& o : objects) {
        if (!matches(r.object, o.name)) {
            continue;
        }
        std::vector<TableColumn> columns;
        if (!readColumns(db, o.name, &columns)) {
            return false;
        }
        for (const TableColumn& c : columns) {
            if (!matches(r.column, c.name)) {
                continue;
            }
            const ReportedType t = reportedType(c.declared, d);
            result->rows.push_back(
                {Cell{}, text(kSchema), text(o.name), text(c.name), number(t.dataType),
                 text(t.typeName), number(t.size), number(t.bufferLength), numberOrNull(t.digits),
                 numberOrNull(t.radix), number(c.notNull ? SQL_NO_NULLS : SQL_NULLABLE), Cell{},
                 Cell{}, number(t.dataType), Cell{}, numberOrNull(t.octets), number(c.position),
                 text(c.notNull ? "NO" : "YES")});
        }
    }
    return true;
}

bool proceduresResult(sqlite3* db, const CatalogRequest& r, StatementResult* result)
{
    if (!matches(r.schema, kSchema)) {
        return true;
    }
    std::vector<std::string> names;
    if (!readProcedures(db, &names)) {
        return false;
    }
    for (const std::string& n : names) {
        if (matches(r.object, n)) {
            result->rows.push_back({Cell{}, text(kSchema), text(n), Cell{}, Cell{}, Cell{}, Cell{},
                                    number(SQL_PT_PROCEDURE)});
        }
    }
    return true;
}

} // namespace

bool matchesPattern(std::string_view pattern, std::string_view name, char escape)
{
    size_t p = 0;
    size_t n = 0;
    // Where the last '%' was seen, to try it again on one more character of the name.
    size_t retryPattern = std::string_view::npos;
    size_t retryName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            retryPattern = ++p;
            retryName = n;
            continue;
        }
        if (p < pattern.size() && pattern[p] == '_') {
            ++p;
            n += charLength(name, n);
            continue;
        }
        const size_t literal = p + 1 < pattern.size() && pattern[p] == escape ? p + 1 : p;
        if (literal < pattern.size() && sameLetter(pattern[literal], name[n])) {
            p = literal + 1;
            ++n;
            continue;
        }
        if (retryPattern == std::string_view::npos) {
            return false;
        }
        p = retryPattern;
        retryName += charLength(name, retryName);
        n = retryName;
    }
    while (p < pattern.size() && pattern[p] == '%') {
        ++p;
    }
    return p == pattern.size();
}

StatementResult readCatalog(sqlite3* db, Dialect d, const CatalogRequest& request)
{
    StatementResult result;
    result.hasRows = true;
    result.columns = resultColumns(request.function);
    bool ok = true;
    switch (request.function) {
    case CatalogFunction::Tables:
        result = tablesResult(db, request, std::move(result));
        ok = result.hasRows;
        break;
    case CatalogFunction::Columns:
        ok = columnsResult(db, d, request, &result);
        break;
    case CatalogFunction::Procedures:
        ok = proceduresResult(db, request, &result);
        break;
    case CatalogFunction::PrimaryKeys:
    case CatalogFunction::Statistics:
        // Neither keys nor indexes are reported: the web application's tables declare none.
        break;
    }
    if (!ok) {
        StatementResult failure;
        failure.failed = true;
        failure.error = translateSqliteError(d, sqlite3_extended_errcode(db), sqlite3_errmsg(db));
        return failure;
    }
    return result;
}

} // namespace kaldor::standin
