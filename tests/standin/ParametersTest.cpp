// Input parameters through the driver manager, as pyodbc and other clients use them:
// SQLNumParams, SQLBindParameter and SQLExecute or SQLExecDirect.
#include "OdbcClient.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace kaldor::standin::test {

namespace {

using Parameters = DialectTest;

// Binds an input text parameter of the C type SQL_C_CHAR, read up to its NUL.
SQLRETURN bindText(const Stmt& st, SQLUSMALLINT number, char* value)
{
    return SQLBindParameter(st.h(), number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, value,
                            0, nullptr);
}

// Which question marks are markers is SqlTextTest's; here the count of a whole batch.
TEST_P(Parameters, NumParamsCountsTheMarkersOfEveryStatement)
{
    Stmt st(dbc());
    ASSERT_EQ(SQLPrepare(st.h(), sqlText("select ?;select '?', ? /* ? */ , ? -- ?"), SQL_NTS),
              SQL_SUCCESS);
    SQLSMALLINT count = -1;
    EXPECT_EQ(SQLNumParams(st.h(), &count), SQL_SUCCESS);
    EXPECT_EQ(count, 3);
    // The text run last counts, also when SQLExecDirect ran it.
    ASSERT_EQ(st.exec("select 1"), SQL_SUCCESS);
    EXPECT_EQ(SQLNumParams(st.h(), &count), SQL_SUCCESS);
    EXPECT_EQ(count, 0);
}

// Binds text parameters as pyodbc does (wide strings, lengths in bytes) and ANSI ones, NULL
// among them, and reads the row back.
TEST_P(Parameters, TextParametersReachTheServerWhole)
{
    Stmt st(dbc());
    ASSERT_EQ(SQLPrepare(st.h(),
                         sqlText("insert into mt.qrb_zv_report_prompts (zvrtag, prompt_string, "
                                 "prompt, default_value, sequence) values (?, ?, ?, ?, ?)"),
                         SQL_NTS),
              SQL_SUCCESS);
    char tag[16] = "DUE1";
    SQLLEN tagLength = SQL_NTS;
    std::u16string promptString = u"$LAB$";
    SQLLEN promptStringLength = static_cast<SQLLEN>(promptString.size() * sizeof(char16_t));
    // Quotes, a statement end and a comment mark are data, not SQL.
    std::string prompt = "it's ?; -- Größe 🌡";
    SQLLEN promptLength = static_cast<SQLLEN>(prompt.size());
    SQLLEN nullData = SQL_NULL_DATA;
    SQLINTEGER sequence = 12;
    const auto bind = [&st](SQLUSMALLINT n, SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN size,
                            void* value, SQLLEN length, SQLLEN* indicator) {
        return SQLBindParameter(st.h(), n, SQL_PARAM_INPUT, cType, sqlType, size, 0, value, length,
                                indicator);
    };
    ASSERT_EQ(bind(1, SQL_C_CHAR, SQL_VARCHAR, 15, tag, sizeof tag, &tagLength), SQL_SUCCESS);
    ASSERT_EQ(bind(2, SQL_C_WCHAR, SQL_WVARCHAR, 60, promptString.data(), promptStringLength,
                   &promptStringLength),
              SQL_SUCCESS);
    ASSERT_EQ(bind(3, SQL_C_CHAR, SQL_VARCHAR, 160, prompt.data(), promptLength, &promptLength),
              SQL_SUCCESS);
    ASSERT_EQ(bind(4, SQL_C_CHAR, SQL_VARCHAR, 160, nullptr, 0, &nullData), SQL_SUCCESS);
    ASSERT_EQ(bind(5, SQL_C_SLONG, SQL_NUMERIC, 10, &sequence, 0, nullptr), SQL_SUCCESS);
    ASSERT_EQ(SQLExecute(st.h()), SQL_SUCCESS) << st.state();
    // The values are read at each execution.
    std::strcpy(tag, "DUE2");
    sequence = 13;
    ASSERT_EQ(SQLExecute(st.h()), SQL_SUCCESS) << st.state();
    const std::vector<Row> expected = {{"DUE1", "$LAB$", prompt, std::nullopt, "12"},
                                       {"DUE2", "$LAB$", prompt, std::nullopt, "13"}};
    EXPECT_EQ(c_.query("select zvrtag, prompt_string, prompt, default_value, sequence from "
                       "mt.qrb_zv_report_prompts order by zvrtag"),
              expected);
}

// The statements of a batch run by SQLExecDirect take the bound parameters in order.
TEST_P(Parameters, ExecDirectGivesTheStatementsOfABatchTheirParametersInOrder)
{
    c_.query("insert into mt.qrb_zv_userlist (mtuser, group_id) values ('jsmith', 'LAB'), "
             "('agarcia', 'QA'), ('mlopez', 'QA')");
    Stmt st(dbc());
    char group[8] = "qa";
    ASSERT_EQ(bindText(st, 1, group), SQL_SUCCESS);
    ASSERT_EQ(st.exec("select mtuser from mt.qrb_zv_userlist where group_id = ? order by 1"),
              SQL_SUCCESS)
        << st.state();
    EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{"agarcia"}, {"mlopez"}}));
    char a[] = "first";
    char b[] = "second";
    char c[] = "third";
    bindText(st, 1, a);
    bindText(st, 2, b);
    bindText(st, 3, c);
    ASSERT_EQ(st.exec("insert into mt.qrb_zv_browser_list (browser_id) values (?);"
                      "select '?' || ?, ? -- ?"),
              SQL_SUCCESS)
        << st.state();
    ASSERT_EQ(SQLMoreResults(st.h()), SQL_SUCCESS);
    EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{"?second", "third"}}));
    EXPECT_EQ(c_.scalar("select browser_id from mt.qrb_zv_browser_list"), "first");
    // The handle runs a new text after its results ran out.
    EXPECT_EQ(SQLMoreResults(st.h()), SQL_NO_DATA);
    ASSERT_EQ(st.exec("select 'again'"), SQL_SUCCESS);
    EXPECT_EQ(fetchAll(st.h()), std::vector<Row>{{"again"}});
    // Texts given by their length: an empty one (as pyodbc binds ''), one shorter than its buffer.
    SQLFreeStmt(st.h(), SQL_RESET_PARAMS);
    char empty[1] = "";
    char code[8] = "QA-LAB";
    SQLLEN zero = 0;
    SQLLEN two = 2;
    SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0, empty, sizeof empty,
                     &zero);
    SQLBindParameter(st.h(), 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 6, 0, code, sizeof code,
                     &two);
    ASSERT_EQ(st.exec("select length(?), ?"), SQL_SUCCESS) << st.state();
    EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{"0", "QA"}}));
}

// A value is bound to the statement, not written into its text: a long one is read whole and
// the result's column is named by the statement as written.
TEST_P(Parameters, ALongValueIsBoundNotWrittenIntoTheText)
{
    Stmt st(dbc());
    std::string value(100000, 'x');
    value += "'; drop table mt.qrb_zv_reports; --";
    SQLLEN length = static_cast<SQLLEN>(value.size());
    ASSERT_EQ(SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR,
                               value.size(), 0, value.data(), length, &length),
              SQL_SUCCESS);
    ASSERT_EQ(st.exec("select length(?)"), SQL_SUCCESS) << st.state();
    SQLCHAR name[64] = {};
    ASSERT_EQ(
        SQLDescribeCol(st.h(), 1, name, sizeof name, nullptr, nullptr, nullptr, nullptr, nullptr),
        SQL_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name)), "length(?)");
    EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{std::to_string(value.size())}}));
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_reports"), "0");
}

struct NumberCase {
    SQLSMALLINT cType;
    SQLSMALLINT sqlType;
    std::vector<unsigned char> bytes; // the C value as it lies in memory
    const char* expected;
};

TEST_P(Parameters, NumberParametersAreReadAtTheirWidth)
{
    const std::vector<NumberCase> cases = {
        {SQL_C_SLONG, SQL_INTEGER, bytesOf<SQLINTEGER>(-2147483647 - 1), "-2147483648"},
        {SQL_C_LONG, SQL_INTEGER, bytesOf<SQLINTEGER>(42), "42"},
        {SQL_C_ULONG, SQL_INTEGER, bytesOf<SQLUINTEGER>(4294967295U), "4294967295"},
        {SQL_C_SSHORT, SQL_SMALLINT, bytesOf<SQLSMALLINT>(-5), "-5"},
        {SQL_C_USHORT, SQL_SMALLINT, bytesOf<SQLUSMALLINT>(65535), "65535"},
        {SQL_C_STINYINT, SQL_TINYINT, bytesOf<SQLSCHAR>(-7), "-7"},
        {SQL_C_UTINYINT, SQL_TINYINT, bytesOf<SQLCHAR>(200), "200"},
        {SQL_C_BIT, SQL_BIT, bytesOf<SQLCHAR>(1), "1"},
        // Beyond a double's precision: read as the integer it is.
        {SQL_C_SBIGINT, SQL_BIGINT, bytesOf<SQLBIGINT>(9007199254740993LL), "9007199254740993"},
        {SQL_C_UBIGINT, SQL_VARCHAR, bytesOf<SQLUBIGINT>(18446744073709551615ULL),
         "18446744073709551615"},
        {SQL_C_DOUBLE, SQL_DOUBLE, bytesOf<double>(2.5), "2.5"},
        {SQL_C_FLOAT, SQL_REAL, bytesOf<float>(2.5F), "2.5"},
        {SQL_C_DEFAULT, SQL_REAL, bytesOf<float>(2.5F), "2.5"},
        {SQL_C_SHORT, SQL_SMALLINT, bytesOf<SQLSMALLINT>(-5), "-5"},
        {SQL_C_DOUBLE, SQL_VARCHAR, bytesOf<double>(1234567.25), "1234567.25"},
        {SQL_C_DEFAULT, SQL_INTEGER, bytesOf<SQLINTEGER>(-3), "-3"},
        {SQL_C_DEFAULT, SQL_WVARCHAR, bytesOf(std::array<char16_t, 2>{u'a', u'b'}), "ab"},
        // A number bound to a text parameter is compared as text.
        {SQL_C_SLONG, SQL_VARCHAR, bytesOf<SQLINTEGER>(7), "7"}};
    for (const NumberCase& c : cases) {
        SCOPED_TRACE("C type " + std::to_string(c.cType) + ", " + c.expected);
        Stmt st(dbc());
        std::vector<unsigned char> value = c.bytes;
        value.resize(16);
        ASSERT_EQ(SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, c.cType, c.sqlType, 0, 0,
                                   value.data(), 0, nullptr),
                  SQL_SUCCESS);
        ASSERT_EQ(st.exec("select ?"), SQL_SUCCESS) << st.state();
        EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{c.expected}}));
        if (c.sqlType == SQL_VARCHAR && c.cType == SQL_C_SLONG) {
            ASSERT_EQ(st.exec("select typeof(?)"), SQL_SUCCESS);
            EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{"text"}}));
        }
    }
}

TEST_P(Parameters, RefusesWhatItCannotBindOrExecute)
{
    const std::vector<std::tuple<SQLSMALLINT, SQLSMALLINT, bool, const char*>> cases = {
        {SQL_PARAM_OUTPUT, SQL_C_CHAR, true, "HYC00"},     // an output parameter
        {SQL_PARAM_INPUT, SQL_C_BINARY, true, "HYC00"},    // a binary value
        {SQL_PARAM_INPUT, SQL_C_TYPE_DATE, true, "HYC00"}, // a date value
        {SQL_PARAM_INPUT, SQL_C_CHAR, false, "HY009"}};    // no value and no length
    for (const auto& [ioType, cType, withValue, state] : cases) {
        SCOPED_TRACE("C type " + std::to_string(cType) + ", " + state);
        Stmt st(dbc());
        char value[8] = "x";
        EXPECT_EQ(SQLBindParameter(st.h(), 1, ioType, cType, SQL_VARCHAR, 10, 0,
                                   withValue ? value : nullptr, sizeof value, nullptr),
                  SQL_ERROR);
        EXPECT_EQ(st.state(), state);
    }
    // Data at execution, in either form, is refused when the statement runs.
    for (SQLLEN atExecution : {SQLLEN{SQL_DATA_AT_EXEC}, SQLLEN{SQL_LEN_DATA_AT_EXEC(3)}}) {
        Stmt st(dbc());
        char value[4] = "abc";
        ASSERT_EQ(SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 3, 0, value,
                                   4, &atExecution),
                  SQL_SUCCESS);
        EXPECT_EQ(st.exec("select ?"), SQL_ERROR);
        EXPECT_EQ(st.state(), "HYC00");
    }
    // A double that is no number is no value for the server.
    Stmt nan(dbc());
    double notANumber = std::numeric_limits<double>::quiet_NaN();
    ASSERT_EQ(SQLBindParameter(nan.h(), 1, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                               &notANumber, 0, nullptr),
              SQL_SUCCESS);
    EXPECT_EQ(nan.exec("select ?"), SQL_ERROR);
    EXPECT_EQ(nan.state(), "22018");
}

TEST_P(Parameters, AMarkerWithoutABindingFailsTheExecution)
{
    Stmt st(dbc());
    ASSERT_EQ(SQLPrepare(st.h(), sqlText("select ?, ?"), SQL_NTS), SQL_SUCCESS);
    char a[2] = "a";
    char b[2] = "b";
    bindText(st, 1, a);
    bindText(st, 2, b);
    ASSERT_EQ(SQLExecute(st.h()), SQL_SUCCESS);
    EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{"a", "b"}}));
    SQLFreeStmt(st.h(), SQL_CLOSE);
    ASSERT_EQ(SQLFreeStmt(st.h(), SQL_RESET_PARAMS), SQL_SUCCESS);
    bindText(st, 1, a);
    EXPECT_EQ(SQLExecute(st.h()), SQL_ERROR);
    EXPECT_EQ(st.state(), "07002");
}

KALDOR_FOR_EACH_DIALECT(Parameters);

} // namespace

} // namespace kaldor::standin::test
