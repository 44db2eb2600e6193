#include "ModuleGlobals.h"

#include "ResourceStrings.h"
#include "Seams.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QScreen>
#include <QTime>
#include <QWidget>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace kaldor {

namespace {
const QString CrLf = QStringLiteral("\r\n");

MainWindowHooks& hooks()
{
    static MainWindowHooks h;
    return h;
}

void restorePointer()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

// Opens the file only when it is, or for writing becomes, a regular file: a named pipe or a
// device in its place would block the program or take what is written. `mode` is ReadOnly,
// WriteOnly with Truncate, or WriteOnly with Append. On failure `error` says why.
bool openRegularFile(QFile& file, QIODevice::OpenMode mode, QString* error)
{
    const bool writing = mode.testFlag(QIODevice::WriteOnly);
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (writing ? O_WRONLY | O_CREAT : O_RDONLY);
    if (mode.testFlag(QIODevice::Append))
        flags |= O_APPEND;
    const QByteArray path = QFile::encodeName(file.fileName());
    const int fd = ::open(path.constData(), flags, 0666);
    struct stat info = {};
    if (fd < 0) {
        // A pipe with no reader refuses a writer at once; say what is there, not the errno.
        const int reason = errno;
        *error = ::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode)
                     ? QStringLiteral("Not a regular file")
                     : QString::fromLocal8Bit(std::strerror(reason));
        return false;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("Not a regular file");
        return false;
    }
    const bool ready = ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 &&
                       (!mode.testFlag(QIODevice::Truncate) || ::ftruncate(fd, 0) == 0);
    if (!ready || !file.open(fd, mode & ~QIODevice::Truncate, QFileDevice::AutoCloseHandle)) {
        *error = ready ? file.errorString() : QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    return true;
}
} // namespace

SystemConfig SystemConfig::defaults()
{
    SystemConfig c;
    c.RequireLogin = QStringLiteral("N");
    c.Desktop = QStringLiteral("default");
    c.Title = QStringLiteral("title");
    c.DataSource = QStringLiteral("Calibration Data");
    c.SharedPath = QStringLiteral("VIZIDOV\\");
    c.SharedDrive = QStringLiteral("C:\\");
    c.AutoLayout = QStringLiteral("OFF");
    c.Diags = QStringLiteral("OFF");
    c.Browser = QString();
    return c;
}

Session& session()
{
    static Session s;
    return s;
}

SystemConfig& config()
{
    static SystemConfig c;
    return c;
}

void resetGlobals()
{
    session() = Session();
    config() = SystemConfig();
}

void setMainWindowHooks(MainWindowHooks h)
{
    hooks() = std::move(h);
}

void setAfterLoginTitle(const QString& dataSource)
{
    if (hooks().setAfterLoginTitle)
        hooks().setAfterLoginTitle(dataSource);
}

QString& commandLine()
{
    static QString line;
    return line;
}

void ChooseSql(QString& sql, int dialect, const QString& anywhere, const QString& sqlServer)
{
    if (dialect == SqlAnywhere)
        sql = anywhere;
    if (dialect == SqlServer)
        sql = sqlServer;
}

void ChooseSql(QString& sql, const QString& anywhere, const QString& sqlServer)
{
    ChooseSql(sql, session().DatabaseType, anywhere, sqlServer);
}

Hourglass::Hourglass()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

Hourglass::~Hourglass()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) && QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

// ---- settings folder and file -------------------------------------------------------------

bool FolderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

QString GetSettingsFolder()
{
    QString base;
    const QString allUsers = qEnvironmentVariable("AllUsersProfile");
    if (!allUsers.isEmpty()) {
        base = allUsers + QStringLiteral("/Application Data/Tarrowby");
    } else {
        const QString programData = qEnvironmentVariable("ProgramData");
        if (programData.isEmpty())
            return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                : QDir::currentPath();
        base = programData + QStringLiteral("/Tarrowby");
    }
    if (!FolderExists(base))
        QDir().mkpath(base);
    const QString folder = base + QStringLiteral("/Velmora");
    if (!FolderExists(folder))
        QDir().mkdir(folder);
    return folder;
}

QString SettingsFile()
{
    return GetSettingsFolder() + QStringLiteral("/datasource.ini");
}

QString ErrorLogFile()
{
    return GetSettingsFolder() + QStringLiteral("/errors.log");
}

QString ReadDataSource()
{
    restorePointer();
    QFile file(SettingsFile());
    if (!file.exists())
        return {};
    QString error;
    if (!openRegularFile(file, QIODevice::ReadOnly, &error))
        throw db::DbException(db::DbError{70, QStringLiteral("Permission denied"), {}});
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

void WriteDataSource(const QString& name)
{
    restorePointer();
    QFile file(SettingsFile());
    QString error;
    if (!openRegularFile(file, QIODevice::WriteOnly | QIODevice::Truncate, &error) ||
        file.write((name + CrLf).toUtf8()) < 0 || !file.flush()) {
        if (error.isEmpty())
            error = file.errorString();
        messageBox(resString(901).arg(QDir::toNativeSeparators(file.fileName()), error),
                   MsgButtons::Ok, MsgIcon::Exclamation);
    }
}

// ---- system configuration record ----------------------------------------------------------

void GetConfig()
{
    QString sql;
    Trapped(QStringLiteral("ModuleGlobals,GetConfig"), sql, [&] {
        Hourglass hourglass;
        sql = QStringLiteral("select * from mt.qrb_zv_system_configuration");
        const db::ResultSet rs = session().MainDatabase->query(sql);
        SystemConfig& c = config();
        if (rs.isEmpty()) {
            const QString sharedDir = c.SharedDir;
            c = SystemConfig::defaults();
            c.SharedDir = sharedDir;
            SaveConfig();
            return;
        }
        const SystemConfig d = SystemConfig::defaults();
        c.RequireLogin = rs.text(0, u"require_login", d.RequireLogin);
        c.Desktop = rs.text(0, u"desktop", d.Desktop);
        c.Title = rs.text(0, u"title", d.Title);
        c.DataSource = rs.text(0, u"ODBC", d.DataSource);
        const db::Value path = rs.value(0, u"SPath");
        c.SharedPath = path.value_or(d.SharedPath);
        if (path)
            c.SharedDir = *path + QLatin1Char('\\');
        c.SharedDrive = rs.text(0, u"SDrive", d.SharedDrive);
        c.AutoLayout = rs.text(0, u"autoLayout", d.AutoLayout);
        c.Diags = rs.text(0, u"Diags", d.Diags);
        c.Browser = rs.text(0, u"Browser", d.Browser);
    });
}

namespace {
QString insertConfigText()
{
    const SystemConfig& c = config();
    const auto q = [](const QString& v) -> QString {
        return QLatin1Char('\'') + v + QLatin1Char('\'');
    };
    return QStringLiteral("insert into mt.qrb_zv_system_configuration(require_login,desktop,title,"
                          "ODBC,SPath,SDrive,autoLayout,Diags,Browser) values(") +
           q(c.RequireLogin) + QLatin1Char(',') + q(c.Desktop) + QLatin1Char(',') + q(c.Title) +
           QLatin1Char(',') + q(c.DataSource) + QLatin1Char(',') + q(c.SharedPath) +
           QLatin1Char(',') + q(c.SharedDrive) + QLatin1Char(',') + q(c.AutoLayout) +
           QLatin1Char(',') + q(c.Diags) + QLatin1Char(',') + q(c.Browser) + QLatin1Char(')');
}
} // namespace

void SaveConfig()
{
    WriteDataSource(config().DataSource);
    if (session().LoggedIn == 0) {
        messageBox(QStringLiteral("  Only the Data Source is Saved before logging into the "
                                  "Database.  Save the Directory Path after logging in the "
                                  "Database. "));
        setAfterLoginTitle(config().DataSource);
        return;
    }
    QString sql;
    Trapped(QStringLiteral("ModuleGlobals,SaveConfig"), sql, [&] {
        Hourglass hourglass;
        ChooseSql(sql, QStringLiteral("delete from mt.qrb_zv_system_configuration;commit"),
                  QStringLiteral("Begin Transaction; delete from mt.qrb_zv_system_configuration; "
                                 "commit"));
        session().MainDatabase->query(sql);
        ChooseSql(sql, insertConfigText() + QStringLiteral(";commit"),
                  insertConfigText() + QStringLiteral(";Begin Transaction; commit"));
        session().MainDatabase->query(sql);
    });
    WriteDataSource(config().DataSource);
}

void Startup()
{
    startJournal();
    QString sql;
    Trapped(QStringLiteral("ModuleGlobals,Startup"), sql, [&] {
        if (hooks().enableMenus)
            hooks().enableMenus();
        LoadVersion();
        const QString& path = config().SharedPath;
        if (path.isEmpty())
            return;
        config().SharedDir = path.endsWith(QLatin1Char('\\')) ? path : path + QLatin1Char('\\');
    });
}

QString Trim(const QString& text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString OneLine(const QString& text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return QString(text).replace(lineBreaks, QStringLiteral(" ")).trimmed();
}

double Val(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^[ \\t]*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eEdD][+-]?\\d+)?)"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return 0.0;
    QString digits = m.captured(1);
    digits.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    bool ok = false;
    const double v = digits.toDouble(&ok);
    if (!std::isfinite(v))
        throw db::DbException(db::DbError::overflow()); // a number past the double range
    return ok ? v : 0.0;
}

float CSng(double value)
{
    if (!(std::fabs(value) <= double(std::numeric_limits<float>::max())))
        throw db::DbException(db::DbError::overflow());
    return float(value);
}

void LoadVersion()
{
    const QString sql = QStringLiteral("select version from mt.dbconfig");
    Trapped(QStringLiteral("ModuleGlobals,LoadVersion"), sql, [&] {
        Hourglass hourglass;
        const db::ResultSet rs = session().MainDatabase->query(sql);
        const float version = CSng(Val(rs.required(0, u"version")));
        session().VizVersion = version > 5.1f ? 6 : 5;
    });
}

// ---- error routine ------------------------------------------------------------------------

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

namespace {
std::function<void(const QString&)>& errorLogObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

// The error routine's lines; a failure that the program survives adds a line for each of the
// driver's records.
void appendErrorLog(int number, const QString& description, const QString& source,
                    const QString& sql, const QList<db::DiagRecord>& records = {})
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
    if (errorLogObserver())
        for (const QString& line : lines)
            errorLogObserver()(line);
}
} // namespace

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

void ErrorHandler(int number, const QString& description, const QString& source, const QString& sql,
                  const QList<db::DiagRecord>& records)
{
    restorePointer();
    const qint16 shortNumber = qint16(number);
    appendErrorLog(shortNumber, description, source, sql);
    messageBox(ErrorMessageText(shortNumber, description, source, sql, records), MsgButtons::Ok,
               MsgIcon::Critical, resString(101) + QLatin1Char(' ') + resString(102));
    endProgram(1);
}

void ErrorHandler(const db::DbError& error, const QString& source, const QString& sql)
{
    ErrorHandler(error.number, error.description, source, sql, error.records);
}

void LogFailure(const db::DbError& error, const QString& source, const QString& sql)
{
    appendErrorLog(qint16(error.number), error.description, source, sql, error.records);
}

// ---- helpers ------------------------------------------------------------------------------

QString& FixQuotes(QString& text)
{
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    QString out;
    out.reserve(text.size() + text.size() / 2);
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) == QLatin1Char('\\') && i + 1 < text.size() &&
            text.at(i + 1) == QLatin1Char('\\')) {
            out += QStringLiteral("\\\\\\");
            i += 2;
        } else {
            out += text.at(i++);
        }
    }
    text = out;
    return text;
}

QString FixQuotes(const QString& text)
{
    QString copy = text;
    return FixQuotes(copy);
}

namespace {
std::optional<QTime> readTime(const QString& input)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    static const char* const timeFormats[] = {"H:m",      "H:m:s", "h:m AP", "h:m:s AP",
                                              "h:mAP",    "h AP",  "hAP",    "h:m ap",
                                              "h:m:s ap", "h ap",  "H:m:s.z"};
    for (const char* f : timeFormats) {
        const QTime t = QTime::fromString(text, QString::fromLatin1(f));
        if (t.isValid())
            return t;
    }
    static const char* const dateTimeFormats[] = {
        "yyyy-M-d",     "yyyy-M-d H:m",    "yyyy-M-d H:m:s", "yyyy-M-dTH:m:s", "M/d/yyyy",
        "M/d/yyyy H:m", "M/d/yyyy h:m AP", "M/d/yyyy H:m:s", "d.M.yyyy",       "d.M.yyyy H:m"};
    for (const char* f : dateTimeFormats) {
        const QDateTime dt = QDateTime::fromString(text, QString::fromLatin1(f));
        if (dt.isValid())
            return dt.time();
    }
    return std::nullopt;
}
} // namespace

QString ParseTime(const QString& time, const QString& part)
{
    const std::optional<QTime> t = readTime(time);
    if (!t)
        return QStringLiteral("INVALID");
    const int value = part == QLatin1String("H") ? t->hour() : t->minute();
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString GetfformByFieldNumber(const QString& fieldNumber)
{
    const QStringView head = QStringView(fieldNumber).left(2);
    if (head == u"42")
        return QStringLiteral("2");
    if (head == u"23" || head == u"CC")
        return QStringLiteral("3");
    if (head == u"28")
        return QStringLiteral("4");
    if (head == u"32")
        return QStringLiteral("5");
    if (head == u"46")
        return QStringLiteral("6");
    return {};
}

QString Calczvrtag()
{
    const auto reseedFromClock = [] {
        reseedRandom(currentDateTime().time().msecsSinceStartOfDay() / 1000.0);
    };
    QString tag;
    for (int i = 0; i < 6; ++i) {
        reseedFromClock();
        const float r = nextRandom();
        tag += QChar(char16_t(int(double(r) * 25 + 97)));
    }
    reseedFromClock();
    const float r = nextRandom();
    const QDate today = currentDateTime().date();
    tag += QLatin1Char(':') + today.toString(QStringLiteral("yy")) +
           QString::number(today.dayOfYear()) + QString::number(int(double(r) * 9999 + 1000));
    return tag.left(15);
}

void CenterForm(QWidget* window)
{
    if (!window)
        return;
    QWidget* frame = window;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame = sub;
    QSize area;
    if (auto* mdi = frame->parentWidget()
                        ? qobject_cast<QMdiArea*>(frame->parentWidget()->parentWidget())
                        : nullptr)
        area = mdi->viewport()->size();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableSize();
    frame->move(std::max(0, (area.width() - frame->width()) / 2),
                std::max(0, (area.height() - frame->height()) / 2));
}

} // namespace kaldor
