// Result columns bound with SQLBindCol and filled by SQLFetch, through the driver manager.
#include "OdbcClient.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kaldor::standin::test {

namespace {

SQLCHAR* sqlText(const std::string& s)
{
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
}

std::vector<std::string> states(SQLHSTMT stmt)
{
    std::vector<std::string> out;
    for (const Diag& d : diagnostics(SQL_HANDLE_STMT, stmt)) {
        out.push_back(d.state);
    }
    return out;
}

class BoundColumns : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override
    {
        StandinFixtureFiles::instance().reset();
        ASSERT_TRUE(c_.open(dsnOf(GetParam()), "admin", "secret"));
        c_.query("insert into mt.qrb_zv_userlist (mtuser, group_id, zv_inhibit_use) values "
                 "('agarcia', 'Metrology', 'N'), ('jsmith', NULL, 'Y')");
        SQLAllocHandle(SQL_HANDLE_STMT, c_.handle(), &stmt_);
    }
    void TearDown() override { SQLFreeHandle(SQL_HANDLE_STMT, stmt_); }

    SQLRETURN run(const std::string& sql)
    {
        SQLFreeStmt(stmt_, SQL_CLOSE);
        return SQLExecDirect(stmt_, sqlText(sql), SQL_NTS);
    }

    Connection c_;
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

TEST_P(BoundColumns, FetchFillsTheBuffersAndLengthsOfEachRow)
{
    ASSERT_EQ(run("select mtuser, group_id from mt.qrb_zv_userlist order by mtuser"), SQL_SUCCESS);
    char user[16] = {};
    char group[16] = {};
    SQLLEN userLength = 0;
    SQLLEN groupLength = 0;
    ASSERT_EQ(SQLBindCol(stmt_, 1, SQL_C_CHAR, user, sizeof user, &userLength), SQL_SUCCESS);
    ASSERT_EQ(SQLBindCol(stmt_, 2, SQL_C_CHAR, group, sizeof group, &groupLength), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(stmt_), SQL_SUCCESS);
    EXPECT_EQ(std::string(user), "agarcia");
    EXPECT_EQ(userLength, 7);
    EXPECT_EQ(std::string(group), "Metrology");
    EXPECT_EQ(groupLength, 9);
    ASSERT_EQ(SQLFetch(stmt_), SQL_SUCCESS);
    EXPECT_EQ(std::string(user), "jsmith");
    EXPECT_EQ(userLength, 6);
    EXPECT_EQ(groupLength, SQL_NULL_DATA);
    EXPECT_EQ(SQLFetch(stmt_), SQL_NO_DATA);
    // A bound column can still be read with SQLGetData.
    ASSERT_EQ(run("select mtuser, group_id from mt.qrb_zv_userlist order by mtuser"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(stmt_), SQL_SUCCESS);
    char again[16] = {};
    SQLLEN againLength = 0;
    EXPECT_EQ(SQLGetData(stmt_, 1, SQL_C_CHAR, again, sizeof again, &againLength), SQL_SUCCESS);
    EXPECT_EQ(std::string(again), "agarcia");
}

TEST_P(BoundColumns, AValueCutToItsBufferIsWarnedOfPerColumn)
{
    ASSERT_EQ(run("select mtuser, group_id, zv_inhibit_use from mt.qrb_zv_userlist order by 1"),
              SQL_SUCCESS);
    char user[4] = {};
    char group[6] = {};
    char inhibit[2] = {};
    SQLLEN userLength = 0;
    SQLLEN groupLength = 0;
    SQLLEN inhibitLength = 0;
    SQLBindCol(stmt_, 1, SQL_C_CHAR, user, sizeof user, &userLength);
    SQLBindCol(stmt_, 2, SQL_C_CHAR, group, sizeof group, &groupLength);
    SQLBindCol(stmt_, 3, SQL_C_CHAR, inhibit, sizeof inhibit, &inhibitLength);
    ASSERT_EQ(SQLFetch(stmt_), SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(states(stmt_), (std::vector<std::string>{"01004", "01004"}));
    EXPECT_EQ(std::string(user), "aga");
    EXPECT_EQ(userLength, 7) << "the whole length";
    EXPECT_EQ(std::string(group), "Metro");
    EXPECT_EQ(groupLength, 9);
    EXPECT_EQ(std::string(inhibit), "N");
    EXPECT_EQ(inhibitLength, 1);
    // The second row: only the user is cut.
    ASSERT_EQ(SQLFetch(stmt_), SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(states(stmt_), (std::vector<std::string>{"01004"}));
    EXPECT_EQ(std::string(user), "jsm");
    EXPECT_EQ(groupLength, SQL_NULL_DATA);
    ASSERT_EQ(SQLFetch(stmt_), SQL_NO_DATA);
}

struct WideCase {
    size_t units; // the buffer's size in UTF-16 code units
    SQLRETURN rc;
    std::u16string value;
};

// A character outside the BMP is two code units and is never split.
TEST_P(BoundColumns, WideTextKeepsSurrogatePairsWhole)
{
    c_.query("insert into mt.qrb_zv_result_header (header) values ('a🌡b')");
    const std::vector<WideCase> cases = {
        {5, SQL_SUCCESS, u"a🌡b"},      {4, SQL_SUCCESS_WITH_INFO, u"a🌡"},
        {3, SQL_SUCCESS_WITH_INFO, u"a"}, {2, SQL_SUCCESS_WITH_INFO, u"a"},
        {1, SQL_SUCCESS_WITH_INFO, u""},
    };
    for (const WideCase& c : cases) {
        ASSERT_EQ(run("select header from mt.qrb_zv_result_header"), SQL_SUCCESS);
        std::vector<char16_t> buffer(c.units, u'#');
        SQLLEN length = 0;
        SQLBindCol(stmt_, 1, SQL_C_WCHAR, buffer.data(),
                   static_cast<SQLLEN>(buffer.size() * sizeof(char16_t)), &length);
        EXPECT_EQ(SQLFetch(stmt_), c.rc) << c.units << " units";
        EXPECT_EQ(std::u16string(buffer.data()), c.value) << c.units << " units";
        EXPECT_EQ(length, 8) << "four code units, whatever the buffer";
    }
}

struct NumberCase {
    SQLSMALLINT cType;
    const char* text;
    SQLRETURN rc;
    const char* state; // of a failure
    long long value;   // stored when it succeeds
    SQLLEN length;     // the width stored
};

TEST_P(BoundColumns, IntegerColumnsAreConvertedWithinTheirRange)
{
    const std::vector<NumberCase> cases = {
        {SQL_C_SLONG, "12", SQL_SUCCESS, "", 12, 4},
        {SQL_C_SLONG, " -7 ", SQL_SUCCESS, "", -7, 4},
        {SQL_C_LONG, "2147483648", SQL_ERROR, "22003", 0, 0},
        {SQL_C_ULONG, "4294967295", SQL_SUCCESS, "", 4294967295LL, 4},
        {SQL_C_ULONG, "-1", SQL_ERROR, "22003", 0, 0},
        {SQL_C_SSHORT, "-32768", SQL_SUCCESS, "", -32768, 2},
        {SQL_C_SHORT, "70000", SQL_ERROR, "22003", 0, 0},
        {SQL_C_USHORT, "65535", SQL_SUCCESS, "", 65535, 2},
        {SQL_C_STINYINT, "-128", SQL_SUCCESS, "", -128, 1},
        {SQL_C_UTINYINT, "256", SQL_ERROR, "22003", 0, 0},
        {SQL_C_SBIGINT, "9007199254740993", SQL_SUCCESS, "", 9007199254740993LL, 8},
        {SQL_C_SLONG, "twelve", SQL_ERROR, "22018", 0, 0},
    };
    for (const NumberCase& c : cases) {
        ASSERT_EQ(run("select '" + std::string(c.text) + "'"), SQL_SUCCESS);
        unsigned char buffer[8] = {};
        SQLLEN length = 0;
        SQLBindCol(stmt_, 1, c.cType, buffer, sizeof buffer, &length);
        ASSERT_EQ(SQLFetch(stmt_), c.rc) << c.text;
        if (c.rc == SQL_ERROR) {
            EXPECT_EQ(states(stmt_), (std::vector<std::string>{c.state})) << c.text;
            continue;
        }
        EXPECT_EQ(length, c.length) << c.text;
        long long value = 0;
        switch (c.length) {
        case 1:
            value = buffer[0];
            if (c.cType == SQL_C_STINYINT) {
                value = static_cast<SQLSCHAR>(buffer[0]);
            }
            break;
        case 2: {
            SQLSMALLINT v = 0;
            std::memcpy(&v, buffer, 2);
            value = v;
            if (c.cType == SQL_C_USHORT) {
                value = static_cast<SQLUSMALLINT>(v);
            }
            break;
        }
        case 4: {
            SQLINTEGER v = 0;
            std::memcpy(&v, buffer, 4);
            value = v;
            if (c.cType == SQL_C_ULONG) {
                value = static_cast<SQLUINTEGER>(v);
            }
            break;
        }
        default:
            std::memcpy(&value, buffer, 8);
        }
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST_P(BoundColumns, NullWithoutAnIndicatorFailsTheFetch)
{
    ASSERT_EQ(run("select group_id from mt.qrb_zv_userlist where mtuser = 'jsmith'"), SQL_SUCCESS);
    char group[16] = "untouched";
    SQLBindCol(stmt_, 1, SQL_C_CHAR, group, sizeof group, nullptr);
    EXPECT_EQ(SQLFetch(stmt_), SQL_ERROR);
    EXPECT_EQ(states(stmt_), (std::vector<std::string>{"22002"}));
}

TEST_P(BoundColumns, UnboundColumnsAreLeftAlone)
{
    char user[16] = {};
    char group[16] = {};
    SQLLEN userLength = 0;
    SQLLEN groupLength = 0;
    SQLBindCol(stmt_, 1, SQL_C_CHAR, user, sizeof user, &userLength);
    SQLBindCol(stmt_, 2, SQL_C_CHAR, group, sizeof group, &groupLength);
    // A null buffer and indicator unbind one column; SQL_UNBIND all of them.
    ASSERT_EQ(SQLBindCol(stmt_, 2, SQL_C_CHAR, nullptr, 0, nullptr), SQL_SUCCESS);
    ASSERT_EQ(run("select mtuser, group_id from mt.qrb_zv_userlist order by mtuser"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(stmt_), SQL_SUCCESS);
    EXPECT_EQ(std::string(user), "agarcia");
    EXPECT_EQ(std::string(group), "");
    ASSERT_EQ(SQLFreeStmt(stmt_, SQL_UNBIND), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(stmt_), SQL_SUCCESS);
    EXPECT_EQ(std::string(user), "agarcia");
    // A column bound beyond the result's columns fails the fetch.
    SQLBindCol(stmt_, 3, SQL_C_CHAR, user, sizeof user, &userLength);
    ASSERT_EQ(run("select mtuser, group_id from mt.qrb_zv_userlist"), SQL_SUCCESS);
    EXPECT_EQ(SQLFetch(stmt_), SQL_ERROR);
    EXPECT_EQ(states(stmt_), (std::vector<std::string>{"07009"}));
}

TEST_P(BoundColumns, RefusesATypeItCannotConvertTo)
{
    char buffer[16] = {};
    EXPECT_EQ(SQLBindCol(stmt_, 1, SQL_C_TYPE_DATE, buffer, sizeof buffer, nullptr), SQL_ERROR);
    EXPECT_EQ(states(stmt_), (std::vector<std::string>{"HYC00"}));
}

INSTANTIATE_TEST_SUITE_P(Dialects, BoundColumns,
                         ::testing::Values(Dialect::Anywhere, Dialect::SqlServer),
                         dialectName<::testing::TestParamInfo<Dialect>>);

} // namespace

} // namespace kaldor::standin::test
