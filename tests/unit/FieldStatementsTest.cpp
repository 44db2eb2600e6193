#include "FieldStatements.h"

#include "StatementCases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct SaveCase {
    const char* name;
    FieldSave save;
    Texts anywhere; // the groups' statements, then the offsets'
    Texts sqlServer;
    bool formKnown; // false: no offsets' statements, the save fails after the groups
};

Texts sent(const FieldSaveStatements& statements)
{
    Texts out = texts(statements.groups);
    if (statements.offsets)
        for (const std::string& text : texts(*statements.offsets))
            out.push_back(text);
    return out;
}

std::array<QString, 3> offsets(const char* titleX, const char* dataX, const char* dataY)
{
    return {QString::fromLatin1(titleX), QString::fromLatin1(dataX), QString::fromLatin1(dataY)};
}

std::vector<SaveCase> cases()
{
    return {
        {"form field, two hidden groups (one with a quote), a chosen browser",
         {QStringLiteral("4210"),
          false,
          QStringLiteral("2"),
          {QStringLiteral("LAB"), QStringLiteral("O'Brien")},
          offsets("1.5", "-2", "0"),
          QStringLiteral("Firefox"),
          offsets("3", "4", ".5")},
         {"delete from mt.qrb_zv_fields_group_inhibit where fldnum = '4210';commit",
          "insert into mt.qrb_zv_fields_group_inhibit(fldnum,group_id) values "
          "('4210','LAB');commit",
          "insert into mt.qrb_zv_fields_group_inhibit(fldnum,group_id) values "
          "('4210','O''Brien');commit",
          "update mt.qrb_zv_general_offsets set general_field_title_x = '1.5',"
          "general_field_data_x = '-2',general_field_data_y = '0' where fldnum = '4210' and "
          "fform = '2';commit",
          "delete from mt.qrb_zv_browser_offsets where fldnum = '4210' and browser_id = "
          "'Firefox' and fform = '2';commit",
          "insert into mt.qrb_zv_browser_offsets(fldnum,browser_id,browser_field_title_x,"
          "browser_field_data_x,browser_field_data_y,fform) values "
          "('4210','Firefox','3','4','.5','2');commit"},
         {"Begin Transaction; delete from mt.qrb_zv_fields_group_inhibit where fldnum = '4210'; "
          "commit",
          "Begin Transaction; insert into mt.qrb_zv_fields_group_inhibit(fldnum,group_id) values "
          "('4210','LAB'); commit",
          "Begin Transaction; insert into mt.qrb_zv_fields_group_inhibit(fldnum,group_id) values "
          "('4210','O''Brien'); commit",
          "update mt.qrb_zv_general_offsets set general_field_title_x = '1.5',"
          "general_field_data_x = '-2',general_field_data_y = '0' where fldnum = '4210' and "
          "fform = '2';Begin TransAction; commit",
          "Begin Transaction; delete from mt.qrb_zv_browser_offsets where fldnum = '4210' and "
          "browser_id = 'Firefox' and fform = '2'; commit",
          "insert into mt.qrb_zv_browser_offsets(fldnum,browser_id,browser_field_title_x,"
          "browser_field_data_x,browser_field_data_y,fform) values "
          "('4210','Firefox','3','4','.5','2');Begin Transaction; commit"},
         true},
        {"search screen: form 0 also for field 2340, no browser chosen",
         {QStringLiteral("2340"),
          true,
          QStringLiteral("0"),
          {},
          offsets("1", "2", "3"),
          std::nullopt,
          {}},
         {"delete from mt.qrb_zv_fields_group_inhibit where fldnum = '2340';commit",
          "update mt.qrb_zv_general_offsets set general_field_title_x = '1',"
          "general_field_data_x = '2',general_field_data_y = '3' where fldnum = '2340' and "
          "fform = '0';commit"},
         {"Begin Transaction; delete from mt.qrb_zv_fields_group_inhibit where fldnum = '2340'; "
          "commit",
          "update mt.qrb_zv_general_offsets set general_field_title_x = '1',"
          "general_field_data_x = '2',general_field_data_y = '3' where fldnum = '2340' and "
          "fform = '0';Begin TransAction; commit"},
         true},
        // The general offsets and the browser's delete name the form as a number, 2340 as 3
        // whatever its code; the browser's insert names the code as the window read it.
        {"field 2340 on the forms, a browser chosen",
         {QStringLiteral("2340"),
          false,
          QStringLiteral("07"),
          {},
          offsets("0", "0", "0"),
          QStringLiteral("Edge"),
          offsets("0", "0", "0")},
         {"delete from mt.qrb_zv_fields_group_inhibit where fldnum = '2340';commit",
          "update mt.qrb_zv_general_offsets set general_field_title_x = '0',"
          "general_field_data_x = '0',general_field_data_y = '0' where fldnum = '2340' and "
          "fform = '3';commit",
          "delete from mt.qrb_zv_browser_offsets where fldnum = '2340' and browser_id = 'Edge' "
          "and fform = '3';commit",
          "insert into mt.qrb_zv_browser_offsets(fldnum,browser_id,browser_field_title_x,"
          "browser_field_data_x,browser_field_data_y,fform) values "
          "('2340','Edge','0','0','0','07');commit"},
         {"Begin Transaction; delete from mt.qrb_zv_fields_group_inhibit where fldnum = '2340'; "
          "commit",
          "update mt.qrb_zv_general_offsets set general_field_title_x = '0',"
          "general_field_data_x = '0',general_field_data_y = '0' where fldnum = '2340' and "
          "fform = '3';Begin TransAction; commit",
          "Begin Transaction; delete from mt.qrb_zv_browser_offsets where fldnum = '2340' and "
          "browser_id = 'Edge' and fform = '3'; commit",
          "insert into mt.qrb_zv_browser_offsets(fldnum,browser_id,browser_field_title_x,"
          "browser_field_data_x,browser_field_data_y,fform) values "
          "('2340','Edge','0','0','0','07');Begin Transaction; commit"},
         true},
        {"a field of no known form writes its groups only",
         {QStringLiteral("9100"),
          false,
          QString(),
          {QStringLiteral("QA")},
          offsets("0", "0", "0"),
          QStringLiteral("Edge"),
          offsets("0", "0", "0")},
         {"delete from mt.qrb_zv_fields_group_inhibit where fldnum = '9100';commit",
          "insert into mt.qrb_zv_fields_group_inhibit(fldnum,group_id) values "
          "('9100','QA');commit"},
         {"Begin Transaction; delete from mt.qrb_zv_fields_group_inhibit where fldnum = '9100'; "
          "commit",
          "Begin Transaction; insert into mt.qrb_zv_fields_group_inhibit(fldnum,group_id) values "
          "('9100','QA'); commit"},
         false},
    };
}

TEST(FieldSaveSql, ExactTextsOfBothDialects)
{
    for (const SaveCase& c : cases()) {
        SCOPED_TRACE(c.name);
        const FieldSaveStatements anywhere = FieldSaveSql(DatabaseKind::SqlAnywhere, c.save);
        const FieldSaveStatements sqlServer = FieldSaveSql(DatabaseKind::SqlServer, c.save);
        EXPECT_EQ(anywhere.offsets.has_value(), c.formKnown);
        EXPECT_EQ(sqlServer.offsets.has_value(), c.formKnown);
        EXPECT_EQ(sent(anywhere), c.anywhere);
        EXPECT_EQ(sent(sqlServer), c.sqlServer);
    }
}

TEST(FieldMaintSql, OneTextPerDialect)
{
    EXPECT_EQ(FieldMaintSql(DatabaseKind::SqlAnywhere).toStdString(),
              "call mt.qrb_zv_field_config_maint;commit");
    EXPECT_EQ(FieldMaintSql(DatabaseKind::SqlServer).toStdString(),
              "{call [mt].qrb_zv_field_config_maint};Begin transaction; commit");
}

} // namespace
