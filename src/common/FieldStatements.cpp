#include "FieldStatements.h"

#include "TextRules.h"

namespace kaldor {

namespace {

const QString Inhibit = QStringLiteral("mt.qrb_zv_fields_group_inhibit");

// The field's form code as a whole number, which the general offsets and the browser's delete
// name; a field of no known form has none. Field 2340 keeps its offsets under form 3.
std::optional<QString> formNumber(const FieldSave& save)
{
    QString code = QStringLiteral("0");
    if (!save.search) {
        bool whole = false;
        code = QString::number(save.formCode.toInt(&whole));
        if (save.field == u"2340")
            code = QStringLiteral("3");
        else if (!whole)
            return std::nullopt;
    }
    return code;
}

QStringList groupStatements(DatabaseKind dialect, const FieldSave& save)
{
    QStringList statements{ChooseSql(
        dialect,
        QStringLiteral("delete from ") + Inhibit + QStringLiteral(" where fldnum = '") +
            save.field + QStringLiteral("';commit"),
        QStringLiteral("Begin Transaction; delete from ") + Inhibit +
            QStringLiteral(" where fldnum = '") + save.field + QStringLiteral("'; commit"))};
    for (const QString& group : save.hiddenGroups) {
        const QString insert = QStringLiteral("insert into ") + Inhibit +
                               QStringLiteral("(fldnum,group_id) values ('") + save.field +
                               QStringLiteral("','") + FixQuotes(group);
        statements.append(ChooseSql(dialect, insert + QStringLiteral("');commit"),
                                    QStringLiteral("Begin Transaction; ") + insert +
                                        QStringLiteral("'); commit")));
    }
    return statements;
}

QStringList offsetStatements(DatabaseKind dialect, const FieldSave& save, const QString& code)
{
    const QString update =
        QStringLiteral("update mt.qrb_zv_general_offsets set general_field_title_x = '") +
        save.general[0] + QStringLiteral("',general_field_data_x = '") + save.general[1] +
        QStringLiteral("',general_field_data_y = '") + save.general[2] +
        QStringLiteral("' where fldnum = '") + save.field + QStringLiteral("' and fform = '") +
        code + QLatin1Char('\'');
    QStringList statements{ChooseSql(dialect, update + QStringLiteral(";commit"),
                                     update + QStringLiteral(";Begin TransAction; commit"))};
    if (!save.browser)
        return statements;
    const QString& browser = *save.browser;
    const QString where = QStringLiteral(" where fldnum = '") + save.field +
                          QStringLiteral("' and browser_id = '") + browser +
                          QStringLiteral("' and fform = '") + code;
    statements.append(
        ChooseSql(dialect,
                  QStringLiteral("delete from mt.qrb_zv_browser_offsets") + where +
                      QStringLiteral("';commit"),
                  QStringLiteral("Begin Transaction; delete from mt.qrb_zv_browser_offsets") +
                      where + QStringLiteral("'; commit")));
    const QString insert =
        QStringLiteral("insert into mt.qrb_zv_browser_offsets(fldnum,browser_id,"
                       "browser_field_title_x,browser_field_data_x,browser_field_data_y,"
                       "fform) values ('") +
        save.field + QStringLiteral("','") + browser + QStringLiteral("','") +
        save.browserOffsets[0] + QStringLiteral("','") + save.browserOffsets[1] +
        QStringLiteral("','") + save.browserOffsets[2] + QStringLiteral("','") + save.formCode +
        QLatin1Char('\'');
    statements.append(ChooseSql(dialect, insert + QStringLiteral(");commit"),
                                insert + QStringLiteral(");Begin Transaction; commit")));
    return statements;
}

} // namespace

QString FieldMaintSql(DatabaseKind dialect)
{
    return ChooseSql(
        dialect, QStringLiteral("call mt.qrb_zv_field_config_maint;commit"),
        QStringLiteral("{call [mt].qrb_zv_field_config_maint};Begin transaction; commit"));
}

FieldSaveStatements FieldSaveSql(DatabaseKind dialect, const FieldSave& save)
{
    FieldSaveStatements statements{groupStatements(dialect, save), std::nullopt};
    if (const std::optional<QString> code = formNumber(save))
        statements.offsets = offsetStatements(dialect, save, *code);
    return statements;
}

} // namespace kaldor
