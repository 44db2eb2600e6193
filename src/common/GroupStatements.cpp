#include "GroupStatements.h"

#include "TextRules.h"

namespace kaldor {

QString GroupExistsSql(DatabaseKind dialect, const QString& group)
{
    const QString exists =
        QStringLiteral("select group_id from mt.qrb_zv_groupconfig where group_id = '") +
        FixQuotes(group);
    return ChooseSql(dialect, exists + QStringLiteral("';commit"), exists + QStringLiteral("';"));
}

QStringList GroupAddSql(DatabaseKind dialect, const QString& group)
{
    const QString insert =
        QStringLiteral("insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use) values ('") +
        FixQuotes(group) + QStringLiteral("','N');");
    return {ChooseSql(dialect, insert + QStringLiteral("commit"),
                      insert + QStringLiteral("Begin Transaction; commit")),
            ChooseSql(dialect, QStringLiteral("call mt.qrb_zv_group_config_maint;commit"),
                      QStringLiteral("{call [mt].qrb_zv_group_config_maint;}"))};
}

QStringList GroupRemoveSql(DatabaseKind dialect, const QString& group)
{
    const QString where = QStringLiteral(" where group_id = '") + FixQuotes(group);
    QStringList statements;
    for (const QString& table : {QStringLiteral("mt.qrb_zv_groupconfig"),
                                 QStringLiteral("mt.qrb_zv_fields_group_inhibit")}) {
        const QString remove = QStringLiteral("delete from ") + table + where;
        statements.append(ChooseSql(dialect, remove + QStringLiteral("';commit"),
                                    QStringLiteral("Begin Transaction; ") + remove +
                                        QStringLiteral("'; commit")));
    }
    const QString move = QStringLiteral("update mt.qrb_zv_userlist set group_id = 'MT'") + where;
    statements.append(ChooseSql(dialect, move + QStringLiteral("';commit"),
                                move + QStringLiteral("';Begin transaction; commit")));
    return statements;
}

QStringList GroupSaveSql(DatabaseKind dialect, const GroupSave& save)
{
    const QString group = FixQuotes(save.group);
    QStringList clauses;
    for (const GroupSetting& setting : save.settings)
        clauses.append(setting.column + QStringLiteral(" = '") + setting.value + QLatin1Char('\''));
    const QString update = QStringLiteral("update mt.qrb_zv_groupconfig set ") +
                           clauses.join(QLatin1Char(',')) + QStringLiteral(" where group_id = '") +
                           group;
    const QString remove =
        QStringLiteral("delete from mt.qrb_zv_group_reports where group_id = '") + group;
    QStringList statements{ChooseSql(dialect, update + QStringLiteral("';commit"),
                                     update + QStringLiteral("';Begin Transaction;commit")),
                           ChooseSql(dialect, remove + QStringLiteral("';commit"),
                                     remove + QStringLiteral("';Begin transaction; commit"))};
    const QString insert =
        QStringLiteral("insert into mt.qrb_zv_group_reports (group_id,zvrtag) select '") + group +
        QStringLiteral("',zvrtag from mt.qrb_zv_reports where report_name = '");
    for (const QString& report : save.executableReports)
        statements.append(
            ChooseSql(dialect, insert + report + QStringLiteral("';commit"),
                      insert + report + QStringLiteral("';Begin Transaction; commit")));
    return statements;
}

} // namespace kaldor
