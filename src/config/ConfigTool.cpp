#include "ConfigTool.h"

#include "Clock.h"
#include "ConfigSnapshot.h"
#include "FieldView.h"
#include "Journal.h"
#include "JournalReport.h"
#include "Odbc.h"
#include "SchemaCheck.h"
#include "Session.h"
#include "SettingsFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace kaldor::configtool {

using namespace Qt::StringLiterals;

namespace {

const QString Usage = QStringLiteral(
    "usage: kaldor-config export DSN [-o FILE] [--user NAME]\n"
    "       kaldor-config diff A B [--user NAME]   (A, B: data source names or exported files)\n"
    "       kaldor-config import FILE DSN [--dry-run] [--user NAME]\n"
    "       kaldor-config check DSN [--user NAME]\n"
    "       kaldor-config journal [--since DATE] [--until DATE] [--user U] [--dsn D]\n"
    "                             [--window W] [--json] [-v]\n"
    "The password is read from KALDOR_PASSWORD when --user is given, else asked for.");

// A failure that ends the tool with a one-line message and an exit status.
struct Failure {
    QString message;
    int status = 2;
};

// The largest configuration file read: far beyond any real configuration, small enough to read.
constexpr qint64 LargestFile = qint64(1) << 30;

// A text as one line on a terminal: control and format characters (escape sequences, line
// breaks, direction overrides) from a file or a database are shown escaped, never sent raw.
QString printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar::Category kind = c.category();
        const bool plain = !c.isSurrogate() && kind != QChar::Other_Control &&
                           kind != QChar::Other_Format && kind != QChar::Separator_Line &&
                           kind != QChar::Separator_Paragraph;
        const bool pair =
            c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (plain) {
            out += c;
        } else if (pair) {
            out += c;
            out += text.at(++i);
        } else if (c == u'\n') {
            out += QStringLiteral("\\n");
        } else if (c == u'\r') {
            out += QStringLiteral("\\r");
        } else if (c == u'\t') {
            out += QStringLiteral("\\t");
        } else {
            out += c.unicode() < 0x100
                       ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                       : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return out;
}

// Writes one line, made printable.
void say(QTextStream& stream, const QString& line)
{
    stream << printable(line) << '\n';
}

struct Options {
    QStringList positional;
    QString output;
    std::optional<QString> user;
    bool dryRun = false;
    JournalFilter journal; // the journal's filters; --user filters there
    bool json = false;
    bool verbose = false;
};

Options parse(const QStringList& arguments)
{
    Options o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const auto next = [&]() {
            if (i + 1 >= arguments.size())
                throw Failure{QStringLiteral("%1 needs a value").arg(a)};
            return arguments.at(++i);
        };
        if (a == u"-o")
            o.output = next();
        else if (a == u"--user")
            o.user = next();
        else if (a == u"--dry-run")
            o.dryRun = true;
        else if (a == u"--since")
            o.journal.since = next();
        else if (a == u"--until")
            o.journal.until = next();
        else if (a == u"--dsn")
            o.journal.dataSource = next();
        else if (a == u"--window")
            o.journal.window = next();
        else if (a == u"--json")
            o.json = true;
        else if (a == u"-v")
            o.verbose = true;
        else if (a == u"--password" || a.startsWith(QStringLiteral("--password=")))
            throw Failure{QStringLiteral("a password is never given on the command line; use "
                                         "KALDOR_PASSWORD with --user, or answer the question")};
        else if (a.startsWith(QLatin1Char('-')) && a.size() > 1)
            throw Failure{QStringLiteral("unknown option %1").arg(a)};
        else
            o.positional.append(a);
    }
    return o;
}

QString firstDiagnostic(const db::DbException& e)
{
    const db::DbError& error = e.error();
    if (!error.records.isEmpty()) {
        const db::DiagRecord& r = error.records.first();
        return QStringLiteral("%1 (%2, %3)").arg(r.message, r.sqlState).arg(r.native);
    }
    return error.description;
}

// A logged-in data source and its dialect.
struct Target {
    QString dataSource;
    DatabaseKind dialect = DatabaseKind::Undetermined;
    std::unique_ptr<db::OdbcConnection> connection;
};

Target connect(const QString& dataSource, const Options& o, const Asker& ask)
{
    Target t;
    t.dataSource = dataSource;
    t.dialect = dialectOfDataSource(dataSource);
    if (t.dialect == DatabaseKind::Undetermined)
        throw Failure{QStringLiteral("no SQL Anywhere or SQL Server data source named \"%1\"")
                          .arg(dataSource)};
    const QString user =
        o.user ? *o.user : ask(QStringLiteral("User name for %1: ").arg(dataSource), true);
    QString password;
    if (o.user && qEnvironmentVariableIsSet("KALDOR_PASSWORD"))
        password = qEnvironmentVariable("KALDOR_PASSWORD");
    else
        password = ask(QStringLiteral("Password for %1: ").arg(dataSource), false);
    try {
        t.connection = db::OdbcConnection::open(dataSource, user, std::move(password),
                                                db::ConnectOptions::forProgram(u"config"_s));
    } catch (const db::DbException& e) {
        throw Failure{
            QStringLiteral("cannot log in to \"%1\": %2").arg(dataSource, firstDiagnostic(e))};
    }
    return t;
}

Snapshot read(Target& t)
{
    try {
        return readSnapshot(*t.connection);
    } catch (const db::DbException& e) {
        throw Failure{QStringLiteral("cannot read the configuration of \"%1\": %2")
                          .arg(t.dataSource, firstDiagnostic(e))};
    }
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The bytes of a regular file, read without waiting on a pipe or device and up to the limit.
QByteArray readRegularFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw Failure{errno == ENOENT
                          ? QStringLiteral("%1: no such file").arg(path)
                          : QStringLiteral("cannot read %1: %2").arg(path, systemError(errno))};
    const auto closer = qScopeGuard([fd] { ::close(fd); });
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw Failure{QStringLiteral("cannot read %1: %2").arg(path, systemError(errno))};
    if (!S_ISREG(info.st_mode))
        throw Failure{QStringLiteral("%1 is not a regular file").arg(path)};
    if (info.st_size > LargestFile)
        throw Failure{QStringLiteral("%1 is larger than 1 GiB").arg(path)};
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Failure{QStringLiteral("cannot read %1: %2").arg(path, systemError(errno))};
        if (n == 0)
            break;
        filled += n;
    }
    bytes.truncate(filled);
    return bytes;
}

Snapshot readFile(const QString& path)
{
    Snapshot s;
    QString why;
    if (!fromJson(readRegularFile(path), &s, &why))
        throw Failure{QStringLiteral("%1: %2").arg(path, why)};
    return s;
}

// A path that may be written: a new one, or a regular file (also through a link). A device,
// pipe, folder or a link to nothing is left untouched.
void checkWritable(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0) {
        if (errno == ENOENT)
            return;
        throw Failure{QStringLiteral("cannot write %1: %2").arg(path, systemError(errno))};
    }
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        throw Failure{QStringLiteral("%1 is not a regular file; nothing was written").arg(path)};
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    checkWritable(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Failure{QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
}

// Writes the bytes to a file of the stem's name that did not exist before (an earlier backup
// is never replaced) and returns its path.
QString writeNewFile(const QString& stem, const QByteArray& bytes)
{
    for (int n = 1;; ++n) {
        const QString path =
            stem + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + QStringLiteral(".json");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.write(bytes) == bytes.size() && file.flush())
                return path;
            const QString why = file.errorString();
            file.remove();
            throw Failure{QStringLiteral("cannot write %1: %2").arg(path, why)};
        }
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            continue;
        throw Failure{QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    }
}

// ---- the commands -------------------------------------------------------------------------

int exportCommand(const Options& o, QTextStream& out, const Asker& ask)
{
    if (o.positional.size() != 2)
        throw Failure{Usage};
    const bool toFile = !o.output.isEmpty() && o.output != u"-";
    if (toFile)
        checkWritable(o.output);
    Target t = connect(o.positional.at(1), o, ask);
    const QByteArray json = toJson(read(t));
    if (toFile)
        writeFile(o.output, json);
    else
        out << QString::fromUtf8(json);
    return 0;
}

// A name that stands for a file: it has a folder part or the exported files' ending.
bool looksLikePath(const QString& name)
{
    return name.contains(QLatin1Char('/')) || name.endsWith(u".json"_s, Qt::CaseInsensitive);
}

int diffCommand(const Options& o, QTextStream& out, const Asker& ask)
{
    if (o.positional.size() != 3)
        throw Failure{Usage};
    const auto load = [&](const QString& source) {
        const QFileInfo file(source);
        if (file.exists() || file.isSymLink() ||
            (looksLikePath(source) && dialectOfDataSource(source) == DatabaseKind::Undetermined))
            return readFile(source);
        Target t = connect(source, o, ask);
        return read(t);
    };
    const Snapshot a = load(o.positional.at(1));
    const Snapshot b = load(o.positional.at(2));
    const QStringList lines = differences(a, b);
    for (const QString& line : lines)
        say(out, line);
    return lines.isEmpty() ? 0 : 1;
}

QSet<QString> knownUsers(Target& t)
{
    QSet<QString> users;
    try {
        const db::ResultSet rows = t.connection->query(u"select mtuser from mt.userlist"_s);
        for (qsizetype r = 0; r < rows.size(); ++r)
            if (const db::Value user = rows.value(r, u"mtuser"))
                users.insert(user->toCaseFolded());
    } catch (const db::DbException& e) {
        throw Failure{QStringLiteral("cannot read the user list of \"%1\": %2")
                          .arg(t.dataSource, firstDiagnostic(e))};
    }
    return users;
}

QStringList desktops(Target& t)
{
    QStringList names;
    try {
        const db::ResultSet rows = t.connection->query(u"select desktop from mt.desktop"_s);
        for (qsizetype r = 0; r < rows.size(); ++r)
            if (const db::Value name = rows.value(r, u"desktop"))
                names.append(*name);
    } catch (const db::DbException& e) {
        throw Failure{QStringLiteral("cannot read the desktops of \"%1\": %2")
                          .arg(t.dataSource, firstDiagnostic(e))};
    }
    return names;
}

db::Value systemValue(const Snapshot& s, const QString& column)
{
    const QList<Row>& rows = s.tables[u"qrb_zv_system_configuration"_s];
    return rows.isEmpty() ? db::Value() : rows.first().value(column);
}

// The field view that an import points at a new desktop or title language.
struct FieldViewChange {
    QString desktop;
    QString column;
};

// The desktop and title language of the file, refused unless the view's statement, which takes
// them unquoted, can only ever name a title column and a desktop of the target.
std::optional<FieldViewChange> fieldViewChange(const Snapshot& source, const Snapshot& before,
                                               Target& t)
{
    const db::Value desktop = systemValue(source, u"desktop"_s);
    const db::Value title = systemValue(source, u"title"_s);
    const QString column = title.value_or(QString()).isEmpty() ? u"title"_s : *title;
    static const QStringList titles{u"title"_s, u"title2"_s, u"title3"_s, u"title4"_s, u"title5"_s};
    if (!titles.contains(column))
        throw Failure{QStringLiteral("the title language \"%1\" is not one of %2; nothing was "
                                     "written")
                          .arg(column, titles.join(u", "_s))};
    if (desktop && desktop->contains(QLatin1Char('\'')))
        throw Failure{
            QStringLiteral("the desktop \"%1\" holds a quote; nothing was written").arg(*desktop)};
    if (!desktop ||
        (desktop == systemValue(before, u"desktop"_s) && title == systemValue(before, u"title"_s)))
        return std::nullopt;
    if (!desktops(t).contains(*desktop, Qt::CaseInsensitive))
        throw Failure{QStringLiteral("\"%1\" is no desktop of \"%2\"; nothing was written")
                          .arg(*desktop, t.dataSource)};
    return FieldViewChange{*desktop, column};
}

// SQL Anywhere may read a backslash as an escape: a backslash before a quote could end a text
// early there, so such a value is refused rather than sent.
void checkValuesFor(DatabaseKind dialect, const Snapshot& source)
{
    if (dialect != DatabaseKind::SqlAnywhere)
        return;
    for (auto table = source.tables.begin(); table != source.tables.end(); ++table)
        for (qsizetype r = 0; r < table->size(); ++r)
            for (auto it = table->at(r).begin(); it != table->at(r).end(); ++it)
                if (it->value_or(QString()).contains(u"\\'"_s))
                    throw Failure{QStringLiteral("table %1, row %2: column %3 has a backslash "
                                                 "before a quote, which SQL Anywhere may read "
                                                 "as an escape; nothing was written")
                                      .arg(table.key())
                                      .arg(r + 1)
                                      .arg(it.key())};
}

QString backupStem(const QString& dataSource)
{
    QString name = dataSource;
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_')
            c = u'_';
    return GetSettingsFolder() + QStringLiteral("/kaldor-config-backup-") + name +
           currentDateTime().toString(QStringLiteral("-yyyyMMdd-HHmmss-zzz"));
}

void runImport(Target& t, const ImportPlan& plan)
{
    qsizetype done = 0;
    try {
        t.connection->setAutoCommit(false);
        for (; done < plan.size(); ++done)
            t.connection->execute(plan.statement(done));
        t.connection->commit();
        t.connection->setAutoCommit(true);
    } catch (const db::DbException& e) {
        try {
            t.connection->rollback();
        } catch (const db::DbException&) {
            // A server that is gone has dropped the transaction with the connection.
        }
        const QString where = done < plan.size() ? QStringLiteral(" at %1").arg(plan.where(done))
                                                 : QStringLiteral(" at the commit");
        throw Failure{QStringLiteral("the import into \"%1\" failed%2, nothing was changed: %3")
                          .arg(t.dataSource, where, firstDiagnostic(e))};
    }
}

int importCommand(const Options& o, QTextStream& out, QTextStream& err, const Asker& ask)
{
    if (o.positional.size() != 3)
        throw Failure{Usage};
    const Snapshot source = readFile(o.positional.at(1));
    Target t = connect(o.positional.at(2), o, ask);
    checkValuesFor(t.dialect, source);
    const Snapshot before = read(t);
    const std::optional<FieldViewChange> view = fieldViewChange(source, before, t);
    const bool hasSystemRow = !before.tables[u"qrb_zv_system_configuration"_s].isEmpty();
    const ImportPlan plan(source, hasSystemRow, knownUsers(t));
    for (const QString& user : plan.skippedUsers())
        say(out, QStringLiteral("skipped: the group of user \"%1\", who is not in the user list")
                     .arg(user));
    if (o.dryRun) {
        for (qsizetype i = 0; i < plan.size(); ++i)
            say(out, plan.statement(i));
        return 0;
    }
    startJournal();
    const ActionScope action(u"kaldor-config,import"_s);
    const QString backup = writeNewFile(backupStem(t.dataSource), toJson(before));
    say(out, QStringLiteral("backup of \"%1\" written to %2").arg(t.dataSource, backup));
    runImport(t, plan);
    say(out, QStringLiteral("imported into \"%1\"").arg(t.dataSource));
    if (!view)
        return 0;
    try {
        t.connection->execute(FieldViewStatement(t.dialect, view->desktop, view->column));
    } catch (const db::DbException& e) {
        say(err, QStringLiteral("kaldor-config: the tables are imported, but the field view "
                                "could not be pointed at desktop \"%1\" and column %2: %3")
                     .arg(view->desktop, view->column, firstDiagnostic(e)));
        return 3;
    }
    say(out, QStringLiteral("field view now shows desktop \"%1\" with column %2")
                 .arg(view->desktop, view->column));
    return 0;
}

// Whether the database has every table, column, view and procedure the program needs.
int checkCommand(const Options& o, QTextStream& out, const Asker& ask)
{
    if (o.positional.size() != 2)
        throw Failure{Usage};
    Target t = connect(o.positional.at(1), o, ask);
    SchemaReport report;
    try {
        report = checkSchema(*t.connection, t.dialect);
    } catch (const db::DbException& e) {
        throw Failure{QStringLiteral("cannot read the catalog of \"%1\": %2")
                          .arg(t.dataSource, firstDiagnostic(e))};
    }
    for (const QString& item : report.missing)
        say(out, u"missing: "_s + item);
    for (const QString& line : report.narrow)
        say(out, u"narrow: "_s + line);
    if (report.missing.isEmpty()) {
        say(out, QStringLiteral("\"%1\" has everything the program needs").arg(t.dataSource));
        return 0;
    }
    say(out, QStringLiteral("\"%1\" lacks %2 of what the program needs")
                 .arg(t.dataSource)
                 .arg(report.missing.size()));
    return 1;
}

// The change journal's entries that match the filters, one line each (with -v the statement
// too), or as the journal's own JSON lines.
int journalCommand(const Options& o, QTextStream& out)
{
    if (o.positional.size() != 1)
        throw Failure{Usage};
    JournalFilter filter = o.journal;
    filter.user = o.user.value_or(QString());
    const QString path = journalFile();
    if (!QFileInfo::exists(path))
        throw Failure{
            QStringLiteral("%1: no such file; nothing has been journalled here").arg(path)};
    const QByteArray bytes = readRegularFile(path);
    qsizetype lineNumber = 0;
    for (const QByteArray& raw : bytes.split('\n')) {
        ++lineNumber;
        if (raw.trimmed().isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(raw, &error);
        if (!document.isObject())
            throw Failure{
                QStringLiteral("%1, line %2: not a journal entry").arg(path).arg(lineNumber)};
        const QJsonObject entry = document.object();
        if (!matches(entry, filter))
            continue;
        if (o.json) {
            say(out, QString::fromUtf8(raw));
            continue;
        }
        say(out, journalLine(entry));
        if (o.verbose)
            say(out, u"    "_s + entry.value(u"statement"_s).toString());
    }
    return 0;
}

// One line of standard input, read a byte at a time so that the next question finds the next
// line of a pipe still there.
QString readInputLine()
{
    QByteArray line;
    char c = 0;
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || c == '\n')
            break;
        line.append(c);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

} // namespace

QString askOnTerminal(const QString& prompt, bool echo)
{
    std::fputs(prompt.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    termios saved{};
    const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal && !echo) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const QString answer = readInputLine();
    if (terminal && !echo) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    return answer;
}

int runConfigTool(const QStringList& arguments, QTextStream& out, QTextStream& err,
                  const Asker& ask)
{
    try {
        const Options o = parse(arguments);
        const QString command = o.positional.value(0);
        if (command == u"export")
            return exportCommand(o, out, ask);
        if (command == u"diff")
            return diffCommand(o, out, ask);
        if (command == u"import")
            return importCommand(o, out, err, ask);
        if (command == u"check")
            return checkCommand(o, out, ask);
        if (command == u"journal")
            return journalCommand(o, out);
        throw Failure{Usage};
    } catch (const Failure& f) {
        if (f.message == Usage)
            err << u"kaldor-config: "_s << Usage << '\n';
        else
            say(err, u"kaldor-config: "_s + f.message);
        return f.status;
    }
}

} // namespace kaldor::configtool
