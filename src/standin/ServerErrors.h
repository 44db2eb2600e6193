#pragma once

#include "StandinStore.h"

#include <string>

namespace kaldor::standin {

// One diagnostic as the real server reports it; `message` carries no driver prefix.
struct ServerError {
    std::string sqlState;
    int native = 0;
    std::string message;
};

// The prefix of every message text: "[KALDOR][Stand-in SQL Server]" and the like.
std::string messagePrefix(Dialect d);

// Turns a SQLite failure (result code and message) into the server's diagnostic.
ServerError translateSqliteError(Dialect d, int sqliteCode, const std::string& sqliteMessage);

ServerError loginFailed(Dialect d, const std::string& user);
ServerError linkFailure(Dialect d);
ServerError commitWithoutBegin();
ServerError syntaxErrorNear(Dialect d, const std::string& token);
ServerError procedureNotFound(Dialect d, const std::string& name);
ServerError objectNotFound(Dialect d, const std::string& name);
ServerError queryTimeout();
ServerError loginTimeout();
ServerError operationCanceled();
ServerError databaseNotFound(const std::string& path);

} // namespace kaldor::standin
