// The demo data set: it loads into a fresh database of either dialect, and its rows hang
// together the way the program and the web application expect.
#include "SqliteDatabase.h"
#include "StandinStore.h"

#include <QTemporaryDir>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace kaldor::standin;

namespace {

const std::filesystem::path kDemoDir = std::filesystem::path(KALDOR_SOURCE_DIR) / "data" / "demo";

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A query counting the rows that break one rule of the data; 0 means the rule holds.
struct Rule {
    const char* name;
    const char* violations;
};

// MT being the first group shows in the FormEditGroups_open and change_history scenarios.
const Rule kRules[] = {
    {"the web application's own user exists",
     "select 1 - count(*) from mt.userlist where mtuser = 'kaldor'"},
    {"version 6", "select count(*) <> 1 or max(cast(version as real)) <= 5.1 from mt.dbconfig"},
    {"one system configuration row on a known desktop and title column",
     "select count(*) <> 1 or sum(desktop not in (select desktop from mt.desktop)) or"
     " sum(title not in ('title','title2','title3','title4','title5'))"
     " from mt.qrb_zv_system_configuration"},
    {"group flags are Y or N",
     "select count(*) from mt.qrb_zv_groupconfig where"
     " coalesce(zv_inhibit_use,'N') || coalesce(inv_data_display,'N') ||"
     " coalesce(view_merge_data,'N') || coalesce(customer_data_display,'N') ||"
     " coalesce(cal_data_display,'N') || coalesce(cal_show_latest,'N') ||"
     " coalesce(cal_show_results,'N') || coalesce(loc_data_display,'N') ||"
     " coalesce(loc_show_latest,'N') || coalesce(rep_data_display,'N') ||"
     " coalesce(rep_show_latest,'N') glob '*[^YN]*'"},
    {"age units are D, M or Y",
     "select count(*) from mt.qrb_zv_groupconfig where coalesce(cal_data_old_type,'D') ||"
     " coalesce(loc_data_old_type,'D') || coalesce(rep_data_old_type,'D') glob '*[^DMY]*'"},
    {"web users are in known groups",
     "select count(*) from mt.qrb_zv_userlist where group_id not in"
     " (select group_id from mt.qrb_zv_groupconfig) or zv_inhibit_use not in ('Y','N')"},
    {"report names without single quotes",
     "select count(*) from mt.qrb_zv_reports where instr(report_name, '''') > 0"},
    {"report names and tags are unique",
     "select (count(*) - count(distinct report_name)) + (count(*) - count(distinct zvrtag))"
     " from mt.qrb_zv_reports"},
    {"tags look made by the report editor",
     "select count(*) from mt.qrb_zv_reports where length(zvrtag) > 15 or"
     " substr(zvrtag,1,6) glob '*[^A-Y]*' or substr(zvrtag,7,1) <> ':' or"
     " substr(zvrtag,8) glob '*[^0-9]*'"},
    {"report types and their columns",
     "select count(*) from mt.qrb_zv_reports where not ("
     " (report_type = 'S' and report_sql <> '' and report_filename is null) or"
     " (report_type = 'C' and report_sql is null and report_filename like '%.rpt' and"
     "  coalesce(report_out, '.PDF - Adobe Acrobat Reader') in ('.PDF - Adobe Acrobat Reader',"
     "  '.XLS - M/S Excel or Open Office SCALC', '.HTML - Standard HTML 4.01',"
     "  '.DOC - MicroSoft Word or Open Office', '.TEXT - Standard Text',"
     "  '.RPT - Crystal Reports', '.RTF - Rich Text')))"
     " or sql_link not in ('Y','N')"},
    {"group reports name known groups and reports",
     "select count(*) from mt.qrb_zv_group_reports where"
     " group_id not in (select group_id from mt.qrb_zv_groupconfig) or"
     " zvrtag not in (select zvrtag from mt.qrb_zv_reports)"},
    {"some reports are inactive", "select count(*) = 0 from mt.qrb_zv_reports where"
                                  " zvrtag not in (select zvrtag from mt.qrb_zv_group_reports)"},
    {"prompts belong to reports, at most 20, numbered 1 to n",
     "select count(*) from (select zvrtag from mt.qrb_zv_report_prompts group by zvrtag having"
     " count(*) > 20 or max(cast(sequence as integer)) <> count(*) or"
     " count(distinct sequence) <> count(*) or"
     " zvrtag not in (select zvrtag from mt.qrb_zv_reports))"},
    {"prompt texts are filled and without single quotes",
     "select count(*) from mt.qrb_zv_report_prompts where prompt_string = '' or prompt = '' or"
     " instr(prompt, '''') > 0 or prompt_type not in ('D','N','S','T')"},
    {"replace strings occur in the SQL of their report",
     "select count(*) from mt.qrb_zv_report_prompts p join mt.qrb_zv_reports r"
     " on r.zvrtag = p.zvrtag where r.report_type = 'S' and instr(r.report_sql,"
     " p.prompt_string) = 0"},
    {"custom lists only on string prompts, with a pick or valid list",
     "select count(*) from mt.qrb_zv_report_prompts where"
     " (custom_validation = 'Y') <> (force_validation in ('P','V')) or"
     " (custom_validation = 'Y' and prompt_type <> 'S') or custom_validation not in ('Y','N')"},
    {"database validation names a validation column of the form",
     "select count(*) from mt.qrb_zv_report_prompts p where (db_validation = 'Y') <>"
     " (validation_table <> 'NONE') or (db_validation = 'Y' and validation_column not in"
     " (select datacol from mt.me2_customiz where ftype = 'SPVAL' and fform ="
     " case p.validation_table when 'INVENTORY' then '7' when 'CALIBRATION' then '8'"
     " when 'LOCATION' then '9' when 'REPAIR' then '10' when 'CUSTOMERS' then '11' end))"},
    {"custom values belong to prompts with a custom list",
     "select count(*) from mt.qrb_zv_prompt_validation v where not exists (select 1 from"
     " mt.qrb_zv_report_prompts p where p.zvrtag = v.zvrtag and"
     " p.prompt_string = v.prompt_string and p.custom_validation = 'Y')"},
    {"session rows have one key and valid values",
     "select count(*) from mt.qrb_zv_session_config where (group_id is null) = (mtuser is null)"
     " or coalesce(start_date,'2000-01-01') not glob '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'"
     " or coalesce(start_time,'0:00') not glob '*[0-9]:[0-5][05]'"
     " or coalesce(end_on_close,'Y') not in ('Y','N')"},
    {"field layouts carry five titles and the form of their number",
     "select count(*) from mt.me2_customiz where ftype <> 'SPVAL' and ("
     " title2 is null or title3 is null or title4 is null or title5 is null or"
     " (fldnum <> '2340' and fform <> '0' and fform <> case substr(fldnum,1,2)"
     "  when '42' then '2' when '23' then '3' when 'CC' then '3' when '28' then '4'"
     "  when '32' then '5' when '46' then '6' end))"},
    {"field 2340 is on the calibration form of the view",
     "select 1 - count(*) from mt.qrb_zv_customiz where fldnum = '2340' and"
     " cast(fform as text) = '3'"},
    {"every desktop has fields and some are suppressed",
     "select count(*) from mt.desktop d where not exists (select 1 from mt.me2_customiz m"
     " where m.desktop = d.desktop and m.suppressed = 'Y')"},
    {"field restrictions and offsets name known fields, groups and browsers",
     "select (select count(*) from mt.qrb_zv_fields_group_inhibit where"
     "  group_id not in (select group_id from mt.qrb_zv_groupconfig) or"
     "  fldnum not in (select fldnum from mt.me2_customiz)) +"
     " (select count(*) from mt.qrb_zv_browser_offsets where"
     "  browser_id not in (select browser_id from mt.qrb_zv_browser_list) or"
     "  fldnum not in (select fldnum from mt.me2_customiz)) +"
     " (select count(*) from mt.qrb_zv_general_offsets where"
     "  fldnum not in (select fldnum from mt.me2_customiz))"},
    {"tree fields are catalogue fields",
     "select count(*) from mt.qrb_zv_tree_fields where fldnum not in"
     " (select fldnum from mt.customiz)"},
    {"the 17 web pages, each once, with colours of the colour table",
     "select count(*) <> 17 or count(distinct web_page) <> 17 or"
     " sum(web_page not in (select web_page from mt.standin_page_default)) or"
     " sum(background not in ('', '#000000', '#FFFFFF', '#FF0000', '#008000', '#0000FF',"
     " '#FFFF00', '#00FFFF', '#FF00FF', '#808080', '#00FF00', '#800000', '#800080', '#000080',"
     " '#808000', '#C0C0C0', '#008080', '#F5F5DC', '#F0F8FF', '#FFF8DC', '#FAEBD7', '#DCDCDC',"
     " '#D3D3D3', 'E0FFFF', '#F5F5F5')) from mt.qrb_zv_page_configuration"},
    {"one results header", "select count(*) <> 1 from mt.qrb_zv_result_header"},
    // The program writes or looks these up as they are, between quotes but without doubling
    // theirs: a demo value with a quote there would lead a new user into the error routine.
    {"no quote in a value the program uses unquoted",
     "select (select count(*) from mt.qrb_zv_prompt_validation where instr(val, '''') or"
     " instr(prompt_string, '''')) + (select count(*) from mt.qrb_zv_report_prompts where"
     " instr(prompt, '''') or instr(prompt_string, '''') or instr(db_validation, '''') or"
     " instr(validation_table, '''') or instr(validation_column, '''') or"
     " instr(custom_validation, '''') or instr(force_validation, '''')) + (select count(*) from"
     " mt.qrb_zv_system_configuration where instr(require_login || desktop || title || odbc ||"
     " spath || sdrive || autolayout || diags || browser, '''')) + (select count(*) from"
     " mt.qrb_zv_groupconfig where instr(cal_data_old_number || cal_data_old_type ||"
     " loc_data_old_number || loc_data_old_type || rep_data_old_number || rep_data_old_type,"
     " ''''))"},
};

class DemoData : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        const std::string path = dir_.filePath(QStringLiteral("demo.db")).toStdString();
        std::string error;
        ASSERT_TRUE(createDatabase(path, GetParam(), &error)) << error;
        const std::string users =
            std::string("users-") + dialectKey(GetParam()) + std::string(".sql");
        for (const std::string& file : {std::string("demo.sql"), users}) {
            ASSERT_TRUE(runScript(path, readFile(kDemoDir / file), &error))
                << file << ": " << error;
        }
        db_ = SqliteDatabase::open(path, false, &error);
        ASSERT_TRUE(db_) << error;
    }

    // The first column of each row of a query, as text ("NULL" for none).
    std::vector<std::string> column(const std::string& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_->handle(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return {"error: " + db_->lastMessage()};
        std::vector<std::string> values;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(stmt, 0);
            values.emplace_back(text ? reinterpret_cast<const char*>(text) : "NULL");
        }
        sqlite3_finalize(stmt);
        return values;
    }
    std::string scalar(const std::string& sql)
    {
        const std::vector<std::string> values = column(sql);
        return values.empty() ? "no row" : values.front();
    }

    QTemporaryDir dir_;
    std::unique_ptr<SqliteDatabase> db_;
};

TEST_P(DemoData, KeepsEveryRule)
{
    for (const Rule& rule : kRules) {
        EXPECT_EQ(scalar(rule.violations), "0") << rule.name;
    }
}

TEST_P(DemoData, CrystalReportsHaveTheirSampleFiles)
{
    const auto files =
        column("select report_filename from mt.qrb_zv_reports where report_type = 'C'");
    for (const std::string& name : files)
        EXPECT_TRUE(std::filesystem::is_regular_file(kDemoDir / "drive-c" / "VIZIDOV" / name))
            << name;
    EXPECT_GE(files.size(), 5u);
}

// Real names (in a column named differently in each dialect) and field titles keep their quotes
// and accents. (The fixture giving a report name a quote shows in the runner_seed_fixture
// scenario.)
TEST_P(DemoData, KeepsTextsWithQuotesAndAccents)
{
    const std::string realName = GetParam() == Dialect::Anywhere ? "name" : "mtname";
    EXPECT_EQ(scalar("select group_concat(" + realName + ", '|') from (select " + realName +
                     " from mt.userlist where mtuser in ('mlopez', 'sobrien', 'svoss')"
                     " order by mtuser)"),
              "Señora María López|Séamus O'Brien|Sabine Voß");
    EXPECT_EQ(scalar("select group_concat(title4, '|') from (select title4 from mt.me2_customiz"
                     " where desktop = 'default' and fldnum in ('4201', '2302')"
                     " and fform <> '0' and ftype <> 'SPVAL' order by fldnum)"),
              "Date d'échéance|Numéro d'actif");
}

INSTANTIATE_TEST_SUITE_P(BothDialects, DemoData,
                         ::testing::Values(Dialect::Anywhere, Dialect::SqlServer),
                         [](const ::testing::TestParamInfo<Dialect>& param) {
                             return std::string(dialectKey(param.param));
                         });

// The two user files hold the same rows; only the column list of the insert differs (each file
// loads into its own dialect above).
TEST(DemoUsers, BothDialectsHoldTheSameUsers)
{
    const auto rows = [](const char* file) {
        const std::string text = readFile(kDemoDir / file);
        return text.substr(text.find(") VALUES"));
    };
    EXPECT_EQ(rows("users-anywhere.sql"), rows("users-sqlserver.sql"));
}

} // namespace
