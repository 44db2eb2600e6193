#pragma once

#include "ServerSession.h"

#include <sql.h>
#include <sqlext.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace kaldor::standin::driver {

struct DiagRecord {
    std::string sqlState;
    SQLINTEGER native = 0;
    std::string message; // with the driver's prefix
};

// The diagnostics of one handle: cleared at the start of every call on the handle.
struct Diagnostics {
    std::vector<DiagRecord> records;
    SQLRETURN returnCode = SQL_SUCCESS;
    SQLLEN rowCount = 0;
    void clear()
    {
        records.clear();
        returnCode = SQL_SUCCESS;
    }
};

enum class HandleKind : unsigned {
    Environment = 0x4b454e56,
    Connection = 0x4b444243,
    Statement = 0x4b53544d
};

struct HandleBase {
    explicit HandleBase(HandleKind k) : kind(k) {}
    HandleKind kind;
    Diagnostics diag;
};

struct Connection;

struct Environment final : HandleBase {
    Environment() : HandleBase(HandleKind::Environment) {}
    SQLINTEGER odbcVersion = SQL_OV_ODBC3;
    std::set<Connection*> connections;
};

struct Statement;

struct Connection final : HandleBase {
    explicit Connection(Environment* e) : HandleBase(HandleKind::Connection), env(e) {}
    Environment* env;
    std::unique_ptr<ServerSession> session;
    Dialect dialect = Dialect::SqlServer; // of the data source, known before connecting
    std::string dataSource;
    std::set<Statement*> statements;
    SQLUINTEGER loginTimeout = 0;
    SQLUINTEGER connectionTimeout = 0;
    SQLUINTEGER autocommit = SQL_AUTOCOMMIT_ON;
    SQLUINTEGER accessMode = SQL_MODE_READ_WRITE;
    SQLUINTEGER txnIsolation = SQL_TXN_SERIALIZABLE;
    SQLUINTEGER packetSize = 4096;
};

// An input parameter bound with SQLBindParameter; its value is read at execution.
struct ParameterBinding {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLPOINTER value = nullptr;
    SQLLEN bufferLength = 0;
    SQLLEN* indicator = nullptr;
};

// A result column bound with SQLBindCol; SQLFetch stores its value of each row there.
struct ColumnBinding {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLPOINTER target = nullptr;
    SQLLEN bufferLength = 0;
    SQLLEN* indicator = nullptr;
};

// How far SQLGetData has read a cell: the bytes or characters returned, whether all of them.
struct CellPosition {
    size_t offset = 0;
    bool done = false;
};

struct Statement final : HandleBase {
    explicit Statement(Connection* c) : HandleBase(HandleKind::Statement), dbc(c) {}
    Connection* dbc;
    std::string prepared;
    bool hasPrepared = false;
    std::string lastText; // the text last prepared or executed, for SQLNumParams
    bool hasText = false;
    std::map<SQLUSMALLINT, ParameterBinding> parameters;
    std::vector<StatementResult> results;
    size_t current = 0;    // index into results
    bool executed = false; // results hold an execution's outcome
    long long row = -1;    // current row of the current result set, -1 before the first
    // SQLGetData position within the current row.
    SQLUSMALLINT dataColumn = 0;
    CellPosition data;
    std::map<SQLUSMALLINT, ColumnBinding> boundColumns;
    SQLULEN queryTimeout = 0;
    SQLULEN maxRows = 0;
    SQLULEN rowArraySize = 1;
    SQLULEN* rowsFetchedPtr = nullptr;
    SQLUSMALLINT* rowStatusPtr = nullptr;

    const StatementResult* currentResult() const
    {
        return executed && current < results.size() ? &results[current] : nullptr;
    }
    void resetResults()
    {
        results.clear();
        current = 0;
        executed = false;
        row = -1;
        resetData();
    }
    void resetData()
    {
        dataColumn = 0;
        data = {};
    }
};

// Handle validation: nullptr when the pointer is not a live handle of the kind.
Environment* asEnvironment(SQLHANDLE h);
Connection* asConnection(SQLHANDLE h);
Statement* asStatement(SQLHANDLE h);
HandleBase* asAnyHandle(SQLSMALLINT type, SQLHANDLE h);

void registerHandle(HandleBase* h);
void unregisterHandle(HandleBase* h);

} // namespace kaldor::standin::driver
