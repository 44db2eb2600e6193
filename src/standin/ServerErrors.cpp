#include "ServerErrors.h"

#include <sqlite3.h>

namespace kaldor::standin {

namespace {

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string after(const std::string& text, const std::string& prefix)
{
    return text.substr(prefix.size());
}

// The token of SQLite's `near "x": syntax error`.
std::string nearToken(const std::string& message)
{
    const std::string lead = "near \"";
    const size_t end = message.rfind("\": syntax error");
    if (!startsWith(message, lead) || end == std::string::npos || end < lead.size()) {
        return {};
    }
    return message.substr(lead.size(), end - lead.size());
}

ServerError tableNotFound(Dialect d, const std::string& name)
{
    if (d == Dialect::SqlServer) {
        return {"42S02", 208, "Invalid object name '" + name + "'."};
    }
    const size_t dot = name.rfind('.');
    return {"42S02", -141,
            "Table '" + (dot == std::string::npos ? name : name.substr(dot + 1)) + "' not found"};
}

ServerError columnNotFound(Dialect d, const std::string& name)
{
    if (d == Dialect::SqlServer) {
        return {"42S22", 207, "Invalid column name '" + name + "'."};
    }
    return {"42S22", -143, "Column '" + name + "' not found"};
}

ServerError constraintViolation(Dialect d, const std::string& message)
{
    return {"23000", d == Dialect::SqlServer ? 2627 : -193, message};
}

} // namespace

std::string messagePrefix(Dialect d)
{
    return d == Dialect::SqlServer ? "[KALDOR][Stand-in SQL Server]"
                                   : "[KALDOR][Stand-in SQL Anywhere]";
}

ServerError syntaxErrorNear(Dialect d, const std::string& token)
{
    if (d == Dialect::SqlServer) {
        return {"42000", 102, "Incorrect syntax near '" + token + "'."};
    }
    return {"42000", -131, "Syntax error near '" + token + "'"};
}

ServerError objectNotFound(Dialect d, const std::string& name)
{
    return tableNotFound(d, name);
}

ServerError translateSqliteError(Dialect d, int sqliteCode, const std::string& message)
{
    const int primary = sqliteCode & 0xff;
    // A statement stopped at its deadline, also while it waited for another session's lock.
    if (primary == SQLITE_INTERRUPT || primary == SQLITE_BUSY) {
        return queryTimeout();
    }
    if (primary == SQLITE_CONSTRAINT) {
        return constraintViolation(d, message);
    }
    for (const char* lead : {"no such table: ", "no such view: "}) {
        if (startsWith(message, lead)) {
            return tableNotFound(d, after(message, lead));
        }
    }
    if (startsWith(message, "no such column: ")) {
        return columnNotFound(d, after(message, "no such column: "));
    }
    const std::string hasNo = " has no column named ";
    if (const size_t at = message.find(hasNo); at != std::string::npos) {
        return columnNotFound(d, message.substr(at + hasNo.size()));
    }
    if (const std::string token = nearToken(message); !token.empty()) {
        return syntaxErrorNear(d, token);
    }
    if (message == "incomplete input" || startsWith(message, "unrecognized token: ")) {
        return syntaxErrorNear(d, message == "incomplete input"
                                      ? "end of input"
                                      : after(message, "unrecognized token: "));
    }
    if (startsWith(message, "no such function: ")) {
        return {"42000", d == Dialect::SqlServer ? 195 : -294, message};
    }
    if (primary == SQLITE_ERROR) {
        return {"42000", d == Dialect::SqlServer ? 50000 : -300, message};
    }
    return {"HY000", d == Dialect::SqlServer ? 50000 : -300, message};
}

ServerError loginFailed(Dialect d, const std::string& user)
{
    if (d == Dialect::SqlServer) {
        return {"28000", 18456, "Login failed for user '" + user + "'."};
    }
    return {"28000", -103, "Invalid user ID or password"};
}

ServerError linkFailure(Dialect d)
{
    return {"08S01", d == Dialect::SqlServer ? 10054 : -832, "Communication link failure"};
}

ServerError commitWithoutBegin()
{
    return {"25000", 3902,
            "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."};
}

ServerError procedureNotFound(Dialect d, const std::string& name)
{
    if (d == Dialect::SqlServer) {
        return {"42000", 2812, "Could not find stored procedure '" + name + "'."};
    }
    return {"42S02", -265, "Procedure '" + name + "' not found"};
}

ServerError queryTimeout()
{
    return {"HYT00", 0, "Query timeout expired"};
}

ServerError loginTimeout()
{
    return {"HYT00", 0, "Login timeout expired"};
}

ServerError operationCanceled()
{
    return {"HY008", 0, "Operation canceled"};
}

ServerError databaseNotFound(const std::string& path)
{
    return {"08001", 0, "Cannot open the database " + path};
}

} // namespace kaldor::standin
