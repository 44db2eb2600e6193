// kaldor-config against PostgreSQL through psqlODBC in both dialects (with-postgres.sh): export
// and import into an emptied configuration, and imports that fail half-way — a row the
// server refuses, the session's backend killed, the whole server stopped with a query timeout —
// each leaving the target as it was.
#include "Odbc.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

namespace db = kaldor::db;
using namespace Qt::StringLiterals;

struct ToolRun {
    int status = -1;
    QString out, err;
};

class ConfigToolRealServer : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("KALDOR_PG_SOCKET_DIR"))
            GTEST_SKIP() << "run through with-postgres.sh";
        ASSERT_TRUE(dir.isValid());
        sql(u"delete from mt.qrb_zv_system_configuration;delete from mt.qrb_zv_groupconfig;"
            "delete from mt.qrb_zv_reports;delete from mt.qrb_zv_report_prompts;"
            "delete from mt.qrb_zv_prompt_validation;delete from mt.qrb_zv_tree_fields;"
            "delete from mt.qrb_zv_userlist;delete from mt.userlist;delete from mt.desktop"_s);
        sql(u"insert into mt.qrb_zv_system_configuration(require_login,desktop,title,ODBC,SPath,"
            "SDrive,autoLayout,Diags,Browser) values('Y','default','title','Calibration Data',"
            "'VIZIDOV\\','C:\\','ON','OFF','Firefox');"
            "insert into mt.desktop(desktop) values('default');"
            "insert into mt.qrb_zv_groupconfig(group_id,zv_inhibit_use,cal_data_old_number) "
            "values('LAB','N','12');"
            "insert into mt.qrb_zv_groupconfig(group_id,zv_inhibit_use) values('O''Neil Ü','Y');"
            "insert into mt.qrb_zv_reports(report_name,report_type,zvrtag,sql_link,report_sql) "
            "values('Due List','S','TAGA1','Y','select ''x'' as \"A\\B\"');"
            "insert into mt.qrb_zv_report_prompts(zvrtag,prompt_string,prompt,prompt_type,"
            "sequence) values('TAGA1','$D$','Due by','D',1);"
            "insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
            "values('TAGA1','$D$','  North ');"
            "insert into mt.userlist(mtuser,mtlevel) values('alice','5');"
            "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) "
            "values('alice','LAB','N');"
            "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) "
            "values('zoe','LAB','Y');"
            "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','30')"_s);
    }

    QString source() const { return QString::fromLatin1(GetParam()); }

    std::unique_ptr<db::OdbcConnection> connect() const
    {
        return db::OdbcConnection::open(source(), u"kaldor"_s, u"kaldor"_s, {});
    }

    void sql(const QString& text) const { connect()->execute(text); }

    // Runs the tool as an administrator runs it, logged in as admin.
    ToolRun tool(QStringList arguments, int timeoutSeconds = 0, QProcess* started = nullptr)
    {
        QProcess own;
        QProcess& process = started ? *started : own;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"KALDOR_PASSWORD"_s, u"secret"_s);
        environment.insert(u"ProgramData"_s, dir.path());
        if (timeoutSeconds > 0)
            environment.insert(u"KALDOR_QUERY_TIMEOUT"_s, QString::number(timeoutSeconds));
        process.setProcessEnvironment(environment);
        arguments << u"--user"_s << u"admin"_s;
        process.start(QStringLiteral(KALDOR_CONFIG_TOOL), arguments);
        process.closeWriteChannel();
        return started ? ToolRun{} : finish(process);
    }

    static ToolRun finish(QProcess& process)
    {
        ToolRun r;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "kaldor-config did not end";
        }
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    QByteArray exported()
    {
        const QString file = dir.filePath(u"now.json"_s);
        const ToolRun r = tool({u"export"_s, source(), u"-o"_s, file});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    QString saved(const QByteArray& bytes, const char* name)
    {
        const QString file = dir.filePath(QString::fromLatin1(name));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return file;
    }

    // A configuration whose import takes a while: many custom values for the one prompt.
    QString largeFile()
    {
        QString values;
        for (int i = 0; i < 4000; ++i)
            values += u"%1('TAGA1','$D$','Value %2')"_s.arg(i == 0 ? QString() : u","_s).arg(i);
        sql(u"insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) values "_s +
            values);
        const QString file = saved(exported(), "large.json");
        sql(u"delete from mt.qrb_zv_prompt_validation where val like 'Value %'"_s);
        return file;
    }

    // The server process of the tool's session once its import transaction has begun.
    int importingBackend() const
    {
        auto watcher = connect();
        for (int i = 0; i < 2000; ++i) {
            const db::ResultSet rows =
                watcher->query(u"select pid from pg_stat_activity where usename = 'admin' and "
                               "xact_start is not null and (state = 'idle in transaction' or "
                               "query ilike '%insert into%')"_s);
            if (rows.size() > 0)
                return rows.text(0, u"pid").toInt();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return 0;
    }

    // Starts the import of a large configuration and returns its session's server process
    // once its transaction has begun (0 if it was not seen).
    int startLargeImport(QProcess& process, int timeoutSeconds)
    {
        const QString file = largeFile();
        tool({u"import"_s, file, source()}, timeoutSeconds, &process);
        return importingBackend();
    }

    QTemporaryDir dir;
};

TEST_P(ConfigToolRealServer, ExportAndImportIntoAnEmptiedConfiguration)
{
    const QByteArray before = exported();
    EXPECT_TRUE(before.contains("\"O'Neil Ü\"")) << before.toStdString();
    const QString file = saved(before, "before.json");

    sql(u"delete from mt.qrb_zv_groupconfig;delete from mt.qrb_zv_reports;"
        "delete from mt.qrb_zv_report_prompts;delete from mt.qrb_zv_prompt_validation;"
        "delete from mt.qrb_zv_tree_fields;"
        "delete from mt.qrb_zv_userlist where mtuser = 'alice'"_s);
    const ToolRun r = tool({u"import"_s, file, source()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // zoe is in no user list: her row is skipped from the file and the target's own row stays.
    EXPECT_TRUE(
        r.out.contains(u"skipped: the group of user \"zoe\", who is not in the user list"_s));
    EXPECT_EQ(exported(), before);
}

TEST_P(ConfigToolRealServer, ARowTheServerRefusesLeavesTheTargetAsItWas)
{
    sql(u"insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','31')"_s);
    const QString file = saved(exported(), "twice.json");
    sql(u"delete from mt.qrb_zv_tree_fields where len = '31';"
        "create unique index tree_field_once on mt.qrb_zv_tree_fields (fldnum)"_s);
    const QByteArray before = exported();
    const ToolRun r = tool({u"import"_s, file, source()});
    sql(u"drop index mt.tree_field_once"_s);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(u"failed at table qrb_zv_tree_fields, row 2, nothing "
                               "was changed"_s))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"23505"_s)) << r.err.toStdString();
    EXPECT_EQ(exported(), before);
}

TEST_P(ConfigToolRealServer, AKilledSessionLeavesTheTargetAsItWas)
{
    const QByteArray before = exported();
    QProcess process;
    const int backend = startLargeImport(process, 0);
    ASSERT_GT(backend, 0) << "the import was not seen";
    ASSERT_EQ(::kill(backend, SIGKILL), 0);
    const ToolRun r = finish(process);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(u"nothing was changed"_s)) << r.err.toStdString();
    // The server restarts its sessions after a backend is killed: wait until it takes logins.
    for (int i = 0; i < 100; ++i) {
        try {
            connect();
            break;
        } catch (const db::DbException&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    EXPECT_EQ(exported(), before);
}

TEST_P(ConfigToolRealServer, AStoppedServerIsGivenUpAfterTheQueryTimeout)
{
    const QByteArray before = exported();
    QProcess process;
    ASSERT_GT(startLargeImport(process, 2), 0) << "the import was not seen";
    QList<int> stopped;
    {
        QFile pidFile(qEnvironmentVariable("KALDOR_PG_SOCKET_DIR") + u"/data/postmaster.pid"_s);
        ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
        stopped.append(pidFile.readLine().trimmed().toInt());
        const db::ResultSet rows = connect()->query(u"select pid from pg_stat_activity"_s);
        for (qsizetype i = 0; i < rows.size(); ++i)
            stopped.append(rows.text(i, u"pid").toInt());
    }
    for (const int pid : stopped)
        ::kill(pid, SIGSTOP);
    QElapsedTimer clock;
    clock.start();
    const ToolRun r = finish(process);
    const qint64 waited = clock.elapsed();
    for (const int pid : stopped)
        ::kill(pid, SIGCONT);
    EXPECT_EQ(r.status, 2);
    EXPECT_LT(waited, 30000) << "the import waited for the stopped server";
    EXPECT_TRUE(r.err.contains(u"nothing was changed: Timeout expired"_s)) << r.err.toStdString();
    EXPECT_EQ(exported(), before);
}

// The schema check reads the server's catalog: this schema has no stored procedures; a missing
// table and column, and a column narrower than what may be typed, are named too.
TEST_P(ConfigToolRealServer, CheckNamesWhatTheSchemaLacks)
{
    const QString procedures = u"missing: procedure mt.qrb_zv_group_config_maint\n"
                               "missing: procedure mt.qrb_zv_field_config_maint\n"
                               "missing: procedure mt.qrb_zv_reset_page_config\n"_s;
    ToolRun r = tool({u"check"_s, source()});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(r.out, procedures + u"\"%1\" lacks 3 of what the program needs\n"_s.arg(source()));

    sql(u"alter table mt.qrb_zv_tree_fields drop column len;"
        "alter table mt.segregate rename to segregation;"
        "alter table mt.qrb_zv_reports alter column report_name type varchar(100)"_s);
    r = tool({u"check"_s, source()});
    sql(u"alter table mt.qrb_zv_tree_fields add column len citext;"
        "alter table mt.segregation rename to segregate;"
        "alter table mt.qrb_zv_reports alter column report_name type citext"_s);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, u"missing: column mt.qrb_zv_tree_fields.len\n"
                     "missing: table mt.segregate\n"_s +
                         procedures +
                         u"narrow: column mt.qrb_zv_reports.report_name holds 100 "
                         "characters; report names may have 160\n"
                         "\"%1\" lacks 5 of what the program needs\n"_s.arg(source()));
}

INSTANTIATE_TEST_SUITE_P(BothDialects, ConfigToolRealServer,
                         ::testing::Values("Calibration Data", "Calibration Data SQL Server"),
                         [](const auto& test) {
                             return std::string(test.index == 0 ? "Anywhere" : "SqlServer");
                         });

} // namespace
