#pragma once

#include "ResultSet.h"

#include <QString>

#include <functional>

namespace kaldor::db {

// The one database interface the windows use. Statement texts are sent unchanged; every
// failure throws DbException with all diagnostic records.
class Connection {
public:
    virtual ~Connection() = default;

    // Sends the text and drains every result of the batch.
    virtual void execute(const QString& sql) = 0;
    // Sends the text, returns the first result set that has columns, drains the rest; a
    // failure before those rows are read throws, one after them does not.
    virtual ResultSet query(const QString& sql) = 0;
    // Which connection this is, as the statement observer names it ("main", "direct").
    virtual QString label() const = 0;
};

struct DbError;

// What became of a statement, once its results are read or it has failed: the connection's
// label, data source and user, the text, and the failure (null when it succeeded).
struct StatementOutcome {
    QString connection;
    QString dataSource;
    QString user;
    QString sql;
    const DbError* error = nullptr;
};
using OutcomeObserver = std::function<void(const StatementOutcome& outcome)>;
void setOutcomeObserver(OutcomeObserver observer);
void notifyOutcome(const StatementOutcome& outcome);

// Sees every statement text before it is sent, with the label of its connection.
using StatementObserver = std::function<void(const QString& connection, const QString& sql)>;
void setStatementObserver(StatementObserver observer);
void notifyStatement(const QString& connection, const QString& sql);

} // namespace kaldor::db
