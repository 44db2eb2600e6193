#include "Connection.h"

namespace kaldor::db {

namespace {
StatementObserver& observer()
{
    static StatementObserver instance;
    return instance;
}
} // namespace

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
