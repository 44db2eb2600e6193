// The database layer through the real unixODBC driver manager and the stand-in
// driver.
#include "Odbc.h"
#include "StandinStore.h"
#include "WaitsForTransaction.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace kaldor;
using kaldor::db::DbException;
using kaldor::db::OdbcConnection;
using namespace Qt::StringLiterals;

namespace {

const char* const Anywhere = "Anywhere Source Prüfstand"; // a letter outside ASCII
const char* const Server = "Server Source With A Long Name";

// The error a call fails with, or none when it succeeds.
template <typename Call> std::optional<db::DbError> failureOf(Call call)
{
    try {
        call();
    } catch (const DbException& e) {
        return e.error();
    }
    return std::nullopt;
}

class OdbcLayer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string base = QFile::encodeName(dir.path()).toStdString();
        std::string error;
        ASSERT_TRUE(
            standin::createDatabase(base + "/any.db", standin::Dialect::Anywhere, &error) &&
            standin::createDatabase(base + "/sql.db", standin::Dialect::SqlServer, &error) &&
            standin::writeOdbcConfig(base, KALDOR_STANDIN_DRIVER,
                                     {{Anywhere, standin::Dialect::Anywhere, base + "/any.db"},
                                      {Server, standin::Dialect::SqlServer, base + "/sql.db"}},
                                     &error))
            << error;
        qputenv("ODBCSYSINI", QFile::encodeName(dir.path()));
        qputenv("ODBCINI", QFile::encodeName(dir.filePath(u"odbc.ini"_s)));
    }
    static std::unique_ptr<OdbcConnection> connect(const char* source)
    {
        return OdbcConnection::open(QString::fromUtf8(source), u"admin"_s, u"secret"_s,
                                    {u"main"_s});
    }
    static inline QTemporaryDir dir;
};

TEST_F(OdbcLayer, ListsDataSourcesInOrderWithTheirDrivers)
{
    const db::DataSourceListing all = db::listDataSources({});
    ASSERT_TRUE(all.environmentAllocated);
    ASSERT_EQ(all.entries.size(), 2);
    EXPECT_EQ(all.entries[0].name, QString::fromUtf8(Anywhere));
    EXPECT_EQ(all.entries[0].description, QString::fromUtf8(standin::kAnywhereDriverName));
    EXPECT_EQ(all.entries[1].description, QString::fromUtf8(standin::kSqlServerDriverName));

    // Short buffers cut the texts; a limit reports the entries beyond it.
    bool overflow = false;
    const db::DataSourceListing cut = db::listDataSources({8, 12, 1}, &overflow);
    ASSERT_EQ(cut.entries.size(), 1);
    EXPECT_EQ(cut.entries[0].name, u"Anywher"_s);
    EXPECT_EQ(cut.entries[0].description, u"SQL Anywher"_s);
    EXPECT_TRUE(overflow);
}

// A NUL after a valid password, user name or data source name is refused before the driver is
// called, which might read the text cut short into a valid login. (A long tail after one shows in
// the login_long_texts and login_long_source scenarios, a wrong password and an unknown source in
// login_anywhere and login_unknown_source.)
TEST_F(OdbcLayer, ANulInALoginTextIsRefusedBeforeTheDriver)
{
    const QString nul = QChar(0) + u"x"_s;
    const QString dsn = QString::fromUtf8(Anywhere), user = u"admin"_s, password = u"secret"_s;
    const struct {
        const char* name;
        QString dsn, user, password;
    } cases[] = {
        {"password", dsn, user, password + nul},
        {"user", dsn, user + nul, password},
        {"source", dsn + nul, user, password},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto e =
            failureOf([&] { (void)OdbcConnection::open(c.dsn, c.user, c.password, {}); });
        ASSERT_TRUE(e) << "logged in";
        EXPECT_EQ(e->number, db::OdbcConnectFailed);
        EXPECT_TRUE(e->records.isEmpty()) << "the driver was called";
    }
}

// ODBC gives a diagnostic message's length in 16 bits: a longer message is read
// up to that limit and marked as cut, and keeps its native number and source.
TEST_F(OdbcLayer, LongDiagnosticsAreCutVisiblyNotLost)
{
    auto sql = connect(Server);
    // One more ASCII character moves the limit into the middle of a two-byte character.
    for (const QString& prefix : {u"mt.t"_s, u"mt.tx"_s}) {
        for (int length : {32000, 40000, 70000}) {
            SCOPED_TRACE(prefix.toStdString() + " " + std::to_string(length));
            const QString name = prefix + QString(length, QChar(0xe4));
            const auto e = failureOf([&] { sql->query(u"select * from "_s + name); });
            ASSERT_TRUE(e && e->records.size() == 1);
            const db::DiagRecord& r = e->records[0];
            EXPECT_EQ(r.native, 208);
            EXPECT_EQ(r.sqlState, u"42S02"_s);
            EXPECT_EQ(r.source, u"[KALDOR][Stand-in SQL Server]"_s);
            const QString whole = u"Invalid object name '"_s + name + u"'."_s;
            if (whole.toUtf8().size() + 40 < 32767) {
                EXPECT_EQ(r.message, whole);
            } else { // cut after a whole character, and visibly so
                EXPECT_TRUE(r.message.endsWith(u"\u00e4..."_s));
                EXPECT_TRUE(whole.startsWith(r.message.chopped(3)));
                EXPECT_GT(r.message.size(), 16000);
            }
        }
    }
}

// What a batch gives: "failed" and the native code of its last record, or the number of columns
// read and the first column of each row ("1:a|b"); a text that starts with "select" is a query.
std::string outcome(OdbcConnection& c, const char* sql)
{
    const QString text = QString::fromUtf8(sql);
    db::ResultSet rs;
    const auto e =
        failureOf([&] { text.startsWith(u"select") ? void(rs = c.query(text)) : c.execute(text); });
    if (e)
        return "failed " + std::to_string(e->records.isEmpty() ? 0 : e->records.last().native);
    QStringList firsts;
    for (qsizetype i = 0; i < rs.size(); ++i)
        firsts << rs.row(i).at(0).value_or(u"NULL"_s);
    return std::to_string(rs.columns().size()) + ':' + firsts.join(u'|').toStdString();
}

// An error in any statement of a batch surfaces, after the ones before it ran. A query is its
// first result set: it fails on what comes before its rows, not on what follows them (SQL
// Server's "select ...;commit" outside a transaction still reads its rows).
TEST_F(OdbcLayer, BatchesRunWholeAndAQueryIsItsFirstResultSet)
{
    auto any = connect(Anywhere), sql = connect(Server);
    EXPECT_EQ(outcome(*any, "delete from mt.qrb_zv_result_header;"
                            "insert into mt.qrb_zv_result_header(header) values('A;B');commit"),
              "0:");
    EXPECT_EQ(outcome(*any, "select header from mt.qrb_zv_result_header;commit"), "1:A;B");
    EXPECT_EQ(outcome(*any, "select header from mt.qrb_zv_result_header;"
                            "select fldnum, len from mt.qrb_zv_tree_fields"),
              "1:A;B");
    EXPECT_EQ(outcome(*any, "delete from mt.qrb_zv_tree_fields;commit"), "0:");
    EXPECT_EQ(outcome(*any, "insert into mt.qrb_zv_tree_fields(fldnum) values('4201');"
                            "insert into mt.no_such_table(x) values('1');commit"),
              "failed -141");
    EXPECT_EQ(outcome(*any, "select fldnum from mt.qrb_zv_tree_fields;"
                            "select nothing from mt.no_such_table"),
              "1:4201");
    EXPECT_EQ(
        outcome(*any, "delete from mt.no_such_table;select fldnum from mt.qrb_zv_tree_fields"),
        "failed -141");
    EXPECT_EQ(outcome(*sql, "Begin Transaction; delete from mt.qrb_zv_result_header;"
                            "insert into mt.qrb_zv_result_header(header) values('x'); commit"),
              "0:");
    EXPECT_EQ(outcome(*sql, "select header from mt.qrb_zv_result_header;commit"), "1:x");
    EXPECT_EQ(outcome(*sql, "select * from mt.qrb_zv_session_config where mtuser = 'x';commit"),
              "8:");
    EXPECT_THROW(sql->execute(u"select * from mt.dbconfig;commit"_s), DbException); // not a query
    // SQL Server refuses a commit with no transaction open; the outcome of a failed statement
    // carries its error, for the change journal.
    QString failed;
    db::setOutcomeObserver([&failed](const db::StatementOutcome& o) {
        failed = o.error ? QString::number(o.error->records.last().native) : QString();
    });
    EXPECT_EQ(outcome(*sql, "delete from mt.qrb_zv_result_header; commit"), "failed 3902");
    db::setOutcomeObserver({});
    EXPECT_EQ(failed, u"3902"_s);
}

// Reading an unknown column or a row past the end fails as the error_item_not_found and
// FormAutoLayout_missing_row scenarios show.
TEST_F(OdbcLayer, NullIsNotEmptyAndLongTextsComeBackWhole)
{
    auto sql = connect(Server);
    QString longText;
    for (int i = 0; i < 20000; ++i)
        longText += u"line %1 äö;\n"_s.arg(i);
    sql->execute(u"delete from mt.qrb_zv_reports;"_s);
    sql->execute(
        QStringLiteral("insert into mt.qrb_zv_reports(report_name,report_type,zvrtag,"
                       "sql_link,report_sql,report_filename) values('Long','S','T1','N','") +
        longText + u"','')"_s);
    const db::ResultSet rs =
        sql->query(QStringLiteral("select CAST(report_sql AS text) 'report_sql', "
                                  "report_filename, report_out from "
                                  "mt.qrb_zv_reports where report_name = 'LONG'"));
    ASSERT_EQ(rs.size(), 1);
    EXPECT_EQ(rs.text(0, u"Report_SQL"), longText);
    EXPECT_EQ(rs.value(0, u"report_filename"), std::optional<QString>(QString()));
    EXPECT_EQ(rs.value(0, u"report_out"), std::nullopt);
    EXPECT_THROW(rs.requiredColumn(u"report_out"), DbException) << "a NULL in a list";
    // Of two columns of one name, the first; a long name whole.
    const QString name(256, u'c');
    const db::ResultSet named =
        sql->query(u"select 'first' as name, 'second' as NAME, 1 as "_s + name);
    EXPECT_EQ(named.text(0, u"Name"), u"first"_s);
    EXPECT_EQ(named.columns().last(), name);
    // Texts that end exactly at a chunk's end, or a byte before or after it.
    for (const int n : {8191, 8192, 8193, 16383}) {
        const QString text(n, u'x');
        sql->execute(u"update mt.qrb_zv_reports set report_filename = '%1'"_s.arg(text));
        EXPECT_EQ(sql->query(u"select report_filename from mt.qrb_zv_reports"_s)
                      .text(0, u"report_filename"),
                  text)
            << n;
    }
}

TEST_F(OdbcLayer, AWriteWaitsForAnotherConnectionsTransaction)
{
    connect(Anywhere)->execute(
        QStringLiteral("delete from mt.qrb_zv_tree_config;"
                       "insert into mt.qrb_zv_tree_config(max_rows_display) values('1')"));
    expectAWriteWaitsForAnOpenTransaction(
        [] { return connect(Anywhere); },
        u"update mt.qrb_zv_tree_config set max_rows_display = '%1'"_s,
        u"select max_rows_display from mt.qrb_zv_tree_config"_s);
}

// With a limit, a write that waits for another connection's transaction is ended by the
// driver's own timeout, which says so; the program has not given up on the driver.
TEST_F(OdbcLayer, AWriteWaitingPastTheLimitEndsWithTheDriversTimeout)
{
    auto holder = connect(Server);
    holder->execute(u"delete from mt.qrb_zv_tree_config;"_s);
    holder->setAutoCommit(false);
    holder->execute(u"insert into mt.qrb_zv_tree_config(max_rows_display) values('1')"_s);
    db::ConnectOptions limited{u"main"_s};
    limited.queryTimeoutSeconds = 1;
    auto other = OdbcConnection::open(QString::fromUtf8(Server), u"admin"_s, u"secret"_s, limited);
    const std::optional<db::DbError> e = failureOf(
        [&other] { other->execute(u"update mt.qrb_zv_tree_config set max_rows_display = '2'"_s); });
    ASSERT_TRUE(e && !e->records.isEmpty());
    EXPECT_EQ(e->records.first().sqlState, u"HYT00"_s);
    EXPECT_NE(e->records.first().source, u"[KALDOR][ODBC layer]"_s);
    EXPECT_FALSE(db::callAbandoned());
    holder->commit();
    // Closing a connection ends the transaction it holds open, and its locks with it.
    holder->execute(u"update mt.qrb_zv_tree_config set max_rows_display = '3'"_s);
    holder.reset();
    EXPECT_NO_THROW(other->execute(u"update mt.qrb_zv_tree_config set max_rows_display = '4'"_s));
}

// A statement a stopped server never answers is given up at the limit, and from then on the
// process calls the driver no more (the call would wait behind the one still in it). In a child
// process, which that leaves for good.
TEST_F(OdbcLayer, AStatementAStoppedServerNeverAnswersIsGivenUpForGood)
{
    const QString stopped = dir.filePath(u"sql.db.hang"_s);
    const auto answerAgain = qScopeGuard([&stopped] { QFile::remove(stopped); });
    EXPECT_EXIT(
        {
            db::ConnectOptions limited{u"main"_s};
            limited.queryTimeoutSeconds = 1;
            auto c =
                OdbcConnection::open(QString::fromUtf8(Server), u"admin"_s, u"secret"_s, limited);
            QFile(stopped).open(QIODevice::WriteOnly);
            const bool gaveUp = failureOf([&c] { c->execute(u"select 1"_s); }).has_value();
            std::_Exit(gaveUp && db::callAbandoned() ? 7 : 1);
        },
        ::testing::ExitedWithCode(7), "");
}

} // namespace

// Only a whole number of seconds above 0 sets the limits; the login always has one.
TEST(ConnectOptions, StatementsWaitUnlessATimeoutIsConfigured)
{
    const std::pair<const char*, int> cases[] = {{nullptr, 0}, {"", 0},    {"abc", 0},    {"-5", 0},
                                                 {"0", 0},     {"1.5", 0}, {" 120 ", 120}};
    for (const auto& [setting, seconds] : cases) {
        SCOPED_TRACE(setting ? setting : "not set");
        if (setting)
            qputenv("KALDOR_QUERY_TIMEOUT", setting);
        else
            qunsetenv("KALDOR_QUERY_TIMEOUT");
        const db::ConnectOptions options = db::ConnectOptions::forProgram(u"direct"_s);
        EXPECT_EQ(options.queryTimeoutSeconds, seconds);
        EXPECT_EQ(options.connectionTimeoutSeconds, seconds);
        EXPECT_EQ(options.label, u"direct"_s);
        EXPECT_GT(options.loginTimeoutSeconds, 0);
    }
    qunsetenv("KALDOR_QUERY_TIMEOUT");
}
