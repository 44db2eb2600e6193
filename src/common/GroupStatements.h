#pragma once

#include "Session.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kaldor {

// One column of a group's row and the value its control holds ("Y", "N", a number, a unit).
struct GroupSetting {
    QString column;
    QString value;
};

// What the group editor saves for one group, as its controls hold it.
struct GroupSave {
    QString group;
    QList<GroupSetting> settings;  // in the order of the update's clauses
    QStringList executableReports; // the names of the reports the group may run
};

// The group editor's statements in the dialect's words (empty texts for no dialect). The group's
// name is quoted everywhere; settings' values and report names go in as they stand.

// The query whether a group of that name exists.
QString GroupExistsSql(DatabaseKind dialect, const QString& group);
// A new group's insert, then the maintenance call that gives it its rows elsewhere.
QStringList GroupAddSql(DatabaseKind dialect, const QString& group);
// A group's deletes, then its users moved to the default group MT.
QStringList GroupRemoveSql(DatabaseKind dialect, const QString& group);
// The group's update, then its reports: all deleted, then one insert for each executable one.
QStringList GroupSaveSql(DatabaseKind dialect, const GroupSave& save);

} // namespace kaldor
