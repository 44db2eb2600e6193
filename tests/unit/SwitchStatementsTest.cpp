#include "SwitchStatements.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kaldor;

namespace {

struct SwitchCase {
    const char* name;
    QString (*build)(DatabaseKind, const QString&);
    const char* value;
    std::string anywhere;
    std::string sqlServer;
};

// The two switches' SQL Server endings differ in the letter case of their transaction.
TEST(SwitchStatements, ExactTextsOfBothDialects)
{
    const std::vector<SwitchCase> cases{
        {"auto layout", &AutoLayoutSaveSql, "On",
         "update mt.qrb_zv_system_configuration set autolayout = 'On';commit",
         "update mt.qrb_zv_system_configuration set autolayout = 'On';Begin transaction; commit"},
        {"run diags", &RunDiagsSaveSql, "Off",
         "update mt.qrb_zv_system_configuration set diags = 'Off';commit",
         "update mt.qrb_zv_system_configuration set diags = 'Off';Begin Transaction; commit"},
    };
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString value = QString::fromLatin1(c.value);
        EXPECT_EQ(c.build(DatabaseKind::SqlAnywhere, value).toStdString(), c.anywhere);
        EXPECT_EQ(c.build(DatabaseKind::SqlServer, value).toStdString(), c.sqlServer);
    }
}

} // namespace
