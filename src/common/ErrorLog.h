#pragma once

#include "DbError.h"

#include <QList>
#include <QString>

#include <functional>

// The error log in the settings folder and the error routine's texts.
namespace kaldor {

// The error routine's report of a failure: its message box text.
QString ErrorMessageText(int number, const QString& description, const QString& source,
                         const QString& sql, const QList<db::DiagRecord>& records);
// The error routine's lines in the error log; a failure that the program survives adds a line
// for each of the driver's records.
void appendErrorLog(int number, const QString& description, const QString& source,
                    const QString& sql, const QList<db::DiagRecord>& records = {});
// A failure that the program survives (a failed login): appended to the error log as the error
// routine appends its failures, followed by one line for each of the driver's records
// ("SQLSTATE: 28000    DBERROR: -103    SOURCE: ...    DESCRIPTION: ..."); nothing is shown.
void LogFailure(const db::DbError& error, const QString& source, const QString& sql);
// Sees every line the error routine appends to the error log.
void setErrorLogObserver(std::function<void(const QString& line)> observer);
// One line of the program's own in the error log, beside the error routine's reports (the
// error routine's observer does not see it).
void appendErrorLogNote(const QString& text);

} // namespace kaldor
