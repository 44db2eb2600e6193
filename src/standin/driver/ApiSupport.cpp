#include "ApiSupport.h"

namespace kaldor::standin::driver {

SQLRETURN withInfo(HandleBase* h, bool cut)
{
    if (cut) {
        return postDriverError(h, "01004", "String data, right truncated", SQL_SUCCESS_WITH_INFO);
    }
    return SQL_SUCCESS;
}

SQLRETURN reportCurrent(Statement* s)
{
    const StatementResult* r = s->currentResult();
    if (r && r->failed) {
        return postServerError(s, s->dbc->dialect, r->error);
    }
    if (r && !r->hasRows) {
        s->diag.rowCount = static_cast<SQLLEN>(r->rowCount);
    }
    return SQL_SUCCESS;
}

SQLRETURN takeResults(Statement* s, std::vector<StatementResult> results)
{
    s->resetResults();
    s->results = std::move(results);
    s->executed = true;
    return reportCurrent(s);
}

void freeStatement(Statement* s)
{
    s->dbc->statements.erase(s);
    unregisterHandle(s);
    delete s;
}

void freeConnection(Connection* c)
{
    while (!c->statements.empty()) {
        freeStatement(*c->statements.begin());
    }
    c->env->connections.erase(c);
    unregisterHandle(c);
    delete c;
}

} // namespace kaldor::standin::driver
