// Every statement text of the shared module (system configuration record, version, system
// switches), the group editor and the desktop window, exactly as the program builds them,
// runs unchanged against a fresh database of its dialect. A save whose window has a statement
// builder (src/common/*Statements.h, FieldView.h) takes its texts from that builder, so that
// they cannot drift from what the program sends.
#include "ConfigStatements.h"
#include "DisplayStatements.h"
#include "FieldStatements.h"
#include "FieldView.h"
#include "GroupStatements.h"
#include "OdbcClient.h"
#include "ReportStatements.h"
#include "SessionStatements.h"
#include "SwitchStatements.h"

#include <gtest/gtest.h>

#include <functional>

namespace kaldor::standin::test {

using kaldor::DatabaseKind;

namespace {

struct ProgramText {
    const char* source; // window or module, procedure
    std::string anywhere;
    std::string server;
};

const std::string kGroup = "Lab Techs";
const std::string kReport = "Overdue Items";

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// The group editor's save of kGroup as its controls stand after the edits of the test.
GroupSave groupSave()
{
    const char* const settings[][2] = {
        {"zv_inhibit_use", "N"},        {"inv_data_display", "Y"},     {"view_merge_data", "N"},
        {"customer_data_display", "Y"}, {"cal_data_display", "Y"},     {"cal_show_latest", "N"},
        {"cal_show_results", "Y"},      {"cal_data_old_number", "18"}, {"cal_data_old_type", "M"},
        {"loc_data_display", "Y"},      {"loc_show_latest", "Y"},      {"loc_data_old_number", "2"},
        {"loc_data_old_type", "Y"},     {"rep_data_display", "N"},     {"rep_show_latest", "N"},
        {"rep_data_old_number", "30"},  {"rep_data_old_type", "D"}};
    GroupSave save{qs(kGroup), {}, {qs(kReport)}};
    for (const auto& setting : settings)
        save.settings.append({QString::fromLatin1(setting[0]), QString::fromLatin1(setting[1])});
    return save;
}

// The statements a builder of the program makes in both dialects, in their order.
void appendBuilt(std::vector<ProgramText>& texts, const char* source,
                 const std::function<QStringList(DatabaseKind)>& build)
{
    const QStringList anywhere = build(DatabaseKind::SqlAnywhere);
    const QStringList server = build(DatabaseKind::SqlServer);
    ASSERT_EQ(anywhere.size(), server.size()) << source;
    for (qsizetype i = 0; i < anywhere.size(); ++i)
        texts.push_back({source, anywhere.at(i).toStdString(), server.at(i).toStdString()});
}

// The system configuration record as the shared module saves it.
SystemConfig savedConfig()
{
    SystemConfig c;
    c.RequireLogin = QStringLiteral("N");
    c.Desktop = QStringLiteral("default");
    c.Title = QStringLiteral("title");
    c.DataSource = QStringLiteral("Calibration Data");
    c.SharedPath = QStringLiteral("\\\\server\\share\\zud");
    c.SharedDrive = QStringLiteral("Z:");
    c.AutoLayout = QStringLiteral("OFF");
    c.Diags = QStringLiteral("OFF");
    c.Browser = QStringLiteral("Firefox");
    return c;
}

// A text the same in both dialects.
ProgramText both(const char* source, const std::string& text)
{
    return {source, text, text};
}

// A query that SQL Anywhere ends with a commit and SQL Server with ';'.
ProgramText committed(const char* source, const std::string& text, const char* end = ";commit")
{
    return {source, text + end, text + ";"};
}

std::vector<ProgramText> programTexts()
{
    const std::string inGroup =
        "(select zvrtag from mt.qrb_zv_group_reports where group_id = '" + kGroup + "')";
    std::vector<ProgramText> texts{
        both("ModuleGlobals,GetConfig", "select * from mt.qrb_zv_system_configuration")};
    appendBuilt(texts, "ModuleGlobals,SaveConfig",
                [](DatabaseKind d) { return ConfigSaveSql(d, savedConfig()); });
    texts.insert(
        texts.end(),
        {both("ModuleGlobals,LoadVersion", "select version from mt.dbconfig"),
         committed("FormAutoLayout,GetConfigDesktop",
                   "select Autolayout from mt.qrb_zv_system_configuration", "; commit"),
         committed("FormRunDiags,GetConfigDesktop",
                   "select diags from mt.qrb_zv_system_configuration", "; commit"),
         committed("FormEditGroups,LoadGroupList", "select group_id from mt.qrb_zv_groupconfig")});
    appendBuilt(texts, "FormAutoLayout,AutoLayoutSave", [](DatabaseKind d) {
        return QStringList{AutoLayoutSaveSql(d, QStringLiteral("On"))};
    });
    appendBuilt(texts, "FormRunDiags,RunDiagsSave", [](DatabaseKind d) {
        return QStringList{RunDiagsSaveSql(d, QStringLiteral("Off"))};
    });
    appendBuilt(texts, "FormEditGroups,CommandAddGroup", [](DatabaseKind d) {
        return QStringList{GroupExistsSql(d, qs(kGroup))} + GroupAddSql(d, qs(kGroup));
    });
    texts.insert(
        texts.end(),
        {both("FormEditGroups,GetConfig",
              "select * from mt.qrb_zv_groupconfig where group_id = '" + kGroup + "';"),
         both("FormEditGroups,GetConfig",
              "select report_name from mt.qrb_zv_reports where zvrtag not in " + inGroup + ";"),
         committed("FormEditGroups,GetConfig",
                   "select report_name from mt.qrb_zv_reports where zvrtag in " + inGroup)});
    appendBuilt(texts, "FormEditGroups,CommandSave",
                [](DatabaseKind d) { return GroupSaveSql(d, groupSave()); });
    appendBuilt(texts, "FormEditGroups,CommandRemoveGroup",
                [](DatabaseKind d) { return GroupRemoveSql(d, QStringLiteral("Temp")); });
    texts.push_back(committed("FormDesktop,GetConfigDesktop", "select desktop from mt.desktop"));
    appendBuilt(texts, "FormDesktop,CommandOK", [](DatabaseKind d) {
        return QStringList{FieldViewStatement(d, QStringLiteral("Lab"), QStringLiteral("title2"))};
    });
    return texts;
}

// A calibration database with one report, two desktops, a group to remove and its member.
const char* const kSeed =
    "insert into mt.dbconfig(version) values ('6.0');"
    "insert into mt.desktop(desktop) values ('default'), ('Lab');"
    "insert into mt.qrb_zv_groupconfig(group_id, zv_inhibit_use) values ('MT','N'),('Temp','N');"
    "insert into mt.qrb_zv_userlist(mtuser, group_id, zv_inhibit_use) values ('jdoe','Temp','N');"
    "insert into mt.qrb_zv_fields_group_inhibit(fldnum, group_id) values ('4201','Temp');"
    "insert into mt.qrb_zv_reports(report_name, report_type, zvrtag, sql_link) values"
    " ('Overdue Items','S','abcdef:25114','N');"
    "insert into mt.me2_customiz(fldnum,title,title2,row,col,len,fform,ftype,desktop,suppressed)"
    " values ('4201','Asset','Anlage','1','1','20','2','TEXT','Lab','N'),"
    " ('2340','Results','Ergebnisse','5','1','40','9','TEXT','Lab','N'),"
    " ('2301','Due','Fällig','2','1','10','3','DATE','Lab','Y');";

// A fresh seeded database, then every text of the table in the dialect: each must succeed.
void runEveryText(Dialect d, const std::vector<ProgramText>& texts, Connection& c)
{
    StandinFixtureFiles::instance().reset();
    std::string error;
    ASSERT_TRUE(runScript(StandinFixtureFiles::instance().databasePath(d), kSeed, &error)) << error;
    ASSERT_TRUE(c.open(dsnOf(d), "admin", "secret"));
    for (const ProgramText& t : texts) {
        const std::string& sql = d == Dialect::Anywhere ? t.anywhere : t.server;
        for (const Outcome& o : c.run(sql)) {
            EXPECT_TRUE(SQL_SUCCEEDED(o.rc)) << t.source << "\n  " << sql << "\n  -> "
                                             << (o.diags.empty() ? "" : o.diags.front().message);
        }
    }
}

class ProgramStatements : public ::testing::TestWithParam<Dialect> {};

TEST_P(ProgramStatements, EveryTextRunsUnchanged)
{
    const Dialect d = GetParam();
    Connection c;
    ASSERT_NO_FATAL_FAILURE(runEveryText(d, programTexts(), c));
    const std::vector<Row> group = c.query(
        "select zv_inhibit_use, cal_data_old_number, cal_data_old_type, rep_data_display from "
        "mt.qrb_zv_groupconfig where group_id = 'lab techs'");
    EXPECT_EQ(group, (std::vector<Row>{{"N", "18", "M", "N"}}));
    EXPECT_EQ(c.scalar("select count(*) from mt.qrb_zv_group_reports"), "1");
    EXPECT_EQ(c.scalar("select group_id from mt.qrb_zv_userlist where mtuser = 'jdoe'"), "MT");
    EXPECT_EQ(c.scalar("select count(*) from mt.qrb_zv_fields_group_inhibit"), "0");
    EXPECT_EQ(c.scalar("select autoLayout || '/' || Diags || '/' || SPath from "
                       "mt.qrb_zv_system_configuration"),
              "On/Off/\\\\server\\share\\zud");
    const std::vector<Row> view =
        c.query("select fldnum, title2, fform from mt.qrb_zv_customiz order by fldnum");
    EXPECT_EQ(view, (std::vector<Row>{{"2340", "Ergebnisse", "3"}, {"4201", "Anlage", "2"}}));
}

// Texts of other windows that lean on less common SQL: correlated names with the schema,
// string-literal aliases, CAST to text, replace(), upper-case names, NULL values.
std::vector<ProgramText> otherWindowTexts()
{
    const std::string tree = "select fldnum,len,(select title from mt.customiz where "
                             "customiz.fldnum = mt.qrb_zv_tree_fields.fldnum)";
    std::vector<ProgramText> texts{
        {"FormTreeView,GetConfig", tree + " from mt.qrb_zv_tree_fields;commit",
         tree + " 'title' from mt.qrb_zv_tree_fields;"},
        {"FormReports,GetConfig",
         "select sql_link, zvrtag, report_sql from mt.qrb_zv_reports where report_name = '" +
             kReport + "';commit",
         "select CAST(report_sql AS text) 'report_sql' ,sql_link 'sql_link', zvrtag 'zvrtag' "
         "from mt.qrb_zv_reports where report_name = '" +
             kReport + "';"},
        committed("FormPrompts,Combo1", "SELECT DISTINCT DATACOL FROM MT.ME2_CUSTOMIZ WHERE "
                                        "FFORM='8' AND FTYPE='SPVAL' ORDER BY DATACOL"),
        committed("FormFieldConfig,LoadFieldList",
                  "select fldnum,title from mt.qrb_zv_customiz where fform = '0' and fldnum <> "
                  "'2501' or fldnum='2340' order by fldnum asc"),
    };
    appendBuilt(texts, "FormReports,CleanReportNames",
                [](DatabaseKind d) { return ReportCleanNamesSql(d); });
    appendBuilt(texts, "FormTreeConfig,CommandSave", [](DatabaseKind d) {
        return TreeSaveSql(
            d, {{{QStringLiteral("4201")}, {QStringLiteral("2301")}}, QStringLiteral("25")});
    });
    appendBuilt(texts, "FormWebPageConfig,CommandSave", [](DatabaseKind d) {
        return QStringList{PageSaveSql(d, {QStringLiteral("Login Form"), QString(),
                                           QStringLiteral("O'Hare.png"), QStringLiteral("White")})};
    });
    appendBuilt(texts, "FormResultsHeader,CommandSave",
                [](DatabaseKind d) { return HeaderSaveSql(d, QStringLiteral("Lab's results")); });
    appendBuilt(texts, "FormAccess,CommandSave", [](DatabaseKind d) {
        const SessionSave save{true,
                               QStringLiteral("MT"),
                               QDate(2024, 1, 31),
                               std::nullopt,
                               {QStringLiteral("7"), QStringLiteral("30")},
                               {},
                               QStringLiteral("3"),
                               true};
        return SessionSaveSql(d, save);
    });
    appendBuilt(texts, "FormFieldConfig,CommandSave", [](DatabaseKind d) {
        const FieldSave save{QStringLiteral("4201"),
                             false,
                             QStringLiteral("2"),
                             {QStringLiteral("O'Brien")},
                             {QStringLiteral("1"), QStringLiteral("-2"), QStringLiteral(".5")},
                             QStringLiteral("Firefox"),
                             {QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")}};
        const FieldSaveStatements statements = FieldSaveSql(d, save);
        return statements.groups + statements.offsets.value_or(QStringList());
    });
    return texts;
}

TEST_P(ProgramStatements, OtherWindowsTextsRunUnchanged)
{
    const Dialect d = GetParam();
    Connection c;
    ASSERT_NO_FATAL_FAILURE(runEveryText(d, otherWindowTexts(), c));
    EXPECT_EQ(c.scalar("select start_time || '/' || coalesce(end_date, 'none') from "
                       "mt.qrb_zv_session_config"),
              "7:30/none");
    EXPECT_EQ(c.scalar("select header from mt.qrb_zv_result_header"), "Lab's results");
    EXPECT_EQ(c.scalar("select count(*) from mt.qrb_zv_tree_fields"), "2");
    EXPECT_EQ(c.scalar("select group_id from mt.qrb_zv_fields_group_inhibit where fldnum = "
                       "'4201'"),
              "O'Brien");
    EXPECT_EQ(c.scalar("select browser_id || '/' || browser_field_data_y || '/' || fform from "
                       "mt.qrb_zv_browser_offsets"),
              "Firefox/5/2");
}

INSTANTIATE_TEST_SUITE_P(Dialects, ProgramStatements,
                         ::testing::Values(Dialect::Anywhere, Dialect::SqlServer),
                         dialectName<::testing::TestParamInfo<Dialect>>);

} // namespace

} // namespace kaldor::standin::test
