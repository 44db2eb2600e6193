#pragma once

#include "ServerErrors.h"
#include "SqlText.h"
#include "StandinStore.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace kaldor::standin {

class SqliteDatabase;
struct CatalogRequest;

struct Cell {
    bool null = true;
    std::string text; // UTF-8 text of a non-NULL value
};

enum class ColumnType { Text, LongText, SmallInt, Integer, Numeric, Real };

struct ColumnInfo {
    std::string name;
    ColumnType type = ColumnType::Text;
    size_t width = 0; // characters, or a number's digits; 0 for long text
};

// A value for a parameter marker '?' of a batch: NULL, an integer, a real number or a text.
struct ParameterValue {
    enum class Kind { Null, Integer, Real, Text };
    Kind kind = Kind::Null;
    long long integer = 0;
    double real = 0;
    std::string text; // UTF-8
};

// The outcome of one statement of a batch: a result set, a row count, or a failure.
struct StatementResult {
    bool hasRows = false;
    std::vector<ColumnInfo> columns;
    std::vector<std::vector<Cell>> rows;
    long long rowCount = -1;
    bool failed = false;
    ServerError error;
};

// One logged-in connection to the stand-in server: runs batches in the server's dialect.
class ServerSession final {
public:
    // A stopped server does not answer the login either: the client waits up to its login
    // timeout, in seconds (0: as long as it takes).
    static std::unique_ptr<ServerSession> connect(const std::string& databasePath, Dialect d,
                                                  const std::string& user,
                                                  const std::string& password,
                                                  unsigned loginTimeoutSeconds, ServerError* error);
    ~ServerSession();
    ServerSession(const ServerSession&) = delete;
    ServerSession& operator=(const ServerSession&) = delete;

    Dialect dialect() const { return dialect_; }
    const std::string& databasePath() const { return path_; }
    const std::string& user() const { return user_; }

    // Runs the statements of a batch eagerly, in order, up to and including the first that
    // fails; one result per statement. A dead server gives one failed result.
    std::vector<StatementResult> execute(const std::string& batch);
    // The same with values for the batch's parameter markers, in the order of the markers
    // (see parameterMarkers); none given leaves the markers to the server as they stand.
    std::vector<StatementResult> execute(const std::string& batch,
                                         const std::vector<ParameterValue>& parameters);

    // The result set of a catalog function (SQLTables, SQLColumns...); a dead server gives one
    // failed result as a batch does.
    StatementResult catalog(const CatalogRequest& request);

    // Ends the open transaction, if any (SQLEndTran).
    bool endTransaction(bool commit, ServerError* error);
    void setAutocommit(bool on);
    bool autocommit() const { return autocommit_; }
    void setQueryTimeout(unsigned long seconds) { timeoutSeconds_ = seconds; }
    unsigned long queryTimeout() const { return timeoutSeconds_; }
    // Cancels a running statement (may be called from another thread).
    void cancel() { cancelled_ = true; }
    // False, with the link failure, while the server is "down".
    bool alive(ServerError* error) const;
    void countDownToFailure() const;

private:
    ServerSession(std::unique_ptr<SqliteDatabase> db, std::string path, Dialect d,
                  std::string user);
    StatementResult run(const Statement& s, const ParameterValue* parameters, size_t count);
    StatementResult runSql(const std::string& sql, const ParameterValue* parameters, size_t count);
    StatementResult begin();
    StatementResult commit();
    StatementResult rollback();
    StatementResult callProcedure(const Statement& s);
    StatementResult alterView(const Statement& s);
    bool inTransaction() const;
    bool ensureImplicitTransaction(StatementResult* failure);
    bool execInternal(const std::string& sql, StatementResult* failure);
    StatementResult failure(const ServerError& e) const;
    StatementResult sqliteFailure() const;
    static int progress(void* self);
    static int busy(void* self, int attempts);

    std::unique_ptr<SqliteDatabase> db_;
    std::string path_;
    Dialect dialect_;
    std::string user_;
    int transactionDepth_ = 0;
    bool autocommit_ = true;
    unsigned long timeoutSeconds_ = 0;
    std::chrono::steady_clock::time_point deadline_{};
    bool deadlineSet_ = false;
    std::atomic<bool> cancelled_{false};
};

} // namespace kaldor::standin
