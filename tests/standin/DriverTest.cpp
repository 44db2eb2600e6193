// The stand-in driver seen through the unixODBC driver manager, as the program sees it.
#include "OdbcClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace kaldor::standin::test {

namespace {

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override { StandinFixtureFiles::instance().reset(); }
};

using EachDialect = DialectTest;

// A query that counts to n, long-running for a large n.
std::string countTo(long n)
{
    return "with recursive c(i) as (select 1 union all select i + 1 from c where i < " +
           std::to_string(n) + ") select count(*) from c";
}

void addToDatabase(Dialect d, const std::string& script)
{
    std::string error;
    ASSERT_TRUE(runScript(StandinFixtureFiles::instance().databasePath(d), script, &error))
        << error;
}

struct LoginCase {
    Dialect dialect;
    const char* user;
    const char* password;
};

TEST_F(DriverTest, LoginFailureIsReportedAsTheServerWould)
{
    const std::vector<LoginCase> cases = {{Dialect::SqlServer, "admin", "wrong-pw"},
                                          {Dialect::SqlServer, "nobody", "secret"},
                                          {Dialect::SqlServer, "admin", ""},
                                          {Dialect::Anywhere, "admin", "SECRET"},
                                          {Dialect::Anywhere, "", "secret"}};
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(std::string(dsnOf(c.dialect)) + " '" + c.user + "'/'" + c.password + "'");
        Connection connection;
        ASSERT_FALSE(connection.open(dsnOf(c.dialect), c.user, c.password));
        ASSERT_FALSE(connection.diag().empty());
        // The messages are in the goldens of the login_failure_log scenario.
        const Diag& d = connection.diag().front();
        EXPECT_EQ(d.state, "28000");
        EXPECT_EQ(d.native, c.dialect == Dialect::SqlServer ? 18456 : -103);
        if (*c.password != '\0') {
            EXPECT_EQ(d.message.find(c.password), std::string::npos) << "password in the message";
        }
    }
}

TEST_P(EachDialect, LogsInWithTheAccountOfTheDatabaseFile)
{
    addToDatabase(GetParam(), "insert into mt.standin_login values ('demo', 'demo-pw'), "
                              "('brace', 'pw};x');");
    Connection demo;
    EXPECT_TRUE(demo.open(dsnOf(GetParam()), "demo", "demo-pw"));
    Connection upper;
    EXPECT_TRUE(upper.open(dsnOf(GetParam()), "DEMO", "demo-pw")) << "login names ignore case";
    // In a connection string, "}}" inside braces is one "}".
    // A dialect's name may be written with its blank; a string may name no data source.
    Connection spaced;
    EXPECT_TRUE(spaced.openWithString(std::string("DSN=") + dsnOf(GetParam()) +
                                      ";DIALECT=SQL Server;UID=admin;PWD=secret"));
    Connection dsnless;
    EXPECT_TRUE(dsnless.openWithString(
        std::string("DRIVER={") + kSqlServerDriverName +
        "};DATABASE=" + StandinFixtureFiles::instance().databasePath(GetParam()) +
        ";DIALECT=sqlserver;UID=admin;PWD=secret"));
    Connection brace;
    EXPECT_TRUE(
        brace.openWithString(std::string("DSN=") + dsnOf(GetParam()) + ";UID=brace;PWD={pw}};x}"));
}

// The completed connection string is given back only when the client passes a buffer for it;
// with none there is nothing to cut and so no warning.
TEST_F(DriverTest, DriverConnectReadsTheStringAndWarnsOfACutCopyOnlyWithABuffer)
{
    Connection c;
    ASSERT_TRUE(c.openWithString("DSN=Server DB;UID=admin;PWD={secret}"));
    EXPECT_EQ(c.scalar("select count(*) from mt.qrb_zv_groupconfig"), "0");
    // A key given twice counts the first time; DIALECT overrides the data source's.
    Connection twice;
    EXPECT_TRUE(twice.openWithString("DSN=Server DB;UID=admin;PWD=secret;PWD=wrong"));
    Connection other;
    ASSERT_TRUE(other.openWithString("DSN=Server DB;DIALECT=AnyWhere;UID=admin;PWD=secret"));
    char name[32] = {};
    SQLGetInfo(other.handle(), SQL_DBMS_NAME, name, sizeof name, nullptr);
    EXPECT_STREQ(name, "SQL Anywhere");
    const std::string in = "DSN=Server DB;UID=admin;PWD=secret";
    for (const bool wide : {false, true}) {
        for (const SQLSMALLINT outChars : {0, 128, 10}) {
            SCOPED_TRACE(std::string(wide ? "wide" : "narrow") + ", buffer of " +
                         std::to_string(outChars));
            Connection d;
            SQLSMALLINT outLength = -1;
            std::string out;
            const bool cut = outChars == 10;
            EXPECT_EQ(d.driverConnect(in, wide, outChars, &outLength, &out),
                      cut ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS);
            EXPECT_EQ(states(SQL_HANDLE_DBC, d.handle()),
                      cut ? std::vector<std::string>{"01004"} : std::vector<std::string>{});
            EXPECT_EQ(outLength, static_cast<SQLSMALLINT>(in.size()));
            if (outChars == 128) {
                EXPECT_EQ(out, in);
            }
        }
    }
}

TEST_P(EachDialect, ErrorInALaterStatementSurfacesOnMoreResultsAndEndsTheBatch)
{
    const auto outcomes = c_.run("insert into mt.qrb_zv_browser_list(browser_id) values ('IE');"
                                 "select * from mt.no_such_table;"
                                 "insert into mt.qrb_zv_browser_list(browser_id) values ('FF')");
    ASSERT_EQ(outcomes.size(), 2U);
    EXPECT_EQ(outcomes[0].rc, SQL_SUCCESS);
    EXPECT_EQ(outcomes[0].rowCount, 1);
    ASSERT_EQ(outcomes[1].rc, SQL_ERROR);
    const Diag& d = outcomes[1].diags.at(0);
    EXPECT_EQ(d.state, "42S02");
    EXPECT_EQ(d.native, GetParam() == Dialect::SqlServer ? 208 : -141);
    EXPECT_EQ(d.message,
              GetParam() == Dialect::SqlServer
                  ? "[KALDOR][Stand-in SQL Server]Invalid object name 'mt.no_such_table'."
                  : "[KALDOR][Stand-in SQL Anywhere]Table 'no_such_table' not found");
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_browser_list"), "1");
    EXPECT_EQ(c_.run("delete from mt.qrb_zv_browser_list").at(0).rowCount, 1);
    // Every result set of a batch has its own rows.
    const auto two = c_.run("select 'a' union all select 'b'; select 'c'");
    ASSERT_EQ(two.size(), 2U);
    EXPECT_EQ(two[1].rows, std::vector<Row>{{"c"}});
}

struct ErrorCase {
    Dialect dialect;
    const char* sql;
    const char* state; // "" for success
    SQLINTEGER native;
    const char* message; // checked when given
};

TEST_F(DriverTest, StatementErrorsCarryTheServersStateNumberAndMessage)
{
    const Dialect sa = Dialect::Anywhere;
    const Dialect ss = Dialect::SqlServer;
    const std::vector<ErrorCase> cases = {
        {sa, "commit", "", 0, nullptr},
        {ss, "commit", "25000", 3902,
         "[KALDOR][Stand-in SQL Server]The COMMIT TRANSACTION request has no corresponding BEGIN "
         "TRANSACTION."},
        {ss, "delete from mt.qrb_zv_tree_fields; commit", "25000", 3902, nullptr},
        {ss, "call mt.qrb_zv_group_config_maint", "42000", 102, nullptr},
        {ss, "select nosuch from mt.qrb_zv_groupconfig", "42S22", 207, nullptr},
        {ss, "selec group_id from mt.qrb_zv_groupconfig", "42000", 102, nullptr},
        {ss, "{call [mt].no_such_procedure}", "42000", 2812, nullptr},
        {sa, "select nosuch from mt.qrb_zv_groupconfig", "42S22", -143, nullptr},
        {sa, "selec group_id from mt.qrb_zv_groupconfig", "42000", -131, nullptr},
        {sa, "call mt.no_such_procedure;commit", "42S02", -265, nullptr},
        {ss, "{call [MT].qrb_zv_reset_page_config}", "", 0, nullptr},
        {sa, "call MT.qrb_zv_reset_page_config", "", 0, nullptr},
        {ss, "drop view mt.no_such_view", "42S02", 208,
         "[KALDOR][Stand-in SQL Server]Invalid object name 'mt.no_such_view'."},
        {sa, "drop view mt.no_such_view", "42S02", -141, nullptr},
        {ss, "select 'unterminated", "42000", 102, nullptr},
        {sa, "select 'unterminated", "42000", -131, nullptr},
        {ss, "insert into mt.qrb_zv_browser_list(nosuch) values ('x')", "42S22", 207,
         "[KALDOR][Stand-in SQL Server]Invalid column name 'nosuch'."},
        {sa, "insert into mt.qrb_zv_browser_list(nosuch) values ('x')", "42S22", -143,
         "[KALDOR][Stand-in SQL Anywhere]Column 'nosuch' not found"},
        {ss, "insert into mt.standin_login(login_name,password) values ('admin','x')", "23000",
         2627, nullptr},
        {sa, "insert into mt.standin_login(login_name,password) values ('admin','x')", "23000",
         -193, nullptr},
        // Comments are blanks to the server, also around its own statements.
        {sa, "call mt.qrb_zv_reset_page_config -- pages", "", 0, nullptr},
        {sa, "commit /* none open */", "", 0, nullptr},
        {ss, "rollback", "25000", 3903, nullptr}};
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(std::string(dsnOf(c.dialect)) + ": " + c.sql);
        Connection connection;
        ASSERT_TRUE(connection.open(c.dialect));
        const auto outcomes = connection.run(c.sql);
        ASSERT_FALSE(outcomes.empty());
        const Outcome& last = outcomes.back();
        if (*c.state == '\0') {
            EXPECT_EQ(outcomes.size(), 1U);
            EXPECT_EQ(last.rc, SQL_SUCCESS);
            continue;
        }
        ASSERT_EQ(last.rc, SQL_ERROR);
        ASSERT_FALSE(last.diags.empty());
        EXPECT_EQ(last.diags.front().state, c.state);
        EXPECT_EQ(last.diags.front().native, c.native);
        if (c.message) {
            EXPECT_EQ(last.diags.front().message, c.message);
        }
    }
}

// A rollback statement ends a transaction, also a named one, without its work.
TEST_P(EachDialect, ARollbackStatementUndoesTheTransaction)
{
    c_.run("begin tran t1; insert into mt.qrb_zv_browser_list(browser_id) values ('Undone'); "
           "rollback -- all of it");
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_browser_list where browser_id = 'Undone'"),
              "0");
    // Nested on SQL Server, the inner commit commits nothing and the outer rollback undoes it
    // all; SQL Anywhere's commit ends the whole transaction.
    c_.run("begin transaction; begin transaction; insert into mt.qrb_zv_browser_list(browser_id) "
           "values ('Nested'); commit; rollback");
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_browser_list where browser_id = 'Nested'"),
              GetParam() == Dialect::SqlServer ? "0" : "1");
}

// Autocommit switched off before the login stays off: a rollback undoes the insert.
TEST_P(EachDialect, AutocommitSwitchedOffBeforeTheLoginStaysOff)
{
    const SQLHENV env = newEnvironment();
    SQLHDBC own = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_DBC, env, &own);
    SQLSetConnectAttr(own, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                      0);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLConnect(own, sqlText(dsnOf(GetParam())), SQL_NTS, sqlText("admin"),
                                         SQL_NTS, sqlText("secret"), SQL_NTS)));
    {
        Stmt st(own);
        ASSERT_EQ(st.exec("insert into mt.qrb_zv_browser_list(browser_id) values ('Undone')"),
                  SQL_SUCCESS);
    }
    SQLEndTran(SQL_HANDLE_DBC, own, SQL_ROLLBACK);
    SQLDisconnect(own);
    SQLFreeHandle(SQL_HANDLE_DBC, own);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_browser_list where browser_id = 'Undone'"),
              "0");
    // A statement given by its byte length ends there.
    Stmt st(dbc());
    ASSERT_EQ(SQLExecDirect(st.h(), sqlText("select 1;select 2"), 8), SQL_SUCCESS);
    EXPECT_EQ(fetchAll(st.h()), std::vector<Row>{{"1"}});
    EXPECT_EQ(SQLMoreResults(st.h()), SQL_NO_DATA);
}

TEST_P(EachDialect, LongTextIsReadInChunks)
{
    std::string text;
    while (text.size() < 100 * 1024) {
        text += "select i4201 from mt.inventory where x = 'ä' -- " + std::to_string(text.size());
    }
    std::string literal;
    for (const char ch : text) {
        literal += ch == '\'' ? "''" : std::string(1, ch);
    }
    c_.query("insert into mt.qrb_zv_reports(report_name,report_sql) values ('R','" + literal +
             "')");
    Stmt st(dbc());
    ASSERT_EQ(st.exec("select CAST(report_sql AS text) 'report_sql' from mt.qrb_zv_reports"),
              SQL_SUCCESS);
    SQLULEN size = 0;
    SQLDescribeCol(st.h(), 1, nullptr, 0, nullptr, nullptr, &size, nullptr, nullptr);
    EXPECT_EQ(size, 2147483647U) << "a long text's column size";
    ASSERT_EQ(SQLFetch(st.h()), SQL_SUCCESS);
    std::string read;
    int truncated = 0;
    char buffer[4096];
    SQLLEN indicator = 0;
    SQLRETURN rc = SQL_SUCCESS_WITH_INFO;
    while ((rc = SQLGetData(st.h(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator)) ==
           SQL_SUCCESS_WITH_INFO) {
        EXPECT_EQ(st.state(), "01004");
        EXPECT_EQ(indicator, static_cast<SQLLEN>(text.size() - read.size()));
        read += buffer;
        ++truncated;
    }
    ASSERT_EQ(rc, SQL_SUCCESS);
    read += buffer;
    EXPECT_EQ(SQLGetData(st.h(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator), SQL_NO_DATA);
    EXPECT_EQ(read, text);
    EXPECT_EQ(truncated, static_cast<int>((text.size() - 1) / (sizeof buffer - 1)));
}

// The texts the program uses to call the procedures, per dialect.
std::string callText(Dialect d, const std::string& name)
{
    return d == Dialect::Anywhere ? "call mt." + name + ";commit"
                                  : "{call [mt]." + name + "};Begin transaction; commit";
}

// Turning autocommit back on commits what the connection did meanwhile, as ODBC has it.
TEST_P(EachDialect, AutocommitTurnedBackOnCommits)
{
    const auto autocommit = [this](SQLULEN on) {
        return SQLSetConnectAttr(dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(on), 0);
    };
    ASSERT_TRUE(SQL_SUCCEEDED(autocommit(SQL_AUTOCOMMIT_OFF)));
    c_.query("insert into mt.qrb_zv_browser_list(browser_id) values ('Kept')");
    ASSERT_TRUE(SQL_SUCCEEDED(autocommit(SQL_AUTOCOMMIT_ON)));
    Connection other;
    ASSERT_TRUE(other.open(GetParam()));
    EXPECT_EQ(other.scalar("select count(*) from mt.qrb_zv_browser_list"), "1");
}

// SQLCancel from another thread stops a statement that waits for a lock, with the server's
// "canceled" state, not its timeout; the next statement runs as usual.
TEST_P(EachDialect, ACancelledWaitSaysSo)
{
    Connection holder;
    ASSERT_TRUE(holder.open(GetParam()));
    ASSERT_TRUE(
        SQL_SUCCEEDED(SQLSetConnectAttr(holder.handle(), SQL_ATTR_AUTOCOMMIT,
                                        reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)));
    holder.query("insert into mt.qrb_zv_browser_list(browser_id) values ('Held')");
    Stmt waiting(dbc());
    std::thread canceller([&waiting] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        SQLCancel(waiting.h());
    });
    const SQLRETURN rc =
        waiting.exec("insert into mt.qrb_zv_browser_list(browser_id) values ('X')");
    canceller.join();
    EXPECT_EQ(rc, SQL_ERROR);
    EXPECT_EQ(waiting.states(), std::vector<std::string>{"HY008"});
    ASSERT_TRUE(SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, holder.handle(), SQL_ROLLBACK)));
    // The next statement, a long one, is not cancelled too.
    ASSERT_EQ(waiting.exec(countTo(200000)), SQL_SUCCESS) << waiting.state();
    EXPECT_EQ(fetchAll(waiting.h()), std::vector<Row>{{"200000"}});
}

// A statement that runs past its query timeout is stopped with the server's timeout.
TEST_P(EachDialect, ALongStatementEndsAtItsTimeout)
{
    Stmt st(dbc());
    ASSERT_TRUE(SQL_SUCCEEDED(
        SQLSetStmtAttr(st.h(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(1), 0)));
    EXPECT_EQ(st.exec(countTo(1000000000)), SQL_ERROR);
    EXPECT_EQ(st.states(), std::vector<std::string>{"HYT00"});
}

// A server that has stopped answering keeps a login waiting until the login timeout, then the
// client is told so; one that answers again before then lets the login through.
TEST_F(DriverTest, ALoginToAStoppedServerEndsAtTheLoginTimeout)
{
    const std::string stopped =
        StandinFixtureFiles::instance().databasePath(Dialect::SqlServer) + ".hang";
    std::ofstream(stopped).put('x');
    Connection late;
    late.setLoginTimeout(1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(late.open(dsnOf(Dialect::SqlServer), "admin", "secret"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ASSERT_FALSE(late.diag().empty());
    EXPECT_EQ(late.diag().front().state, "HYT00");
    EXPECT_NE(late.diag().front().message.find("Login timeout expired"), std::string::npos);

    std::thread answerAgain([&stopped] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::filesystem::remove(stopped);
    });
    Connection patient;
    patient.setLoginTimeout(0);
    EXPECT_TRUE(patient.open(dsnOf(Dialect::SqlServer), "admin", "secret"));
    answerAgain.join();
}

// A script that fails changes nothing and says why.
TEST_F(DriverTest, AFailingScriptChangesNothingAndSaysSo)
{
    std::string error;
    EXPECT_FALSE(runScript(StandinFixtureFiles::instance().databasePath(Dialect::Anywhere),
                           "insert into mt.qrb_zv_browser_list(browser_id) values ('A');"
                           "insert into mt.no_such_table values (1);",
                           &error));
    EXPECT_NE(error.find("no_such_table"), std::string::npos) << error;
    Connection c;
    ASSERT_TRUE(c.open(Dialect::Anywhere));
    EXPECT_EQ(c.scalar("select count(*) from mt.qrb_zv_browser_list where browser_id = 'A'"), "0");
}

// A data source whose database file is missing says so, and leaves no file behind.
TEST_F(DriverTest, AMissingDatabaseCannotBeOpened)
{
    const std::string missing = StandinFixtureFiles::instance().dir() + "/missing.db";
    Connection c;
    EXPECT_FALSE(c.openWithString("DSN=Server DB;DATABASE=" + missing + ";UID=admin;PWD=secret"));
    ASSERT_FALSE(c.diag().empty());
    EXPECT_EQ(c.diag().front().state, "08001");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// Columns are described with their declared type and width, as the catalog lists them; SQL
// Server's text is a long text.
TEST_P(EachDialect, ColumnsAreDescribedWithTheirTypeAndWidth)
{
    Stmt st(dbc());
    ASSERT_EQ(st.exec("select group_id, report_sql, sequence from mt.qrb_zv_groupconfig, "
                      "mt.qrb_zv_reports, mt.qrb_zv_report_prompts"),
              SQL_SUCCESS);
    const auto describe = [&st](SQLUSMALLINT column) {
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        EXPECT_EQ(
            SQLDescribeCol(st.h(), column, nullptr, 0, nullptr, &type, &size, nullptr, nullptr),
            SQL_SUCCESS)
            << "no name asked for, so none cut";
        return std::pair{type, size};
    };
    EXPECT_EQ(describe(1), std::pair(SQLSMALLINT{SQL_VARCHAR}, SQLULEN{60}));
    SQLSMALLINT nullable = -1;
    EXPECT_EQ(SQLDescribeCol(st.h(), 1, nullptr, 0, nullptr, nullptr, nullptr, nullptr, &nullable),
              SQL_SUCCESS);
    EXPECT_EQ(nullable, SQL_NULLABLE);
    EXPECT_EQ(describe(2), std::pair(SQLSMALLINT{SQL_LONGVARCHAR}, SQLULEN{2147483647}));
    EXPECT_EQ(describe(3), std::pair(SQLSMALLINT{SQL_NUMERIC}, SQLULEN{10}))
        << "as the catalog says";
    const auto attribute = [&st](SQLUSMALLINT column, SQLUSMALLINT field) {
        SQLLEN value = -1;
        EXPECT_EQ(SQLColAttribute(st.h(), column, field, nullptr, 0, nullptr, &value), SQL_SUCCESS);
        return value;
    };
    EXPECT_EQ(attribute(1, SQL_DESC_DISPLAY_SIZE), 60);
    EXPECT_EQ(attribute(1, SQL_DESC_UNSIGNED), SQL_TRUE) << "a text has no sign";
    EXPECT_EQ(attribute(3, SQL_DESC_DISPLAY_SIZE), 12);
    // A number's display size has room for its sign; a floating-point result is a double.
    ASSERT_EQ(st.exec("select count(*), 2.5 from mt.qrb_zv_groupconfig"), SQL_SUCCESS);
    EXPECT_EQ(attribute(1, SQL_DESC_DISPLAY_SIZE), 11);
    EXPECT_EQ(attribute(1, SQL_DESC_OCTET_LENGTH), 4);
    EXPECT_EQ(describe(2).first, SQL_DOUBLE);
    EXPECT_EQ(attribute(2, SQL_DESC_UNSIGNED), SQL_FALSE);
}

// Only the group inserted last gets its defaults, and only where it has none; an older group's
// NULLs stay.
TEST_P(EachDialect, GroupMaintenanceGivesTheNewGroupItsDefaults)
{
    c_.query("insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use) values ('Old','Y')");
    c_.query("insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use,cal_data_display) "
             "values ('Lab','N','N')");
    c_.query(callText(GetParam(), "qrb_zv_group_config_maint"));
    EXPECT_EQ(c_.query("select zv_inhibit_use, inv_data_display, cal_data_display from "
                       "mt.qrb_zv_groupconfig order by group_id desc"),
              (std::vector<Row>{Row{"Y", {}, {}}, {"N", "Y", "N"}}));
}

TEST_P(EachDialect, FieldMaintenanceAddsMissingOffsetRows)
{
    addToDatabase(GetParam(),
                  "insert into mt.me2_customiz(fldnum,title,fform,desktop,suppressed) values"
                  " ('4201','Asset','2','default','N'), ('2340','Results','9','default','N'),"
                  " ('2801','Place','4','default','Y'), ('9999','Other','0','default','N'),"
                  " ('2301','Twice','3','default','N'),"
                  " ('2301','Twice','3','DEFAULT','N'), (NULL,'None','3','default','N'),"
                  " ('4610','Customer','6','default','N'), ('3201','Repair','5','default','N');"
                  "insert into mt.qrb_zv_general_offsets values ('4201','2','5','6','7');");
    // Rows are added in the order of field number and form, once each.
    const char* const listing = "select fldnum, fform, general_field_title_x from "
                                "mt.qrb_zv_general_offsets order by rowid";
    const std::vector<Row> expected = {{"4201", "2", "5"}, {"2301", "0", "0"}, {"2301", "3", "0"},
                                       {"2340", "0", "0"}, {"2340", "3", "0"}, {"3201", "0", "0"},
                                       {"3201", "5", "0"}, {"4201", "0", "0"}, {"4610", "0", "0"},
                                       {"4610", "6", "0"}};
    for (const char* run : {"first run", "second run adds nothing"}) {
        c_.query(callText(GetParam(), "qrb_zv_field_config_maint"));
        EXPECT_EQ(c_.query(listing), expected) << run;
    }
}

// Every page gets its row again, in the order of the pages.
TEST_P(EachDialect, PageResetRecreatesEveryPage)
{
    c_.query(callText(GetParam(), "qrb_zv_reset_page_config"));
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_page_configuration"), "17");
    EXPECT_EQ(c_.scalar("select web_page from mt.qrb_zv_page_configuration"), "Login Form");
    // Each page with its own style sheet, without background or wallpaper.
    EXPECT_EQ(c_.scalar("select style_sheet from mt.qrb_zv_page_configuration where web_page = "
                        "'Repair Form'"),
              "repair.css");
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_page_configuration where background <> "
                        "'' or wallpaper <> ''"),
              "0");
}

// A statement that fails leaves the view as the last one that succeeded.
// A procedure that fails half-way keeps none of its changes.
TEST_P(EachDialect, AFailedProcedureKeepsNothing)
{
    addToDatabase(GetParam(), "update mt.standin_procedure set body = 'insert into "
                              "mt.qrb_zv_browser_list(browser_id) values (''Half''); insert "
                              "into mt.no_such_table values (1)' where name = "
                              "'qrb_zv_reset_page_config';");
    const auto failed =
        c_.run(GetParam() == Dialect::SqlServer ? "{call [mt].qrb_zv_reset_page_config}"
                                                : "call mt.qrb_zv_reset_page_config");
    ASSERT_EQ(failed.size(), 1U);
    EXPECT_EQ(failed[0].rc, SQL_ERROR);
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_browser_list where browser_id = 'Half'"),
              "0");
}

TEST_P(EachDialect, AFailedAlterViewKeepsTheView)
{
    addToDatabase(GetParam(), "insert into mt.me2_customiz(fldnum,title,title2,fform,desktop,"
                              "suppressed) values ('4201','Asset','Anlage','2','lab','N');");
    c_.query(alterView(GetParam(), "title2", "lab"));
    const auto failed = c_.run(alterView(GetParam(), "title9", "lab"));
    ASSERT_EQ(failed.size(), 1U);
    EXPECT_EQ(failed[0].rc, SQL_ERROR);
    EXPECT_EQ(c_.scalar("select title2 from mt.qrb_zv_customiz"), "Anlage");
}

TEST_P(EachDialect, DownServerFailsWithLinkFailureUntilRevived)
{
    setServerDown(GetParam(), true);
    const auto outcomes = c_.run("select count(*) from mt.qrb_zv_groupconfig");
    ASSERT_EQ(outcomes.size(), 1U);
    ASSERT_EQ(outcomes[0].rc, SQL_ERROR);
    EXPECT_EQ(outcomes[0].diags.at(0).state, "08S01");
    EXPECT_EQ(outcomes[0].diags.at(0).native, GetParam() == Dialect::SqlServer ? 10054 : -832);
    Connection second;
    EXPECT_FALSE(second.open(GetParam()));
    EXPECT_EQ(second.diag().at(0).state, "08S01");
    EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, dbc(), SQL_COMMIT), SQL_ERROR);
    EXPECT_EQ(states(SQL_HANDLE_DBC, dbc()), std::vector<std::string>{"08S01"});
    const auto dead = [this] {
        SQLUINTEGER value = 0;
        SQLGetConnectAttr(dbc(), SQL_ATTR_CONNECTION_DEAD, &value, 0, nullptr);
        return value;
    };
    EXPECT_EQ(dead(), SQLUINTEGER{SQL_CD_TRUE});
    setServerDown(GetParam(), false);
    EXPECT_EQ(dead(), SQLUINTEGER{SQL_CD_FALSE});
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_groupconfig"), "0");
}

// A configuration written with relative paths names the driver and the database by absolute
// ones, so that it works from any working folder.
TEST(OdbcConfig, NamesDriverAndDatabaseByAbsolutePaths)
{
    const std::filesystem::path before = std::filesystem::current_path();
    const std::filesystem::path work =
        std::filesystem::path(StandinFixtureFiles::instance().dir()) / "relative";
    std::filesystem::create_directories(work / "lib");
    std::filesystem::current_path(work);
    std::string error;
    const std::vector<DataSourceSpec> sources = {{"Demo", Dialect::Anywhere, "db/../demo.db"}};
    ASSERT_TRUE(writeOdbcConfig("odbc", "lib/./libdriver.so", sources, &error)) << error;
    std::filesystem::current_path(before);
    const auto read = [&work](const char* name) { return readFile(work / "odbc" / name); };
    const std::string driverLine = "Driver=" + (work / "lib" / "libdriver.so").string() + "\n";
    EXPECT_NE(read("odbcinst.ini").find(driverLine), std::string::npos) << read("odbcinst.ini");
    const std::string databaseLine = "Database=" + (work / "demo.db").string() + "\n";
    EXPECT_NE(read("odbc.ini").find(databaseLine), std::string::npos) << read("odbc.ini");
}

// What the stand-in driver says of itself through SQLGetInfo.
// One information type: its text, or its number and width (2 or 4 bytes), per dialect.
struct InfoCase {
    SQLUSMALLINT type;
    std::string anywhere;
    std::string sqlServer;
    int width = 0; // 0: a text
};

InfoCase same(SQLUSMALLINT type, const std::string& v)
{
    return {type, v, v};
}
InfoCase number(SQLUSMALLINT type, int width, SQLUINTEGER v)
{
    return {type, std::to_string(v), std::to_string(v), width};
}

// The value as text; a number written wider than its type would show in the bytes after it.
std::string readInfo(SQLHDBC dbc, const InfoCase& info)
{
    unsigned char bytes[256];
    std::memset(bytes, 0xee, sizeof bytes);
    SQLSMALLINT length = -1;
    EXPECT_EQ(SQLGetInfo(dbc, info.type, bytes, sizeof bytes, &length), SQL_SUCCESS);
    if (info.width == 0) {
        const std::string text(reinterpret_cast<char*>(bytes));
        EXPECT_EQ(length, static_cast<SQLSMALLINT>(text.size()));
        return text;
    }
    EXPECT_EQ(length, info.width);
    EXPECT_EQ(bytes[info.width], 0xee);
    SQLUSMALLINT s = 0;
    SQLUINTEGER l = 0;
    std::memcpy(info.width == 2 ? static_cast<void*>(&s) : &l, bytes, info.width);
    return std::to_string(info.width == 2 ? s : l);
}

TEST(GetInfo, AnswersEachInformationTypeWithItsValueAndWidth)
{
    StandinFixtureFiles& files = StandinFixtureFiles::instance();
    files.reset();
    const std::vector<InfoCase> cases = {
        {SQL_DBMS_NAME, "SQL Anywhere", "Microsoft SQL Server"},
        {SQL_DBMS_VER, "17.00.0000", "16.00.1000"},
        {SQL_DATA_SOURCE_NAME, kAnywhereDsn, kServerDsn},
        {SQL_SERVER_NAME, kAnywhereDsn, kServerDsn},
        {SQL_DATABASE_NAME, files.databasePath(Dialect::Anywhere),
         files.databasePath(Dialect::SqlServer)},
        // clang-format off
        same(SQL_USER_NAME, "admin"), same(SQL_DRIVER_NAME, "libkaldor-standin.so"),
        same(SQL_DRIVER_VER, "01.00.0000"), same(SQL_DRIVER_ODBC_VER, "03.00"),
        same(SQL_IDENTIFIER_QUOTE_CHAR, "\""), same(SQL_CATALOG_NAME_SEPARATOR, "."),
        same(SQL_SEARCH_PATTERN_ESCAPE, "\\"), same(SQL_SCHEMA_TERM, "owner"),
        same(SQL_PROCEDURE_TERM, "procedure"), same(SQL_TABLE_TERM, "table"),
        same(SQL_CATALOG_TERM, ""), same(SQL_KEYWORDS, ""), same(SQL_DATA_SOURCE_READ_ONLY, "N"),
        same(SQL_NEED_LONG_DATA_LEN, "N"), same(SQL_ORDER_BY_COLUMNS_IN_SELECT, "N"),
        same(SQL_MAX_ROW_SIZE_INCLUDES_LONG, "N"), same(SQL_PROCEDURES, "Y"),
        same(SQL_MULT_RESULT_SETS, "Y"), same(SQL_ACCESSIBLE_TABLES, "Y"),
        same(SQL_LIKE_ESCAPE_CLAUSE, "Y"),
        number(SQL_MAX_COLUMN_NAME_LEN, 2, 128), number(SQL_MAX_TABLE_NAME_LEN, 2, 128),
        number(SQL_MAX_SCHEMA_NAME_LEN, 2, 128), number(SQL_MAX_CATALOG_NAME_LEN, 2, 0),
        number(SQL_MAX_CONCURRENT_ACTIVITIES, 2, 0), number(SQL_TXN_CAPABLE, 2, SQL_TC_ALL),
        number(SQL_CURSOR_COMMIT_BEHAVIOR, 2, SQL_CB_PRESERVE),
        number(SQL_CURSOR_ROLLBACK_BEHAVIOR, 2, SQL_CB_PRESERVE),
        number(SQL_TXN_ISOLATION_OPTION, 4, SQL_TXN_SERIALIZABLE),
        number(SQL_MAX_IDENTIFIER_LEN, 2, 128),
        number(SQL_IDENTIFIER_CASE, 2, SQL_IC_MIXED), number(SQL_NULL_COLLATION, 2, SQL_NC_LOW),
        number(SQL_CONCAT_NULL_BEHAVIOR, 2, SQL_CB_NULL),
        number(SQL_GROUP_BY, 2, SQL_GB_GROUP_BY_CONTAINS_SELECT),
        number(SQL_NON_NULLABLE_COLUMNS, 2, SQL_NNC_NON_NULL),
        number(SQL_GETDATA_EXTENSIONS, 4, SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND),
        number(SQL_DEFAULT_TXN_ISOLATION, 4, SQL_TXN_SERIALIZABLE),
        number(SQL_SCROLL_OPTIONS, 4, SQL_SO_FORWARD_ONLY),
        number(SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1, 4, SQL_CA1_NEXT),
        number(SQL_ODBC_INTERFACE_CONFORMANCE, 4, SQL_OIC_CORE),
        number(SQL_BATCH_SUPPORT, 4, SQL_BS_SELECT_EXPLICIT | SQL_BS_ROW_COUNT_EXPLICIT),
        number(SQL_PARAM_ARRAY_SELECTS, 4, SQL_PAS_NO_SELECT),
        number(SQL_CURSOR_SENSITIVITY, 4, SQL_INSENSITIVE),
        number(SQL_SCHEMA_USAGE, 4,
               SQL_SU_DML_STATEMENTS | SQL_SU_PROCEDURE_INVOCATION | SQL_SU_TABLE_DEFINITION),
        number(SQL_SQL_CONFORMANCE, 4, SQL_SC_SQL92_ENTRY), number(SQL_STRING_FUNCTIONS, 4, 0),
        number(SQL_MAX_DRIVER_CONNECTIONS, 2, 0),
        number(SQL_MAX_STATEMENT_LEN, 4, 0)};
    // clang-format on
    for (const Dialect d : {Dialect::Anywhere, Dialect::SqlServer}) {
        Connection c;
        ASSERT_TRUE(c.open(d));
        for (const InfoCase& info : cases) {
            SCOPED_TRACE("information type " + std::to_string(info.type) + " in " + dsnOf(d));
            EXPECT_EQ(readInfo(c.handle(), info),
                      d == Dialect::Anywhere ? info.anywhere : info.sqlServer);
        }
    }
    // A text is cut to the buffer with a warning; an unknown type is refused.
    Connection c;
    ASSERT_TRUE(c.open(Dialect::SqlServer));
    char text[10] = {};
    SQLSMALLINT length = 0;
    EXPECT_EQ(SQLGetInfo(c.handle(), SQL_DBMS_NAME, text, sizeof text, &length),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(std::string(text), "Microsoft");
    EXPECT_EQ(length, 20);
    EXPECT_EQ(states(SQL_HANDLE_DBC, c.handle()), std::vector<std::string>{"01004"});
    EXPECT_EQ(SQLGetInfo(c.handle(), SQL_DRIVER_NAME, text, sizeof text, &length),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(length, 20);
    EXPECT_EQ(SQLGetInfo(c.handle(), 9999, text, sizeof text, nullptr), SQL_ERROR);
    EXPECT_EQ(states(SQL_HANDLE_DBC, c.handle()), std::vector<std::string>{"HY096"});
    char origin[16] = {};
    SQLGetDiagField(SQL_HANDLE_DBC, c.handle(), 1, SQL_DIAG_CLASS_ORIGIN, origin, sizeof origin,
                    nullptr);
    EXPECT_STREQ(origin, "ODBC 3.0");
    // The narrow forms answer in narrow texts: the current catalog, a native text cut to fit.
    SQLINTEGER textLength = 0;
    EXPECT_EQ(
        SQLGetConnectAttr(c.handle(), SQL_ATTR_CURRENT_CATALOG, text, sizeof text, &textLength),
        SQL_SUCCESS);
    EXPECT_STREQ(text, "mt");
    EXPECT_EQ(SQLNativeSql(c.handle(), sqlText("select 'x' from mt.t"), SQL_NTS,
                           reinterpret_cast<SQLCHAR*>(text), sizeof text, &textLength),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(states(SQL_HANDLE_DBC, c.handle()), std::vector<std::string>{"01004"});
    EXPECT_EQ(textLength, 20);
}

// The diagnostics of a statement: the rows it changed, and the server that answered.
TEST_P(EachDialect, DiagnosticsNameTheRowsAndTheServer)
{
    Stmt st(dbc());
    ASSERT_EQ(st.exec("insert into mt.qrb_zv_browser_list(browser_id) values ('A'), ('B')"),
              SQL_SUCCESS);
    SQLLEN rows = 0;
    ASSERT_TRUE(SQL_SUCCEEDED(
        SQLGetDiagField(SQL_HANDLE_STMT, st.h(), 0, SQL_DIAG_ROW_COUNT, &rows, 0, nullptr)));
    EXPECT_EQ(rows, 2);
    ASSERT_EQ(st.exec("select nosuch from mt.qrb_zv_browser_list"), SQL_ERROR);
    char server[32] = {};
    SQLGetDiagField(SQL_HANDLE_STMT, st.h(), 1, SQL_DIAG_SERVER_NAME, server, sizeof server,
                    nullptr);
    EXPECT_STREQ(server, dsnOf(GetParam()));
}

KALDOR_FOR_EACH_DIALECT(EachDialect);

} // namespace

} // namespace kaldor::standin::test
