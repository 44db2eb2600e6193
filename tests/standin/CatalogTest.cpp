// The catalog functions of the stand-in driver, as ODBC clients call them through the driver
// manager: the tables, the view, the columns and the procedures of schema mt on a database
// holding the demo data.
#include "Catalog.h"
#include "OdbcClient.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace kaldor::standin::test {

namespace {

SQLCHAR* text(const char* s)
{
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s));
}

// A name argument: a null pointer for none.
SQLSMALLINT lengthOf(const char* s)
{
    return s ? SQL_NTS : 0;
}

// Runs one catalog function on a statement of its own.
Outcome list(SQLHDBC dbc, const std::function<SQLRETURN(SQLHSTMT)>& call)
{
    const Stmt st(dbc);
    return collect(st.h(), call(st.h()));
}

Outcome tables(SQLHDBC dbc, const char* catalog, const char* schema, const char* table,
               const char* types)
{
    return list(dbc, [&](SQLHSTMT s) {
        return SQLTables(s, text(catalog), lengthOf(catalog), text(schema), lengthOf(schema),
                         text(table), lengthOf(table), text(types), lengthOf(types));
    });
}

Outcome columns(SQLHDBC dbc, const char* schema, const char* table, const char* column)
{
    return list(dbc, [&](SQLHSTMT s) {
        return SQLColumns(s, nullptr, 0, text(schema), lengthOf(schema), text(table),
                          lengthOf(table), text(column), lengthOf(column));
    });
}

Outcome procedures(SQLHDBC dbc, const char* schema, const char* procedure)
{
    return list(dbc, [&](SQLHSTMT s) {
        return SQLProcedures(s, nullptr, 0, text(schema), lengthOf(schema), text(procedure),
                             lengthOf(procedure));
    });
}

// One column of every row, "<NULL>" for NULL.
std::vector<std::string> column(const Outcome& l, size_t index)
{
    std::vector<std::string> values;
    for (const Row& r : l.rows) {
        values.push_back(r.at(index).value_or("<NULL>"));
    }
    return values;
}

using Names = std::vector<std::string>;

// clang-format off
const Names kTables = {"customiz", "dbconfig", "desktop", "me2_customiz", "qrb_zv_browser_list",
    "qrb_zv_browser_offsets", "qrb_zv_fields_group_inhibit", "qrb_zv_general_offsets",
    "qrb_zv_group_reports", "qrb_zv_groupconfig", "qrb_zv_page_configuration",
    "qrb_zv_prompt_validation", "qrb_zv_report_prompts", "qrb_zv_reports", "qrb_zv_result_header",
    "qrb_zv_session_config", "qrb_zv_system_configuration", "qrb_zv_tree_config",
    "qrb_zv_tree_fields", "qrb_zv_userlist", "segregate", "userlist"};
// clang-format on

class Catalog : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override
    {
        StandinFixtureFiles& files = StandinFixtureFiles::instance();
        files.reset();
        const std::filesystem::path demo = KALDOR_DEMO_DIR;
        const char* users =
            GetParam() == Dialect::Anywhere ? "users-anywhere.sql" : "users-sqlserver.sql";
        for (const std::filesystem::path& script : {demo / "demo.sql", demo / users}) {
            std::string error;
            ASSERT_TRUE(runScript(files.databasePath(GetParam()), readFile(script), &error))
                << script << ": " << error;
        }
        ASSERT_TRUE(connection_.open(GetParam()));
    }

    SQLHDBC dbc() const { return connection_.handle(); }
    Connection connection_;
};

TEST_P(Catalog, ListsTheTablesAndTheViewOfSchemaMtWithTheStandardColumns)
{
    const Outcome l = tables(dbc(), nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(l.rc, SQL_SUCCESS);
    EXPECT_EQ(l.columns,
              (Names{"TABLE_CAT", "TABLE_SCHEM", "TABLE_NAME", "TABLE_TYPE", "REMARKS"}));
    Names expectedNames = kTables;
    expectedNames.push_back("qrb_zv_customiz");
    EXPECT_EQ(column(l, 2), expectedNames);
    Names expectedTypes(kTables.size(), "TABLE");
    expectedTypes.push_back("VIEW");
    EXPECT_EQ(column(l, 3), expectedTypes);
    EXPECT_EQ(column(l, 0), Names(expectedNames.size(), "<NULL>"));
    EXPECT_EQ(column(l, 1), Names(expectedNames.size(), "mt"));
    // Names are described as wide as a server's identifiers.
    const Stmt st(dbc());
    ASSERT_EQ(SQLTables(st.h(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), SQL_SUCCESS);
    SQLULEN nameSize = 0;
    SQLDescribeCol(st.h(), 3, nullptr, 0, nullptr, nullptr, &nameSize, nullptr, nullptr);
    EXPECT_EQ(nameSize, 128U);
}

// Every column of every table and of the view as the schema declares it; the long text and
// the number columns and the VIZ/IDOV user list differ between the dialects.
TEST_P(Catalog, ListsEveryColumnWithItsTypeAndWidth)
{
    const Outcome l = columns(dbc(), "mt", "%", "%");
    ASSERT_EQ(l.rc, SQL_SUCCESS);
    EXPECT_EQ(l.columns,
              (Names{"TABLE_CAT", "TABLE_SCHEM", "TABLE_NAME", "COLUMN_NAME", "DATA_TYPE",
                     "TYPE_NAME", "COLUMN_SIZE", "BUFFER_LENGTH", "DECIMAL_DIGITS",
                     "NUM_PREC_RADIX", "NULLABLE", "REMARKS", "COLUMN_DEF", "SQL_DATA_TYPE",
                     "SQL_DATETIME_SUB", "CHAR_OCTET_LENGTH", "ORDINAL_POSITION", "IS_NULLABLE"}));
    EXPECT_EQ(l.types[4], SQL_SMALLINT);
    EXPECT_EQ(l.types[6], SQL_INTEGER);
    EXPECT_EQ(l.types[15], SQL_INTEGER) << "a long text's octet length";
    EXPECT_EQ(column(l, 1), Names(l.rows.size(), "mt"));
    std::string listing;
    for (const Row& r : l.rows) {
        for (const size_t i : {2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 15, 16, 17}) {
            listing += (i == 2 ? "" : " ") + r.at(i).value_or("-");
        }
        listing += "\n";
    }
    const std::filesystem::path golden =
        std::filesystem::path(KALDOR_STANDIN_TEST_DIR) /
        (GetParam() == Dialect::Anywhere ? "columns-anywhere.out" : "columns-sqlserver.out");
    if (std::getenv("KALDOR_UPDATE_GOLDEN")) {
        std::ofstream(golden, std::ios::binary) << listing;
    }
    EXPECT_EQ(listing, readFile(golden));
}

struct TableCase {
    const char* schema;
    const char* table;
    const char* types;
    Names expected;
};

TEST_P(Catalog, MatchesNamesAndTypesWithoutRegardToCase)
{
    const char* const none = nullptr;
    const std::vector<TableCase> cases = {
        {"mt", "qrb_zv_group%", none, {"qrb_zv_group_reports", "qrb_zv_groupconfig"}},
        {"MT", "QRB_ZV_USERLIST", none, {"qrb_zv_userlist"}},
        {"%", "%customiz", none, {"customiz", "me2_customiz", "qrb_zv_customiz"}},
        {"m_", "desk%", none, {"desktop"}},
        {none, "dbconfi_", none, {"dbconfig"}},
        {none, "dbconfi\\_", none, {}},
        {none, "qrb\\_zv\\_tree\\_%", none, {"qrb_zv_tree_config", "qrb_zv_tree_fields"}},
        {none, "%user%", none, {"qrb_zv_userlist", "userlist"}},
        {none, "%user%", "VIEW", {}},
        {none, "%customiz", "view", {"qrb_zv_customiz"}},
        {none, "%customiz", "'TABLE'", {"customiz", "me2_customiz"}},
        {none, "%customiz", "'VIEW', 'TABLE'", {"customiz", "me2_customiz", "qrb_zv_customiz"}},
        {none, "%customiz", "SYSTEM TABLE", {}},
        {none, "%customiz", "%", {"customiz", "me2_customiz", "qrb_zv_customiz"}},
        {none, "%customiz", "", {"customiz", "me2_customiz", "qrb_zv_customiz"}},
        // The stand-in's own tables are not the server's.
        {none, "standin%", none, {}},
        {none, "%login%", none, {}},
        {none, "sqlite%", none, {}},
        // Other schemas, and the empty schema of objects that have none, hold nothing.
        {"dbo", "%", none, {}},
        {"", "%", none, {}},
        {"mt", "", none, {}}};
    for (const TableCase& c : cases) {
        SCOPED_TRACE(std::string("schema ") + (c.schema ? c.schema : "NULL") + ", table " +
                     c.table + ", types " + (c.types ? c.types : "NULL"));
        const Outcome l = tables(dbc(), nullptr, c.schema, c.table, c.types);
        ASSERT_EQ(l.rc, SQL_SUCCESS);
        EXPECT_EQ(column(l, 2), c.expected);
    }
    // A missing table name is any name, unlike an empty one, also one given by its length 0.
    EXPECT_EQ(tables(dbc(), nullptr, "%", nullptr, nullptr).rows.size(),
              tables(dbc(), nullptr, "mt", "%", nullptr).rows.size());
    EXPECT_TRUE(list(dbc(), [](SQLHSTMT s) {
                    return SQLTables(s, nullptr, 0, text("mt"), SQL_NTS, text(""), 0, nullptr, 0);
                }).rows.empty());
    // A catalog is not looked at.
    EXPECT_EQ(column(tables(dbc(), "anything", "mt", "segregate", nullptr), 2), Names{"segregate"});
}

TEST_P(Catalog, ListsTheSchemaAndTheTableTypesForTheirSpecialArguments)
{
    const Outcome schemas = tables(dbc(), "", "%", "", nullptr);
    ASSERT_EQ(schemas.rc, SQL_SUCCESS);
    EXPECT_EQ(schemas.rows,
              (std::vector<Row>{{std::nullopt, "mt", std::nullopt, std::nullopt, std::nullopt}}));
    const Outcome types = tables(dbc(), "", "", "", "%");
    ASSERT_EQ(types.rc, SQL_SUCCESS);
    EXPECT_EQ(column(types, 3), (Names{"TABLE", "VIEW"}));
    EXPECT_EQ(column(types, 2), (Names{"<NULL>", "<NULL>"}));
    const Outcome catalogs = tables(dbc(), "%", "", "", nullptr);
    ASSERT_EQ(catalogs.rc, SQL_SUCCESS);
    EXPECT_EQ(catalogs.columns.size(), 5U);
    EXPECT_TRUE(catalogs.rows.empty());
}

struct ColumnCase {
    const char* table;
    const char* column;
    Names expected; // table.column
};

TEST_P(Catalog, ColumnsMatchTableAndColumnPatterns)
{
    const std::vector<ColumnCase> cases = {
        {"qrb_zv_userlist",
         "%",
         {"qrb_zv_userlist.mtuser", "qrb_zv_userlist.group_id", "qrb_zv_userlist.zv_inhibit_use"}},
        {"qrb_zv_%",
         "GROUP\\_ID",
         {"qrb_zv_fields_group_inhibit.group_id", "qrb_zv_group_reports.group_id",
          "qrb_zv_groupconfig.group_id", "qrb_zv_session_config.group_id",
          "qrb_zv_userlist.group_id"}},
        {"%offsets",
         "%_x",
         {"qrb_zv_browser_offsets.browser_field_title_x",
          "qrb_zv_browser_offsets.browser_field_data_x",
          "qrb_zv_general_offsets.general_field_title_x",
          "qrb_zv_general_offsets.general_field_data_x"}},
        {"standin_login", "%", {}},
        {"no_such_table", "%", {}},
        {"qrb_zv_result_header", "title", {}}};
    for (const ColumnCase& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + c.column);
        const Outcome l = columns(dbc(), "mt", c.table, c.column);
        ASSERT_EQ(l.rc, SQL_SUCCESS);
        Names found;
        for (const Row& r : l.rows) {
            found.push_back(r.at(2).value_or("") + "." + r.at(3).value_or(""));
        }
        EXPECT_EQ(found, c.expected);
    }
    // Another schema has none; a type declared in capitals is read as any other.
    EXPECT_TRUE(columns(dbc(), "dbo", "%", "%").rows.empty());
    connection_.query("create table mt.upper_types (code VARCHAR(12))");
    EXPECT_EQ(column(columns(dbc(), "mt", "upper_types", "%"), 6), Names{"12"});
}

// The view is read as it stands: the desktop change alters it.
TEST_P(Catalog, ViewColumnsFollowTheViewAsAltered)
{
    const auto titleColumns = [this] {
        return column(columns(dbc(), "mt", "qrb_zv_customiz", "title%"), 3);
    };
    EXPECT_EQ(titleColumns(), (Names{"title"}));
    connection_.query(alterView(GetParam(), "title3", "x"));
    EXPECT_EQ(titleColumns(), (Names{"title3"}));
}

TEST_P(Catalog, ListsTheThreeProceduresOfSchemaMt)
{
    const Outcome all = procedures(dbc(), nullptr, nullptr);
    ASSERT_EQ(all.rc, SQL_SUCCESS);
    EXPECT_EQ(all.columns,
              (Names{"PROCEDURE_CAT", "PROCEDURE_SCHEM", "PROCEDURE_NAME", "NUM_INPUT_PARAMS",
                     "NUM_OUTPUT_PARAMS", "NUM_RESULT_SETS", "REMARKS", "PROCEDURE_TYPE"}));
    const Names three = {"qrb_zv_field_config_maint", "qrb_zv_group_config_maint",
                         "qrb_zv_reset_page_config"};
    EXPECT_EQ(column(all, 2), three);
    EXPECT_EQ(column(all, 1), Names(3, "mt"));
    EXPECT_EQ(column(all, 7), Names(3, std::to_string(SQL_PT_PROCEDURE)));
    EXPECT_EQ(column(procedures(dbc(), "MT", "%MAINT"), 2),
              (Names{"qrb_zv_field_config_maint", "qrb_zv_group_config_maint"}));
    EXPECT_EQ(column(procedures(dbc(), "mt", "qrb_zv_reset_page_config"), 2),
              (Names{"qrb_zv_reset_page_config"}));
    EXPECT_TRUE(procedures(dbc(), "dbo", "%").rows.empty());
    EXPECT_TRUE(procedures(dbc(), "mt", "qrb_zv_groupconfig").rows.empty());
}

TEST_P(Catalog, KeysAndIndexesAreEmptyResultSetsOfSupportedFunctions)
{
    const Outcome keys = list(dbc(), [](SQLHSTMT s) {
        return SQLPrimaryKeys(s, nullptr, 0, text("mt"), SQL_NTS, text("qrb_zv_userlist"), SQL_NTS);
    });
    ASSERT_EQ(keys.rc, SQL_SUCCESS);
    EXPECT_EQ(keys.columns, (Names{"TABLE_CAT", "TABLE_SCHEM", "TABLE_NAME", "COLUMN_NAME",
                                   "KEY_SEQ", "PK_NAME"}));
    EXPECT_TRUE(keys.rows.empty());
    const Outcome indexes = list(dbc(), [](SQLHSTMT s) {
        return SQLStatistics(s, nullptr, 0, text("mt"), SQL_NTS, text("qrb_zv_general_offsets"),
                             SQL_NTS, SQL_INDEX_ALL, SQL_QUICK);
    });
    ASSERT_EQ(indexes.rc, SQL_SUCCESS);
    EXPECT_EQ(indexes.columns.size(), 13U);
    EXPECT_EQ(indexes.columns[5], "INDEX_NAME");
    EXPECT_TRUE(indexes.rows.empty());
    // The driver manager reports every catalog function as supported.
    for (const SQLUSMALLINT f : {SQL_API_SQLTABLES, SQL_API_SQLCOLUMNS, SQL_API_SQLPROCEDURES,
                                 SQL_API_SQLPRIMARYKEYS, SQL_API_SQLSTATISTICS}) {
        SQLUSMALLINT supported = SQL_FALSE;
        ASSERT_EQ(SQLGetFunctions(dbc(), f, &supported), SQL_SUCCESS);
        EXPECT_EQ(supported, SQL_TRUE) << "function " << f;
    }
}

TEST_P(Catalog, DownServerGivesTheLinkFailure)
{
    setServerDown(GetParam(), true);
    const Outcome l = tables(dbc(), nullptr, "mt", "%", nullptr);
    setServerDown(GetParam(), false);
    ASSERT_EQ(l.rc, SQL_ERROR);
    EXPECT_EQ(l.diags.at(0).state, "08S01");
}

KALDOR_FOR_EACH_DIALECT(Catalog);

struct PatternCase {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(CatalogPattern, MatchesAsTheServersDo)
{
    // clang-format off
    const std::vector<PatternCase> cases = {
        {"%", "", true}, {"%", "qrb_zv_reports", true}, {"", "", true}, {"", "a", false},
        {"qrb_zv_reports", "QRB_ZV_Reports", true}, {"qrb_zv_report", "qrb_zv_reports", false},
        {"qrb_zv_reports", "qrb_zv_report", false}, {"qrb%reports", "qrb_zv_reports", true},
        {"qrb%reports", "qrb_zv_reports_old", false}, {"%reports%", "qrb_zv_group_reports_x", true},
        {"%s%s%s", "sss", true}, {"%s%s%s", "ss", false}, {"%a%b", "aaab", true},
        {"%ab", "aab", true}, {"a_c", "abc", true}, {"a_c", "ac", false}, {"a__", "abc", true},
        {"a\\_c", "abc", false}, {"a\\_c", "a_c", true}, {"a\\%", "a%", true},
        {"a\\%", "ab", false}, {"a\\\\", "a\\", true}, {"a\\", "a\\", true},
        // '_' is one character, also one of several bytes.
        {"gr__e", "größe", true}, {"gr____e", "größe", false}, {"gr_%e", "größe", true},
        {"_", "ö", true}, {"__", "ö", false}};
    // clang-format on
    for (const PatternCase& c : cases) {
        EXPECT_EQ(matchesPattern(c.pattern, c.name), c.matches)
            << "'" << c.pattern << "' on '" << c.name << "'";
    }
}

} // namespace

} // namespace kaldor::standin::test
