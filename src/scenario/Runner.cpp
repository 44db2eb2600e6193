#include "Runner.h"

#include "Controls.h"
#include "Desktop.h"
#include "IconCachingStyle.h"
#include "MDIFormMain.h"
#include "ModuleGlobals.h"
#include "Odbc.h"
#include "Seams.h"
#include "StandinStore.h"
#include "Windows.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTimer>

#include <odbcinst.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kaldor::scenario {

namespace {

const char* answerName(MsgAnswer a)
{
    switch (a) {
    case MsgAnswer::Ok:
        return "OK";
    case MsgAnswer::Cancel:
        return "Cancel";
    case MsgAnswer::Yes:
        return "Yes";
    case MsgAnswer::No:
        return "No";
    }
    return "OK";
}

const char* iconName(MsgIcon i)
{
    switch (i) {
    case MsgIcon::None:
        return "none";
    case MsgIcon::Critical:
        return "critical";
    case MsgIcon::Exclamation:
        return "exclamation";
    case MsgIcon::Information:
        return "information";
    case MsgIcon::Question:
        return "question";
    }
    return "none";
}

const char* buttonsName(MsgButtons b)
{
    switch (b) {
    case MsgButtons::Ok:
        return "ok";
    case MsgButtons::OkCancel:
        return "okcancel";
    case MsgButtons::YesNo:
        return "yesno";
    }
    return "ok";
}

bool allowedAnswer(MsgButtons b, MsgAnswer a)
{
    switch (b) {
    case MsgButtons::Ok:
        return a == MsgAnswer::Ok;
    case MsgButtons::OkCancel:
        return a == MsgAnswer::Ok || a == MsgAnswer::Cancel;
    case MsgButtons::YesNo:
        return a == MsgAnswer::Yes || a == MsgAnswer::No;
    }
    return false;
}

QString nativePath(const QString& p)
{
    return QDir::cleanPath(p);
}

int timeoutSeconds()
{
    bool ok = false;
    const int s = qEnvironmentVariableIntValue("KALDOR_SCENARIO_TIMEOUT", &ok);
    return ok && s > 0 ? s : 300;
}

} // namespace

std::optional<MsgAnswer> parseAnswer(const QString& s)
{
    if (s == u"OK")
        return MsgAnswer::Ok;
    if (s == u"Cancel")
        return MsgAnswer::Cancel;
    if (s == u"Yes")
        return MsgAnswer::Yes;
    if (s == u"No")
        return MsgAnswer::No;
    return std::nullopt;
}

void out(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

Runner::Runner()
{
    char pattern[] = "/tmp/kaldor-scenario-XXXXXX";
    if (const char* dir = ::mkdtemp(pattern))
        m_tempRoot = QString::fromLocal8Bit(dir);
    // The program's settings folder, error log and drive map stay inside the run's own folder.
    qunsetenv("AllUsersProfile");
    qunsetenv("KALDOR_DRIVES");
    qputenv("ProgramData", QFile::encodeName(m_tempRoot + QStringLiteral("/ProgramData")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

Runner::~Runner()
{
    if (!m_inProgram && !m_tempRoot.isEmpty() &&
        qEnvironmentVariableIsEmpty("KALDOR_SCENARIO_KEEP"))
        QDir(m_tempRoot).removeRecursively();
}

int Runner::run(const QString& scriptText)
{
    m_script = parseScript(scriptText);
    if (m_script.errorLine) {
        out(QStringLiteral("SCRIPT ERROR line %1: %2").arg(m_script.errorLine).arg(m_script.error));
        return 2;
    }
    while (m_next < m_script.commands.size()) {
        const Command& c = m_script.commands.at(m_next++);
        echo(c);
        if (c.name == u"start") {
            if (m_programEnded)
                continue;
            const int status = start(c);
            if (status != 0)
                return status;
            continue;
        }
        if (m_programEnded && !runsAfterEnd(c.name)) {
            // Skipped, but an unknown command is an error also after the end.
            if (!isCommand(c.name) && execute(c) == Outcome::ScriptError)
                return 2;
            continue;
        }
        if (execute(c) == Outcome::ScriptError)
            return 2;
    }
    return 0;
}

void Runner::echo(const Command& c)
{
    // The line as read, but never a password: not the login's, nor what is typed into a
    // password box.
    const bool typedSecret =
        (c.name == u"type" || (c.name == u"key" && isCharacterKey(c.args.value(1)))) &&
        c.args.size() == 2 && isPasswordBox(c.args.at(0));
    if ((c.name == u"login" || typedSecret) && c.argStarts.size() >= 2) {
        out(QStringLiteral("> ") + c.text.left(c.argStarts.at(1)) + QStringLiteral("***"));
        return;
    }
    out(QStringLiteral("> ") + c.text);
}

bool Runner::isPasswordBox(const QString& path) const
{
    const qsizetype dot = path.indexOf(QLatin1Char('.'));
    QWidget* window = dot > 0 ? findWindow(path.left(dot)) : nullptr;
    const auto* box =
        window ? qobject_cast<QLineEdit*>(findControl(window, path.mid(dot + 1))) : nullptr;
    return box && box->echoMode() != QLineEdit::Normal;
}

Runner::Outcome Runner::scriptError(const Command& c, const QString& why)
{
    out(QStringLiteral("SCRIPT ERROR line %1: %2").arg(c.line).arg(why));
    return Outcome::ScriptError;
}

// ---- the database outside the program ----------------------------------------------------

Runner::Outcome Runner::engine(const Command& c)
{
    const QString kind = c.args.at(0);
    if (kind == u"odbc") {
        // The driver manager keeps the configuration it read first: after an embedded engine's,
        // the machine's data sources cannot be reached from this process.
        if (!m_engineDatabase.isEmpty())
            return scriptError(c, QStringLiteral("engine odbc must come before any other engine"));
        m_dialect.clear();
        return Outcome::Done;
    }
    if (kind != u"anywhere" && kind != u"sqlserver")
        return scriptError(c, QStringLiteral("unknown engine %1").arg(quoted(kind)));
    m_dialect = kind;
    // Each engine has a database of its own. The ODBC configuration stays in one place, since
    // the driver manager reads where it lies once per process and keeps it; the new database
    // is entered through the installer API, which also forgets the values it had cached.
    static int count = 0;
    const QString dir = m_tempRoot + QStringLiteral("/engine%1").arg(++count);
    const QString odbcDir = m_tempRoot + QStringLiteral("/odbc");
    QDir().mkpath(dir);
    QDir().mkpath(odbcDir);
    const std::string db = QFile::encodeName(dir + QStringLiteral("/calibration.db")).toStdString();
    const auto dialect =
        kind == u"anywhere" ? standin::Dialect::Anywhere : standin::Dialect::SqlServer;
    std::string error;
    QString driver = qEnvironmentVariable("KALDOR_STANDIN_DRIVER");
    if (driver.isEmpty())
        driver = QStringLiteral(KALDOR_STANDIN_DRIVER);
    std::vector<standin::DataSourceSpec> sources(1);
    sources[0].name = m_dataSource.toStdString();
    sources[0].dialect = dialect;
    sources[0].databasePath = db;
    if (!standin::createDatabase(db, dialect, &error) ||
        !standin::writeOdbcConfig(QFile::encodeName(odbcDir).toStdString(),
                                  QFile::encodeName(driver).toStdString(), sources, &error))
        return scriptError(
            c, QStringLiteral("cannot create the database: %1").arg(QString::fromStdString(error)));
    const QByteArray odbcIni = QFile::encodeName(odbcDir + QStringLiteral("/odbc.ini"));
    qputenv("ODBCSYSINI", QFile::encodeName(odbcDir));
    qputenv("ODBCINI", odbcIni);
    SQLWritePrivateProfileString(sources[0].name.c_str(), "Database", db.c_str(),
                                 odbcIni.constData());
    m_rawUser = QStringLiteral("admin");
    m_rawPassword = QStringLiteral("secret");
    m_engineDatabase = QString::fromStdString(db);
    return Outcome::Done;
}

// seed demo: the demo data set; seed FILE.sql: that SQL file (plain SQLite SQL, like the demo's
// files), for fixtures that change the demo's rows.
Runner::Outcome Runner::seed(const Command& c)
{
    const QString set = c.args.at(0);
    const bool sqlFile = set.endsWith(QStringLiteral(".sql"));
    if (set != u"demo" && !sqlFile)
        return scriptError(c, QStringLiteral("unknown data set %1").arg(quoted(set)));
    if (m_engineDatabase.isEmpty())
        return scriptError(c, QStringLiteral("seed needs an embedded engine"));
    const QString demo = QStringLiteral(KALDOR_DATA_DIR) + QStringLiteral("/demo/");
    const QStringList files =
        sqlFile ? QStringList{set}
                : QStringList{demo + QStringLiteral("demo.sql"),
                              demo + QStringLiteral("users-%1.sql").arg(m_dialect)};
    for (const QString& name : files) {
        QFile file(name);
        if (!file.exists() && !sqlFile)
            continue;
        if (!file.open(QIODevice::ReadOnly))
            return scriptError(c, QStringLiteral("cannot read %1").arg(file.fileName()));
        std::string error;
        if (!standin::runScript(m_engineDatabase.toStdString(), file.readAll().toStdString(),
                                &error))
            return scriptError(c, QStringLiteral("%1: %2").arg(QFileInfo(name).fileName(),
                                                               QString::fromStdString(error)));
    }
    return Outcome::Done;
}

namespace {
// A row as `column=value` cells: NULL as NULL, a number as it is, a text in double quotes.
void printRows(const db::ResultSet& rs)
{
    for (qsizetype r = 0; r < rs.size(); ++r) {
        QStringList cells;
        for (int col = 0; col < rs.columns().size(); ++col) {
            const db::Value& v = rs.row(r).at(col);
            const QString value = !v ? QStringLiteral("NULL") : rs.isNumber(col) ? *v : quoted(*v);
            cells.append(rs.columns().at(col) + u'=' + value);
        }
        out(QStringLiteral("ROW ") + cells.join(QStringLiteral(" | ")));
    }
}

void printFailure(const db::DbException& e)
{
    const db::DbError& err = e.error();
    if (err.records.isEmpty())
        out(QStringLiteral("ERROR %1 %2").arg(err.number).arg(err.description));
    for (const db::DiagRecord& r : err.records)
        out(QStringLiteral("ERROR %1 %2 %3").arg(r.sqlState).arg(r.native).arg(r.message));
}
} // namespace

// Runs the rest of the line with /bin/sh, for what happens outside the program and its
// database (a server process killed); it prints nothing and must succeed within a minute.
Runner::Outcome Runner::shell(const Command& c)
{
    QProcess sh;
    sh.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), c.args.value(0)});
    const bool finished = sh.waitForFinished(60000);
    if (!finished)
        sh.kill();
    if (!finished || sh.exitStatus() != QProcess::NormalExit || sh.exitCode() != 0)
        return scriptError(c, QStringLiteral("shell command failed"));
    return Outcome::Done;
}

Runner::Outcome Runner::raw(const QString& sql)
{
    try {
        auto connection = db::OdbcConnection::open(m_dataSource, m_rawUser, m_rawPassword,
                                                   {QStringLiteral("raw")});
        printRows(connection->query(sql));
    } catch (const db::DbException& e) {
        printFailure(e);
    }
    return Outcome::Done;
}

Runner::Outcome Runner::table(const Command& c)
{
    try {
        auto connection = db::OdbcConnection::open(m_dataSource, m_rawUser, m_rawPassword,
                                                   {QStringLiteral("raw")});
        const QString name = c.args.at(0);
        const db::ResultSet head = connection->query(QStringLiteral("select * from ") + name);
        QStringList order;
        for (int i = 1; i <= head.columns().size(); ++i)
            order.append(QString::number(i));
        printRows(order.isEmpty()
                      ? head
                      : connection->query(QStringLiteral("select * from ") + name +
                                          QStringLiteral(" order by ") + order.join(u',')));
    } catch (const db::DbException& e) {
        printFailure(e);
    }
    return Outcome::Done;
}

void Runner::printLog()
{
    QFile log(ErrorLogFile());
    if (!log.open(QIODevice::ReadOnly))
        return;
    const QStringList lines = QString::fromUtf8(log.readAll()).split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == lines.size() - 1 && lines.at(i).isEmpty())
            break;
        out(lines.at(i));
    }
}

Runner::Outcome Runner::settings(const Command& c)
{
    const QString file = SettingsFile();
    if (c.args.at(0) == u"--none") {
        QFile::remove(file);
        return Outcome::Done;
    }
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return scriptError(c, QStringLiteral("cannot write %1").arg(nativePath(file)));
    f.write((c.args.at(0) + QStringLiteral("\r\n")).toUtf8());
    return Outcome::Done;
}

// ---- the program ---------------------------------------------------------------------------

int Runner::start(const Command& c)
{
    if (m_inProgram)
        return scriptError(c, QStringLiteral("the program is already running")) ==
                       Outcome::ScriptError
                   ? 2
                   : 0;
    int fds[2];
    if (::pipe(fds) != 0) {
        out(QStringLiteral("SCRIPT ERROR line %1: cannot start the program").arg(c.line));
        return 3;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        m_childPipe = fds[1];
        m_inProgram = true;
        runProgram(c);
    }
    ::close(fds[1]);
    QByteArray message;
    const int limit = timeoutSeconds() * 1000;
    pollfd p{fds[0], POLLIN, 0};
    bool timedOut = false;
    for (;;) {
        const int ready = ::poll(&p, 1, limit);
        if (ready == 0) {
            timedOut = true;
            break;
        }
        if (ready < 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        message.append(buffer, n);
    }
    ::close(fds[0]);
    if (timedOut)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (timedOut) {
        std::fprintf(stderr, "kaldor-scenario: the program did not finish within %d s\n",
                     limit / 1000);
        return 3;
    }
    const QList<QByteArray> words = message.trimmed().split(' ');
    if (words.value(0) == "END") {
        m_programEnded = true;
        m_next = words.value(2).toLongLong();
        return 0;
    }
    if (words.value(0) == "DONE") {
        m_next = m_script.commands.size();
        return 0;
    }
    if (words.value(0) == "ERROR")
        return 2;
    std::fprintf(stderr, "kaldor-scenario: the program crashed (status %d)\n", status);
    return 3;
}

// Benchmarks: with KALDOR_SCENARIO_TIMING naming a file, every command of the running program
// appends "TIME<tab>line<tab>milliseconds<tab>statements<tab>command" to it, and the program's
// end appends "RSS<tab>peak resident kilobytes".
void Runner::recordTiming(const Command& c, qint64 nanoseconds, qint64 statements) const
{
    QFile file(m_timingFile);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return;
    file.write(QStringLiteral("TIME\t%1\t%2\t%3\t%4\n")
                   .arg(c.line)
                   .arg(double(nanoseconds) / 1e6, 0, 'f', 3)
                   .arg(statements)
                   .arg(c.text)
                   .toUtf8());
}

void Runner::recordPeakMemory() const
{
    if (m_timingFile.isEmpty())
        return;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    QFile file(m_timingFile);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write(QStringLiteral("RSS\t%1\n").arg(usage.ru_maxrss).toUtf8());
}

void Runner::finishChild(const char* kind, int status)
{
    recordPeakMemory();
    std::fflush(stdout);
    const QByteArray message = QByteArray(kind) + ' ' + QByteArray::number(status) + ' ' +
                               QByteArray::number(m_next) + '\n';
    [[maybe_unused]] const ssize_t written =
        ::write(m_childPipe, message.constData(), size_t(message.size()));
    ::close(m_childPipe);
    std::fflush(nullptr);
    ::_exit(std::strcmp(kind, "ERROR") == 0 ? 2 : status);
}

void Runner::installSeams()
{
    setMessageHandler([this](const MessageRequest& r) {
        if (m_monkeyLeft > 0 && m_replies.isEmpty())
            runMonkeyAnswer(m_monkey->replyLine(QLatin1String(buttonsName(r.buttons))));
        MsgAnswer answer = r.defaultButton;
        bool answered = false;
        if (!m_replies.isEmpty()) {
            const std::optional<MsgAnswer> queued = parseAnswer(m_replies.takeFirst());
            if (queued && allowedAnswer(r.buttons, *queued)) {
                answer = *queued;
                answered = true;
            }
        }
        out(QStringLiteral("MSGBOX title=%1 icon=%2 buttons=%3 default=%4 text=%5 -> %6%7")
                .arg(quoted(r.title), QLatin1String(iconName(r.icon)),
                     QLatin1String(buttonsName(r.buttons)),
                     QString::fromLatin1(answerName(r.defaultButton)).toLower(), quoted(r.text),
                     QLatin1String(answerName(answer)),
                     answered ? QString() : QStringLiteral(" UNANSWERED")));
        return answer;
    });
    setEndHandler([this](int status) {
        out(QStringLiteral("END %1").arg(status));
        finishChild("END", status);
    });
    db::setStatementObserver([this](const QString& connection, const QString& sql) {
        if (connection == u"main" || connection == u"direct") {
            out(QStringLiteral("SQL %1: %2").arg(connection, sql));
            ++m_statements;
        }
    });
    setErrorLogObserver([](const QString& line) { out(QStringLiteral("ERRORLOG ") + line); });
    setPromptShownHandler([this](QWidget* dialog) {
        if (m_monkeyLeft > 0 && m_prompts.isEmpty())
            runMonkeyAnswer(m_monkey->answerLine());
        answerPrompt(dialog, true);
        // The program now waits for the user: the next commands run inside that wait.
        m_stepTimer->start();
    });
    setUserWaitHandler([this] { m_stepTimer->start(); });
}

void Runner::runProgram(const Command& c)
{
    static int argc = 1;
    static char name[] = "kaldor-admin";
    static char* argv[] = {name, nullptr};
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        // Warnings of the offscreen platform are no news; everything else goes to stderr.
        if (type == QtWarningMsg &&
            (text.contains(u"propagateSizeHints") || text.contains(u"XDG_RUNTIME_DIR") ||
             text.contains(u"does not support raise()")))
            return;
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        if (type == QtFatalMsg)
            std::abort();
    });
    QApplication app(argc, argv);
    useIconCachingStyle();
    QApplication::setQuitOnLastWindowClosed(false);
    installSeams();
    commandLine() = c.args.join(u' ');
    registerAllWindows();
    m_stepTimer = new QTimer(&app);
    m_stepTimer->setSingleShot(true);
    m_stepTimer->setInterval(0);
    QObject::connect(m_stepTimer, &QTimer::timeout, &app, [this] { step(); });
    auto* main = new MDIFormMain;
    main->show();
    main->MDIFormLoad();
    m_stepTimer->start();
    QApplication::exec();
    finishChild("DONE", 0);
}

QWidget* Runner::openPrompt() const
{
    QWidget* dialog = findWindow(QStringLiteral("FormCustomDialog"));
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

void Runner::answerPrompt(QWidget* dialog, bool unanswered)
{
    if (m_prompts.isEmpty() && !unanswered)
        return;
    const auto control = [dialog](const char16_t* name) {
        return findControl(dialog, QString::fromUtf16(name));
    };
    QObject* label = control(u"LabelCustomDialog");
    const QString head = QStringLiteral("DIALOG caption=%1 question=%2 -> ")
                             .arg(quoted(dialog->windowTitle()),
                                  quoted(label ? label->property("text").toString() : QString()));
    QObject* text = control(u"TextCustomDialog");
    QObject* combo = control(u"ComboCustomDialog");
    QObject* entry = text && !static_cast<QWidget*>(text)->isHidden() ? text : combo;
    if (m_prompts.isEmpty()) {
        // A prompt that its default answer brings back (a rename to the name it has) would ask
        // for ever: the script has to answer it.
        if (++m_unansweredPrompts > MaxUnansweredPrompts) {
            out(QStringLiteral("SCRIPT ERROR line %1: a prompt dialog keeps asking and no answer "
                               "is queued")
                    .arg(m_currentLine));
            finishChild("ERROR", 2);
        }
        const QString value =
            entry ? entry->property(entry == text ? "text" : "currentText").toString() : QString();
        out(head + quoted(value) + QStringLiteral(" UNANSWERED"));
        if (QObject* ok = control(u"CommandCustomDialogOK"))
            clickControl(ok);
        return;
    }
    const Prompt p = m_prompts.takeFirst();
    if (p.leaveOpen)
        return;
    if (p.cancel) {
        out(head + QStringLiteral("CANCEL"));
        m_replies.prepend(QStringLiteral("Yes"));
        if (QObject* cancel = control(u"CommandCustomDialogCancel"))
            clickControl(cancel);
        return;
    }
    QString given = p.text;
    if (entry) {
        if (!typeText(entry, p.text).isEmpty())
            chooseItem(entry, p.text); // a pick list that takes no typing: the entry of that text
        // What the box holds after the typing (a maximum length cuts the rest).
        given = entry->property(entry == text ? "text" : "currentText").toString();
    }
    out(head + quoted(given));
    if (QObject* ok = control(u"CommandCustomDialogOK"))
        clickControl(ok);
}

void Runner::step()
{
    if (m_monkeyLeft > 0) {
        --m_monkeyLeft;
        runCommand(monkeyCommand(m_monkey->nextLine()));
        return;
    }
    if (m_next >= m_script.commands.size())
        finishChild("DONE", 0);
    const Command& c = m_script.commands.at(m_next++);
    if (c.name == u"start") {
        echo(c);
        scriptError(c, QStringLiteral("the program is already running"));
        finishChild("ERROR", 2);
    }
    runCommand(c);
}

void Runner::runCommand(const Command& c)
{
    echo(c);
    m_currentLine = c.line;
    m_unansweredPrompts = 0;
    const qint64 statementsBefore = m_statements;
    QElapsedTimer clock;
    clock.start();
    if (execute(c) == Outcome::ScriptError)
        finishChild("ERROR", 2);
    if (!m_timingFile.isEmpty()) {
        // What the user waits for: the command and the drawing it causes.
        QApplication::processEvents();
        recordTiming(c, clock.nsecsElapsed(), m_statements - statementsBefore);
    }
    // An answer queued while a prompt dialog waits goes to that dialog.
    if (c.name == u"answer")
        if (QWidget* dialog = openPrompt())
            answerPrompt(dialog, false);
    m_stepTimer->start();
}

Runner::Outcome Runner::monkey(const Command& c)
{
    bool countOk = false;
    bool seedOk = false;
    const qint64 count = c.args.at(0).toLongLong(&countOk);
    const quint64 seed = c.args.at(1).toULongLong(&seedOk);
    if (!countOk || !seedOk || count < 0)
        return scriptError(c, QStringLiteral("monkey takes a count and a seed"));
    m_monkey.emplace(seed, QGuiApplication::platformName() == u"xcb");
    m_monkeyLeft = count;
    m_monkeyLine = c.line;
    return Outcome::Done;
}

// A reply or answer chosen for a box or dialog as it shows: echoed, then queued for it.
void Runner::runMonkeyAnswer(const QString& line)
{
    const Command c = monkeyCommand(line);
    echo(c);
    execute(c);
}

Command Runner::monkeyCommand(const QString& line)
{
    Command c = parseScript(line).commands.value(0);
    c.line = m_monkeyLine;
    return c;
}

} // namespace kaldor::scenario
