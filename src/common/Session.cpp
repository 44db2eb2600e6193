#include "Session.h"

#include "Odbc.h"

namespace kaldor {

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

QString& commandLine()
{
    static QString line;
    return line;
}

DatabaseKind dialectOfDriver(const QString& description)
{
    if (description.contains(QLatin1String("Anywhere")))
        return DatabaseKind::SqlAnywhere;
    if (description.contains(QLatin1String("SQL Server")))
        return DatabaseKind::SqlServer;
    return DatabaseKind::Undetermined;
}

// The first data source of the name decides, as at the program's login (a user's data source
// comes before a system one of the same name).
DatabaseKind dialectOfDataSource(const QString& dataSource)
{
    for (const db::DataSourceEntry& e : db::listDataSources({}).entries)
        if (e.name == dataSource)
            return dialectOfDriver(e.description);
    return DatabaseKind::Undetermined;
}

void ChooseSql(QString& sql, DatabaseKind dialect, const QString& anywhere,
               const QString& sqlServer)
{
    if (dialect == DatabaseKind::SqlAnywhere)
        sql = anywhere;
    if (dialect == DatabaseKind::SqlServer)
        sql = sqlServer;
}

QString ChooseSql(DatabaseKind dialect, const QString& anywhere, const QString& sqlServer)
{
    QString sql;
    ChooseSql(sql, dialect, anywhere, sqlServer);
    return sql;
}

void ChooseSql(QString& sql, const QString& anywhere, const QString& sqlServer)
{
    ChooseSql(sql, session().DatabaseType, anywhere, sqlServer);
}

} // namespace kaldor
