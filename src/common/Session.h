#pragma once

#include "Connection.h"

#include <QString>

#include <memory>

// The session every window shares: the connections, the dialect, the system configuration
// record in memory, and the dialect rule that picks a statement.
namespace kaldor {

enum class DatabaseKind { Undetermined, SqlAnywhere, SqlServer };

struct Session {
    DatabaseKind DatabaseType = DatabaseKind::Undetermined;
    std::unique_ptr<db::Connection> MainDatabase;
    std::unique_ptr<db::Connection> DirectDatabase;
    bool LoggedIn = false;
    int VizVersion = 0;
};

// The system configuration record in memory; every value is text.
struct SystemConfig {
    QString RequireLogin, Desktop, Title, DataSource, SharedPath, SharedDrive, AutoLayout, Diags,
        Browser;
    QString SharedDir;
    static SystemConfig defaults();
};

Session& session();
SystemConfig& config();
// Back to the state at program start (used by tests and the scenario runner).
void resetGlobals();

// The program's whole command line: its arguments joined by single blanks.
QString& commandLine();

// Decides the dialect from a driver description: "Anywhere" gives SQL Anywhere, "SQL Server"
// SQL Server (both case-sensitive), anything else none.
DatabaseKind dialectOfDriver(const QString& description);
// The dialect of a data source of the driver manager, by its driver's description; none for a
// data source that is not listed.
DatabaseKind dialectOfDataSource(const QString& dataSource);

// Picks the statement of the session's dialect; with no dialect `sql` keeps what it held.
void ChooseSql(QString& sql, const QString& anywhere, const QString& sqlServer);
// The same for a dialect given, such as the one of another connection.
void ChooseSql(QString& sql, DatabaseKind dialect, const QString& anywhere,
               const QString& sqlServer);
// The statement of a dialect given, as a value: none for no dialect.
QString ChooseSql(DatabaseKind dialect, const QString& anywhere, const QString& sqlServer);

} // namespace kaldor
