#include "DisplayStatements.h"

#include "TextRules.h"

namespace kaldor {

QStringList TreeSaveSql(DatabaseKind dialect, const TreeSave& save)
{
    QStringList statements{
        ChooseSql(dialect, QStringLiteral("delete from mt.qrb_zv_tree_fields;commit"),
                  QStringLiteral("Begin Transaction; delete from mt.qrb_zv_tree_fields; commit"))};
    for (qsizetype i = 0; i < save.levels.size(); ++i) {
        for (const QString& field : save.levels.at(i)) {
            const QString insert =
                QStringLiteral("insert into mt.qrb_zv_tree_fields(fldnum) values ('") + field;
            statements.append(ChooseSql(
                dialect, insert + QStringLiteral("');commit"),
                i == 0 ? QString(QStringLiteral("Begin Transaction; ") + insert +
                                 QStringLiteral("'); commit"))
                       : QString(insert + QStringLiteral("');Begin Transaction; commit"))));
        }
    }
    const QString update =
        QStringLiteral("update mt.qrb_zv_tree_config set max_rows_display = '") + save.maxAssets;
    statements.append(
        ChooseSql(dialect, update + QStringLiteral("';commit"),
                  QStringLiteral("Begin Transaction; ") + update + QStringLiteral("'; commit")));
    return statements;
}

QString PageSaveSql(DatabaseKind dialect, const PageSave& save)
{
    const QString text =
        QStringLiteral("update mt.qrb_zv_page_configuration set ") +
        (save.styleSheet.isEmpty() ? QStringLiteral("style_sheet = NULL,")
                                   : QString(QStringLiteral("style_sheet = '") +
                                             FixQuotes(save.styleSheet) + QStringLiteral("',"))) +
        QStringLiteral("wallpaper = '") + FixQuotes(save.wallpaper) +
        QStringLiteral("',background = '") + save.background +
        QStringLiteral("' where web_page = '") + save.page;
    return ChooseSql(dialect, text + QStringLiteral("';commit"),
                     text + QStringLiteral("';Begin Transaction; commit"));
}

QString PageResetSql(DatabaseKind dialect)
{
    return ChooseSql(
        dialect, QStringLiteral("call mt.qrb_zv_reset_page_config;commit"),
        QStringLiteral("{call [mt].qrb_zv_reset_page_config};Begin transaction; commit"));
}

QStringList HeaderSaveSql(DatabaseKind dialect, const QString& header)
{
    const QString insert = QStringLiteral("insert into mt.qrb_zv_result_header(header) values ('") +
                           FixQuotes(header) + QStringLiteral("');");
    return {
        ChooseSql(dialect, QStringLiteral("delete from mt.qrb_zv_result_header;commit"),
                  QStringLiteral("Begin Transaction; delete from mt.qrb_zv_result_header; commit")),
        ChooseSql(dialect, insert + QStringLiteral("commit"),
                  insert + QStringLiteral("Begin Transaction; commit"))};
}

} // namespace kaldor
