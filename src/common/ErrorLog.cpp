#include "ErrorLog.h"

#include "Clock.h"
#include "ResourceStrings.h"
#include "SettingsFiles.h"
#include "TextRules.h"

#include <QFile>
#include <QRegularExpression>

namespace kaldor {

namespace {
const QString CrLf = QStringLiteral("\r\n");

std::function<void(const QString&)>& errorLogObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}
} // namespace

QString ErrorMessageText(int number, const QString& description, const QString& source,
                         const QString& sql, const QList<db::DiagRecord>& records)
{
    QString text = resString(366) + QLatin1Char(' ') + QString::number(number) + QLatin1Char(' ') +
                   description + CrLf + CrLf + resString(424) + CrLf + CrLf + resString(370) +
                   source + CrLf + resString(371) + sql;
    for (const db::DiagRecord& r : records)
        text += CrLf + resString(372) + QLatin1Char(' ') + QString::number(r.native) +
                QStringLiteral("    ") + resString(373) + QLatin1Char(' ') + r.source +
                QStringLiteral("    ") + resString(374) + QLatin1Char(' ') + r.message;
    return text;
}

// The error routine's lines; a failure that the program survives adds a line for each of the
// driver's records.
void appendErrorLog(int number, const QString& description, const QString& source,
                    const QString& sql, const QList<db::DiagRecord>& records)
{
    const QString p = QLatin1Char('[') +
                      currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                      QStringLiteral("] ");
    QStringList lines{p + QStringLiteral(" **** TORVANE ****")};
    if (number == db::ItemNotFound)
        lines.append(p);
    lines.append(p + QString::number(number) + QLatin1Char(' ') + description);
    lines.append(p + source);
    lines.append(p + sql);
    for (const db::DiagRecord& r : records)
        lines.append(p + resString(926) + QLatin1Char(' ') + r.sqlState + QStringLiteral("    ") +
                     resString(372) + QLatin1Char(' ') + QString::number(r.native) +
                     QStringLiteral("    ") + resString(373) + QLatin1Char(' ') + r.source +
                     QStringLiteral("    ") + resString(374) + QLatin1Char(' ') +
                     OneLine(r.message));
    QFile log(ErrorLogFile());
    QString error;
    if (openRegularFile(log, QIODevice::WriteOnly | QIODevice::Append, &error))
        log.write((lines.join(CrLf) + CrLf).toUtf8());
    // The observer gets the lines as a reader of the file sees them: a statement typed over
    // several lines is several lines there.
    if (errorLogObserver()) {
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
        for (const QString& line : lines.join(CrLf).split(lineBreak))
            errorLogObserver()(line);
    }
}

void appendErrorLogNote(const QString& text)
{
    QFile log(ErrorLogFile());
    QString error;
    if (openRegularFile(log, QIODevice::WriteOnly | QIODevice::Append, &error))
        log.write((QLatin1Char('[') +
                   currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                   QStringLiteral("] ") + text + CrLf)
                      .toUtf8());
}

void setErrorLogObserver(std::function<void(const QString&)> observer)
{
    errorLogObserver() = std::move(observer);
}

void LogFailure(const db::DbError& error, const QString& source, const QString& sql)
{
    appendErrorLog(qint16(error.number), error.description, source, sql, error.records);
}

} // namespace kaldor
