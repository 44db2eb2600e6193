#pragma once

#include "Clock.h"
#include "DbError.h"
#include "ErrorLog.h"
#include "Journal.h"
#include "Session.h"
#include "SettingsFiles.h"
#include "TextRules.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// What every window shares: the procedures of the system configuration record and of the
// settings file, and the error routine. The session, the settings folder, the error log and
// the text rules, which need no window, are in their own headers, included here.
namespace kaldor {

// What the shared procedures ask of the main window, installed by the main window.
struct MainWindowHooks {
    std::function<void(const QString& dataSource)> setAfterLoginTitle;
    std::function<void()> enableMenus;
};
void setMainWindowHooks(MainWindowHooks hooks);
void setAfterLoginTitle(const QString& dataSource);

QString ReadDataSource();
void WriteDataSource(const QString& name);

void GetConfig();
void SaveConfig();
void Startup();
void LoadVersion();
// Centres a window in the main window's area (or on the screen, for a window of its own).
void CenterForm(QWidget* window);

[[noreturn]] void ErrorHandler(int number, const QString& description, const QString& source,
                               const QString& sql, const QList<db::DiagRecord>& records = {});
[[noreturn]] void ErrorHandler(const db::DbError& error, const QString& source, const QString& sql);
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

// Sends statements in order on the main connection, each held in `sql` while it runs, so that
// the error routine of the Trapped procedure around it names the one that failed.
void executeAll(QString& sql, const QStringList& statements);

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
