#pragma once

#include <memory>
#include <string>

struct sqlite3;

namespace kaldor::standin {

// An in-memory SQLite connection with one database file attached under the schema name `mt`,
// so that `mt.table` and `[mt].[table]` resolve as they do on the real servers.
class SqliteDatabase final {
public:
    // Opens `path` (created when `create` is true, else it must exist).
    static std::unique_ptr<SqliteDatabase> open(const std::string& path, bool create,
                                                std::string* error);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    sqlite3* handle() const { return db_; }
    // Runs one or more statements; on failure stores SQLite's message in *error.
    bool exec(const std::string& sql, std::string* error);
    std::string lastMessage() const;

private:
    explicit SqliteDatabase(sqlite3* db) : db_(db) {}
    sqlite3* db_;
};

// Quotes a text as an SQL literal: 'it''s'.
std::string sqlLiteral(const std::string& text);

} // namespace kaldor::standin
