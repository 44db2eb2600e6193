#include "ModuleGlobals.h"

#include "ConfigStatements.h"
#include "ResourceStrings.h"
#include "Seams.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

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

} // namespace

void setMainWindowHooks(MainWindowHooks h)
{
    hooks() = std::move(h);
}

void setAfterLoginTitle(const QString& dataSource)
{
    if (hooks().setAfterLoginTitle)
        hooks().setAfterLoginTitle(dataSource);
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

// ---- settings file --------------------------------------------------------------------------

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

void SaveConfig()
{
    WriteDataSource(config().DataSource);
    if (!session().LoggedIn) {
        messageBox(QStringLiteral("  Only the Data Source is Saved before logging into the "
                                  "Database.  Save the Directory Path after logging in the "
                                  "Database. "));
        setAfterLoginTitle(config().DataSource);
        return;
    }
    QString sql;
    Trapped(QStringLiteral("ModuleGlobals,SaveConfig"), sql, [&] {
        Hourglass hourglass;
        for (const QString& statement : ConfigSaveSql(session().DatabaseType, config())) {
            sql = statement;
            session().MainDatabase->query(sql);
        }
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

// ---- windows ------------------------------------------------------------------------------

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

void executeAll(QString& sql, const QStringList& statements)
{
    for (const QString& statement : statements) {
        sql = statement;
        session().MainDatabase->execute(sql);
    }
}

} // namespace kaldor
