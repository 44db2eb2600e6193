// The ODBC entry points of environments and handle lifetimes: SQLAllocHandle, SQLFreeHandle,
// the environment attributes, and SQLEndTran (on an environment or a connection).
#include "ApiSupport.h"

using kaldor::standin::ServerError;
using namespace kaldor::standin::driver;

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT handleType, SQLHANDLE inputHandle,
                                 SQLHANDLE* outputHandle)
{
    if (!outputHandle) {
        return SQL_ERROR;
    }
    *outputHandle = SQL_NULL_HANDLE;
    if (handleType == SQL_HANDLE_ENV) {
        auto* env = new Environment();
        registerHandle(env);
        *outputHandle = static_cast<HandleBase*>(env);
        return SQL_SUCCESS;
    }
    if (handleType == SQL_HANDLE_DBC) {
        Environment* env = begin(asEnvironment(inputHandle));
        if (!env) {
            return SQL_INVALID_HANDLE;
        }
        auto* c = new Connection(env);
        registerHandle(c);
        env->connections.insert(c);
        *outputHandle = static_cast<HandleBase*>(c);
        return SQL_SUCCESS;
    }
    if (handleType == SQL_HANDLE_STMT) {
        Connection* c = begin(asConnection(inputHandle));
        if (!c) {
            return SQL_INVALID_HANDLE;
        }
        if (!c->session) {
            return postDriverError(c, "08003", "Connection not open");
        }
        auto* s = new Statement(c);
        registerHandle(s);
        c->statements.insert(s);
        *outputHandle = static_cast<HandleBase*>(s);
        return SQL_SUCCESS;
    }
    HandleBase* h = asAnyHandle(SQL_HANDLE_DBC, inputHandle);
    return h ? postDriverError(begin(h), "HYC00", "Optional feature not implemented")
             : SQL_INVALID_HANDLE;
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT handleType, SQLHANDLE handle)
{
    switch (handleType) {
    case SQL_HANDLE_ENV: {
        Environment* env = asEnvironment(handle);
        if (!env) {
            return SQL_INVALID_HANDLE;
        }
        if (!env->connections.empty()) {
            return postDriverError(begin(env), "HY010", "Function sequence error");
        }
        unregisterHandle(env);
        delete env;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
        Connection* c = asConnection(handle);
        if (!c) {
            return SQL_INVALID_HANDLE;
        }
        if (c->session) {
            return postDriverError(begin(c), "HY010", "Function sequence error");
        }
        freeConnection(c);
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
        Statement* s = asStatement(handle);
        if (!s) {
            return SQL_INVALID_HANDLE;
        }
        freeStatement(s);
        return SQL_SUCCESS;
    }
    default:
        return SQL_INVALID_HANDLE;
    }
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER /*length*/)
{
    Environment* env = begin(asEnvironment(handle));
    if (!env) {
        return SQL_INVALID_HANDLE;
    }
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
        env->odbcVersion = static_cast<SQLINTEGER>(attrValue(value));
        return SQL_SUCCESS;
    case SQL_ATTR_OUTPUT_NTS:
    case SQL_ATTR_CONNECTION_POOLING:
    case SQL_ATTR_CP_MATCH:
        return SQL_SUCCESS;
    default:
        return postDriverError(env, "HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER /*bufferLength*/, SQLINTEGER* length)
{
    Environment* env = begin(asEnvironment(handle));
    if (!env) {
        return SQL_INVALID_HANDLE;
    }
    SQLINTEGER v = 0;
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
        v = env->odbcVersion;
        break;
    case SQL_ATTR_OUTPUT_NTS:
        v = SQL_TRUE;
        break;
    case SQL_ATTR_CONNECTION_POOLING:
        v = SQL_CP_OFF;
        break;
    case SQL_ATTR_CP_MATCH:
        v = SQL_CP_STRICT_MATCH;
        break;
    default:
        return postDriverError(env, "HY092", "Invalid attribute/option identifier");
    }
    return writeValue(v, value, length);
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT completion)
{
    const bool commitWork = completion == SQL_COMMIT;
    if (handleType == SQL_HANDLE_ENV) {
        Environment* env = begin(asEnvironment(handle));
        if (!env) {
            return SQL_INVALID_HANDLE;
        }
        for (Connection* c : env->connections) {
            if (c->session) {
                ServerError e;
                if (!c->session->endTransaction(commitWork, &e)) {
                    return postServerError(env, c->dialect, e);
                }
            }
        }
        return SQL_SUCCESS;
    }
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    if (!c->session) {
        return postDriverError(c, "08003", "Connection not open");
    }
    ServerError e;
    if (!c->session->alive(&e) || !c->session->endTransaction(commitWork, &e)) {
        return postServerError(c, c->dialect, e);
    }
    return SQL_SUCCESS;
}

} // extern "C"
