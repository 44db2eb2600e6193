// The stand-in driver seen through the unixODBC driver manager, as the program sees it.
#include "OdbcClient.h"

#include <gtest/gtest.h>

#include <sqlucode.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace kaldor::standin::test {

namespace {

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override { StandinFixtureFiles::instance().reset(); }

    static std::unique_ptr<Connection> login(Dialect d)
    {
        auto c = std::make_unique<Connection>();
        EXPECT_TRUE(c->open(dsnOf(d), "admin", "secret"))
            << (c->diag().empty() ? "" : c->diag().front().message);
        return c;
    }
};

class EachDialect : public DriverTest, public ::testing::WithParamInterface<Dialect> {};

TEST_F(DriverTest, DriverManagerListsBothDataSourcesWithTheirDriverNames)
{
    SQLHENV env = SQL_NULL_HENV;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    std::map<std::string, std::string> sources;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    SQLCHAR name[32] = {};
    SQLCHAR description[255] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    while (SQL_SUCCEEDED(SQLDataSources(env, direction, name, sizeof name, &nameLength, description,
                                        sizeof description, &descriptionLength))) {
        sources[reinterpret_cast<char*>(name)] = reinterpret_cast<char*>(description);
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    const std::map<std::string, std::string> expected = {
        {kAnywhereDsn, kAnywhereDriverName},
        {kServerDsn, kSqlServerDriverName},
    };
    EXPECT_EQ(sources, expected);
}

struct LoginCase {
    Dialect dialect;
    const char* user;
    const char* password;
    SQLINTEGER native;
    const char* message;
};

class LoginFailure : public DriverTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(LoginFailure, IsReportedAsTheServerWould)
{
    const LoginCase& c = GetParam();
    Connection connection;
    ASSERT_FALSE(connection.open(dsnOf(c.dialect), c.user, c.password));
    ASSERT_FALSE(connection.diag().empty());
    const Diag& d = connection.diag().front();
    EXPECT_EQ(d.state, "28000");
    EXPECT_EQ(d.native, c.native);
    // The driver manager puts its own tag before the driver's messages of a failed connect.
    EXPECT_TRUE(d.message.ends_with(c.message)) << d.message;
    if (*c.password != '\0') {
        EXPECT_EQ(d.message.find(c.password), std::string::npos) << "password in the message";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Logins, LoginFailure,
    ::testing::Values(LoginCase{Dialect::SqlServer, "admin", "wrong-pw", 18456,
                                "[KALDOR][Stand-in SQL Server]Login failed for user 'admin'."},
                      LoginCase{Dialect::SqlServer, "nobody", "secret", 18456,
                                "[KALDOR][Stand-in SQL Server]Login failed for user 'nobody'."},
                      LoginCase{Dialect::SqlServer, "admin", "", 18456,
                                "[KALDOR][Stand-in SQL Server]Login failed for user 'admin'."},
                      LoginCase{Dialect::Anywhere, "admin", "SECRET", -103,
                                "[KALDOR][Stand-in SQL Anywhere]Invalid user ID or password"},
                      LoginCase{Dialect::Anywhere, "", "secret", -103,
                                "[KALDOR][Stand-in SQL Anywhere]Invalid user ID or password"}));

TEST_P(EachDialect, LogsInWithTheAccountOfTheDatabaseFile)
{
    Connection c;
    EXPECT_TRUE(c.open(dsnOf(GetParam()), "admin", "secret"));
    std::string error;
    ASSERT_TRUE(runScript(StandinFixtureFiles::instance().databasePath(GetParam()),
                          "insert into mt.standin_login values ('demo', 'demo-pw');", &error))
        << error;
    Connection demo;
    EXPECT_TRUE(demo.open(dsnOf(GetParam()), "demo", "demo-pw"));
}

TEST_F(DriverTest, DriverConnectReadsTheDataSourceFromTheConnectionString)
{
    Connection c;
    ASSERT_TRUE(c.openWithString("DSN=Server DB;UID=admin;PWD={secret}"));
    EXPECT_EQ(c.scalar("select count(*) from mt.qrb_zv_groupconfig"), "0");
}

struct DriverConnectCase {
    bool wide;
    SQLSMALLINT outChars; // 0: no output buffer
    SQLRETURN rc;
    std::vector<std::string> states;
};

// The completed connection string is given back only when the client passes a buffer for it;
// with none there is nothing to cut and so no warning.
TEST_F(DriverTest, DriverConnectWarnsOfACutConnectionStringOnlyWithABuffer)
{
    const std::string in = "DSN=Server DB;UID=admin;PWD=secret";
    const std::vector<DriverConnectCase> cases = {
        {false, 0, SQL_SUCCESS, {}},
        {true, 0, SQL_SUCCESS, {}},
        {false, 128, SQL_SUCCESS, {}},
        {true, 128, SQL_SUCCESS, {}},
        {false, 10, SQL_SUCCESS_WITH_INFO, {"01004"}},
        {true, 10, SQL_SUCCESS_WITH_INFO, {"01004"}},
    };
    for (const DriverConnectCase& c : cases) {
        SQLHENV env = SQL_NULL_HENV;
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLHDBC dbc = SQL_NULL_HDBC;
        SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
        SQLSMALLINT outLength = -1;
        SQLRETURN rc = SQL_ERROR;
        if (c.wide) {
            std::vector<SQLWCHAR> text(in.begin(), in.end());
            text.push_back(0);
            std::vector<SQLWCHAR> out(static_cast<size_t>(c.outChars) + 1);
            rc = SQLDriverConnectW(dbc, nullptr, text.data(), SQL_NTS,
                                   c.outChars > 0 ? out.data() : nullptr, c.outChars, &outLength,
                                   SQL_DRIVER_NOPROMPT);
        } else {
            std::string text = in;
            std::vector<SQLCHAR> out(static_cast<size_t>(c.outChars) + 1);
            rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS,
                                  c.outChars > 0 ? out.data() : nullptr, c.outChars, &outLength,
                                  SQL_DRIVER_NOPROMPT);
        }
        std::vector<std::string> states;
        for (const Diag& d : diagnostics(SQL_HANDLE_DBC, dbc)) {
            states.push_back(d.state);
        }
        const std::string what =
            std::string(c.wide ? "wide" : "narrow") + ", buffer of " + std::to_string(c.outChars);
        EXPECT_EQ(rc, c.rc) << what;
        EXPECT_EQ(states, c.states) << what;
        EXPECT_EQ(outLength, static_cast<SQLSMALLINT>(in.size())) << what;
        SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
}

TEST_F(DriverTest, AnywhereBatchGivesOneResultPerStatement)
{
    auto c = login(Dialect::Anywhere);
    c->query("insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use) values ('MT','N')");
    const auto outcomes = c->run("select group_id from mt.qrb_zv_groupconfig;commit");
    ASSERT_EQ(outcomes.size(), 2U);
    EXPECT_EQ(outcomes[0].rc, SQL_SUCCESS);
    ASSERT_EQ(outcomes[0].rows.size(), 1U);
    EXPECT_EQ(outcomes[0].rows[0][0], "MT");
    EXPECT_EQ(outcomes[1].rc, SQL_SUCCESS);
    EXPECT_TRUE(outcomes[1].columns.empty());
}

TEST_F(DriverTest, SqlServerBatchCommitsItsTransaction)
{
    auto c = login(Dialect::SqlServer);
    c->query("insert into mt.qrb_zv_result_header(header) values ('a');Begin Transaction; commit");
    const auto outcomes = c->run("Begin Transaction; delete from mt.qrb_zv_result_header; commit");
    ASSERT_EQ(outcomes.size(), 3U);
    EXPECT_EQ(outcomes[1].rowCount, 1);
    Connection other;
    ASSERT_TRUE(other.open(kServerDsn, "admin", "secret"));
    EXPECT_EQ(other.scalar("select count(*) from mt.qrb_zv_result_header"), "0");
}

TEST_P(EachDialect, ErrorInALaterStatementSurfacesOnMoreResults)
{
    auto c = login(GetParam());
    const auto outcomes = c->run("insert into mt.qrb_zv_browser_list(browser_id) values ('IE');"
                                 "select * from mt.no_such_table;"
                                 "insert into mt.qrb_zv_browser_list(browser_id) values ('FF')");
    ASSERT_EQ(outcomes.size(), 2U);
    EXPECT_EQ(outcomes[0].rc, SQL_SUCCESS);
    EXPECT_EQ(outcomes[0].rowCount, 1);
    ASSERT_EQ(outcomes[1].rc, SQL_ERROR);
    ASSERT_FALSE(outcomes[1].diags.empty());
    const Diag& d = outcomes[1].diags.front();
    EXPECT_EQ(d.state, "42S02");
    if (GetParam() == Dialect::SqlServer) {
        EXPECT_EQ(d.native, 208);
        EXPECT_EQ(d.message,
                  "[KALDOR][Stand-in SQL Server]Invalid object name 'mt.no_such_table'.");
    } else {
        EXPECT_EQ(d.native, -141);
        EXPECT_EQ(d.message, "[KALDOR][Stand-in SQL Anywhere]Table 'no_such_table' not found");
    }
    EXPECT_EQ(c->scalar("select count(*) from mt.qrb_zv_browser_list"), "1");
}

struct ErrorCase {
    Dialect dialect;
    const char* sql;
    const char* state;
    SQLINTEGER native;
};

class StatementError : public DriverTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(StatementError, CarriesTheServersStateAndNumber)
{
    auto c = login(GetParam().dialect);
    const auto outcomes = c->run(GetParam().sql);
    ASSERT_FALSE(outcomes.empty());
    const Outcome& last = outcomes.back();
    ASSERT_EQ(last.rc, SQL_ERROR);
    ASSERT_FALSE(last.diags.empty());
    EXPECT_EQ(last.diags.front().state, GetParam().state);
    EXPECT_EQ(last.diags.front().native, GetParam().native);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, StatementError,
    ::testing::Values(
        ErrorCase{Dialect::SqlServer, "commit", "25000", 3902},
        ErrorCase{Dialect::SqlServer, "delete from mt.qrb_zv_tree_fields; commit", "25000", 3902},
        ErrorCase{Dialect::SqlServer, "call mt.qrb_zv_group_config_maint", "42000", 102},
        ErrorCase{Dialect::SqlServer, "select nosuch from mt.qrb_zv_groupconfig", "42S22", 207},
        ErrorCase{Dialect::SqlServer, "selec group_id from mt.qrb_zv_groupconfig", "42000", 102},
        ErrorCase{Dialect::SqlServer, "{call [mt].no_such_procedure}", "42000", 2812},
        ErrorCase{Dialect::Anywhere, "select nosuch from mt.qrb_zv_groupconfig", "42S22", -143},
        ErrorCase{Dialect::Anywhere, "selec group_id from mt.qrb_zv_groupconfig", "42000", -131},
        ErrorCase{Dialect::Anywhere, "call mt.no_such_procedure;commit", "42S02", -265}));

TEST_F(DriverTest, CommitWithoutTransactionIsFineOnAnywhereAndAnErrorOnSqlServer)
{
    auto anywhere = login(Dialect::Anywhere);
    const auto a = anywhere->run("commit");
    ASSERT_EQ(a.size(), 1U);
    EXPECT_EQ(a[0].rc, SQL_SUCCESS);

    auto server = login(Dialect::SqlServer);
    const auto s = server->run("commit");
    ASSERT_EQ(s.size(), 1U);
    ASSERT_EQ(s[0].rc, SQL_ERROR);
    ASSERT_FALSE(s[0].diags.empty());
    EXPECT_EQ(s[0].diags[0].message, "[KALDOR][Stand-in SQL Server]The COMMIT TRANSACTION request "
                                     "has no corresponding BEGIN TRANSACTION.");
}

TEST_P(EachDialect, NullAndEmptyTextAreDistinct)
{
    auto c = login(GetParam());
    c->query("insert into mt.qrb_zv_page_configuration(web_page,style_sheet,wallpaper) "
             "values ('Login Form',NULL,'')");
    const auto rows =
        c->query("select style_sheet, wallpaper, background from mt.qrb_zv_page_configuration");
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0][0], std::nullopt);
    EXPECT_EQ(rows[0][1], std::optional<std::string>(""));
    EXPECT_EQ(rows[0][2], std::nullopt);
}

TEST_P(EachDialect, LongTextIsReadInChunks)
{
    auto c = login(GetParam());
    std::string text;
    while (text.size() < 100 * 1024) {
        text += "select i4201 from mt.inventory where x = 'ä' -- " + std::to_string(text.size());
    }
    std::string literal;
    for (const char ch : text) {
        literal += ch == '\'' ? "''" : std::string(1, ch);
    }
    c->query("insert into mt.qrb_zv_reports(report_name,report_sql) values ('R','" + literal +
             "')");
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, c->handle(), &stmt);
    std::string sql = "select CAST(report_sql AS text) 'report_sql' from mt.qrb_zv_reports";
    ASSERT_EQ(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
    std::string read;
    int truncated = 0;
    char buffer[4096];
    SQLLEN indicator = 0;
    SQLRETURN rc = SQL_SUCCESS_WITH_INFO;
    while ((rc = SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator)) ==
           SQL_SUCCESS_WITH_INFO) {
        EXPECT_EQ(diagnostics(SQL_HANDLE_STMT, stmt).at(0).state, "01004");
        EXPECT_EQ(indicator, static_cast<SQLLEN>(text.size() - read.size()));
        read += buffer;
        ++truncated;
    }
    ASSERT_EQ(rc, SQL_SUCCESS);
    read += buffer;
    EXPECT_EQ(SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator), SQL_NO_DATA);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    EXPECT_EQ(read, text);
    EXPECT_EQ(truncated, static_cast<int>((text.size() - 1) / (sizeof buffer - 1)));
}

TEST_F(DriverTest, WideTextIsUtf16)
{
    auto c = login(Dialect::SqlServer);
    c->query("insert into mt.qrb_zv_result_header(header) values ('Größe €')");
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, c->handle(), &stmt);
    std::string sql = "select header from mt.qrb_zv_result_header";
    ASSERT_EQ(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
    char16_t buffer[32] = {};
    SQLLEN indicator = 0;
    EXPECT_EQ(SQLGetData(stmt, 1, SQL_C_WCHAR, buffer, sizeof buffer, &indicator), SQL_SUCCESS);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    EXPECT_EQ(std::u16string(buffer), u"Größe €");
    EXPECT_EQ(indicator, 14);
}

TEST_P(EachDialect, TextComparesIgnoreCase)
{
    auto c = login(GetParam());
    c->query("insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use) values ('Admins','N')");
    c->query("insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use) values ('MT','N')");
    EXPECT_EQ(c->scalar("select group_id from mt.qrb_zv_groupconfig where group_id = 'ADMINS'"),
              "Admins");
    EXPECT_EQ(c->scalar("select count(*) from mt.qrb_zv_groupconfig where group_id in "
                        "('admins','mt')"),
              "2");
    EXPECT_EQ(c->scalar("select count(*) from mt.qrb_zv_groupconfig where group_id <> 'mt'"), "1");
    EXPECT_EQ(c->scalar("select group_id from mt.qrb_zv_groupconfig order by group_id desc"), "MT");
}

// The texts the program uses to call the procedures, per dialect.
std::string callText(Dialect d, const std::string& name)
{
    return d == Dialect::Anywhere ? "call mt." + name + ";commit"
                                  : "{call [mt]." + name + "};Begin transaction; commit";
}

TEST_P(EachDialect, GroupMaintenanceGivesNewGroupsTheirDefaults)
{
    auto c = login(GetParam());
    c->query("insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use,cal_data_display) "
             "values ('Lab','N','N')");
    c->query(callText(GetParam(), "qrb_zv_group_config_maint"));
    const auto rows = c->query("select zv_inhibit_use, inv_data_display, view_merge_data, "
                               "cal_data_display, cal_data_old_number, cal_data_old_type, "
                               "rep_show_latest from mt.qrb_zv_groupconfig");
    ASSERT_EQ(rows.size(), 1U);
    const Row expected = {"N", "Y", "Y", "N", "0", "Y", "Y"};
    EXPECT_EQ(rows[0], expected);
}

TEST_P(EachDialect, FieldMaintenanceAddsMissingOffsetRows)
{
    std::string error;
    ASSERT_TRUE(
        runScript(StandinFixtureFiles::instance().databasePath(GetParam()),
                  "insert into mt.me2_customiz(fldnum,title,fform,desktop,suppressed) values"
                  " ('4201','Asset','2','default','N'), ('2340','Results','9','default','N'),"
                  " ('2801','Place','4','default','Y'), ('9999','Other','0','default','N'),"
                  " ('2301','Twice','3','default','N'),"
                  " ('2301','Twice','3','DEFAULT','N'), (NULL,'None','3','default','N');"
                  "insert into mt.qrb_zv_general_offsets values ('4201','2','5','6','7');",
                  &error))
        << error;
    auto c = login(GetParam());
    c->query(callText(GetParam(), "qrb_zv_field_config_maint"));
    // Rows are added in the order of field number and form, once each.
    const char* const listing = "select fldnum, fform, general_field_title_x from "
                                "mt.qrb_zv_general_offsets order by rowid";
    const std::vector<Row> expected = {{"4201", "2", "5"}, {"2301", "0", "0"}, {"2301", "3", "0"},
                                       {"2340", "0", "0"}, {"2340", "3", "0"}, {"4201", "0", "0"}};
    EXPECT_EQ(c->query(listing), expected);
    c->query(callText(GetParam(), "qrb_zv_field_config_maint"));
    EXPECT_EQ(c->query(listing), expected) << "a second run adds nothing";
}

TEST_P(EachDialect, PageResetFillsAnEmptyTableAndRestoresDefaults)
{
    auto c = login(GetParam());
    c->query(callText(GetParam(), "qrb_zv_reset_page_config"));
    EXPECT_EQ(c->scalar("select count(*) from mt.qrb_zv_page_configuration"), "17");
    c->query("update mt.qrb_zv_page_configuration set style_sheet = NULL, wallpaper = 'w.jpg',"
             " background = '#FF0000' where web_page = 'Report Prompts'");
    c->query(callText(GetParam(), "qrb_zv_reset_page_config"));
    const auto rows = c->query("select style_sheet, wallpaper, background from "
                               "mt.qrb_zv_page_configuration where web_page = 'Report Prompts'");
    const std::vector<Row> expected = {{"prompts.css", "", ""}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(c->scalar("select web_page from mt.qrb_zv_page_configuration"), "Login Form");
}

TEST_P(EachDialect, AlterViewReplacesTheViewAndKeepsItOnFailure)
{
    std::string error;
    ASSERT_TRUE(runScript(StandinFixtureFiles::instance().databasePath(GetParam()),
                          "insert into mt.me2_customiz(fldnum,title,title2,fform,desktop,"
                          "suppressed) values ('4201','Asset','Anlage','2','lab','N');",
                          &error))
        << error;
    auto c = login(GetParam());
    const std::string head = GetParam() == Dialect::Anywhere
                                 ? "alter view mt.qrb_zv_customiz as select fldnum,"
                                 : "alter view [mt].[qrb_zv_customiz] as select fldnum,";
    const std::string tail = ",row,col,len,fform, ftype  from mt.me2_customiz where desktop='lab'";
    c->query(head + "title2" + tail);
    const auto outcomes = c->run("select fldnum, title2 from mt.qrb_zv_customiz");
    ASSERT_EQ(outcomes.size(), 1U);
    EXPECT_EQ(outcomes[0].columns, (std::vector<std::string>{"fldnum", "title2"}));
    EXPECT_EQ(outcomes[0].rows, (std::vector<Row>{{"4201", "Anlage"}}));

    const auto failed = c->run(head + "title9" + tail);
    ASSERT_EQ(failed.size(), 1U);
    EXPECT_EQ(failed[0].rc, SQL_ERROR);
    EXPECT_EQ(c->scalar("select title2 from mt.qrb_zv_customiz"), "Anlage");
}

TEST_P(EachDialect, DownServerFailsWithLinkFailureUntilRevived)
{
    auto c = login(GetParam());
    const std::string down = StandinFixtureFiles::instance().databasePath(GetParam()) + ".down";
    std::ofstream(down).put('x');
    const SQLINTEGER native = GetParam() == Dialect::SqlServer ? 10054 : -832;

    const auto outcomes = c->run("select count(*) from mt.qrb_zv_groupconfig");
    ASSERT_EQ(outcomes.size(), 1U);
    ASSERT_EQ(outcomes[0].rc, SQL_ERROR);
    EXPECT_EQ(outcomes[0].diags.at(0).state, "08S01");
    EXPECT_EQ(outcomes[0].diags.at(0).native, native);

    Connection second;
    EXPECT_FALSE(second.open(dsnOf(GetParam()), "admin", "secret"));
    EXPECT_EQ(second.diag().at(0).state, "08S01");

    std::filesystem::remove(down);
    EXPECT_EQ(c->scalar("select count(*) from mt.qrb_zv_groupconfig"), "0");
}

// A configuration written with relative paths names the driver and the database by absolute
// ones, so that it works from any working folder.
TEST(OdbcConfig, NamesDriverAndDatabaseByAbsolutePaths)
{
    const std::filesystem::path before = std::filesystem::current_path();
    const std::filesystem::path database =
        StandinFixtureFiles::instance().databasePath(Dialect::Anywhere);
    const std::filesystem::path work = database.parent_path() / "relative";
    std::filesystem::create_directories(work / "lib");
    std::filesystem::current_path(work);
    std::string error;
    const std::vector<DataSourceSpec> sources = {{"Demo", Dialect::Anywhere, "db/../demo.db"}};
    ASSERT_TRUE(writeOdbcConfig("odbc", "lib/./libdriver.so", sources, &error)) << error;
    std::filesystem::current_path(before);
    const auto read = [&work](const char* name) {
        std::ifstream in(work / "odbc" / name);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string driverLine = "Driver=" + (work / "lib" / "libdriver.so").string() + "\n";
    EXPECT_NE(read("odbcinst.ini").find(driverLine), std::string::npos) << read("odbcinst.ini");
    const std::string databaseLine = "Database=" + (work / "demo.db").string() + "\n";
    EXPECT_NE(read("odbc.ini").find(databaseLine), std::string::npos) << read("odbc.ini");
}

INSTANTIATE_TEST_SUITE_P(Dialects, EachDialect,
                         ::testing::Values(Dialect::Anywhere, Dialect::SqlServer),
                         dialectName<::testing::TestParamInfo<Dialect>>);

} // namespace

} // namespace kaldor::standin::test
