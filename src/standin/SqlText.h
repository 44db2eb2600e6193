#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kaldor::standin {

// Splits a batch on ';' outside '...' (with '' escapes), "...", [...], {...} and comments.
// Pieces are trimmed; empty pieces are skipped.
std::vector<std::string> splitBatch(std::string_view batch);

// The positions of the parameter markers '?' of a statement text: outside '...', "...", [...]
// and comments (a marker inside an ODBC escape {...} counts).
std::vector<size_t> parameterMarkers(std::string_view sql);

std::string trim(std::string_view text);
std::string toLower(std::string_view text);

// What one statement of a batch asks for, beyond plain SQL.
enum class StatementKind {
    Plain,      // handed to SQLite
    Begin,      // begin transaction
    Commit,     // commit [transaction|work]
    Rollback,   // rollback [transaction|work]
    Call,       // call NAME (bare)
    CallEscape, // {call NAME} or exec NAME
    AlterView,  // alter view NAME as SELECT...
};

struct Statement {
    StatementKind kind = StatementKind::Plain;
    std::string text;       // the piece as sent
    std::string schema;     // Call/CallEscape/AlterView: schema of the name, "" when none
    std::string name;       // Call/CallEscape/AlterView: the object name without brackets
    std::string body;       // AlterView: the SELECT after "as"
    bool malformed = false; // a call or alter view whose name could not be read
};

Statement classify(const std::string& piece);

// Drops the schema qualifier `schema.` (also bracketed or double-quoted) from every name of a
// statement, outside string literals; a view stored in a schema reads its own schema's tables.
std::string stripSchemaQualifier(std::string_view sql, std::string_view schema);

} // namespace kaldor::standin
