#include "FieldView.h"
#include "ModuleGlobals.h"

#include <gtest/gtest.h>

using namespace kaldor;

namespace {

// The statement follows the dialect rule of every other statement: SQL Anywhere's text for 1,
// SQL Server's for 2, and no text at all for an undetermined dialect.
TEST(FieldViewStatement, OneTextPerDialectAndNoneWithout)
{
    const QString condition =
        QStringLiteral(" as select fldnum,title2,row,col,len,case when fldnum='2340' then 3 else "
                       "fform end fform, ftype  from mt.me2_customiz where desktop='Lab' and "
                       "suppressed<>'Y' and fldnum<'5000' and fform in ('0','2','3','4','5','6') "
                       "or (fldnum='2340' and desktop='Lab' and suppressed<>'Y')");
    const QString lab = QStringLiteral("Lab");
    const QString title2 = QStringLiteral("title2");
    const auto statement = [&](DatabaseKind dialect) {
        return FieldViewStatement(dialect, lab, title2).toStdString();
    };
    const QString anywhere =
        QStringLiteral("alter view mt.qrb_zv_customiz") + condition + QStringLiteral(";commit");
    const QString sqlServer = QStringLiteral("alter view [mt].[qrb_zv_customiz]") + condition;
    EXPECT_EQ(statement(DatabaseKind::SqlAnywhere), anywhere.toStdString());
    EXPECT_EQ(statement(DatabaseKind::SqlServer), sqlServer.toStdString());
    EXPECT_EQ(statement(DatabaseKind::Undetermined), "");
}

} // namespace
