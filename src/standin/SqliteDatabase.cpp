#include "SqliteDatabase.h"

#include <sqlite3.h>

#include <filesystem>

namespace kaldor::standin {

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const std::string& path, bool create,
                                                     std::string* error)
{
    std::error_code ec;
    if (!create && !std::filesystem::is_regular_file(path, ec)) {
        if (error) {
            *error = "database file not found: " + path;
        }
        return nullptr;
    }
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<SqliteDatabase> db(new SqliteDatabase(raw));
    if (rc != SQLITE_OK) {
        if (error) {
            *error = db->lastMessage();
        }
        return nullptr;
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, 5000);
    if (!db->exec("ATTACH DATABASE " + sqlLiteral(path) + " AS mt", error)) {
        return nullptr;
    }
    // A write-ahead log, synced at checkpoints: a committed statement survives the end of any
    // process at once, without waiting for the disk on every commit.
    if (!db->exec("PRAGMA mt.journal_mode=WAL; PRAGMA mt.synchronous=NORMAL;", error)) {
        return nullptr;
    }
    return db;
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close_v2(db_);
}

bool SqliteDatabase::exec(const std::string& sql, std::string* error)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        if (error) {
            *error = message ? message : sqlite3_errstr(rc);
        }
        sqlite3_free(message);
        return false;
    }
    return true;
}

std::string SqliteDatabase::lastMessage() const
{
    return db_ ? sqlite3_errmsg(db_) : "out of memory";
}

std::string sqlLiteral(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) {
        out += c;
        if (c == '\'') {
            out += '\'';
        }
    }
    out += '\'';
    return out;
}

} // namespace kaldor::standin
