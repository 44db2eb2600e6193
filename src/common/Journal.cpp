#include "Journal.h"

#include "Clock.h"
#include "Connection.h"
#include "DbError.h"
#include "ErrorLog.h"
#include "Odbc.h"
#include "Session.h"
#include "SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QStringList>
#include <QSysInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kaldor {

using namespace Qt::StringLiterals;

namespace {

QStringList& actions()
{
    static QStringList stack;
    return stack;
}

// The window and action being run, as the error routine names them, or none.
QString currentAction()
{
    return actions().isEmpty() ? QString() : actions().constLast();
}

std::function<void(const QString&)>& failureHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QStringList splitStatements(const QString& sql)
{
    QStringList pieces;
    qsizetype start = 0;
    QChar closing;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!closing.isNull()) {
            if (c == closing)
                closing = QChar();
        } else if (c == u'\'' || c == u'"') {
            closing = c;
        } else if (c == u'[') {
            closing = u']';
        } else if (c == u'{') {
            closing = u'}';
        } else if (c == u';') {
            pieces.append(sql.mid(start, i - start).trimmed());
            start = i + 1;
        }
    }
    pieces.append(sql.mid(start).trimmed());
    return pieces;
}

namespace {

QString osUser()
{
    if (const passwd* entry = getpwuid(geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QString dialectOf(const QString& dataSource)
{
    static QHash<QString, QString> known;
    const auto found = known.constFind(dataSource);
    if (found != known.cend())
        return *found;
    const DatabaseKind dialect = dialectOfDataSource(dataSource);
    const QString name = dialect == DatabaseKind::SqlAnywhere ? u"SQL Anywhere"_s
                         : dialect == DatabaseKind::SqlServer ? u"SQL Server"_s
                                                              : QString();
    known.insert(dataSource, name);
    return name;
}

QByteArray lineFor(const db::StatementOutcome& outcome)
{
    QJsonObject entry{
        {u"time"_s, currentDateTime().toUTC().toString(Qt::ISODateWithMs)},
        {u"computer"_s, QSysInfo::machineHostName()},
        {u"os_user"_s, osUser()},
        {u"db_user"_s, outcome.user},
        {u"data_source"_s, outcome.dataSource},
        {u"dialect"_s, dialectOf(outcome.dataSource)},
        {u"action"_s, currentAction()},
        {u"statement"_s, outcome.sql},
        {u"outcome"_s, outcome.error ? u"error"_s : u"ok"_s},
    };
    if (outcome.error) {
        const db::DbError& e = *outcome.error;
        entry.insert(u"error_native"_s,
                     e.records.isEmpty() ? e.number : qint64(e.records.first().native));
        entry.insert(u"error_message"_s,
                     e.records.isEmpty() ? e.description : e.records.first().message);
    }
    return QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
}

// The name a full journal is kept under: its own with the date, and a number if that is taken.
QString rotatedName(const QString& path)
{
    const QFileInfo info(path);
    const QString stem = info.dir().filePath(info.completeBaseName() + u'-' +
                                             currentDateTime().toString(u"yyyyMMdd-HHmmss"_s));
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString name = stem + suffix;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = stem + u'-' + QString::number(n) + suffix;
    return name;
}

void journalOutcome(const db::StatementOutcome& outcome)
{
    if (!changesData(outcome.sql))
        return;
    static bool failureSaid = false;
    QString why;
    const QString path = journalFile();
    if (appendJournalLine(path, lineFor(outcome), &why) || failureSaid)
        return;
    failureSaid = true;
    appendErrorLogNote(u"the change journal "_s + path + u" cannot be written: "_s + why);
    if (failureHandler())
        failureHandler()(why);
}

} // namespace

ActionScope::ActionScope(const QString& action)
{
    actions().append(action);
}

ActionScope::~ActionScope()
{
    actions().removeLast();
}

QString journalFile()
{
    const QString chosen = qEnvironmentVariable("KALDOR_JOURNAL");
    return chosen.isEmpty() ? GetSettingsFolder() + u"/journal.jsonl"_s : chosen;
}

void setJournalFailureHandler(std::function<void(const QString& why)> handler)
{
    failureHandler() = std::move(handler);
}

void startJournal()
{
    db::setOutcomeObserver(journalOutcome);
}

bool changesData(const QString& sql)
{
    static const QStringList verbs{u"insert"_s, u"update"_s, u"delete"_s,   u"alter"_s,
                                   u"create"_s, u"drop"_s,   u"truncate"_s, u"merge"_s,
                                   u"call"_s,   u"exec"_s,   u"execute"_s};
    for (const QString& statement : splitStatements(sql)) {
        if (statement.startsWith(u'{'))
            return true; // {call ...}
        const QString verb = statement.section(u' ', 0, 0).section(u'\n', 0, 0).toLower();
        if (verbs.contains(verb.trimmed()))
            return true;
    }
    return false;
}

bool appendJournalLine(const QString& path, const QByteArray& line, QString* why)
{
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < 5; ++attempt) {
        // Non-blocking, so that a pipe given as the journal cannot hold the program.
        const int fd =
            ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd < 0) {
            *why = systemError();
            return false;
        }
        const auto closer = qScopeGuard([fd] { ::close(fd); });
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            *why = u"not a regular file"_s;
            return false;
        }
        if (::flock(fd, LOCK_EX) != 0) {
            *why = systemError();
            return false;
        }
        // Another program may have renamed the journal meanwhile: then write to the new one.
        struct stat now {};
        if (::stat(name.constData(), &now) != 0 || now.st_ino != opened.st_ino ||
            now.st_dev != opened.st_dev)
            continue;
        if (now.st_size >= JournalRotationBytes) {
            if (::rename(name.constData(), QFile::encodeName(rotatedName(path)).constData()) != 0) {
                *why = systemError();
                return false;
            }
            continue;
        }
        qsizetype written = 0;
        while (written < line.size()) {
            const ssize_t n =
                ::write(fd, line.constData() + written, size_t(line.size() - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                *why = systemError();
                return false;
            }
            written += n;
        }
        return true;
    }
    *why = u"the journal kept being replaced"_s;
    return false;
}

} // namespace kaldor
