#include "ConfigStatements.h"

#include "StatementCases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kaldor;
using namespace kaldor::test;

namespace {

// The record goes in as it stands: a path's backslashes and a quote are not doubled.
TEST(ConfigSaveSql, ExactTextsOfBothDialects)
{
    SystemConfig c;
    c.RequireLogin = QStringLiteral("N");
    c.Desktop = QStringLiteral("default");
    c.Title = QStringLiteral("title2");
    c.DataSource = QStringLiteral("Calibration Data");
    c.SharedPath = QStringLiteral("\\\\server\\share\\zud");
    c.SharedDrive = QStringLiteral("Z:");
    c.AutoLayout = QStringLiteral("OFF");
    c.Diags = QStringLiteral("ON");
    c.Browser = QStringLiteral("Firefox");
    const std::string insert =
        "insert into mt.qrb_zv_system_configuration(require_login,desktop,title,ODBC,SPath,SDrive,"
        "autoLayout,Diags,Browser) values('N','default','title2','Calibration "
        "Data','\\\\server\\share\\zud','Z:','OFF','ON','Firefox')";
    EXPECT_EQ(texts(ConfigSaveSql(DatabaseKind::SqlAnywhere, c)),
              (Texts{"delete from mt.qrb_zv_system_configuration;commit", insert + ";commit"}));
    EXPECT_EQ(texts(ConfigSaveSql(DatabaseKind::SqlServer, c)),
              (Texts{"Begin Transaction; delete from mt.qrb_zv_system_configuration; commit",
                     insert + ";Begin Transaction; commit"}));
}

} // namespace
