// What the stand-in driver says of itself through SQLGetInfo, as a client reads it through the
// driver manager.
#include "OdbcClient.h"

#include <gtest/gtest.h>

namespace kaldor::standin::test {

namespace {

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
        same(SQL_USER_NAME, "admin"),
        same(SQL_DRIVER_NAME, "libkaldor-standin.so"),
        same(SQL_DRIVER_VER, "01.00.0000"),
        same(SQL_DRIVER_ODBC_VER, "03.00"),
        same(SQL_IDENTIFIER_QUOTE_CHAR, "\""),
        same(SQL_CATALOG_NAME_SEPARATOR, "."),
        same(SQL_SEARCH_PATTERN_ESCAPE, "\\"),
        same(SQL_SCHEMA_TERM, "owner"),
        same(SQL_PROCEDURE_TERM, "procedure"),
        same(SQL_TABLE_TERM, "table"),
        same(SQL_CATALOG_TERM, ""),
        same(SQL_KEYWORDS, ""),
        same(SQL_DATA_SOURCE_READ_ONLY, "N"),
        same(SQL_NEED_LONG_DATA_LEN, "N"),
        same(SQL_ORDER_BY_COLUMNS_IN_SELECT, "N"),
        same(SQL_MAX_ROW_SIZE_INCLUDES_LONG, "N"),
        same(SQL_PROCEDURES, "Y"),
        same(SQL_MULT_RESULT_SETS, "Y"),
        same(SQL_ACCESSIBLE_TABLES, "Y"),
        same(SQL_LIKE_ESCAPE_CLAUSE, "Y"),
        number(SQL_MAX_COLUMN_NAME_LEN, 2, 128),
        number(SQL_MAX_TABLE_NAME_LEN, 2, 128),
        number(SQL_MAX_SCHEMA_NAME_LEN, 2, 128),
        number(SQL_MAX_CATALOG_NAME_LEN, 2, 0),
        number(SQL_MAX_CONCURRENT_ACTIVITIES, 2, 0),
        number(SQL_TXN_CAPABLE, 2, SQL_TC_ALL),
        number(SQL_CURSOR_COMMIT_BEHAVIOR, 2, SQL_CB_PRESERVE),
        number(SQL_IDENTIFIER_CASE, 2, SQL_IC_MIXED),
        number(SQL_NULL_COLLATION, 2, SQL_NC_LOW),
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
        number(SQL_SQL_CONFORMANCE, 4, SQL_SC_SQL92_ENTRY),
        number(SQL_STRING_FUNCTIONS, 4, 0),
        number(SQL_MAX_STATEMENT_LEN, 4, 0)};
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
    EXPECT_EQ(SQLGetInfo(c.handle(), 9999, text, sizeof text, nullptr), SQL_ERROR);
    EXPECT_EQ(states(SQL_HANDLE_DBC, c.handle()), std::vector<std::string>{"HY096"});
}

} // namespace

} // namespace kaldor::standin::test
