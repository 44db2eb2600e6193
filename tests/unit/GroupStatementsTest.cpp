#include "GroupStatements.h"

#include "StatementCases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kaldor;
using namespace kaldor::test;

namespace {

const QString Quoted = QStringLiteral("O'Brien's");

GroupSave labSave()
{
    return {Quoted,
            {{QStringLiteral("zv_inhibit_use"), QStringLiteral("N")},
             {QStringLiteral("cal_data_old_number"), QStringLiteral("18")},
             {QStringLiteral("cal_data_old_type"), QStringLiteral("M")}},
            {QStringLiteral("Overdue Items"), QStringLiteral("Due Soon")}};
}

std::vector<StatementCase> cases()
{
    return {
        {"exists",
         [](DatabaseKind d) { return QStringList{GroupExistsSql(d, Quoted)}; },
         {"select group_id from mt.qrb_zv_groupconfig where group_id = 'O''Brien''s';commit"},
         {"select group_id from mt.qrb_zv_groupconfig where group_id = 'O''Brien''s';"}},
        {"add",
         [](DatabaseKind d) { return GroupAddSql(d, Quoted); },
         {"insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use) values "
          "('O''Brien''s','N');commit",
          "call mt.qrb_zv_group_config_maint;commit"},
         {"insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use) values "
          "('O''Brien''s','N');Begin Transaction; commit",
          "{call [mt].qrb_zv_group_config_maint;}"}},
        {"remove",
         [](DatabaseKind d) { return GroupRemoveSql(d, Quoted); },
         {"delete from mt.qrb_zv_groupconfig where group_id = 'O''Brien''s';commit",
          "delete from mt.qrb_zv_fields_group_inhibit where group_id = 'O''Brien''s';commit",
          "update mt.qrb_zv_userlist set group_id = 'MT' where group_id = 'O''Brien''s';commit"},
         {"Begin Transaction; delete from mt.qrb_zv_groupconfig where group_id = 'O''Brien''s'; "
          "commit",
          "Begin Transaction; delete from mt.qrb_zv_fields_group_inhibit where group_id = "
          "'O''Brien''s'; commit",
          "update mt.qrb_zv_userlist set group_id = 'MT' where group_id = 'O''Brien''s';Begin "
          "transaction; commit"}},
        // Only the group's name is quoted: the values and report names go in as they stand.
        {"save, two executable reports",
         [](DatabaseKind d) { return GroupSaveSql(d, labSave()); },
         {"update mt.qrb_zv_groupconfig set zv_inhibit_use = 'N',cal_data_old_number = '18',"
          "cal_data_old_type = 'M' where group_id = 'O''Brien''s';commit",
          "delete from mt.qrb_zv_group_reports where group_id = 'O''Brien''s';commit",
          "insert into mt.qrb_zv_group_reports (group_id,zvrtag) select 'O''Brien''s',zvrtag "
          "from mt.qrb_zv_reports where report_name = 'Overdue Items';commit",
          "insert into mt.qrb_zv_group_reports (group_id,zvrtag) select 'O''Brien''s',zvrtag "
          "from mt.qrb_zv_reports where report_name = 'Due Soon';commit"},
         {"update mt.qrb_zv_groupconfig set zv_inhibit_use = 'N',cal_data_old_number = '18',"
          "cal_data_old_type = 'M' where group_id = 'O''Brien''s';Begin Transaction;commit",
          "delete from mt.qrb_zv_group_reports where group_id = 'O''Brien''s';Begin "
          "transaction; commit",
          "insert into mt.qrb_zv_group_reports (group_id,zvrtag) select 'O''Brien''s',zvrtag "
          "from mt.qrb_zv_reports where report_name = 'Overdue Items';Begin Transaction; commit",
          "insert into mt.qrb_zv_group_reports (group_id,zvrtag) select 'O''Brien''s',zvrtag "
          "from mt.qrb_zv_reports where report_name = 'Due Soon';Begin Transaction; commit"}},
        {"save, no executable report",
         [](DatabaseKind d) {
             return GroupSaveSql(d, {QStringLiteral("MT"),
                                     {{QStringLiteral("rep_data_old_type"), QStringLiteral("D")}},
                                     {}});
         },
         {"update mt.qrb_zv_groupconfig set rep_data_old_type = 'D' where group_id = "
          "'MT';commit",
          "delete from mt.qrb_zv_group_reports where group_id = 'MT';commit"},
         {"update mt.qrb_zv_groupconfig set rep_data_old_type = 'D' where group_id = 'MT';Begin "
          "Transaction;commit",
          "delete from mt.qrb_zv_group_reports where group_id = 'MT';Begin transaction; "
          "commit"}},
    };
}

TEST(GroupStatements, ExactTextsOfBothDialects)
{
    expectExactTexts(cases());
}

} // namespace
