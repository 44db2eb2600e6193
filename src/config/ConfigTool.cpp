#include "ConfigTool.h"

#include "ConfigSnapshot.h"
#include "FieldView.h"
#include "FormConnect.h"
#include "ModuleGlobals.h"
#include "Odbc.h"
#include "Seams.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <cstdio>
#include <memory>
#include <optional>

#include <termios.h>
#include <unistd.h>

namespace kaldor::configtool {

namespace {

const QString Usage = QStringLiteral(
    "usage: kaldor-config export DSN [-o FILE] [--user NAME]\n"
    "       kaldor-config diff A B [--user NAME]   (A, B: data source names or exported files)\n"
    "       kaldor-config import FILE DSN [--dry-run] [--user NAME]\n"
    "The password is read from KALDOR_PASSWORD when --user is given, else asked for.");

// A failure that ends the tool with a one-line message and an exit status.
struct Failure {
    QString message;
    int status = 2;
};

struct Options {
    QStringList positional;
    QString output;
    std::optional<QString> user;
    bool dryRun = false;
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
    int dialect = Undetermined;
    std::unique_ptr<db::OdbcConnection> connection;
};

Target connect(const QString& dataSource, const Options& o, const Asker& ask)
{
    Target t;
    t.dataSource = dataSource;
    for (const db::DataSourceEntry& e : db::listDataSources({}).entries)
        if (e.name == dataSource)
            t.dialect = dialectOfDriver(e.description);
    if (t.dialect == Undetermined)
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
                                                {QStringLiteral("config")});
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

Snapshot readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure{QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    Snapshot s;
    QString why;
    if (!fromJson(file.readAll(), &s, &why))
        throw Failure{QStringLiteral("%1: %2").arg(path, why)};
    return s;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Failure{QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
}

// ---- the commands -------------------------------------------------------------------------

int exportCommand(const Options& o, QTextStream& out, const Asker& ask)
{
    if (o.positional.size() != 2)
        throw Failure{Usage};
    Target t = connect(o.positional.at(1), o, ask);
    const QByteArray json = toJson(read(t));
    if (o.output.isEmpty() || o.output == u"-")
        out << QString::fromUtf8(json);
    else
        writeFile(o.output, json);
    return 0;
}

int diffCommand(const Options& o, QTextStream& out, const Asker& ask)
{
    if (o.positional.size() != 3)
        throw Failure{Usage};
    const auto load = [&](const QString& source) {
        if (QFileInfo(source).isFile())
            return readFile(source);
        Target t = connect(source, o, ask);
        return read(t);
    };
    const Snapshot a = load(o.positional.at(1));
    const Snapshot b = load(o.positional.at(2));
    const QStringList lines = differences(a, b);
    for (const QString& line : lines)
        out << line << '\n';
    return lines.isEmpty() ? 0 : 1;
}

QSet<QString> knownUsers(Target& t)
{
    QSet<QString> users;
    const db::ResultSet rows =
        t.connection->query(QStringLiteral("select mtuser from mt.userlist"));
    for (qsizetype r = 0; r < rows.size(); ++r)
        if (const db::Value user = rows.value(r, u"mtuser"))
            users.insert(*user);
    return users;
}

db::Value systemValue(const Snapshot& s, const QString& column)
{
    const QList<Row> rows = s.tables.value(QStringLiteral("qrb_zv_system_configuration"));
    return rows.isEmpty() ? db::Value() : rows.first().value(column);
}

QString backupPath(const QString& dataSource)
{
    QString name = dataSource;
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_')
            c = u'_';
    return GetSettingsFolder() + QStringLiteral("/kaldor-config-backup-") + name +
           currentDateTime().toString(QStringLiteral("-yyyyMMdd-HHmmss")) + QStringLiteral(".json");
}

void runImport(Target& t, const ImportPlan& plan)
{
    qsizetype done = 0;
    try {
        t.connection->setAutoCommit(false);
        for (; done < plan.statements.size(); ++done)
            t.connection->execute(plan.statements.at(done));
        t.connection->commit();
        t.connection->setAutoCommit(true);
    } catch (const db::DbException& e) {
        try {
            t.connection->rollback();
        } catch (const db::DbException&) {
            // A server that is gone has dropped the transaction with the connection.
        }
        const QString where = done < plan.statements.size()
                                  ? QStringLiteral(" at %1").arg(plan.where.at(done))
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
    const Snapshot before = read(t);
    QSet<QString> users;
    try {
        users = knownUsers(t);
    } catch (const db::DbException& e) {
        throw Failure{QStringLiteral("cannot read the user list of \"%1\": %2")
                          .arg(t.dataSource, firstDiagnostic(e))};
    }
    const bool hasSystemRow =
        !before.tables.value(QStringLiteral("qrb_zv_system_configuration")).isEmpty();
    const ImportPlan plan = importPlan(source, hasSystemRow, users);
    for (const QString& user : plan.skippedUsers)
        out << QStringLiteral("skipped: the group of user \"%1\", who is not in the user list\n")
                   .arg(user);
    if (o.dryRun) {
        for (const QString& sql : plan.statements)
            out << sql << '\n';
        return 0;
    }
    const QString backup = backupPath(t.dataSource);
    writeFile(backup, toJson(before));
    out << QStringLiteral("backup of \"%1\" written to %2\n").arg(t.dataSource, backup);
    runImport(t, plan);
    out << QStringLiteral("imported into \"%1\"\n").arg(t.dataSource);

    const db::Value desktop = systemValue(source, QStringLiteral("desktop"));
    const db::Value title = systemValue(source, QStringLiteral("title"));
    if (!desktop || (desktop == systemValue(before, QStringLiteral("desktop")) &&
                     title == systemValue(before, QStringLiteral("title"))))
        return 0;
    const QString column = title.value_or(QString()).isEmpty() ? QStringLiteral("title") : *title;
    try {
        t.connection->execute(FieldViewStatement(t.dialect, *desktop, column));
    } catch (const db::DbException& e) {
        err << QStringLiteral("kaldor-config: the tables are imported, but the field view could "
                              "not be pointed at desktop \"%1\" and column %2: %3\n")
                   .arg(*desktop, column, firstDiagnostic(e));
        return 3;
    }
    out << QStringLiteral("field view now shows desktop \"%1\" with column %2\n")
               .arg(*desktop, column);
    return 0;
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
    QTextStream in(stdin);
    const QString answer = in.readLine();
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
        throw Failure{Usage};
    } catch (const Failure& f) {
        err << QStringLiteral("kaldor-config: ") << f.message << '\n';
        return f.status;
    }
}

} // namespace kaldor::configtool
