#include "ServerSession.h"

#include "Catalog.h"
#include "SqliteDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace kaldor::standin {

namespace {

struct StmtDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

StmtPtr prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(raw);
        return nullptr;
    }
    return StmtPtr(raw);
}

bool isDataChange(const std::string& sql)
{
    const std::string head = toLower(sql.substr(0, 8));
    for (const char* word : {"insert", "update", "delete", "replace"}) {
        if (head.rfind(word, 0) == 0) {
            return true;
        }
    }
    return false;
}

// Declared type of a table column: varchar(n), long varchar / text, integer, numeric(p)...
ColumnInfo declaredColumn(const std::string& name, const char* declared)
{
    ColumnInfo info{name, ColumnType::Text, 255};
    const std::string type = toLower(declared);
    if (type.find("int") != std::string::npos) {
        info = {name, ColumnType::Integer, 10};
    } else if (type.rfind("numeric", 0) == 0 || type.rfind("decimal", 0) == 0) {
        const size_t open = type.find('(');
        const size_t digits =
            open == std::string::npos ? 18 : std::strtoul(type.c_str() + open + 1, nullptr, 10);
        info = {name, ColumnType::Numeric, digits};
    } else if (type.find("real") != std::string::npos || type.find("floa") != std::string::npos ||
               type.find("doub") != std::string::npos) {
        info = {name, ColumnType::Real, 15};
    } else if (type.find("long") != std::string::npos || type == "text") {
        info = {name, ColumnType::LongText, 0};
    } else if (const size_t open = type.find('('); open != std::string::npos) {
        info.width = std::strtoul(type.c_str() + open + 1, nullptr, 10);
    }
    return info;
}

// Type of an expression column, from the values it holds.
ColumnInfo computedColumn(const std::string& name, const std::vector<int>& types, size_t longest)
{
    bool allInteger = !types.empty();
    bool allNumeric = !types.empty();
    for (const int t : types) {
        allInteger = allInteger && t == SQLITE_INTEGER;
        allNumeric = allNumeric && (t == SQLITE_INTEGER || t == SQLITE_FLOAT);
    }
    if (allInteger) {
        return {name, ColumnType::Integer, 10};
    }
    if (allNumeric) {
        return {name, ColumnType::Real, 15};
    }
    if (longest > 255) {
        return {name, ColumnType::LongText, 0};
    }
    return {name, ColumnType::Text, 255};
}

std::vector<ColumnInfo> describeColumns(sqlite3_stmt* stmt,
                                        const std::vector<std::vector<int>>& valueTypes,
                                        const std::vector<size_t>& longest)
{
    std::vector<ColumnInfo> columns;
    const int count = sqlite3_column_count(stmt);
    for (int i = 0; i < count; ++i) {
        const char* raw = sqlite3_column_name(stmt, i);
        const std::string name = raw ? raw : "";
        const char* declared = sqlite3_column_decltype(stmt, i);
        columns.push_back(declared ? declaredColumn(name, declared)
                                   : computedColumn(name, valueTypes[static_cast<size_t>(i)],
                                                    longest[static_cast<size_t>(i)]));
    }
    return columns;
}

// Binds the values to the statement's nameless parameters ('?') in order; named ones (:name,
// @name, ?NNN) stay unbound, as without values.
void bindParameters(sqlite3_stmt* stmt, const ParameterValue* values, size_t count)
{
    size_t next = 0;
    const int slots = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= slots && next < count; ++i) {
        if (sqlite3_bind_parameter_name(stmt, i) != nullptr) {
            continue;
        }
        const ParameterValue& v = values[next++];
        switch (v.kind) {
        case ParameterValue::Kind::Null:
            sqlite3_bind_null(stmt, i);
            break;
        case ParameterValue::Kind::Integer:
            sqlite3_bind_int64(stmt, i, v.integer);
            break;
        case ParameterValue::Kind::Real:
            sqlite3_bind_double(stmt, i, v.real);
            break;
        case ParameterValue::Kind::Text:
            sqlite3_bind_text(stmt, i, v.text.data(), static_cast<int>(v.text.size()),
                              SQLITE_TRANSIENT);
            break;
        }
    }
}

bool isMtSchema(const std::string& schema)
{
    return schema.empty() || toLower(schema) == "mt";
}

std::string quotedName(const std::string& name)
{
    std::string out = "\"";
    for (const char c : name) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string firstToken(const std::string& text)
{
    const std::string t = trim(text);
    size_t end = 0;
    while (end < t.size() && !std::isspace(static_cast<unsigned char>(t[end]))) {
        ++end;
    }
    return t.substr(0, end);
}

} // namespace

std::unique_ptr<ServerSession> ServerSession::connect(const std::string& databasePath, Dialect d,
                                                      const std::string& user,
                                                      const std::string& password,
                                                      unsigned loginTimeoutSeconds,
                                                      ServerError* error)
{
    std::error_code ec;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(loginTimeoutSeconds);
    while (std::filesystem::exists(databasePath + ".hang", ec)) {
        if (loginTimeoutSeconds > 0 && std::chrono::steady_clock::now() >= deadline) {
            *error = loginTimeout();
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (std::filesystem::exists(databasePath + ".down", ec)) {
        *error = linkFailure(d);
        return nullptr;
    }
    std::string message;
    auto db = SqliteDatabase::open(databasePath, false, &message);
    if (!db) {
        *error = databaseNotFound(databasePath);
        return nullptr;
    }
    const StmtPtr stmt = prepare(db->handle(), "SELECT 1 FROM mt.standin_login WHERE "
                                               "login_name = ?1 AND password = ?2");
    if (!stmt) {
        *error = databaseNotFound(databasePath);
        return nullptr;
    }
    sqlite3_bind_text(stmt.get(), 1, user.c_str(), static_cast<int>(user.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt.get(), 2, password.c_str(), static_cast<int>(password.size()),
                      SQLITE_TRANSIENT);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) {
        *error = loginFailed(d, user);
        return nullptr;
    }
    return std::unique_ptr<ServerSession>(new ServerSession(std::move(db), databasePath, d, user));
}

ServerSession::ServerSession(std::unique_ptr<SqliteDatabase> db, std::string path, Dialect d,
                             std::string user)
    : db_(std::move(db)), path_(std::move(path)), dialect_(d), user_(std::move(user))
{
    sqlite3_progress_handler(db_->handle(), 1000, &ServerSession::progress, this);
    sqlite3_busy_handler(db_->handle(), &ServerSession::busy, this);
}

ServerSession::~ServerSession()
{
    if (db_ && inTransaction()) {
        db_->exec("ROLLBACK", nullptr);
    }
    if (db_) {
        sqlite3_progress_handler(db_->handle(), 0, nullptr, nullptr);
        sqlite3_busy_handler(db_->handle(), nullptr, nullptr);
    }
}

int ServerSession::progress(void* self)
{
    auto* session = static_cast<ServerSession*>(self);
    if (session->cancelled_) {
        return 1;
    }
    return session->deadlineSet_ && std::chrono::steady_clock::now() > session->deadline_ ? 1 : 0;
}

// Another session's open transaction holds the database: wait for it as a server waits for a
// lock, as long as it takes, unless the statement's timeout runs out or it is cancelled.
int ServerSession::busy(void* self, int attempts)
{
    if (progress(self) != 0) {
        return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(attempts < 10 ? 1 : 10));
    return 1;
}

bool ServerSession::alive(ServerError* error) const
{
    std::error_code ec;
    if (std::filesystem::exists(path_ + ".down", ec)) {
        if (error) {
            *error = linkFailure(dialect_);
        }
        return false;
    }
    return true;
}

// Test hooks: the file "<database>.down-after" holds how many more batches the server answers;
// at the next one it goes down as "server down" takes it down. Likewise "<database>.hang-after"
// counts down to "<database>.hang": while that file exists, a batch gets no answer at all, as
// from a server that has stopped, whatever timeout the statement asked for.
void ServerSession::countDownToFailure() const
{
    for (const char* kind : {".down", ".hang"}) {
        const std::string counter = path_ + kind + "-after";
        std::error_code ec;
        if (!std::filesystem::exists(counter, ec)) {
            continue;
        }
        long long left = 0;
        {
            std::ifstream in(counter);
            in >> left;
        }
        if (left > 0) {
            std::ofstream(counter, std::ios::trunc) << (left - 1) << '\n';
            continue;
        }
        std::filesystem::remove(counter, ec);
        std::ofstream(path_ + kind);
    }
    std::error_code ec;
    while (std::filesystem::exists(path_ + ".hang", ec)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::vector<StatementResult> ServerSession::execute(const std::string& batch)
{
    return execute(batch, {});
}

std::vector<StatementResult> ServerSession::execute(const std::string& batch,
                                                    const std::vector<ParameterValue>& parameters)
{
    std::vector<StatementResult> results;
    countDownToFailure();
    ServerError down;
    if (!alive(&down)) {
        results.push_back(failure(down));
        return results;
    }
    cancelled_ = false;
    deadlineSet_ = timeoutSeconds_ > 0;
    deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds_);
    size_t used = 0; // the parameters of the statements before
    for (const std::string& piece : splitBatch(batch)) {
        const size_t markers = parameters.empty() ? 0 : parameterMarkers(piece).size();
        const size_t count =
            std::min(markers, parameters.size() - std::min(used, parameters.size()));
        results.push_back(run(classify(piece), parameters.data() + used, count));
        used += markers;
        if (results.back().failed) {
            break;
        }
    }
    deadlineSet_ = false;
    if (results.empty()) {
        results.emplace_back();
    }
    return results;
}

StatementResult ServerSession::run(const Statement& s, const ParameterValue* parameters,
                                   size_t count)
{
    if (s.malformed) {
        return failure(syntaxErrorNear(dialect_, firstToken(s.text)));
    }
    switch (s.kind) {
    case StatementKind::Begin:
        return begin();
    case StatementKind::Commit:
        return commit();
    case StatementKind::Rollback:
        return rollback();
    case StatementKind::Call:
        if (dialect_ == Dialect::SqlServer) {
            return failure(syntaxErrorNear(dialect_, firstToken(s.text)));
        }
        return callProcedure(s);
    case StatementKind::CallEscape:
        return callProcedure(s);
    case StatementKind::AlterView:
        return alterView(s);
    case StatementKind::Plain:
        break;
    }
    return runSql(s.text, parameters, count);
}

bool ServerSession::inTransaction() const
{
    return sqlite3_get_autocommit(db_->handle()) == 0;
}

bool ServerSession::execInternal(const std::string& sql, StatementResult* result)
{
    if (db_->exec(sql, nullptr)) {
        return true;
    }
    *result = sqliteFailure();
    return false;
}

bool ServerSession::ensureImplicitTransaction(StatementResult* result)
{
    if (autocommit_ || inTransaction()) {
        return true;
    }
    return execInternal("BEGIN", result);
}

StatementResult ServerSession::failure(const ServerError& e) const
{
    StatementResult r;
    r.failed = true;
    r.error = e;
    return r;
}

StatementResult ServerSession::sqliteFailure() const
{
    const int code = sqlite3_extended_errcode(db_->handle());
    // Stopped by SQLCancel rather than by the deadline, also while waiting for a lock.
    if (cancelled_ && ((code & 0xff) == SQLITE_INTERRUPT || (code & 0xff) == SQLITE_BUSY)) {
        return failure(operationCanceled());
    }
    return failure(translateSqliteError(dialect_, code, db_->lastMessage()));
}

StatementResult ServerSession::begin()
{
    StatementResult r;
    if (!inTransaction() && !execInternal("BEGIN", &r)) {
        return r;
    }
    ++transactionDepth_;
    return r;
}

StatementResult ServerSession::commit()
{
    StatementResult r;
    if (!inTransaction()) {
        transactionDepth_ = 0;
        return dialect_ == Dialect::SqlServer ? failure(commitWithoutBegin()) : r;
    }
    if (dialect_ == Dialect::SqlServer && transactionDepth_ > 1) {
        --transactionDepth_;
        return r;
    }
    transactionDepth_ = 0;
    execInternal("COMMIT", &r);
    return r;
}

StatementResult ServerSession::rollback()
{
    StatementResult r;
    transactionDepth_ = 0;
    if (!inTransaction()) {
        if (dialect_ == Dialect::SqlServer) {
            return failure({"25000", 3903,
                            "The ROLLBACK TRANSACTION request has no corresponding BEGIN "
                            "TRANSACTION."});
        }
        return r;
    }
    execInternal("ROLLBACK", &r);
    return r;
}

StatementResult ServerSession::runSql(const std::string& sql, const ParameterValue* parameters,
                                      size_t count)
{
    StatementResult r;
    if (!ensureImplicitTransaction(&r)) {
        return r;
    }
    sqlite3* db = db_->handle();
    const StmtPtr stmt = prepare(db, sql);
    if (!stmt) {
        return sqliteFailure();
    }
    bindParameters(stmt.get(), parameters, count);
    const int columnCount = sqlite3_column_count(stmt.get());
    std::vector<std::vector<int>> valueTypes(static_cast<size_t>(columnCount));
    std::vector<size_t> longest(static_cast<size_t>(columnCount), 0);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        std::vector<Cell> row(static_cast<size_t>(columnCount));
        for (int i = 0; i < columnCount; ++i) {
            const auto col = static_cast<size_t>(i);
            const int type = sqlite3_column_type(stmt.get(), i);
            if (type == SQLITE_NULL) {
                continue;
            }
            const auto* text = sqlite3_column_text(stmt.get(), i);
            const auto bytes = static_cast<size_t>(sqlite3_column_bytes(stmt.get(), i));
            row[col].null = false;
            row[col].text.assign(text ? reinterpret_cast<const char*>(text) : "", bytes);
            valueTypes[col].push_back(type);
            longest[col] = std::max(longest[col], bytes);
        }
        r.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        return sqliteFailure();
    }
    if (columnCount > 0) {
        r.hasRows = true;
        r.columns = describeColumns(stmt.get(), valueTypes, longest);
    } else if (isDataChange(trim(sql))) {
        r.rowCount = sqlite3_changes(db);
    }
    return r;
}

StatementResult ServerSession::callProcedure(const Statement& s)
{
    const std::string shownName = s.schema.empty() ? s.name : s.schema + "." + s.name;
    if (!isMtSchema(s.schema)) {
        return failure(procedureNotFound(dialect_, shownName));
    }
    StatementResult r;
    if (!ensureImplicitTransaction(&r)) {
        return r;
    }
    const StmtPtr stmt =
        prepare(db_->handle(), "SELECT body FROM mt.standin_procedure WHERE name = ?1");
    if (!stmt) {
        return sqliteFailure();
    }
    sqlite3_bind_text(stmt.get(), 1, s.name.c_str(), static_cast<int>(s.name.size()),
                      SQLITE_TRANSIENT);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) {
        return failure(procedureNotFound(dialect_, shownName));
    }
    const auto* body = sqlite3_column_text(stmt.get(), 0);
    const std::string sql = body ? reinterpret_cast<const char*>(body) : "";
    if (!execInternal("SAVEPOINT standin_call", &r)) {
        return r;
    }
    if (!execInternal(sql, &r)) {
        db_->exec("ROLLBACK TO standin_call; RELEASE standin_call", nullptr);
        return r;
    }
    execInternal("RELEASE standin_call", &r);
    return r;
}

StatementResult ServerSession::alterView(const Statement& s)
{
    const std::string shownName = s.schema.empty() ? s.name : s.schema + "." + s.name;
    if (!isMtSchema(s.schema)) {
        return failure(objectNotFound(dialect_, shownName));
    }
    StatementResult r;
    if (!ensureImplicitTransaction(&r)) {
        return r;
    }
    const StmtPtr exists =
        prepare(db_->handle(), "SELECT 1 FROM mt.sqlite_master WHERE type = 'view' AND name = ?1");
    if (!exists) {
        return sqliteFailure();
    }
    sqlite3_bind_text(exists.get(), 1, s.name.c_str(), static_cast<int>(s.name.size()),
                      SQLITE_TRANSIENT);
    if (sqlite3_step(exists.get()) != SQLITE_ROW) {
        return failure(objectNotFound(dialect_, shownName));
    }
    const std::string view = "mt." + quotedName(s.name);
    if (!execInternal("SAVEPOINT standin_view", &r)) {
        return r;
    }
    bool ok = execInternal("DROP VIEW " + view, &r) &&
              execInternal("CREATE VIEW " + view + " AS " + stripSchemaQualifier(s.body, "mt"), &r);
    // The real servers refuse a view over a missing table or column when it is altered.
    if (ok && !prepare(db_->handle(), "SELECT * FROM " + view)) {
        r = sqliteFailure();
        ok = false;
    }
    if (!ok) {
        db_->exec("ROLLBACK TO standin_view; RELEASE standin_view", nullptr);
        return r;
    }
    execInternal("RELEASE standin_view", &r);
    return r;
}

StatementResult ServerSession::catalog(const CatalogRequest& request)
{
    ServerError down;
    if (!alive(&down)) {
        return failure(down);
    }
    return readCatalog(db_->handle(), dialect_, request);
}

bool ServerSession::endTransaction(bool commitWork, ServerError* error)
{
    transactionDepth_ = 0;
    if (!inTransaction()) {
        return true;
    }
    if (db_->exec(commitWork ? "COMMIT" : "ROLLBACK", nullptr)) {
        return true;
    }
    *error =
        translateSqliteError(dialect_, sqlite3_extended_errcode(db_->handle()), db_->lastMessage());
    return false;
}

void ServerSession::setAutocommit(bool on)
{
    if (on && !autocommit_ && inTransaction()) {
        db_->exec("COMMIT", nullptr);
        transactionDepth_ = 0;
    }
    autocommit_ = on;
}

} // namespace kaldor::standin
