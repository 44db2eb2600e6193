#pragma once

#include "Session.h"

#include <QString>

namespace kaldor {

// The updates of the two On/Off switches of the system configuration row, in the dialect's
// words (empty for no dialect). The value goes in as it stands.
QString AutoLayoutSaveSql(DatabaseKind dialect, const QString& value);
QString RunDiagsSaveSql(DatabaseKind dialect, const QString& value);

} // namespace kaldor
