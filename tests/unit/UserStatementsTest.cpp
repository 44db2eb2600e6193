#include "UserStatements.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace kaldor;

namespace {

struct StatementCase {
    const char* name;
    std::function<QString(DatabaseKind)> build;
    std::string anywhere;
    std::string sqlServer;
};

const UserSave Quoted{QStringLiteral("o'neil"), QStringLiteral("Lab's Techs"), true};

std::vector<StatementCase> cases()
{
    return {
        {"purge", [](DatabaseKind d) { return UserPurgeSql(d); },
         "delete from mt.qrb_zv_userlist where mtuser not in (select mtuser from "
         "mt.userlist);commit",
         "Begin Transaction; delete from mt.qrb_zv_userlist where mtuser not in (select mtuser "
         "from mt.userlist); commit"},
        {"exists", [](DatabaseKind d) { return UserExistsSql(d, Quoted.user); },
         "select mtuser from mt.qrb_zv_userlist where mtuser = 'o''neil';commit",
         "select mtuser from mt.qrb_zv_userlist where mtuser = 'o''neil';"},
        {"first row, may use", [](DatabaseKind d) { return UserRowSql(d, false, Quoted); },
         "insert into mt.qrb_zv_userlist (mtuser,group_id,zv_inhibit_use) values "
         "('o''neil','Lab''s Techs','N');commit",
         "insert into mt.qrb_zv_userlist (mtuser,group_id,zv_inhibit_use) values "
         "('o''neil','Lab''s Techs','N');Begin transaction; commit"},
        {"existing row, may not use",
         [](DatabaseKind d) {
             return UserRowSql(d, true, {QStringLiteral("jdoe"), QStringLiteral("MT"), false});
         },
         "update mt.qrb_zv_userlist set group_id = 'MT', zv_inhibit_use = 'Y' where mtuser = "
         "'jdoe';commit",
         "update mt.qrb_zv_userlist set group_id = 'MT', zv_inhibit_use = 'Y' where mtuser = "
         "'jdoe';Begin transaction; commit"},
    };
}

TEST(UserStatements, ExactTextsOfBothDialects)
{
    for (const StatementCase& c : cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.build(DatabaseKind::SqlAnywhere).toStdString(), c.anywhere);
        EXPECT_EQ(c.build(DatabaseKind::SqlServer).toStdString(), c.sqlServer);
    }
}

} // namespace
