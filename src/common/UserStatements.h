#pragma once

#include "Session.h"

#include <QString>

namespace kaldor {

// What the user window saves for one user, as its controls hold it.
struct UserSave {
    QString user;
    QString group;
    bool mayUse = true; // Allow KALDOR Use checked
};

// The user window's statements in the dialect's words. The user's and the group's names are
// quoted.

// The delete of the rows of users gone from VIZ/IDOV's user list (empty for no dialect).
QString UserPurgeSql(DatabaseKind dialect);
// The query whether the user has a row (empty for no dialect).
QString UserExistsSql(DatabaseKind dialect, const QString& user);
// The insert of the user's first row, or the update of the existing one; for no dialect the
// statement without its commit.
QString UserRowSql(DatabaseKind dialect, bool exists, const UserSave& save);

} // namespace kaldor
