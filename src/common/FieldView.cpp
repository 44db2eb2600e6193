#include "FieldView.h"

#include "Session.h"

namespace kaldor {

QString FieldViewStatement(DatabaseKind dialect, const QString& desktop, const QString& titleColumn)
{
    const QString body =
        QStringLiteral(" as select fldnum,") + titleColumn +
        QStringLiteral(",row,col,len,case when fldnum='2340' then 3 else fform end fform, ftype "
                       " from mt.me2_customiz where desktop='") +
        desktop +
        QStringLiteral("' and suppressed<>'Y' and fldnum<'5000' and fform in "
                       "('0','2','3','4','5','6') or (fldnum='2340' and desktop='") +
        desktop + QStringLiteral("' and suppressed<>'Y')");
    return ChooseSql(
        dialect, QStringLiteral("alter view mt.qrb_zv_customiz") + body + QStringLiteral(";commit"),
        QStringLiteral("alter view [mt].[qrb_zv_customiz]") + body);
}

} // namespace kaldor
