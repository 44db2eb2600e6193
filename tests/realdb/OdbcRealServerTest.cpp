// The ODBC layer against a real server through a driver we did not write: PostgreSQL through
// psqlODBC, started by with-postgres.sh, which names the data source in KALDOR_REAL_DSN's stead
// ("PG Anywhere", user and password kaldor) and the server's folder in KALDOR_PG_SOCKET_DIR.
#include "Odbc.h"
#include "WaitsForTransaction.h"

#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/types.h>
#include <unistd.h>

namespace {

using kaldor::db::DbException;
using kaldor::db::OdbcConnection;
namespace db = kaldor::db;

const QString Source = QStringLiteral("PG Anywhere");

std::unique_ptr<OdbcConnection> connect()
{
    return OdbcConnection::open(Source, QStringLiteral("kaldor"), QStringLiteral("kaldor"), {});
}

class RealServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("KALDOR_PG_SOCKET_DIR"))
            GTEST_SKIP() << "run through with-postgres.sh";
        auto c = connect();
        c->execute(QStringLiteral("delete from mt.qrb_zv_reports;delete from mt.dbconfig;"
                                  "insert into mt.dbconfig(version) values('1.0')"));
    }
};

TEST_F(RealServer, SeveralResultSetsTheFirstIsTheQuery)
{
    auto c = connect();
    const db::ResultSet rs = c->query(
        QStringLiteral("select version from mt.dbconfig;select 1 as other;select 2 as third"));
    ASSERT_EQ(rs.size(), 1);
    EXPECT_EQ(rs.text(0, u"VERSION"), QStringLiteral("1.0"));
    // Every statement of a batch runs.
    c->execute(QStringLiteral("insert into mt.qrb_zv_reports(report_name) values('A');"
                              "insert into mt.qrb_zv_reports(report_name) values('b')"));
    EXPECT_EQ(c->query(QStringLiteral("select report_name from mt.qrb_zv_reports")).size(), 2);
    // Text compares without regard to case, as the configuration expects.
    EXPECT_EQ(
        c->query(QStringLiteral("select * from mt.qrb_zv_reports where report_name = 'a'")).size(),
        1);
}

TEST_F(RealServer, AWriteWaitsForAnotherConnectionsTransaction)
{
    expectAWriteWaitsForAnOpenTransaction(connect,
                                          QStringLiteral("update mt.dbconfig set version = '%1'"),
                                          QStringLiteral("select version from mt.dbconfig"));
}

TEST_F(RealServer, AnErrorInALaterStatementOfABatchFailsIt)
{
    auto c = connect();
    try {
        c->execute(QStringLiteral("insert into mt.qrb_zv_reports(report_name) values('X');"
                                  "insert into mt.no_such_table(x) values('1')"));
        FAIL() << "the batch succeeded";
    } catch (const DbException& e) {
        ASSERT_FALSE(e.error().records.isEmpty());
        EXPECT_EQ(e.error().records[0].sqlState, QStringLiteral("42P01"));
        EXPECT_TRUE(e.error().records[0].message.contains(QStringLiteral("no_such_table")))
            << e.error().records[0].message.toStdString();
    }
    // The connection goes on working after the error.
    EXPECT_EQ(c->query(QStringLiteral("select version from mt.dbconfig")).size(), 1);
}

TEST_F(RealServer, NullsLongTextsAndNonAsciiComeBackWhole)
{
    auto c = connect();
    QString longText;
    while (longText.size() < 100000)
        longText += QStringLiteral("Zeile äöü € 日本 ");
    longText.truncate(100000);
    c->execute(QStringLiteral("insert into mt.qrb_zv_reports(report_name,report_sql,"
                              "report_filename) values('Größe','") +
               longText + QStringLiteral("','')"));
    const db::ResultSet rs = c->query(QStringLiteral(
        "select report_name, report_sql, report_filename, report_out from mt.qrb_zv_reports"));
    ASSERT_EQ(rs.size(), 1);
    EXPECT_EQ(rs.text(0, u"report_name"), QStringLiteral("Größe"));
    EXPECT_EQ(rs.text(0, u"REPORT_SQL").size(), 100000);
    EXPECT_EQ(rs.text(0, u"report_sql"), longText);
    EXPECT_EQ(rs.value(0, u"report_filename"), std::optional<QString>(QString()));
    EXPECT_EQ(rs.value(0, u"report_out"), std::nullopt);
}

TEST_F(RealServer, EveryDiagnosticRecordComesThrough)
{
    auto c = connect();
    // A notice before the error: the server sends two messages for one statement.
    try {
        c->execute(QStringLiteral(
            "do $$ begin raise notice 'first word'; raise exception 'second word'; end $$"));
        FAIL() << "the statement succeeded";
    } catch (const DbException& e) {
        // psqlODBC reports the server's error text and its own line in one record.
        ASSERT_FALSE(e.error().records.isEmpty());
        const db::DiagRecord& r = e.error().records[0];
        EXPECT_EQ(r.sqlState, QStringLiteral("P0001"));
        EXPECT_EQ(r.message,
                  QStringLiteral("ERROR: second word;\nError while executing the query"));
        for (const db::DiagRecord& each : e.error().records)
            EXPECT_EQ(each.sqlState, QStringLiteral("P0001"));
    }
}

TEST_F(RealServer, LoginFailureCarriesTheDriversRecordsAndNoPassword)
{
    // An unknown user and a known one with a wrong password fail alike, as the server says.
    for (const QString& user : {QStringLiteral("nobody"), QStringLiteral("kaldor")}) {
        try {
            OdbcConnection::open(Source, user, QStringLiteral("hunter2"), {});
            FAIL() << "login succeeded as " << user.toStdString();
        } catch (const DbException& e) {
            EXPECT_EQ(e.error().number, db::OdbcConnectFailed);
            ASSERT_FALSE(e.error().records.isEmpty());
            const db::DiagRecord& r = e.error().records[0];
            EXPECT_EQ(r.sqlState, QStringLiteral("08001"));
            EXPECT_EQ(r.native, 101);
            EXPECT_TRUE(r.message.contains(
                QStringLiteral("FATAL:  password authentication failed for user \"%1\"").arg(user)))
                << r.message.toStdString();
            for (const db::DiagRecord& each : e.error().records)
                EXPECT_FALSE(each.message.contains(QStringLiteral("hunter2")));
        }
    }
}

qint64 backendPid(OdbcConnection& c)
{
    return c.query(QStringLiteral("select pg_backend_pid() as pid")).text(0, u"pid").toLongLong();
}

// Runs last, in the order of declaration: it stops the server.
TEST_F(RealServer, StatementsAfterTheServerIsGoneFailAtOnce)
{
    // The session's own backend killed: the next statement fails, another login works.
    auto c = connect();
    ASSERT_EQ(::kill(static_cast<pid_t>(backendPid(*c)), SIGKILL), 0);
    EXPECT_THROW(c->query(QStringLiteral("select version from mt.dbconfig")), DbException);

    // The whole server stopped at once.
    std::unique_ptr<OdbcConnection> d;
    for (int i = 0; i < 50 && !d; ++i) {
        try {
            d = connect();
        } catch (const DbException&) {
            ::usleep(200000); // the server restarts its backends after one died
        }
    }
    ASSERT_TRUE(d);
    QFile pidFile(qEnvironmentVariable("KALDOR_PG_SOCKET_DIR") +
                  QStringLiteral("/data/postmaster.pid"));
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const pid_t postmaster = static_cast<pid_t>(pidFile.readLine().trimmed().toLongLong());
    const qint64 backend = backendPid(*d);
    ASSERT_EQ(::kill(postmaster, SIGKILL), 0);
    ::kill(static_cast<pid_t>(backend), SIGKILL);
    try {
        d->execute(QStringLiteral("insert into mt.qrb_zv_reports(report_name) values('late')"));
        FAIL() << "a statement reached a stopped server";
    } catch (const DbException& e) {
        ASSERT_FALSE(e.error().records.isEmpty());
        EXPECT_EQ(e.error().records[0].sqlState.size(), 5);
    }
    EXPECT_THROW(connect(), DbException);
}

// FreeTDS, started by with-freetds.sh, with a data source at a closed loopback port: the
// login fails at once and the driver's own records come through whole.
TEST(FreeTds, ALoginToAClosedPortFailsWithTheDriversRecords)
{
    const QString source = qEnvironmentVariable("KALDOR_TDS_DSN");
    if (source.isEmpty())
        GTEST_SKIP() << "run through with-freetds.sh";
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            OdbcConnection::open(source, QStringLiteral("sa"), QStringLiteral("secret"), {});
            FAIL() << "login succeeded";
        } catch (const DbException& e) {
            EXPECT_EQ(e.error().number, db::OdbcConnectFailed);
            ASSERT_EQ(e.error().records.size(), 2);
            // The network failure first, then the failed login, as the driver lists them.
            const db::DiagRecord& first = e.error().records[0];
            EXPECT_EQ(first.sqlState, QStringLiteral("08S01"));
            EXPECT_EQ(first.native, 20009); // the driver's own number: server unavailable
            EXPECT_EQ(first.source, QStringLiteral("[unixODBC][FreeTDS][SQL Server]"));
            EXPECT_EQ(first.message,
                      QStringLiteral("Unable to connect: Adaptive Server is unavailable or does "
                                     "not exist"));
            const db::DiagRecord& second = e.error().records[1];
            EXPECT_EQ(second.sqlState, QStringLiteral("08001"));
            EXPECT_EQ(second.native, 0);
            EXPECT_EQ(second.source, QStringLiteral("[unixODBC][FreeTDS][SQL Server]"));
            EXPECT_EQ(second.message, QStringLiteral("Unable to connect to data source"));
            EXPECT_FALSE(second.message.contains(QStringLiteral("secret")));
        }
    }
}

} // namespace
