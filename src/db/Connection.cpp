#include "Connection.h"

namespace kaldor::db {

namespace {
StatementObserver& observer()
{
    static StatementObserver instance;
    return instance;
}

OutcomeObserver& outcomeObserver()
{
    static OutcomeObserver instance;
    return instance;
}
} // namespace

void setOutcomeObserver(OutcomeObserver o)
{
    outcomeObserver() = std::move(o);
}

void notifyOutcome(const StatementOutcome& outcome)
{
    if (outcomeObserver())
        outcomeObserver()(outcome);
}

void setStatementObserver(StatementObserver o)
{
    observer() = std::move(o);
}

void notifyStatement(const QString& connection, const QString& sql)
{
    if (observer())
        observer()(connection, sql);
}

} // namespace kaldor::db
