#include "SessionStatements.h"

#include "StatementCases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct SaveCase {
    const char* name;
    SessionSave save;
    Texts anywhere;
    Texts sqlServer;
};

SessionTime at(const char* hour, const char* minute)
{
    return {QString::fromLatin1(hour), QString::fromLatin1(minute)};
}

std::vector<SaveCase> cases()
{
    return {
        {"a group with every value set, a quote in its name",
         {true, QStringLiteral("Lab's"), QDate(2024, 1, 31), QDate(2024, 12, 1), at("7", "30"),
          at("18", "05"), QStringLiteral("3"), true},
         {"delete from mt.qrb_zv_session_config where group_id = 'Lab''s';commit",
          "insert into mt.qrb_zv_session_config(group_id,start_date,end_date,start_time,end_time,"
          "max_open_sessions,end_on_close) values "
          "('Lab''s','2024-01-31','2024-12-01','7:30','18:05','3','Y');commit"},
         {"Begin Transaction; delete from mt.qrb_zv_session_config where group_id = "
          "'Lab''s';commit",
          "insert into mt.qrb_zv_session_config(group_id,start_date,end_date,start_time,end_time,"
          "max_open_sessions,end_on_close) values "
          "('Lab''s','2024-01-31','2024-12-01','7:30','18:05','3','Y');Begin Transaction; "
          "commit"}},
        // No date, a time of an hour alone and an empty maximum: NULLs and 0.
        {"a user with nothing set",
         {false, QStringLiteral("jdoe"), std::nullopt, std::nullopt, at("", ""), at("9", ""),
          QString(), false},
         {"delete from mt.qrb_zv_session_config where mtuser = 'jdoe';commit",
          "insert into mt.qrb_zv_session_config(mtuser,start_date,end_date,start_time,end_time,"
          "max_open_sessions,end_on_close) values ('jdoe',NULL,NULL,NULL,NULL,'0','N');commit"},
         {"Begin Transaction; delete from mt.qrb_zv_session_config where mtuser = 'jdoe';commit",
          "insert into mt.qrb_zv_session_config(mtuser,start_date,end_date,start_time,end_time,"
          "max_open_sessions,end_on_close) values ('jdoe',NULL,NULL,NULL,NULL,'0','N');Begin "
          "Transaction; commit"}},
        {"an end date and a start time only",
         {true, QStringLiteral("MT"), std::nullopt, QDate(2030, 6, 9), at("0", "00"), at("", ""),
          QStringLiteral("12"), true},
         {"delete from mt.qrb_zv_session_config where group_id = 'MT';commit",
          "insert into mt.qrb_zv_session_config(group_id,start_date,end_date,start_time,end_time,"
          "max_open_sessions,end_on_close) values "
          "('MT',NULL,'2030-06-09','0:00',NULL,'12','Y');commit"},
         {"Begin Transaction; delete from mt.qrb_zv_session_config where group_id = 'MT';commit",
          "insert into mt.qrb_zv_session_config(group_id,start_date,end_date,start_time,end_time,"
          "max_open_sessions,end_on_close) values "
          "('MT',NULL,'2030-06-09','0:00',NULL,'12','Y');Begin "
          "Transaction; commit"}},
    };
}

TEST(SessionSaveSql, ExactTextsOfBothDialects)
{
    for (const SaveCase& c : cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(texts(SessionSaveSql(DatabaseKind::SqlAnywhere, c.save)), c.anywhere);
        EXPECT_EQ(texts(SessionSaveSql(DatabaseKind::SqlServer, c.save)), c.sqlServer);
    }
}

} // namespace
