#include "SessionStatements.h"

#include "TextRules.h"

namespace kaldor {

namespace {

QString quotedOrNull(bool set, const QString& value)
{
    return set ? QLatin1Char('\'') + value + QStringLiteral("',") : QStringLiteral("NULL,");
}

QString dateOf(const std::optional<QDate>& date)
{
    return quotedOrNull(date.has_value(),
                        date ? date->toString(QStringLiteral("yyyy-MM-dd")) : QString());
}

QString timeOf(const SessionTime& time)
{
    const QString& h = time.hour;
    const QString& m = time.minute;
    return quotedOrNull(!h.isEmpty() && !m.isEmpty(), h + QLatin1Char(':') + m);
}

} // namespace

QStringList SessionSaveSql(DatabaseKind dialect, const SessionSave& save)
{
    const QString key = save.group ? QStringLiteral("group_id") : QStringLiteral("mtuser");
    const QString entry = FixQuotes(save.entry);
    const QString maximum = save.maximum.isEmpty() ? QStringLiteral("0") : save.maximum;
    const QString remove = QStringLiteral("delete from mt.qrb_zv_session_config where ") + key +
                           QStringLiteral(" = '") + entry + QStringLiteral("';commit");
    const QString insert =
        QStringLiteral("insert into mt.qrb_zv_session_config(") + key +
        QStringLiteral(",start_date,end_date,start_time,end_time,max_open_sessions,"
                       "end_on_close) values ('") +
        entry + QStringLiteral("',") + dateOf(save.startDate) + dateOf(save.endDate) +
        timeOf(save.startTime) + timeOf(save.endTime) + QLatin1Char('\'') + maximum +
        QStringLiteral("',") +
        (save.endOnClose ? QStringLiteral("'Y');") : QStringLiteral("'N');"));
    QString removeSql;
    ChooseSql(removeSql, dialect, remove, QStringLiteral("Begin Transaction; ") + remove);
    QString insertSql;
    ChooseSql(insertSql, dialect, insert + QStringLiteral("commit"),
              insert + QStringLiteral("Begin Transaction; commit"));
    return {removeSql, insertSql};
}

} // namespace kaldor
