// The wide (UTF-16) entry points through the driver manager, as Unicode clients such as pyodbc
// and iusql call them: texts outside the Basic Multilingual Plane (surrogate pairs) go to the
// server and come back whole, and the lengths count characters or bytes as each function says.
#include "OdbcClient.h"

#include <gtest/gtest.h>

#include <sqlucode.h>

namespace kaldor::standin::test {

namespace {

const std::u16string kThermometer = u"\U0001F321"; // two UTF-16 code units

// A Unicode client: connected through SQLConnectW, which makes the driver manager call the
// driver's wide entry points (on a connection made with SQLConnect it calls the narrow ones and
// converts their texts itself).
class WideApi : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override
    {
        StandinFixtureFiles::instance().reset();
        ASSERT_TRUE(c_.open(GetParam(), true));
        SQLAllocHandle(SQL_HANDLE_STMT, c_.handle(), &stmt_);
    }
    void TearDown() override { SQLFreeHandle(SQL_HANDLE_STMT, stmt_); }

    SQLRETURN execW(std::u16string_view sql)
    {
        SQLFreeStmt(stmt_, SQL_CLOSE);
        WideText text = wide(sql);
        return SQLExecDirectW(stmt_, text.data(), SQL_NTS);
    }

    // The first value of the current result set, read as wide text in pieces of at most three
    // code units, as a client with a small buffer reads it.
    std::u16string firstValue()
    {
        if (!SQL_SUCCEEDED(SQLFetch(stmt_))) {
            return u"<none>";
        }
        std::u16string value;
        SQLLEN whole = -1;
        SQLWCHAR piece[4] = {};
        SQLLEN length = 0;
        SQLRETURN rc = SQL_SUCCESS_WITH_INFO;
        while (
            rc == SQL_SUCCESS_WITH_INFO &&
            SQL_SUCCEEDED(rc = SQLGetData(stmt_, 1, SQL_C_WCHAR, piece, sizeof piece, &length))) {
            whole = whole < 0 ? length : whole;
            value += fromWide(piece);
        }
        EXPECT_EQ(rc, SQL_SUCCESS);
        EXPECT_EQ(whole, static_cast<SQLLEN>(value.size() * sizeof(SQLWCHAR))) << "in bytes";
        return value;
    }

    Connection c_;
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

TEST_P(WideApi, AStatementWithCharactersOutsideTheBmpReachesTheServerWhole)
{
    // U+0800 is the first character of three UTF-8 bytes.
    const std::u16string header = u"Temp " + kThermometer + u" Größe € \u0800";
    ASSERT_EQ(execW(u"insert into mt.qrb_zv_result_header (header) values ('" + header + u"')"),
              SQL_SUCCESS);
    // Found by a comparison with the same text, and read back unchanged.
    ASSERT_EQ(execW(u"select header from mt.qrb_zv_result_header where header = '" + header + u"'"),
              SQL_SUCCESS);
    EXPECT_EQ(firstValue(), header);
    // Through the narrow entry points the text is the same, in UTF-8.
    Connection narrow;
    ASSERT_TRUE(narrow.open(GetParam()));
    EXPECT_EQ(narrow.scalar("select header from mt.qrb_zv_result_header"),
              "Temp \xF0\x9F\x8C\xA1 Gr\xC3\xB6\xC3\x9F"
              "e \xE2\x82\xAC \xE0\xA0\x80");
    // A prepared statement, too.
    SQLFreeStmt(stmt_, SQL_CLOSE);
    WideText select =
        wide(u"select '" + kThermometer + u"' || header from mt.qrb_zv_result_header");
    ASSERT_EQ(SQLPrepareW(stmt_, select.data(), static_cast<SQLINTEGER>(select.size())),
              SQL_SUCCESS);
    ASSERT_EQ(SQLExecute(stmt_), SQL_SUCCESS);
    EXPECT_EQ(firstValue(), kThermometer + header);
}

TEST_P(WideApi, ColumnNamesAreCountedInCharacters)
{
    const std::u16string alias = u"t\u00EB" + kThermometer; // 4 code units
    ASSERT_EQ(execW(u"select 1 as \"" + alias + u"\""), SQL_SUCCESS);
    const std::vector<std::pair<SQLSMALLINT, std::u16string>> cases = {
        {5, alias}, {4, u"t\u00EB"} /* the pair does not fit whole */, {3, u"t\u00EB"}, {1, u""}};
    for (const auto& [bufferChars, expected] : cases) {
        SCOPED_TRACE(bufferChars);
        SQLWCHAR name[8];
        std::fill(std::begin(name), std::end(name), SQLWCHAR{'#'});
        SQLSMALLINT length = 0;
        EXPECT_EQ(SQLDescribeColW(stmt_, 1, name, bufferChars, &length, nullptr, nullptr, nullptr,
                                  nullptr),
                  bufferChars == 5 ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO);
        EXPECT_EQ(fromWide(name), expected);
        EXPECT_EQ(length, 4) << "characters of the whole name";
    }
    // Cut just after a whole pair, the name keeps the pair.
    ASSERT_EQ(execW(u"select 1 as \"" + kThermometer + u"x\""), SQL_SUCCESS);
    SQLWCHAR cut[3] = {};
    EXPECT_EQ(SQLDescribeColW(stmt_, 1, cut, 3, nullptr, nullptr, nullptr, nullptr, nullptr),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(fromWide(cut), kThermometer);
    ASSERT_EQ(execW(u"select 1 as \"" + alias + u"\""), SQL_SUCCESS);
    SQLWCHAR label[8] = {};
    SQLSMALLINT bytes = 0;
    EXPECT_EQ(SQLColAttributeW(stmt_, 1, SQL_DESC_LABEL, label, sizeof label, &bytes, nullptr),
              SQL_SUCCESS);
    EXPECT_EQ(fromWide(label), alias);
    EXPECT_EQ(bytes, 8) << "SQLColAttributeW counts bytes";
}

TEST_P(WideApi, DiagnosticsKeepTheTextOfTheStatement)
{
    const std::u16string column = u"nosuch" + kThermometer;
    ASSERT_EQ(execW(u"select " + column + u" from mt.qrb_zv_userlist"), SQL_ERROR);
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLWCHAR message[256] = {};
    SQLSMALLINT length = 0;
    ASSERT_EQ(SQLGetDiagRecW(SQL_HANDLE_STMT, stmt_, 1, state, &native, message, 256, &length),
              SQL_SUCCESS);
    EXPECT_EQ(fromWide(state), u"42S22");
    EXPECT_EQ(native, GetParam() == Dialect::Anywhere ? -143 : 207);
    const std::u16string text = fromWide(message);
    EXPECT_NE(text.find(column), std::u16string::npos) << "the column's name whole";
    EXPECT_EQ(length, static_cast<SQLSMALLINT>(text.size()));
    SQLWCHAR field[256] = {};
    SQLSMALLINT fieldBytes = 0;
    ASSERT_EQ(SQLGetDiagFieldW(SQL_HANDLE_STMT, stmt_, 1, SQL_DIAG_MESSAGE_TEXT, field,
                               sizeof field, &fieldBytes),
              SQL_SUCCESS);
    EXPECT_EQ(fromWide(field), text);
    EXPECT_EQ(fieldBytes, static_cast<SQLSMALLINT>(text.size() * 2)) << "in bytes";
}

TEST_P(WideApi, InformationAndAttributesAreCountedInBytes)
{
    SQLWCHAR name[64] = {};
    SQLSMALLINT bytes = 0;
    ASSERT_EQ(SQLGetInfoW(c_.handle(), SQL_DBMS_NAME, name, sizeof name, &bytes), SQL_SUCCESS);
    const std::u16string expected =
        GetParam() == Dialect::Anywhere ? u"SQL Anywhere" : u"Microsoft SQL Server";
    EXPECT_EQ(fromWide(name), expected);
    EXPECT_EQ(bytes, static_cast<SQLSMALLINT>(expected.size() * 2));
    SQLWCHAR small[4] = {};
    EXPECT_EQ(SQLGetInfoW(c_.handle(), SQL_DBMS_NAME, small, sizeof small, &bytes),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(fromWide(small), expected.substr(0, 3));
    SQLWCHAR catalog[8] = {};
    SQLINTEGER catalogBytes = 0;
    ASSERT_EQ(SQLGetConnectAttrW(c_.handle(), SQL_ATTR_CURRENT_CATALOG, catalog, sizeof catalog,
                                 &catalogBytes),
              SQL_SUCCESS);
    EXPECT_EQ(fromWide(catalog), u"mt");
    EXPECT_EQ(catalogBytes, 4);
    WideText sql = wide(u"select '" + kThermometer + u"'");
    SQLWCHAR native[32] = {};
    SQLINTEGER nativeChars = 0;
    ASSERT_EQ(SQLNativeSqlW(c_.handle(), sql.data(), SQL_NTS, native, 32, &nativeChars),
              SQL_SUCCESS);
    EXPECT_EQ(fromWide(native), u"select '" + kThermometer + u"'");
    EXPECT_EQ(nativeChars, 11);
}

TEST_P(WideApi, CatalogFunctionsTakeWideNames)
{
    WideText schema = wide(u"MT");
    WideText table = wide(u"qrb\\_zv\\_user%");
    ASSERT_EQ(
        SQLTablesW(stmt_, nullptr, 0, schema.data(), SQL_NTS, table.data(), SQL_NTS, nullptr, 0),
        SQL_SUCCESS);
    EXPECT_EQ(fetchAll(stmt_),
              (std::vector<Row>{{std::nullopt, "mt", "qrb_zv_userlist", "TABLE", std::nullopt}}));
    SQLFreeStmt(stmt_, SQL_CLOSE);
    WideText userlist = wide(u"qrb_zv_userlist");
    WideText column = wide(u"%user");
    ASSERT_EQ(SQLColumnsW(stmt_, nullptr, 0, schema.data(), SQL_NTS, userlist.data(),
                          static_cast<SQLSMALLINT>(userlist.size()), column.data(), SQL_NTS),
              SQL_SUCCESS);
    const auto columns = fetchAll(stmt_);
    ASSERT_EQ(columns.size(), 1U);
    EXPECT_EQ(columns[0][3], "mtuser");
    SQLFreeStmt(stmt_, SQL_CLOSE);
    WideText procedure = wide(u"%reset%");
    ASSERT_EQ(SQLProceduresW(stmt_, nullptr, 0, schema.data(), SQL_NTS, procedure.data(), SQL_NTS),
              SQL_SUCCESS);
    const auto procedures = fetchAll(stmt_);
    ASSERT_EQ(procedures.size(), 1U);
    EXPECT_EQ(procedures[0][2], "qrb_zv_reset_page_config");
    SQLFreeStmt(stmt_, SQL_CLOSE);
    // Statistics: the thirteen columns of their result set, with no index to list.
    ASSERT_EQ(SQLStatisticsW(stmt_, nullptr, 0, schema.data(), SQL_NTS, userlist.data(), SQL_NTS,
                             SQL_INDEX_ALL, SQL_QUICK),
              SQL_SUCCESS);
    SQLSMALLINT statisticsColumns = 0;
    SQLNumResultCols(stmt_, &statisticsColumns);
    EXPECT_EQ(statisticsColumns, 13);
}

KALDOR_FOR_EACH_DIALECT(WideApi);

} // namespace

} // namespace kaldor::standin::test
