#include "Handles.h"

#include <mutex>
#include <unordered_set>

namespace kaldor::standin::driver {

namespace {

// Live handles, so that a stale or foreign pointer is answered with SQL_INVALID_HANDLE.
struct Registry {
    std::mutex mutex;
    std::unordered_set<const void*> live;
};

Registry& registry()
{
    static Registry r;
    return r;
}

template <typename T> T* lookup(SQLHANDLE h, HandleKind kind)
{
    if (!h) {
        return nullptr;
    }
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    if (r.live.count(h) == 0) {
        return nullptr;
    }
    auto* base = static_cast<HandleBase*>(h);
    return base->kind == kind ? static_cast<T*>(base) : nullptr;
}

} // namespace

void registerHandle(HandleBase* h)
{
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    r.live.insert(h);
}

void unregisterHandle(HandleBase* h)
{
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    r.live.erase(h);
}

Environment* asEnvironment(SQLHANDLE h)
{
    return lookup<Environment>(h, HandleKind::Environment);
}

Connection* asConnection(SQLHANDLE h)
{
    return lookup<Connection>(h, HandleKind::Connection);
}

Statement* asStatement(SQLHANDLE h)
{
    return lookup<Statement>(h, HandleKind::Statement);
}

HandleBase* asAnyHandle(SQLSMALLINT type, SQLHANDLE h)
{
    switch (type) {
    case SQL_HANDLE_ENV:
        return asEnvironment(h);
    case SQL_HANDLE_DBC:
        return asConnection(h);
    case SQL_HANDLE_STMT:
        return asStatement(h);
    default:
        return nullptr;
    }
}

} // namespace kaldor::standin::driver
