#include "UserStatements.h"

#include "TextRules.h"

namespace kaldor {

QString UserPurgeSql(DatabaseKind dialect)
{
    return ChooseSql(
        dialect,
        QStringLiteral("delete from mt.qrb_zv_userlist where mtuser not in (select "
                       "mtuser from mt.userlist);commit"),
        QStringLiteral("Begin Transaction; delete from mt.qrb_zv_userlist where mtuser "
                       "not in (select mtuser from mt.userlist); commit"));
}

QString UserExistsSql(DatabaseKind dialect, const QString& user)
{
    const QString select =
        QStringLiteral("select mtuser from mt.qrb_zv_userlist where mtuser = '") + FixQuotes(user);
    return ChooseSql(dialect, select + QStringLiteral("';commit"), select + QStringLiteral("';"));
}

QString UserRowSql(DatabaseKind dialect, bool exists, const UserSave& save)
{
    const QString user = FixQuotes(save.user);
    const QString group = FixQuotes(save.group);
    const QString use = save.mayUse ? QStringLiteral("N") : QStringLiteral("Y");
    const QString statement =
        exists ? QStringLiteral("update mt.qrb_zv_userlist set group_id = '") + group +
                     QStringLiteral("', zv_inhibit_use = '") + use +
                     QStringLiteral("' where mtuser = '") + user + QStringLiteral("';")
               : QStringLiteral("insert into mt.qrb_zv_userlist (mtuser,group_id,zv_inhibit_use) "
                                "values ('") +
                     user + QStringLiteral("','") + group + QStringLiteral("','") + use +
                     QStringLiteral("');");
    QString sql = statement;
    ChooseSql(sql, dialect, statement + QStringLiteral("commit"),
              statement + QStringLiteral("Begin transaction; commit"));
    return sql;
}

} // namespace kaldor
