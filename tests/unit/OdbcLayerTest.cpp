// The database layer through the real unixODBC driver manager and the stand-in driver.
#include "Odbc.h"
#include "StandinStore.h"
#include "WaitsForTransaction.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kaldor;
using kaldor::db::DbException;
using kaldor::db::OdbcConnection;

namespace {

class OdbcLayer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        ASSERT_TRUE(dir->isValid());
        const std::string base = QFile::encodeName(dir->path()).toStdString();
        std::string error;
        ASSERT_TRUE(standin::createDatabase(base + "/any.db", standin::Dialect::Anywhere, &error))
            << error;
        ASSERT_TRUE(standin::createDatabase(base + "/sql.db", standin::Dialect::SqlServer, &error))
            << error;
        ASSERT_TRUE(standin::writeOdbcConfig(
            base, KALDOR_STANDIN_DRIVER,
            {{"Anywhere Source", standin::Dialect::Anywhere, base + "/any.db"},
             {"Server Source With A Long Name", standin::Dialect::SqlServer, base + "/sql.db"}},
            &error))
            << error;
        qputenv("ODBCSYSINI", QFile::encodeName(dir->path()));
        qputenv("ODBCINI", QFile::encodeName(dir->path() + QStringLiteral("/odbc.ini")));
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    static std::unique_ptr<OdbcConnection> connect(const char* source)
    {
        return OdbcConnection::open(QString::fromUtf8(source), QStringLiteral("admin"),
                                    QStringLiteral("secret"), {});
    }
    static QTemporaryDir* dir;
};

QTemporaryDir* OdbcLayer::dir = nullptr;

TEST_F(OdbcLayer, ListsDataSourcesInOrderWithTheirDrivers)
{
    const db::DataSourceListing all = db::listDataSources({});
    ASSERT_TRUE(all.environmentAllocated);
    ASSERT_EQ(all.entries.size(), 2);
    EXPECT_EQ(all.entries[0].name, QStringLiteral("Anywhere Source"));
    EXPECT_EQ(all.entries[0].description, QStringLiteral("SQL Anywhere 17 (KALDOR stand-in)"));
    EXPECT_EQ(all.entries[1].description,
              QStringLiteral("ODBC Driver 18 for SQL Server (KALDOR stand-in)"));

    // Short buffers cut the texts; a limit reports the entries beyond it.
    bool overflow = false;
    const db::DataSourceListing cut = db::listDataSources({8, 12, 1}, &overflow);
    ASSERT_EQ(cut.entries.size(), 1);
    EXPECT_EQ(cut.entries[0].name, QStringLiteral("Anywher"));
    EXPECT_EQ(cut.entries[0].description, QStringLiteral("SQL Anywher"));
    EXPECT_TRUE(overflow);
}

TEST_F(OdbcLayer, WrongPasswordFailsWithTheDriversRecordsAndNoPassword)
{
    try {
        OdbcConnection::open(QStringLiteral("Anywhere Source"), QStringLiteral("admin"),
                             QStringLiteral("hunter2"), {});
        FAIL() << "login succeeded";
    } catch (const DbException& e) {
        EXPECT_EQ(e.error().number, db::OdbcConnectFailed);
        ASSERT_FALSE(e.error().records.isEmpty());
        EXPECT_EQ(e.error().records[0].sqlState, QStringLiteral("28000"));
        for (const db::DiagRecord& r : e.error().records)
            EXPECT_FALSE(r.message.contains(QStringLiteral("hunter2")));
    }
    EXPECT_THROW(OdbcConnection::open(QStringLiteral("No Such Source"), QStringLiteral("admin"),
                                      QStringLiteral("secret"), {}),
                 DbException);
}

// Texts handed to the driver manager go whole or not at all: a long tail after a valid
// password, user name or data source name must not be cut off into a valid login.
TEST_F(OdbcLayer, LoginTextsAreNeverCut)
{
    const QString tail(65536, QLatin1Char('x'));
    const QString source = QStringLiteral("Anywhere Source");
    const auto open = [](const QString& dsn, const QString& user, const QString& password) {
        return OdbcConnection::open(dsn, user, password, {});
    };
    struct Case {
        QString dsn, user, password;
    } cases[] = {
        {source, QStringLiteral("admin"), QStringLiteral("secret") + tail},
        {source, QStringLiteral("admin") + tail, QStringLiteral("secret")},
        {source + tail, QStringLiteral("admin"), QStringLiteral("secret")},
        {source, QStringLiteral("admin"),
         QStringLiteral("secret") + QChar(0) + QStringLiteral("x")},
        {source, QStringLiteral("admin") + QChar(0) + QStringLiteral("x"),
         QStringLiteral("secret")},
        {source + QChar(0) + QStringLiteral("x"), QStringLiteral("admin"),
         QStringLiteral("secret")},
    };
    for (const Case& c : cases) {
        try {
            open(c.dsn, c.user, c.password);
            ADD_FAILURE() << "logged in with a text of "
                          << (c.dsn.size() + c.user.size() + c.password.size()) << " characters";
        } catch (const DbException& e) {
            EXPECT_EQ(e.error().number, db::OdbcConnectFailed);
        }
    }
    // A long statement text reaches the server whole.
    auto any = connect("Anywhere Source");
    const QString header = QStringLiteral("h") + tail + tail;
    any->execute(QStringLiteral("delete from mt.qrb_zv_result_header;"
                                "insert into mt.qrb_zv_result_header(header) values('") +
                 header + QStringLiteral("');commit"));
    EXPECT_EQ(
        any->query(QStringLiteral("select header from mt.qrb_zv_result_header")).text(0, u"header"),
        header);
    any->execute(QStringLiteral("delete from mt.qrb_zv_result_header;commit"));
}

// ODBC gives a diagnostic message's length in 16 bits: a longer message is read up to that
// limit and marked as cut, and keeps its native number and source.
TEST_F(OdbcLayer, LongDiagnosticsAreCutVisiblyNotLost)
{
    auto sql = connect("Server Source With A Long Name");
    for (int length : {32000, 40000, 70000}) {
        const QString name = QStringLiteral("mt.t") + QString(length, QChar(0xe4));
        try {
            sql->query(QStringLiteral("select * from ") + name);
            FAIL() << "a missing table was found";
        } catch (const DbException& e) {
            ASSERT_EQ(e.error().records.size(), 1);
            const db::DiagRecord& r = e.error().records[0];
            EXPECT_EQ(r.native, 208);
            EXPECT_EQ(r.sqlState, QStringLiteral("42S02"));
            EXPECT_EQ(r.source, QStringLiteral("[KALDOR][Stand-in SQL Server]"));
            EXPECT_TRUE(r.message.startsWith(QStringLiteral("Invalid object name 'mt.t\u00e4")))
                << length;
            const QString whole =
                QStringLiteral("Invalid object name '") + name + QStringLiteral("'.");
            if (whole.toUtf8().size() + 40 < 32767) {
                EXPECT_EQ(r.message, whole);
            } else {
                EXPECT_TRUE(r.message.endsWith(QStringLiteral("\u00e4...")));
                EXPECT_GT(r.message.size(), 16000);
                EXPECT_FALSE(r.message.contains(QChar::ReplacementCharacter));
            }
        }
    }
}

TEST_F(OdbcLayer, BatchesInBothDialects)
{
    auto any = connect("Anywhere Source");
    any->execute(
        QStringLiteral("insert into mt.qrb_zv_result_header(header) values('A;B');commit"));
    EXPECT_EQ(any->query(QStringLiteral("select header from mt.qrb_zv_result_header;commit"))
                  .text(0, u"HEADER"),
              QStringLiteral("A;B"));

    auto sql = connect("Server Source With A Long Name");
    sql->execute(QStringLiteral(
        "Begin Transaction; insert into mt.qrb_zv_result_header(header) values('x'); commit"));
    EXPECT_EQ(sql->query(QStringLiteral("select header from mt.qrb_zv_result_header;")).size(), 1);
    // SQL Server refuses a commit with no transaction open.
    try {
        sql->execute(QStringLiteral("delete from mt.qrb_zv_result_header; commit"));
        FAIL() << "commit without a transaction succeeded";
    } catch (const DbException& e) {
        ASSERT_FALSE(e.error().records.isEmpty());
        EXPECT_EQ(e.error().records.last().native, 3902);
    }
}

TEST_F(OdbcLayer, AnErrorInALaterStatementSurfacesAfterTheEarlierOnesRan)
{
    auto any = connect("Anywhere Source");
    any->execute(QStringLiteral("delete from mt.qrb_zv_tree_fields;commit"));
    EXPECT_THROW(
        any->execute(QStringLiteral("insert into mt.qrb_zv_tree_fields(fldnum) values('4201');"
                                    "insert into mt.no_such_table(x) values('1');commit")),
        DbException);
    EXPECT_EQ(any->query(QStringLiteral("select fldnum from mt.qrb_zv_tree_fields")).size(), 1);
    // A query fails on what comes before its rows, not on what follows them: SQL Server's
    // "select ...;commit" outside a transaction still reads its rows.
    EXPECT_THROW(any->query(QStringLiteral("delete from mt.no_such_table;"
                                           "select fldnum from mt.qrb_zv_tree_fields")),
                 DbException);
    EXPECT_EQ(any->query(QStringLiteral("select fldnum from mt.qrb_zv_tree_fields;"
                                        "select nothing from mt.no_such_table"))
                  .size(),
              1);
    auto sql = connect("Server Source With A Long Name");
    EXPECT_EQ(sql->query(QStringLiteral("select * from mt.qrb_zv_session_config where "
                                        "mtuser = 'x';commit"))
                  .columns()
                  .size(),
              8);
    EXPECT_THROW(sql->execute(QStringLiteral("select * from mt.dbconfig;commit")), DbException);
}

TEST_F(OdbcLayer, NullIsNotEmptyAndLongTextsComeBackWhole)
{
    auto sql = connect("Server Source With A Long Name");
    QString longText;
    for (int i = 0; i < 20000; ++i)
        longText += QStringLiteral("line %1 äö;\n").arg(i);
    sql->execute(QStringLiteral("delete from mt.qrb_zv_reports;"));
    sql->execute(
        QStringLiteral("insert into mt.qrb_zv_reports(report_name,report_type,zvrtag,"
                       "sql_link,report_sql,report_filename) values('Long','S','T1','N','") +
        longText + QStringLiteral("','')"));
    const db::ResultSet rs = sql->query(QStringLiteral(
        "select CAST(report_sql AS text) 'report_sql', report_filename, report_out from "
        "mt.qrb_zv_reports where report_name = 'LONG'"));
    ASSERT_EQ(rs.size(), 1);
    EXPECT_EQ(rs.text(0, u"Report_SQL"), longText);
    EXPECT_EQ(rs.value(0, u"report_filename"), std::optional<QString>(QString()));
    EXPECT_EQ(rs.value(0, u"report_out"), std::nullopt);
    try {
        rs.value(0, u"no_such_column");
        FAIL();
    } catch (const DbException& e) {
        EXPECT_EQ(e.error().number, db::ItemNotFound);
    }
    EXPECT_THROW(rs.value(1, u"report_sql"), DbException); // no current record
}

TEST_F(OdbcLayer, TheObserverSeesEveryStatementWithItsConnection)
{
    QStringList seen;
    db::setStatementObserver([&](const QString& connection, const QString& text) {
        seen.append(connection + QStringLiteral(": ") + text);
    });
    auto any = OdbcConnection::open(QStringLiteral("Anywhere Source"), QStringLiteral("admin"),
                                    QStringLiteral("secret"), {QStringLiteral("direct")});
    any->query(QStringLiteral("select version from mt.dbconfig"));
    EXPECT_THROW(any->execute(QStringLiteral("select * from mt.missing")), DbException);
    db::setStatementObserver({});
    EXPECT_EQ(seen, (QStringList{QStringLiteral("direct: select version from mt.dbconfig"),
                                 QStringLiteral("direct: select * from mt.missing")}));
}

} // namespace

TEST(ConnectOptions, StatementsWaitUnlessATimeoutIsConfigured)
{
    qunsetenv("KALDOR_QUERY_TIMEOUT");
    EXPECT_EQ(db::ConnectOptions::forProgram(QStringLiteral("main")).queryTimeoutSeconds, 0);
    EXPECT_EQ(db::ConnectOptions::forProgram(QStringLiteral("main")).connectionTimeoutSeconds, 0);
    for (const char* none : {"", "abc", "-5", "0", "1.5"}) {
        qputenv("KALDOR_QUERY_TIMEOUT", none);
        EXPECT_EQ(db::ConnectOptions::forProgram(QStringLiteral("main")).queryTimeoutSeconds, 0)
            << none;
    }
    qputenv("KALDOR_QUERY_TIMEOUT", " 120 ");
    const db::ConnectOptions options = db::ConnectOptions::forProgram(QStringLiteral("direct"));
    EXPECT_EQ(options.queryTimeoutSeconds, 120);
    EXPECT_EQ(options.connectionTimeoutSeconds, 120);
    EXPECT_EQ(options.label, QStringLiteral("direct"));
    EXPECT_GT(options.loginTimeoutSeconds, 0);
    qunsetenv("KALDOR_QUERY_TIMEOUT");
}

TEST_F(OdbcLayer, AWriteWaitsForAnotherConnectionsTransaction)
{
    connect("Anywhere Source")
        ->execute(
            QStringLiteral("delete from mt.qrb_zv_tree_config;"
                           "insert into mt.qrb_zv_tree_config(max_rows_display) values('1')"));
    expectAWriteWaitsForAnOpenTransaction(
        [] { return connect("Anywhere Source"); },
        QStringLiteral("update mt.qrb_zv_tree_config set max_rows_display = '%1'"),
        QStringLiteral("select max_rows_display from mt.qrb_zv_tree_config"));
}
