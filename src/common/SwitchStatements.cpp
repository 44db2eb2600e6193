#include "SwitchStatements.h"

namespace kaldor {

namespace {

QString switchUpdate(DatabaseKind dialect, const QString& column, const QString& value,
                     const QString& sqlServerTail)
{
    const QString head = QStringLiteral("update mt.qrb_zv_system_configuration set ") + column +
                         QStringLiteral(" = '") + value;
    return ChooseSql(dialect, head + QStringLiteral("';commit"), head + sqlServerTail);
}

} // namespace

QString AutoLayoutSaveSql(DatabaseKind dialect, const QString& value)
{
    return switchUpdate(dialect, QStringLiteral("autolayout"), value,
                        QStringLiteral("';Begin transaction; commit"));
}

QString RunDiagsSaveSql(DatabaseKind dialect, const QString& value)
{
    return switchUpdate(dialect, QStringLiteral("diags"), value,
                        QStringLiteral("';Begin Transaction; commit"));
}

} // namespace kaldor
