#pragma once

#include "Connection.h"
#include "DbError.h"
#include "Journal.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

// What every window shares: the session, the system configuration record, the settings
// file, the error routine and the small helpers.
namespace kaldor {

enum DatabaseKind : int { Undetermined = 0, SqlAnywhere = 1, SqlServer = 2 };

struct Session {
    int DatabaseType = Undetermined;
    std::unique_ptr<db::Connection> MainDatabase;
    std::unique_ptr<db::Connection> DirectDatabase;
    int LoggedIn = 0;
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

// What the shared procedures ask of the main window, installed by the main window.
struct MainWindowHooks {
    std::function<void(const QString& dataSource)> setAfterLoginTitle;
    std::function<void()> enableMenus;
};
void setMainWindowHooks(MainWindowHooks hooks);
void setAfterLoginTitle(const QString& dataSource);

// The program's whole command line: its arguments joined by single blanks.
QString& commandLine();

// Picks the statement of the session's dialect; with no dialect `sql` keeps what it held.
void ChooseSql(QString& sql, const QString& anywhere, const QString& sqlServer);
// The same for a dialect given (a DatabaseKind), such as the one of another connection.
void ChooseSql(QString& sql, int dialect, const QString& anywhere, const QString& sqlServer);

QString GetSettingsFolder();
bool FolderExists(const QString& path);
QString SettingsFile();
QString ErrorLogFile();
QString ReadDataSource();
void WriteDataSource(const QString& name);

void GetConfig();
void SaveConfig();
void Startup();
void LoadVersion();

[[noreturn]] void ErrorHandler(int number, const QString& description, const QString& source,
                               const QString& sql, const QList<db::DiagRecord>& records = {});
[[noreturn]] void ErrorHandler(const db::DbError& error, const QString& source, const QString& sql);
// A failure that the program survives (a failed login): appended to the error log as the error
// routine appends its failures, followed by one line for each of the driver's records
// ("SQLSTATE: 28000    DBERROR: -103    SOURCE: ...    DESCRIPTION: ..."); nothing is shown.
void LogFailure(const db::DbError& error, const QString& source, const QString& sql);
// Sees every line the error routine appends to the error log.
void setErrorLogObserver(std::function<void(const QString& line)> observer);
// One line of the program's own in the error log, beside the error routine's reports (the
// error routine's observer does not see it).
void appendErrorLogNote(const QString& text);
QString ErrorMessageText(int number, const QString& description, const QString& source,
                         const QString& sql, const QList<db::DiagRecord>& records);

QString& FixQuotes(QString& text);
QString FixQuotes(const QString& text);
QString ParseTime(const QString& time, const QString& part);
QString GetfformByFieldNumber(const QString& fieldNumber);
QString Calczvrtag();
void CenterForm(QWidget* window);

// The text without the blanks (spaces only) at its ends.
QString Trim(const QString& text);

// The text on one line, as a line of the error log or the status bar shows a driver's message:
// each line break, with the white space around it, becomes one blank; white space at the ends
// goes.
QString OneLine(const QString& text);

// Lenient numeric reading: the leading number of the text, otherwise 0; a number beyond the
// range of a double is an overflow (DbException, error 6).
double Val(const QString& text);
// The value in single precision; one beyond its range is an overflow (error 6).
float CSng(double value);

// Runs a procedure that works on the database: any failure goes to the error routine with
// the procedure's source label and the statement text it held at that moment.
template <class Body> void Trapped(const QString& source, const QString& sql, Body&& body)
{
    const ActionScope action(source);
    try {
        body();
    } catch (const db::DbException& e) {
        ErrorHandler(e.error(), source, sql);
    }
}

// The hourglass pointer while the object lives.
class Hourglass final {
public:
    Hourglass();
    ~Hourglass();
    Q_DISABLE_COPY_MOVE(Hourglass)
};

constexpr int twips(int value)
{
    return value / 15;
}

} // namespace kaldor
