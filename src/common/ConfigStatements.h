#pragma once

#include "Session.h"

#include <QStringList>

namespace kaldor {

// The system configuration record written whole: its row deleted, then the record inserted, in
// the dialect's words (empty texts for no dialect). The values go in as they stand, unquoted.
QStringList ConfigSaveSql(DatabaseKind dialect, const SystemConfig& config);

} // namespace kaldor
