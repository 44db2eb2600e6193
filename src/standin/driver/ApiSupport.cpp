#include "ApiSupport.h"

namespace kaldor::standin::driver {

SQLRETURN withInfo(HandleBase* h, bool cut)
{
    if (cut) {
        return postDriverError(h, "01004", "String data, right truncated", SQL_SUCCESS_WITH_INFO);
    }
    return SQL_SUCCESS;
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
