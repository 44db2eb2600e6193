#pragma once

#include "Session.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace kaldor {

// A time as its two boxes hold it; written only when both hold a text.
struct SessionTime {
    QString hour;
    QString minute;
};

// What the session privileges window saves for a group or a user, as its controls hold it.
struct SessionSave {
    bool group = true; // a group's privileges (group_id), else a user's (mtuser)
    QString entry;     // the group's or user's name
    std::optional<QDate> startDate;
    std::optional<QDate> endDate;
    SessionTime startTime;
    SessionTime endTime;
    QString maximum; // open sessions at most; empty is 0
    bool endOnClose = false;
};

// The entry's row deleted, then its privileges inserted, in the dialect's words (empty texts
// for no dialect). The entry's name is quoted; dates and times go in as "yyyy-MM-dd" and
// "H:M", or NULL.
QStringList SessionSaveSql(DatabaseKind dialect, const SessionSave& save);

} // namespace kaldor
