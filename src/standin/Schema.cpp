#include "Schema.h"

#include "SqliteDatabase.h"

#include <initializer_list>
#include <vector>

namespace kaldor::standin {

namespace {

// A column of a table: its name and its width in characters; 0 is a long text column and
// Numeric a number column.
constexpr int Numeric = -1;
struct Column {
    const char* name;
    int width;
};

struct Table {
    const char* name;
    std::vector<Column> columns;
};

std::string typeName(const Column& c, Dialect d)
{
    if (c.width == 0) {
        return d == Dialect::Anywhere ? "long varchar" : "text";
    }
    if (c.width == Numeric) {
        return "numeric(10)";
    }
    return "varchar(" + std::to_string(c.width) + ")";
}

std::string createTable(const Table& t, Dialect d)
{
    std::string sql = "CREATE TABLE mt." + std::string(t.name) + " (";
    bool first = true;
    for (const Column& c : t.columns) {
        sql += first ? "" : ", ";
        first = false;
        sql += "\"" + std::string(c.name) + "\" " + typeName(c, d) + " COLLATE NOCASE";
    }
    return sql + ");\n";
}

std::vector<Table> configurationTables()
{
    return {
        {"qrb_zv_system_configuration",
         {{"require_login", 1},
          {"desktop", 60},
          {"title", 10},
          {"ODBC", 255},
          {"SPath", 255},
          {"SDrive", 10},
          {"autoLayout", 10},
          {"Diags", 10},
          {"Browser", 60}}},
        {"qrb_zv_groupconfig",
         {{"group_id", 60},
          {"zv_inhibit_use", 1},
          {"inv_data_display", 1},
          {"view_merge_data", 1},
          {"customer_data_display", 1},
          {"cal_data_display", 1},
          {"cal_show_latest", 1},
          {"cal_show_results", 1},
          {"cal_data_old_number", 10},
          {"cal_data_old_type", 1},
          {"loc_data_display", 1},
          {"loc_show_latest", 1},
          {"loc_data_old_number", 10},
          {"loc_data_old_type", 1},
          {"rep_data_display", 1},
          {"rep_show_latest", 1},
          {"rep_data_old_number", 10},
          {"rep_data_old_type", 1}}},
        {"qrb_zv_group_reports", {{"group_id", 60}, {"zvrtag", 15}}},
        {"qrb_zv_reports",
         {{"report_name", 160},
          {"report_type", 1},
          {"zvrtag", 15},
          {"sql_link", 1},
          {"report_sql", 0},
          {"report_filename", 255},
          {"report_out", 60}}},
        {"qrb_zv_report_prompts",
         {{"zvrtag", 15},
          {"prompt_string", 60},
          {"prompt", 160},
          {"default_value", 160},
          {"prompt_type", 1},
          {"db_validation", 1},
          {"validation_table", 20},
          {"validation_column", 60},
          {"custom_validation", 1},
          {"force_validation", 1},
          {"sequence", Numeric}}},
        {"qrb_zv_prompt_validation", {{"zvrtag", 15}, {"prompt_string", 60}, {"val", 160}}},
        {"qrb_zv_userlist", {{"mtuser", 60}, {"group_id", 60}, {"zv_inhibit_use", 1}}},
        {"qrb_zv_session_config",
         {{"group_id", 60},
          {"mtuser", 60},
          {"start_date", 10},
          {"end_date", 10},
          {"start_time", 5},
          {"end_time", 5},
          {"max_open_sessions", 10},
          {"end_on_close", 1}}},
        {"qrb_zv_fields_group_inhibit", {{"fldnum", 20}, {"group_id", 60}}},
        {"qrb_zv_general_offsets",
         {{"fldnum", 20},
          {"fform", 2},
          {"general_field_title_x", 10},
          {"general_field_data_x", 10},
          {"general_field_data_y", 10}}},
        {"qrb_zv_browser_offsets",
         {{"fldnum", 20},
          {"browser_id", 60},
          {"browser_field_title_x", 10},
          {"browser_field_data_x", 10},
          {"browser_field_data_y", 10},
          {"fform", 2}}},
        {"qrb_zv_browser_list", {{"browser_id", 60}}},
        {"qrb_zv_tree_config", {{"max_rows_display", 10}}},
        {"qrb_zv_tree_fields", {{"fldnum", 20}, {"len", 10}}},
        {"qrb_zv_page_configuration",
         {{"web_page", 60}, {"style_sheet", 255}, {"wallpaper", 255}, {"background", 10}}},
        {"qrb_zv_result_header", {{"header", 0}}},
    };
}

// The calibration database's own tables that the program reads.
std::vector<Table> calibrationTables(Dialect d)
{
    const bool anywhere = d == Dialect::Anywhere;
    return {
        {"dbconfig", {{"version", 20}}},
        {"userlist",
         {{"mtuser", 60},
          {"mtlevel", 10},
          {anywhere ? "i4240" : "Segregate", 60},
          {anywhere ? "name" : "mtname", 80}}},
        {"segregate", {{"i4240", 60}}},
        {"desktop", {{"desktop", 60}}},
        {"customiz", {{"fldnum", 20}, {"title", 80}}},
        {"me2_customiz",
         {{"fldnum", 20},
          {"title", 80},
          {"title2", 80},
          {"title3", 80},
          {"title4", 80},
          {"title5", 80},
          {"row", 10},
          {"col", 10},
          {"len", 10},
          {"fform", 2},
          {"ftype", 10},
          {"desktop", 60},
          {"suppressed", 1},
          {"datacol", 60}}},
    };
}

// Tables of the stand-in itself: accounts, procedure bodies, and the default style sheet
// of every web page in the web application's page order.
const char* const kInternalTables =
    "CREATE TABLE mt.standin_login (login_name varchar(60) COLLATE NOCASE PRIMARY KEY,"
    " password varchar(128) NOT NULL);\n"
    "CREATE TABLE mt.standin_procedure (name varchar(128) COLLATE NOCASE PRIMARY KEY,"
    " body text NOT NULL);\n"
    "CREATE TABLE mt.standin_page_default (page_order integer PRIMARY KEY,"
    " web_page varchar(60) COLLATE NOCASE NOT NULL, style_sheet varchar(255));\n"
    // The field maintenance procedure probes offsets by field and form once per field.
    "CREATE INDEX mt.qrb_zv_general_offsets_key ON qrb_zv_general_offsets (fldnum, fform);\n"
    // The web application's properties of a user are read by user name. (The VIZ/IDOV user
    // list stays unindexed: its users are listed in the order they were added.)
    "CREATE INDEX mt.qrb_zv_userlist_key ON qrb_zv_userlist (mtuser);\n";

const char* const kView =
    "CREATE VIEW mt.qrb_zv_customiz AS select fldnum,title,row,col,len,"
    "case when fldnum='2340' then 3 else fform end fform, ftype  from me2_customiz where"
    " desktop='default' and suppressed<>'Y' and fldnum<'5000' and fform in"
    " ('0','2','3','4','5','6') or (fldnum='2340' and desktop='default' and suppressed<>'Y');\n";

struct PageDefault {
    const char* page;
    const char* styleSheet;
};

const PageDefault kPages[] = {
    {"Login Form", "login.css"},
    {"Action Selection Form", "action.css"},
    {"Search Screen", "search.css"},
    {"Tree View", "tree.css"},
    {"Inventory Form", "inventory.css"},
    {"Calibration Form", "calibration.css"},
    {"Cal Records List", "calrecords.css"},
    {"Location Form", "location.css"},
    {"Repair Form", "repair.css"},
    {"Results Form", "results.css"},
    {"Full Results Form", "fullresults.css"},
    {"Customer Form", "customer.css"},
    {"Merge Form", "merge.css"},
    {"Report List", "reportlist.css"},
    {"Authentication Pass", "authpass.css"},
    {"Authentication Fail", "authfail.css"},
    {"Report Prompts", "prompts.css"},
};

// The group inserted last (the one the group editor has just added) gets the default of every
// property still NULL: it may use the web application and sees every form, records of any age
// (0 years). Other groups' NULLs stay as they are.
const char* const kGroupConfigMaint =
    "update mt.qrb_zv_groupconfig set"
    " zv_inhibit_use = coalesce(zv_inhibit_use, 'N'),"
    " inv_data_display = coalesce(inv_data_display, 'Y'),"
    " view_merge_data = coalesce(view_merge_data, 'Y'),"
    " customer_data_display = coalesce(customer_data_display, 'Y'),"
    " cal_data_display = coalesce(cal_data_display, 'Y'),"
    " cal_show_latest = coalesce(cal_show_latest, 'Y'),"
    " cal_show_results = coalesce(cal_show_results, 'Y'),"
    " cal_data_old_number = coalesce(cal_data_old_number, '0'),"
    " cal_data_old_type = coalesce(cal_data_old_type, 'Y'),"
    " loc_data_display = coalesce(loc_data_display, 'Y'),"
    " loc_show_latest = coalesce(loc_show_latest, 'Y'),"
    " loc_data_old_number = coalesce(loc_data_old_number, '0'),"
    " loc_data_old_type = coalesce(loc_data_old_type, 'Y'),"
    " rep_data_display = coalesce(rep_data_display, 'Y'),"
    " rep_show_latest = coalesce(rep_show_latest, 'Y'),"
    " rep_data_old_number = coalesce(rep_data_old_number, '0'),"
    " rep_data_old_type = coalesce(rep_data_old_type, 'Y')"
    " where rowid = (select max(rowid) from mt.qrb_zv_groupconfig);";

// Every field the web application shows gets a general offsets row, offsets '0', for the
// search screen ('0') and for its data-entry form (by the first two characters of its number;
// field 2340 is on form 3), where the row is missing.
const char* const kFieldConfigMaint =
    "insert into mt.qrb_zv_general_offsets (fldnum, fform, general_field_title_x,"
    " general_field_data_x, general_field_data_y)"
    // Each field number once; its two forms are looked up in the offsets' index.
    " with d as materialized (select distinct fldnum from mt.qrb_zv_customiz"
    "  where fldnum is not null)"
    " select f.fldnum, f.code, '0', '0', '0' from ("
    "  select fldnum, '0' as code from d"
    "  union all select fldnum, case when fldnum = '2340' then '3'"
    "   else case substr(fldnum, 1, 2) when '42' then '2' when '23' then '3'"
    "   when 'CC' then '3' when '28' then '4' when '32' then '5' when '46' then '6'"
    "   else '' end end from d) f"
    " where f.code <> '' and not exists (select 1 from mt.qrb_zv_general_offsets o"
    "  where o.fldnum = f.fldnum and o.fform = f.code)"
    " order by f.fldnum, f.code;";

// Every page back to its default style sheet, without background or wallpaper; a page
// without a row gets one again.
const char* const kResetPageConfig =
    "insert into mt.qrb_zv_page_configuration (web_page, style_sheet, wallpaper, background)"
    " select web_page, style_sheet, '', '' from mt.standin_page_default d"
    " where not exists (select 1 from mt.qrb_zv_page_configuration p"
    "  where p.web_page = d.web_page) order by page_order;"
    "update mt.qrb_zv_page_configuration set style_sheet = (select d.style_sheet from"
    " mt.standin_page_default d where d.web_page = qrb_zv_page_configuration.web_page),"
    " background = '', wallpaper = '';";

std::string procedureRow(const char* name, const char* body)
{
    return "INSERT INTO mt.standin_procedure (name, body) VALUES (" + sqlLiteral(name) + ", " +
           sqlLiteral(body) + ");\n";
}

std::string pageDefaultRows()
{
    std::string sql;
    int order = 0;
    for (const PageDefault& p : kPages) {
        sql += "INSERT INTO mt.standin_page_default (page_order, web_page, style_sheet) VALUES (" +
               std::to_string(order++) + ", " + sqlLiteral(p.page) + ", " +
               sqlLiteral(p.styleSheet) + ");\n";
    }
    return sql;
}

} // namespace

std::string schemaSql(Dialect d)
{
    std::string sql = "BEGIN;\n";
    for (const Table& t : configurationTables()) {
        sql += createTable(t, d);
    }
    for (const Table& t : calibrationTables(d)) {
        sql += createTable(t, d);
    }
    sql += kView;
    sql += kInternalTables;
    sql += procedureRow("qrb_zv_group_config_maint", kGroupConfigMaint);
    sql += procedureRow("qrb_zv_field_config_maint", kFieldConfigMaint);
    sql += procedureRow("qrb_zv_reset_page_config", kResetPageConfig);
    sql += pageDefaultRows();
    sql += "INSERT INTO mt.standin_login (login_name, password) VALUES ('admin', 'secret');\n";
    return sql + "COMMIT;\n";
}

} // namespace kaldor::standin
