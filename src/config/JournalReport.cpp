#include "JournalReport.h"

#include "JournalSummary.h"

namespace kaldor::configtool {

using namespace Qt::StringLiterals;

namespace {

QString text(const QJsonObject& entry, const QString& key)
{
    return entry.value(key).toString();
}

} // namespace

bool matches(const QJsonObject& entry, const JournalFilter& filter)
{
    const QString time = text(entry, u"time"_s);
    if (!filter.since.isEmpty() && time < filter.since)
        return false;
    if (!filter.until.isEmpty() && time.left(filter.until.size()) > filter.until)
        return false;
    if (!filter.user.isEmpty() &&
        text(entry, u"db_user"_s).compare(filter.user, Qt::CaseInsensitive) != 0 &&
        text(entry, u"os_user"_s) != filter.user)
        return false;
    if (!filter.dataSource.isEmpty() && text(entry, u"data_source"_s) != filter.dataSource)
        return false;
    const QString action = text(entry, u"action"_s);
    return filter.window.isEmpty() || action == filter.window ||
           action.startsWith(filter.window + u',');
}

QString journalLine(const QJsonObject& entry)
{
    QString line = text(entry, u"time"_s) + u"  "_s + text(entry, u"db_user"_s) + u"  "_s +
                   text(entry, u"data_source"_s) + u"  "_s + text(entry, u"action"_s) + u"  "_s +
                   describeChange(text(entry, u"statement"_s));
    if (const QString failure = failureText(entry); !failure.isEmpty())
        line += u"  "_s + failure;
    return line;
}

} // namespace kaldor::configtool
