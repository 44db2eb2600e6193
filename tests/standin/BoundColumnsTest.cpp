// Result columns bound with SQLBindCol and filled by SQLFetch, through the driver manager.
#include "OdbcClient.h"

#include <gtest/gtest.h>

namespace kaldor::standin::test {

namespace {

using States = std::vector<std::string>;

const char* const kUsers = "select mtuser, group_id from mt.qrb_zv_userlist order by mtuser";

class BoundColumns : public DialectTest {
protected:
    void SetUp() override
    {
        DialectTest::SetUp();
        st_.emplace(c_.handle());
        c_.query("insert into mt.qrb_zv_userlist (mtuser, group_id, zv_inhibit_use) values "
                 "('agarcia', 'Metrology', 'N'), ('jsmith', NULL, 'Y')");
    }
    std::optional<Stmt> st_;
};

TEST_P(BoundColumns, FetchFillsTheBuffersAndLengthsOfEachRow)
{
    // One row at a time, forward only, read only: a client asking for more is told.
    for (const auto& [attribute, value] : std::vector<std::pair<SQLINTEGER, SQLULEN>>{
             {SQL_ATTR_ROW_ARRAY_SIZE, 10},
             {SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_STATIC},
             {SQL_ATTR_CURSOR_SCROLLABLE, SQL_SCROLLABLE},
             {SQL_ATTR_CURSOR_SENSITIVITY, SQL_SENSITIVE}}) {
        EXPECT_EQ(SQLSetStmtAttr(st_->h(), attribute, reinterpret_cast<SQLPOINTER>(value), 0),
                  SQL_SUCCESS_WITH_INFO);
        EXPECT_EQ(st_->states(), States{"01S02"});
    }
    ASSERT_EQ(st_->exec(kUsers), SQL_SUCCESS);
    char user[16] = {};
    char group[16] = {};
    SQLLEN userLength = 0;
    SQLLEN groupLength = 0;
    ASSERT_EQ(SQLBindCol(st_->h(), 1, SQL_C_CHAR, user, sizeof user, &userLength), SQL_SUCCESS);
    ASSERT_EQ(SQLBindCol(st_->h(), 2, SQL_C_CHAR, group, sizeof group, &groupLength), SQL_SUCCESS);
    SQLULEN fetched = 7;
    SQLUSMALLINT status = SQL_ROW_ERROR;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLSetStmtAttr(st_->h(), SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0)));
    ASSERT_TRUE(SQL_SUCCEEDED(SQLSetStmtAttr(st_->h(), SQL_ATTR_ROW_STATUS_PTR, &status, 0)));
    ASSERT_EQ(SQLFetch(st_->h()), SQL_SUCCESS);
    EXPECT_EQ(fetched, 1U);
    EXPECT_EQ(status, SQL_ROW_SUCCESS);
    SQLSetStmtAttr(st_->h(), SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
    SQLSetStmtAttr(st_->h(), SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
    // A query's rows can be limited.
    {
        Stmt limited(dbc());
        SQLSetStmtAttr(limited.h(), SQL_ATTR_MAX_ROWS, reinterpret_cast<SQLPOINTER>(1), 0);
        ASSERT_EQ(limited.exec(kUsers), SQL_SUCCESS);
        EXPECT_EQ(fetchAll(limited.h()).size(), 1U);
    }
    SQLULEN number = 0;
    SQLGetStmtAttr(st_->h(), SQL_ATTR_ROW_NUMBER, &number, 0, nullptr);
    EXPECT_EQ(number, 1U);
    EXPECT_EQ(std::string(user) + "/" + group, "agarcia/Metrology");
    EXPECT_EQ(userLength, 7);
    EXPECT_EQ(groupLength, 9);
    ASSERT_EQ(SQLFetch(st_->h()), SQL_SUCCESS);
    EXPECT_EQ(std::string(user), "jsmith");
    EXPECT_EQ(userLength, 6);
    EXPECT_EQ(groupLength, SQL_NULL_DATA);
    EXPECT_EQ(SQLFetch(st_->h()), SQL_NO_DATA);
    // A bound column can still be read with SQLGetData.
    ASSERT_EQ(st_->exec(kUsers), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(st_->h()), SQL_SUCCESS);
    char again[16] = {};
    EXPECT_EQ(SQLGetData(st_->h(), 1, SQL_C_CHAR, again, sizeof again, &userLength), SQL_SUCCESS);
    EXPECT_EQ(std::string(again), "agarcia");
}

TEST_P(BoundColumns, AValueCutToItsBufferIsWarnedOfPerColumn)
{
    ASSERT_EQ(
        st_->exec("select mtuser, group_id, zv_inhibit_use from mt.qrb_zv_userlist order by 1"),
        SQL_SUCCESS);
    char user[4] = {};
    char group[6] = {};
    char inhibit[2] = {};
    SQLLEN lengths[3] = {};
    SQLBindCol(st_->h(), 1, SQL_C_CHAR, user, sizeof user, &lengths[0]);
    SQLBindCol(st_->h(), 2, SQL_C_CHAR, group, sizeof group, &lengths[1]);
    SQLBindCol(st_->h(), 3, SQL_C_CHAR, inhibit, sizeof inhibit, &lengths[2]);
    ASSERT_EQ(SQLFetch(st_->h()), SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(st_->states(), (States{"01004", "01004"}));
    EXPECT_EQ(std::string(user) + "/" + group + "/" + inhibit, "aga/Metro/N");
    EXPECT_EQ(std::vector<SQLLEN>(lengths, lengths + 3), (std::vector<SQLLEN>{7, 9, 1}))
        << "the whole lengths";
    // The second row: only the user is cut.
    ASSERT_EQ(SQLFetch(st_->h()), SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(st_->states(), States{"01004"});
    EXPECT_EQ(std::string(user), "jsm");
    EXPECT_EQ(lengths[1], SQL_NULL_DATA);
    ASSERT_EQ(SQLFetch(st_->h()), SQL_NO_DATA);
}

// A character outside the BMP is two code units and is never split.
TEST_P(BoundColumns, WideTextKeepsSurrogatePairsWhole)
{
    c_.query("insert into mt.qrb_zv_result_header (header) values ('a🌡b')");
    const std::vector<std::pair<size_t, std::u16string>> cases = {
        {5, u"a🌡b"}, {4, u"a🌡"}, {3, u"a"}, {2, u"a"}, {1, u""}};
    for (const auto& [units, value] : cases) {
        SCOPED_TRACE(std::to_string(units) + " units");
        ASSERT_EQ(st_->exec("select header from mt.qrb_zv_result_header"), SQL_SUCCESS);
        std::vector<char16_t> buffer(units, u'#');
        SQLLEN length = 0;
        SQLBindCol(st_->h(), 1, SQL_C_WCHAR, buffer.data(),
                   static_cast<SQLLEN>(buffer.size() * sizeof(char16_t)), &length);
        EXPECT_EQ(SQLFetch(st_->h()), units == 5 ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO);
        EXPECT_EQ(std::u16string(buffer.data()), value);
        EXPECT_EQ(length, 8) << "four code units, whatever the buffer";
    }
}

struct NumberCase {
    SQLSMALLINT cType;
    const char* text;
    std::vector<unsigned char> value; // as stored; none on failure
    const char* state = "";           // of a failure
};

TEST_P(BoundColumns, NumberColumnsAreConvertedWithinTheirRange)
{
    const std::vector<NumberCase> cases = {
        {SQL_C_SLONG, "12", bytesOf<SQLINTEGER>(12)},
        {SQL_C_SLONG, " -7 ", bytesOf<SQLINTEGER>(-7)},
        {SQL_C_LONG, "2147483648", {}, "22003"},
        {SQL_C_ULONG, "4294967295", bytesOf<SQLUINTEGER>(4294967295U)},
        {SQL_C_ULONG, "-1", {}, "22003"},
        {SQL_C_SSHORT, "-32768", bytesOf<SQLSMALLINT>(-32768)},
        {SQL_C_SHORT, "70000", {}, "22003"},
        {SQL_C_USHORT, "65535", bytesOf<SQLUSMALLINT>(65535)},
        {SQL_C_STINYINT, "-128", bytesOf<SQLSCHAR>(-128)},
        {SQL_C_UTINYINT, "256", {}, "22003"},
        {SQL_C_SBIGINT, "9007199254740993", bytesOf<SQLBIGINT>(9007199254740993LL)},
        {SQL_C_SLONG, "twelve", {}, "22018"},
        {SQL_C_SLONG, "", {}, "22018"},
        {SQL_C_DOUBLE, "2.5", bytesOf<double>(2.5)}};
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(st_->exec("select '" + std::string(c.text) + "'"), SQL_SUCCESS);
        std::vector<unsigned char> buffer(8);
        SQLLEN length = 0;
        SQLBindCol(st_->h(), 1, c.cType, buffer.data(), 8, &length);
        ASSERT_EQ(SQLFetch(st_->h()), *c.state ? SQL_ERROR : SQL_SUCCESS);
        if (*c.state) {
            EXPECT_EQ(st_->states(), States{c.state});
            continue;
        }
        EXPECT_EQ(length, static_cast<SQLLEN>(c.value.size()));
        buffer.resize(c.value.size());
        EXPECT_EQ(buffer, c.value);
    }
}

TEST_P(BoundColumns, NullWithoutAnIndicatorFailsTheFetch)
{
    ASSERT_EQ(st_->exec("select group_id from mt.qrb_zv_userlist where mtuser = 'jsmith'"),
              SQL_SUCCESS);
    char group[16] = "untouched";
    SQLBindCol(st_->h(), 1, SQL_C_CHAR, group, sizeof group, nullptr);
    EXPECT_EQ(SQLFetch(st_->h()), SQL_ERROR);
    EXPECT_EQ(st_->states(), States{"22002"});
    // Read with SQLGetData, a NULL is given once; after it the column has no more data.
    ASSERT_EQ(SQLFreeStmt(st_->h(), SQL_UNBIND), SQL_SUCCESS);
    ASSERT_EQ(st_->exec("select group_id from mt.qrb_zv_userlist where mtuser = 'jsmith'"),
              SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(st_->h()), SQL_SUCCESS);
    SQLLEN indicator = 0;
    EXPECT_EQ(SQLGetData(st_->h(), 1, SQL_C_CHAR, group, sizeof group, &indicator), SQL_SUCCESS);
    EXPECT_EQ(indicator, SQL_NULL_DATA);
    EXPECT_EQ(SQLGetData(st_->h(), 1, SQL_C_CHAR, group, sizeof group, &indicator), SQL_NO_DATA);
}

TEST_P(BoundColumns, UnboundColumnsAreLeftAloneAndBadBindingsRefused)
{
    char user[16] = {};
    char group[16] = {};
    SQLLEN length = 0;
    SQLBindCol(st_->h(), 1, SQL_C_CHAR, user, sizeof user, &length);
    SQLBindCol(st_->h(), 2, SQL_C_CHAR, group, sizeof group, &length);
    // A null buffer and indicator unbind one column; SQL_UNBIND all of them.
    ASSERT_EQ(SQLBindCol(st_->h(), 2, SQL_C_CHAR, nullptr, 0, nullptr), SQL_SUCCESS);
    ASSERT_EQ(st_->exec(kUsers), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(st_->h()), SQL_SUCCESS);
    EXPECT_EQ(std::string(user) + "/" + group, "agarcia/");
    ASSERT_EQ(SQLFreeStmt(st_->h(), SQL_UNBIND), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(st_->h()), SQL_SUCCESS);
    EXPECT_EQ(std::string(user), "agarcia");
    // A column bound beyond the result's columns fails the fetch.
    SQLBindCol(st_->h(), 3, SQL_C_CHAR, user, sizeof user, &length);
    ASSERT_EQ(st_->exec("select mtuser, group_id from mt.qrb_zv_userlist"), SQL_SUCCESS);
    EXPECT_EQ(SQLFetch(st_->h()), SQL_ERROR);
    EXPECT_EQ(st_->states(), States{"07009"});
    // A type it cannot convert to is refused at once.
    EXPECT_EQ(SQLBindCol(st_->h(), 1, SQL_C_TYPE_DATE, user, sizeof user, nullptr), SQL_ERROR);
    EXPECT_EQ(st_->states(), States{"HYC00"});
    // A type of fixed size needs no buffer length.
    SQLINTEGER number = 0;
    EXPECT_EQ(SQLBindCol(st_->h(), 1, SQL_C_SLONG, &number, 0, &length), SQL_SUCCESS);
}

KALDOR_FOR_EACH_DIALECT(BoundColumns);

} // namespace

} // namespace kaldor::standin::test
