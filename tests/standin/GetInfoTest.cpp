// What the stand-in driver says of itself through SQLGetInfo, as a client reads it through the
// driver manager.
#include "OdbcClient.h"

#include <gtest/gtest.h>

#include <cstring>
#include <variant>

namespace kaldor::standin::test {

namespace {

// The value of one information type: a text, a 16-bit or a 32-bit number.
struct Short {
    SQLUSMALLINT value;
    bool operator==(const Short&) const = default;
};
struct Long {
    SQLUINTEGER value;
    bool operator==(const Long&) const = default;
};
using InfoValue = std::variant<std::string, Short, Long>;

std::ostream& operator<<(std::ostream& out, const InfoValue& v)
{
    if (const auto* text = std::get_if<std::string>(&v)) {
        return out << '"' << *text << '"';
    }
    if (const auto* s = std::get_if<Short>(&v)) {
        return out << "short " << s->value;
    }
    return out << "long " << std::get<Long>(v).value;
}

InfoValue readInfo(SQLHDBC dbc, SQLUSMALLINT type, const InfoValue& like)
{
    if (std::holds_alternative<std::string>(like)) {
        char text[256] = {};
        SQLSMALLINT length = -1;
        EXPECT_EQ(SQLGetInfo(dbc, type, text, sizeof text, &length), SQL_SUCCESS) << type;
        EXPECT_EQ(length, static_cast<SQLSMALLINT>(std::strlen(text))) << type;
        return std::string(text);
    }
    // A number written wider than its type would show in the bytes after it.
    unsigned char bytes[8];
    std::memset(bytes, 0xee, sizeof bytes);
    SQLSMALLINT length = -1;
    EXPECT_EQ(SQLGetInfo(dbc, type, bytes, sizeof bytes, &length), SQL_SUCCESS) << type;
    if (std::holds_alternative<Short>(like)) {
        EXPECT_EQ(length, 2) << type;
        EXPECT_EQ(bytes[2], 0xee) << type;
        SQLUSMALLINT v = 0;
        std::memcpy(&v, bytes, sizeof v);
        return Short{v};
    }
    EXPECT_EQ(length, 4) << type;
    EXPECT_EQ(bytes[4], 0xee) << type;
    SQLUINTEGER v = 0;
    std::memcpy(&v, bytes, sizeof v);
    return Long{v};
}

struct InfoCase {
    SQLUSMALLINT type;
    InfoValue anywhere;
    InfoValue sqlServer;
};

InfoCase same(SQLUSMALLINT type, InfoValue v)
{
    return {type, v, v};
}

class GetInfo : public ::testing::Test {
protected:
    void SetUp() override { StandinFixtureFiles::instance().reset(); }
};

TEST_F(GetInfo, AnswersEachInformationTypeWithItsValueAndWidth)
{
    const std::vector<InfoCase> cases = {
        {SQL_DBMS_NAME, std::string("SQL Anywhere"), std::string("Microsoft SQL Server")},
        {SQL_DBMS_VER, std::string("17.00.0000"), std::string("16.00.1000")},
        {SQL_DATA_SOURCE_NAME, std::string(kAnywhereDsn), std::string(kServerDsn)},
        {SQL_SERVER_NAME, std::string(kAnywhereDsn), std::string(kServerDsn)},
        {SQL_DATABASE_NAME, StandinFixtureFiles::instance().databasePath(Dialect::Anywhere),
         StandinFixtureFiles::instance().databasePath(Dialect::SqlServer)},
        same(SQL_USER_NAME, std::string("admin")),
        same(SQL_DRIVER_NAME, std::string("libkaldor-standin.so")),
        same(SQL_DRIVER_VER, std::string("01.00.0000")),
        same(SQL_DRIVER_ODBC_VER, std::string("03.00")),
        same(SQL_IDENTIFIER_QUOTE_CHAR, std::string("\"")),
        same(SQL_CATALOG_NAME_SEPARATOR, std::string(".")),
        same(SQL_SEARCH_PATTERN_ESCAPE, std::string("\\")),
        same(SQL_SCHEMA_TERM, std::string("owner")),
        same(SQL_PROCEDURE_TERM, std::string("procedure")),
        same(SQL_TABLE_TERM, std::string("table")),
        same(SQL_CATALOG_TERM, std::string("")),
        same(SQL_KEYWORDS, std::string("")),
        same(SQL_DATA_SOURCE_READ_ONLY, std::string("N")),
        same(SQL_NEED_LONG_DATA_LEN, std::string("N")),
        same(SQL_ORDER_BY_COLUMNS_IN_SELECT, std::string("N")),
        same(SQL_MAX_ROW_SIZE_INCLUDES_LONG, std::string("N")),
        same(SQL_PROCEDURES, std::string("Y")),
        same(SQL_MULT_RESULT_SETS, std::string("Y")),
        same(SQL_ACCESSIBLE_TABLES, std::string("Y")),
        same(SQL_LIKE_ESCAPE_CLAUSE, std::string("Y")),
        same(SQL_MAX_COLUMN_NAME_LEN, Short{128}),
        same(SQL_MAX_TABLE_NAME_LEN, Short{128}),
        same(SQL_MAX_SCHEMA_NAME_LEN, Short{128}),
        same(SQL_MAX_CATALOG_NAME_LEN, Short{0}),
        same(SQL_MAX_CONCURRENT_ACTIVITIES, Short{0}),
        same(SQL_TXN_CAPABLE, Short{SQL_TC_ALL}),
        same(SQL_CURSOR_COMMIT_BEHAVIOR, Short{SQL_CB_PRESERVE}),
        same(SQL_IDENTIFIER_CASE, Short{SQL_IC_MIXED}),
        same(SQL_NULL_COLLATION, Short{SQL_NC_LOW}),
        same(SQL_CONCAT_NULL_BEHAVIOR, Short{SQL_CB_NULL}),
        same(SQL_GROUP_BY, Short{SQL_GB_GROUP_BY_CONTAINS_SELECT}),
        same(SQL_NON_NULLABLE_COLUMNS, Short{SQL_NNC_NON_NULL}),
        same(SQL_GETDATA_EXTENSIONS, Long{SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND}),
        same(SQL_DEFAULT_TXN_ISOLATION, Long{SQL_TXN_SERIALIZABLE}),
        same(SQL_SCROLL_OPTIONS, Long{SQL_SO_FORWARD_ONLY}),
        same(SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1, Long{SQL_CA1_NEXT}),
        same(SQL_ODBC_INTERFACE_CONFORMANCE, Long{SQL_OIC_CORE}),
        same(SQL_BATCH_SUPPORT, Long{SQL_BS_SELECT_EXPLICIT | SQL_BS_ROW_COUNT_EXPLICIT}),
        same(SQL_PARAM_ARRAY_SELECTS, Long{SQL_PAS_NO_SELECT}),
        same(SQL_CURSOR_SENSITIVITY, Long{SQL_INSENSITIVE}),
        same(SQL_SCHEMA_USAGE,
             Long{SQL_SU_DML_STATEMENTS | SQL_SU_PROCEDURE_INVOCATION | SQL_SU_TABLE_DEFINITION}),
        same(SQL_SQL_CONFORMANCE, Long{SQL_SC_SQL92_ENTRY}),
        same(SQL_STRING_FUNCTIONS, Long{0}),
        same(SQL_MAX_STATEMENT_LEN, Long{0}),
    };
    for (const Dialect d : {Dialect::Anywhere, Dialect::SqlServer}) {
        Connection c;
        ASSERT_TRUE(c.open(dsnOf(d), "admin", "secret"));
        for (const InfoCase& info : cases) {
            const InfoValue& expected = d == Dialect::Anywhere ? info.anywhere : info.sqlServer;
            EXPECT_EQ(readInfo(c.handle(), info.type, expected), expected)
                << "information type " << info.type << " in " << dsnOf(d);
        }
    }
}

TEST_F(GetInfo, CutsATextToTheBufferWithAWarning)
{
    Connection c;
    ASSERT_TRUE(c.open(kServerDsn, "admin", "secret"));
    char text[10] = {};
    SQLSMALLINT length = 0;
    EXPECT_EQ(SQLGetInfo(c.handle(), SQL_DBMS_NAME, text, sizeof text, &length),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(std::string(text), "Microsoft");
    EXPECT_EQ(length, 20);
    EXPECT_EQ(diagnostics(SQL_HANDLE_DBC, c.handle()).at(0).state, "01004");
}

TEST_F(GetInfo, RefusesAnUnknownInformationType)
{
    Connection c;
    ASSERT_TRUE(c.open(kServerDsn, "admin", "secret"));
    SQLUINTEGER value = 0;
    EXPECT_EQ(SQLGetInfo(c.handle(), 9999, &value, sizeof value, nullptr), SQL_ERROR);
    EXPECT_EQ(diagnostics(SQL_HANDLE_DBC, c.handle()).at(0).state, "HY096");
}

} // namespace

} // namespace kaldor::standin::test
