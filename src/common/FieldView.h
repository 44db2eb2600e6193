#pragma once

#include "Session.h"

#include <QString>

namespace kaldor {

// The statement that points the view of web fields (mt.qrb_zv_customiz) at a desktop and a
// title column, in the dialect's words (empty for no dialect, as ChooseSql leaves it). Neither
// piece is quoted or checked: a desktop name with a quote breaks the statement.
QString FieldViewStatement(DatabaseKind dialect, const QString& desktop,
                           const QString& titleColumn);

} // namespace kaldor
