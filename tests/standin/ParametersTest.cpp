// Input parameters through the driver manager, as pyodbc and other clients use them:
// SQLNumParams, SQLBindParameter and SQLExecute or SQLExecDirect.
#include "OdbcClient.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kaldor::standin::test {

namespace {

SQLCHAR* sqlText(const std::string& s)
{
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
}

// A statement handle of its own, freed at the end of the test.
class Stmt final {
public:
    explicit Stmt(SQLHDBC dbc) { SQLAllocHandle(SQL_HANDLE_STMT, dbc, &h_); }
    ~Stmt() { SQLFreeHandle(SQL_HANDLE_STMT, h_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    SQLHSTMT h() const { return h_; }
    std::string state() const
    {
        const auto d = diagnostics(SQL_HANDLE_STMT, h_);
        return d.empty() ? "" : d.front().state;
    }

private:
    SQLHSTMT h_ = SQL_NULL_HSTMT;
};

class Parameters : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override
    {
        StandinFixtureFiles::instance().reset();
        ASSERT_TRUE(c_.open(dsnOf(GetParam()), "admin", "secret"));
    }
    SQLHDBC dbc() const { return c_.handle(); }
    Connection c_;
};

struct CountCase {
    const char* sql;
    SQLSMALLINT count;
};

TEST_P(Parameters, NumParamsCountsTheMarkersOutsideQuotes)
{
    const std::vector<CountCase> cases = {
        {"select group_id from mt.qrb_zv_groupconfig", 0},
        {"insert into mt.qrb_zv_userlist (mtuser, group_id, zv_inhibit_use) values (?, ?, ?)", 3},
        {"select '?', \"?\" from mt.qrb_zv_userlist where mtuser = ? -- or ?", 1},
        {"select ?;select ? /* ? */ , ?", 3},
    };
    for (const CountCase& c : cases) {
        Stmt st(dbc());
        ASSERT_EQ(SQLPrepare(st.h(), sqlText(c.sql), SQL_NTS), SQL_SUCCESS) << c.sql;
        SQLSMALLINT count = -1;
        EXPECT_EQ(SQLNumParams(st.h(), &count), SQL_SUCCESS) << c.sql;
        EXPECT_EQ(count, c.count) << c.sql;
    }
}

// Binds text parameters as pyodbc does (wide strings, lengths in bytes) and ANSI ones, NULL
// among them, and reads the row back.
TEST_P(Parameters, TextParametersReachTheServerWhole)
{
    const std::string insert = "insert into mt.qrb_zv_report_prompts (zvrtag, prompt_string, "
                               "prompt, default_value, sequence) values (?, ?, ?, ?, ?)";
    Stmt st(dbc());
    ASSERT_EQ(SQLPrepare(st.h(), sqlText(insert), SQL_NTS), SQL_SUCCESS);
    char tag[16] = "DUE1";
    SQLLEN tagLength = SQL_NTS;
    const std::u16string promptString = u"$LAB$";
    SQLLEN promptStringLength = static_cast<SQLLEN>(promptString.size() * sizeof(char16_t));
    // Quotes, a statement end and a comment mark are data, not SQL.
    const std::string prompt = "it's ?; -- Größe 🌡";
    SQLLEN promptLength = static_cast<SQLLEN>(prompt.size());
    SQLLEN nullData = SQL_NULL_DATA;
    SQLINTEGER sequence = 12;
    ASSERT_EQ(SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 15, 0, tag,
                               sizeof tag, &tagLength),
              SQL_SUCCESS);
    ASSERT_EQ(SQLBindParameter(st.h(), 2, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 60, 0,
                               const_cast<char16_t*>(promptString.data()), promptStringLength,
                               &promptStringLength),
              SQL_SUCCESS);
    ASSERT_EQ(SQLBindParameter(st.h(), 3, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 160, 0,
                               const_cast<char*>(prompt.data()), promptLength, &promptLength),
              SQL_SUCCESS);
    ASSERT_EQ(SQLBindParameter(st.h(), 4, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 160, 0, nullptr,
                               0, &nullData),
              SQL_SUCCESS);
    ASSERT_EQ(SQLBindParameter(st.h(), 5, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_NUMERIC, 10, 0,
                               &sequence, 0, nullptr),
              SQL_SUCCESS);
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

TEST_P(Parameters, ExecDirectTakesBoundParameters)
{
    c_.query("insert into mt.qrb_zv_userlist (mtuser, group_id) values ('jsmith', 'LAB'), "
             "('agarcia', 'QA'), ('mlopez', 'QA')");
    Stmt st(dbc());
    char group[8] = "qa";
    ASSERT_EQ(SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 60, 0, group,
                               sizeof group, nullptr),
              SQL_SUCCESS);
    const std::string sql = "select mtuser from mt.qrb_zv_userlist where group_id = ? order by 1";
    ASSERT_EQ(SQLExecDirect(st.h(), sqlText(sql), SQL_NTS), SQL_SUCCESS) << st.state();
    EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{"agarcia"}, {"mlopez"}}));
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
    ASSERT_EQ(SQLExecDirect(st.h(), sqlText("select length(?)"), SQL_NTS), SQL_SUCCESS)
        << st.state();
    SQLCHAR name[64] = {};
    SQLSMALLINT nameLength = 0;
    ASSERT_EQ(SQLDescribeCol(st.h(), 1, name, sizeof name, &nameLength, nullptr, nullptr, nullptr,
                             nullptr),
              SQL_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name)), "length(?)");
    EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{std::to_string(value.size())}}));
    EXPECT_EQ(c_.scalar("select count(*) from mt.qrb_zv_reports"), "0");
}

// Parameters of a batch are taken by its statements in order.
TEST_P(Parameters, TheStatementsOfABatchTakeTheirParametersInOrder)
{
    Stmt st(dbc());
    char a[] = "first";
    char b[] = "second";
    char c[] = "third";
    SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, a, 0, nullptr);
    SQLBindParameter(st.h(), 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, b, 0, nullptr);
    SQLBindParameter(st.h(), 3, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, c, 0, nullptr);
    const std::string batch = "insert into mt.qrb_zv_browser_list (browser_id) values (?);"
                              "select '?' || ?, ? -- ?";
    ASSERT_EQ(SQLExecDirect(st.h(), sqlText(batch), SQL_NTS), SQL_SUCCESS) << st.state();
    ASSERT_EQ(SQLMoreResults(st.h()), SQL_SUCCESS);
    EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{"?second", "third"}}));
    EXPECT_EQ(c_.scalar("select browser_id from mt.qrb_zv_browser_list"), "first");
}

struct NumberCase {
    SQLSMALLINT cType;
    SQLSMALLINT sqlType;
    std::vector<unsigned char> bytes; // the C value as it lies in memory
    const char* expected;
};

template <typename T> std::vector<unsigned char> bytesOf(T v)
{
    std::vector<unsigned char> b(sizeof v);
    std::memcpy(b.data(), &v, sizeof v);
    return b;
}

TEST_P(Parameters, IntegerParametersAreReadAtTheirWidth)
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
        // A number bound to a text parameter is compared as text.
        {SQL_C_SLONG, SQL_VARCHAR, bytesOf<SQLINTEGER>(7), "7"},
        {SQL_C_DEFAULT, SQL_INTEGER, bytesOf<SQLINTEGER>(-3), "-3"},
    };
    for (const NumberCase& c : cases) {
        Stmt st(dbc());
        std::vector<unsigned char> value = c.bytes;
        value.resize(16);
        ASSERT_EQ(SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, c.cType, c.sqlType, 0, 0,
                                   value.data(), 0, nullptr),
                  SQL_SUCCESS)
            << "C type " << c.cType;
        ASSERT_EQ(SQLExecDirect(st.h(), sqlText("select ?"), SQL_NTS), SQL_SUCCESS)
            << "C type " << c.cType << ": " << st.state();
        EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{c.expected}})) << "C type " << c.cType;
    }
    Stmt text(dbc());
    SQLINTEGER seven = 7;
    SQLBindParameter(text.h(), 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_VARCHAR, 0, 0, &seven, 0,
                     nullptr);
    ASSERT_EQ(SQLExecDirect(text.h(), sqlText("select typeof(?)"), SQL_NTS), SQL_SUCCESS);
    EXPECT_EQ(fetchAll(text.h()), (std::vector<Row>{{"text"}}));
}

struct RefusalCase {
    const char* what;
    SQLSMALLINT ioType;
    SQLSMALLINT cType;
    bool withValue;
    const char* state;
};

TEST_P(Parameters, RefusesWhatItCannotBind)
{
    const std::vector<RefusalCase> cases = {
        {"an output parameter", SQL_PARAM_OUTPUT, SQL_C_CHAR, true, "HYC00"},
        {"a binary value", SQL_PARAM_INPUT, SQL_C_BINARY, true, "HYC00"},
        {"a date value", SQL_PARAM_INPUT, SQL_C_TYPE_DATE, true, "HYC00"},
        {"no value and no length", SQL_PARAM_INPUT, SQL_C_CHAR, false, "HY009"},
    };
    for (const RefusalCase& c : cases) {
        Stmt st(dbc());
        char value[8] = "x";
        EXPECT_EQ(SQLBindParameter(st.h(), 1, c.ioType, c.cType, SQL_VARCHAR, 10, 0,
                                   c.withValue ? value : nullptr, sizeof value, nullptr),
                  SQL_ERROR)
            << c.what;
        EXPECT_EQ(st.state(), c.state) << c.what;
    }
}

TEST_P(Parameters, AMarkerWithoutABindingFailsTheExecution)
{
    Stmt st(dbc());
    ASSERT_EQ(SQLPrepare(st.h(), sqlText("select ?, ?"), SQL_NTS), SQL_SUCCESS);
    char a[2] = "a";
    char b[2] = "b";
    SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0, a, 2, nullptr);
    SQLBindParameter(st.h(), 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0, b, 2, nullptr);
    ASSERT_EQ(SQLExecute(st.h()), SQL_SUCCESS);
    EXPECT_EQ(fetchAll(st.h()), (std::vector<Row>{{"a", "b"}}));
    SQLFreeStmt(st.h(), SQL_CLOSE);
    ASSERT_EQ(SQLFreeStmt(st.h(), SQL_RESET_PARAMS), SQL_SUCCESS);
    SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0, a, 2, nullptr);
    EXPECT_EQ(SQLExecute(st.h()), SQL_ERROR);
    EXPECT_EQ(st.state(), "07002");
}

TEST_P(Parameters, DataAtExecutionIsRefused)
{
    Stmt st(dbc());
    char value[4] = "abc";
    SQLLEN atExecution = SQL_LEN_DATA_AT_EXEC(3);
    ASSERT_EQ(SQLBindParameter(st.h(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 3, 0, value, 4,
                               &atExecution),
              SQL_SUCCESS);
    EXPECT_EQ(SQLExecDirect(st.h(), sqlText("select ?"), SQL_NTS), SQL_ERROR);
    EXPECT_EQ(st.state(), "HYC00");
}

INSTANTIATE_TEST_SUITE_P(Dialects, Parameters,
                         ::testing::Values(Dialect::Anywhere, Dialect::SqlServer),
                         dialectName<::testing::TestParamInfo<Dialect>>);

} // namespace

} // namespace kaldor::standin::test
