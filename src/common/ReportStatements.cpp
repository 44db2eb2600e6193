#include "ReportStatements.h"

#include "TextRules.h"

namespace kaldor {

QString ReportTagSql(const QString& report)
{
    return QStringLiteral("(select zvrtag from mt.qrb_zv_reports where report_name = '") +
           FixQuotes(report) + QStringLiteral("')");
}

QStringList ReportCleanNamesSql(DatabaseKind dialect)
{
    return {
        ChooseSql(dialect,
                  QStringLiteral("update mt.qrb_zv_report_prompts set prompt = (select replace "
                                 "(prompt, '''', ''));commit"),
                  QStringLiteral("Begin Transaction; update mt.qrb_zv_report_prompts set prompt "
                                 "= (select replace (prompt, '''', '')); Commit")),
        ChooseSql(dialect,
                  QStringLiteral("update mt.qrb_zv_reports set report_name = (select replace "
                                 "(report_name, '''', ''));commit"),
                  QStringLiteral("Begin Transaction; update mt.qrb_zv_reports set report_name = "
                                 "(select replace (report_name, '''', '')); commit"))};
}

QString ReportExistsSql(DatabaseKind dialect, const QString& report)
{
    const QString text =
        QStringLiteral("select report_name from mt.qrb_zv_reports where report_name = '") +
        FixQuotes(report);
    return ChooseSql(dialect, text + QStringLiteral("';commit"), text + QStringLiteral("';"));
}

QString ReportInsertSql(DatabaseKind dialect, const QString& report, bool crystal,
                        const QString& tag)
{
    const QString values = QStringLiteral("('") + FixQuotes(report) + QStringLiteral("','") +
                           (crystal ? u'C' : u'S') + QStringLiteral("','") + tag +
                           QStringLiteral("','N');");
    const QString insert = QStringLiteral("insert into mt.qrb_zv_reports "
                                          "(report_name,report_type,zvrtag,sql_link) values") +
                           (crystal ? QStringLiteral(" ") : QString()) + values;
    return ChooseSql(dialect, insert + QStringLiteral("commit"),
                     insert + QStringLiteral("Begin Transaction; commit"));
}

QString ReportRenameSql(DatabaseKind dialect, const QString& old, const QString& report)
{
    const QString update = QStringLiteral("update mt.qrb_zv_reports set report_name = '") +
                           FixQuotes(report) + QStringLiteral("' where report_name = '") +
                           FixQuotes(old) + QStringLiteral("';commit");
    return ChooseSql(dialect, update, QStringLiteral("Begin Transaction; ") + update);
}

QStringList ReportRemoveSql(DatabaseKind dialect, const QString& report)
{
    const QString groups = QStringLiteral("delete from mt.qrb_zv_group_reports where zvrtag = ") +
                           ReportTagSql(report) + QStringLiteral(";");
    const QString row = QStringLiteral("delete from mt.qrb_zv_reports where report_name = '") +
                        FixQuotes(report) + QStringLiteral("';");
    QStringList statements;
    statements.append(ChooseSql(dialect, groups + QStringLiteral("commit"),
                                groups + QStringLiteral("Begin Transaction; commit")));
    statements.append(ChooseSql(dialect, row + QStringLiteral("commit"),
                                row + QStringLiteral("Begin Transaction; commit")));
    return statements;
}

QString ReportSaveSql(DatabaseKind dialect, const ReportSave& save)
{
    const QString where = QStringLiteral("where report_name = '") + FixQuotes(save.report);
    if (save.crystal) {
        const QString update = QStringLiteral("update mt.qrb_zv_reports set report_filename = '") +
                               FixQuotes(save.fileName) + QStringLiteral("',report_out = '") +
                               save.output + QStringLiteral("' ") + where;
        return ChooseSql(dialect, update + QStringLiteral("';commit"),
                         update + QStringLiteral("';Begin Transaction; Commit"));
    }
    const QString update = QStringLiteral("update mt.qrb_zv_reports set report_sql = '") +
                           FixQuotes(save.sqlText) + QStringLiteral("', sql_link = '") +
                           (save.links ? u'Y' : u'N') + QStringLiteral("' ") + where +
                           QStringLiteral("';commit");
    return ChooseSql(dialect, update, QStringLiteral("Begin Transaction;") + update);
}

QStringList ReportPromptsSql(DatabaseKind dialect, const QString& report,
                             const QList<ReportPrompt>& prompts)
{
    const QString tag = ReportTagSql(report);
    const QString remove = QStringLiteral("delete from mt.qrb_zv_report_prompts where zvrtag = ") +
                           tag + QStringLiteral(";");
    QStringList statements{ChooseSql(dialect, remove + QStringLiteral("commit"),
                                     remove + QStringLiteral("Begin Transaction; commit"))};
    for (qsizetype i = 0; i < prompts.size(); ++i) {
        const ReportPrompt& p = prompts.at(i);
        const QString insert =
            QStringLiteral("insert into mt.qrb_zv_report_prompts(zvrtag,prompt_string,prompt,"
                           "default_value,prompt_type,db_validation,validation_table,"
                           "validation_column,custom_validation,force_validation,sequence)"
                           "values (") +
            tag + QStringLiteral(",'") + FixQuotes(p.replace) + QStringLiteral("','") +
            FixQuotes(p.prompt) + QStringLiteral("','") + FixQuotes(p.defaultValue) +
            QStringLiteral("','") + upperCase(p.type.left(1)) + QStringLiteral("','") + p.db +
            QStringLiteral("','") + p.table + QStringLiteral("','") + p.column +
            QStringLiteral("','") + p.custom + QStringLiteral("','") + p.force +
            QStringLiteral("','") + QString::number(i + 1) + QStringLiteral("');");
        statements.append(ChooseSql(dialect, insert + QStringLiteral("commit"),
                                    insert + QStringLiteral("Begin Transaction; commit")));
    }
    return statements;
}

QStringList ReportValuesSql(DatabaseKind dialect, const QString& report, const QString& replace,
                            const QStringList& values)
{
    const QString tag = ReportTagSql(report);
    const QString remove =
        QStringLiteral("delete from mt.qrb_zv_prompt_validation where zvrtag = ") + tag +
        QStringLiteral(" and prompt_string='") + replace + QStringLiteral("';commit");
    QStringList statements;
    statements.append(ChooseSql(dialect, remove, QStringLiteral("Begin Transaction; ") + remove));
    for (const QString& value : values) {
        const QString insert =
            QStringLiteral("insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
                           "Values (") +
            tag + QStringLiteral(",'") + replace + QStringLiteral("','") + value +
            QStringLiteral("');");
        statements.append(
            ChooseSql(dialect, insert + QStringLiteral("commit"),
                      QStringLiteral("Begin Transaction; ") + insert + QStringLiteral(" commit")));
    }
    return statements;
}

} // namespace kaldor
