#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace kaldor::configtool {

// Which journal entries to show: all given parts must match. Dates are compared as the
// journal's UTC times, so "2026-12-07" is the whole day and "2026-12-07T10" that hour.
struct JournalFilter {
    QString since;
    QString until;
    QString user; // the database or operating system user
    QString dataSource;
    QString window; // the window, or window and action ("FormEditGroups,CommandSave")
};

bool matches(const QJsonObject& entry, const JournalFilter& filter);

// One entry as one line: time, user, data source, window and action, what, and a failure.
QString journalLine(const QJsonObject& entry);

} // namespace kaldor::configtool
