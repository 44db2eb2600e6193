#include "ConfigStatements.h"

namespace kaldor {

QStringList ConfigSaveSql(DatabaseKind dialect, const SystemConfig& c)
{
    const auto q = [](const QString& v) -> QString {
        return QLatin1Char('\'') + v + QLatin1Char('\'');
    };
    const QString insert =
        QStringLiteral("insert into mt.qrb_zv_system_configuration(require_login,desktop,title,"
                       "ODBC,SPath,SDrive,autoLayout,Diags,Browser) values(") +
        q(c.RequireLogin) + QLatin1Char(',') + q(c.Desktop) + QLatin1Char(',') + q(c.Title) +
        QLatin1Char(',') + q(c.DataSource) + QLatin1Char(',') + q(c.SharedPath) + QLatin1Char(',') +
        q(c.SharedDrive) + QLatin1Char(',') + q(c.AutoLayout) + QLatin1Char(',') + q(c.Diags) +
        QLatin1Char(',') + q(c.Browser) + QLatin1Char(')');
    QString remove;
    ChooseSql(remove, dialect, QStringLiteral("delete from mt.qrb_zv_system_configuration;commit"),
              QStringLiteral("Begin Transaction; delete from mt.qrb_zv_system_configuration; "
                             "commit"));
    QString record;
    ChooseSql(record, dialect, insert + QStringLiteral(";commit"),
              insert + QStringLiteral(";Begin Transaction; commit"));
    return {remove, record};
}

} // namespace kaldor
