#include "StandinStore.h"

#include "Schema.h"
#include "SqliteDatabase.h"

#include <cctype>
#include <filesystem>
#include <fstream>

namespace kaldor::standin {

namespace {

void setError(std::string* error, const std::string& text)
{
    if (error) {
        *error = text;
    }
}

bool removeIfPresent(const std::string& path, std::string* error)
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) {
        setError(error, "cannot replace " + path + ": " + ec.message());
        return false;
    }
    return true;
}

bool writeFile(const std::filesystem::path& path, const std::string& text, std::string* error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        setError(error, "cannot write " + path.string());
        return false;
    }
    return true;
}

// The path as an absolute one, so that the configuration works from any working folder.
std::string absolutePath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return path.empty() || ec ? path : absolute.lexically_normal().string();
}

std::string odbcinstIni(const std::string& driverLibraryPath)
{
    std::string text;
    for (const char* name : {kAnywhereDriverName, kSqlServerDriverName}) {
        text += "[" + std::string(name) + "]\n";
        text += "Description=" + std::string(name) + "\n";
        text += "Driver=" + absolutePath(driverLibraryPath) + "\n";
        text += "Setup=\n";
        text += "UsageCount=1\n\n";
    }
    return text;
}

std::string odbcIni(const std::vector<DataSourceSpec>& sources)
{
    std::string text;
    for (const DataSourceSpec& s : sources) {
        text += "[" + s.name + "]\n";
        text += "Driver=" +
                std::string(s.dialect == Dialect::Anywhere ? kAnywhereDriverName
                                                           : kSqlServerDriverName) +
                "\n";
        text += "Database=" + absolutePath(s.databasePath) + "\n";
        text += "Dialect=" + std::string(dialectKey(s.dialect)) + "\n\n";
    }
    return text;
}

bool validSourceName(const std::string& name)
{
    return !name.empty() && name.find_first_of("[]\n\r=") == std::string::npos;
}

} // namespace

const char* dialectKey(Dialect d)
{
    return d == Dialect::Anywhere ? "anywhere" : "sqlserver";
}

bool parseDialectKey(const std::string& text, Dialect* d)
{
    std::string lower;
    for (const char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    if (lower == "anywhere") {
        *d = Dialect::Anywhere;
        return true;
    }
    if (lower == "sqlserver") {
        *d = Dialect::SqlServer;
        return true;
    }
    return false;
}

bool createDatabase(const std::string& path, Dialect d, std::string* error)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        if (!removeIfPresent(path + suffix, error)) {
            return false;
        }
    }
    const auto db = SqliteDatabase::open(path, true, error);
    return db && db->exec(schemaSql(d), error);
}

bool runScript(const std::string& path, const std::string& sqliteSql, std::string* error)
{
    const auto db = SqliteDatabase::open(path, false, error);
    if (!db) {
        return false;
    }
    if (!db->exec("SAVEPOINT script", error)) {
        return false;
    }
    if (!db->exec(sqliteSql, error)) {
        db->exec("ROLLBACK TO script; RELEASE script", nullptr);
        return false;
    }
    return db->exec("RELEASE script", error);
}

bool writeOdbcConfig(const std::string& dir, const std::string& driverLibraryPath,
                     const std::vector<DataSourceSpec>& sources, std::string* error)
{
    for (const DataSourceSpec& s : sources) {
        if (!validSourceName(s.name)) {
            setError(error, "invalid data source name: " + s.name);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        setError(error, "cannot create " + dir + ": " + ec.message());
        return false;
    }
    const std::filesystem::path folder(dir);
    return writeFile(folder / "odbcinst.ini", odbcinstIni(driverLibraryPath), error) &&
           writeFile(folder / "odbc.ini", odbcIni(sources), error);
}

} // namespace kaldor::standin
