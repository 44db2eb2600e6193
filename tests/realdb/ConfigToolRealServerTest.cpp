// kaldor-config against PostgreSQL through psqlODBC in both dialects (with-postgres.sh): export,
// diff and import into an emptied configuration, and imports that fail half-way — a row the
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

struct ToolRun {
    int status = -1;
    QString out, err;
    qint64 milliseconds = 0;
};

class ConfigToolRealServer : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("KALDOR_PG_SOCKET_DIR"))
            GTEST_SKIP() << "run through with-postgres.sh";
        ASSERT_TRUE(dir.isValid());
        sql(QStringLiteral("delete from mt.qrb_zv_system_configuration;"
                           "delete from mt.qrb_zv_groupconfig;delete from mt.qrb_zv_reports;"
                           "delete from mt.qrb_zv_report_prompts;"
                           "delete from mt.qrb_zv_prompt_validation;"
                           "delete from mt.qrb_zv_tree_fields;delete from mt.qrb_zv_userlist;"
                           "delete from mt.userlist;delete from mt.desktop"));
        sql(QStringLiteral(
            "insert into mt.qrb_zv_system_configuration(require_login,desktop,title,ODBC,SPath,"
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
            "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','30')"));
    }

    QString source() const { return QString::fromLatin1(GetParam()); }

    std::unique_ptr<db::OdbcConnection> connect() const
    {
        return db::OdbcConnection::open(source(), QStringLiteral("kaldor"),
                                        QStringLiteral("kaldor"), {});
    }

    void sql(const QString& text) const { connect()->execute(text); }

    // Runs the tool as an administrator runs it, logged in as admin.
    ToolRun tool(QStringList arguments, int timeoutSeconds = 0, QProcess* started = nullptr)
    {
        QProcess own;
        QProcess& process = started ? *started : own;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KALDOR_PASSWORD"), QStringLiteral("secret"));
        environment.insert(QStringLiteral("ProgramData"), dir.path());
        if (timeoutSeconds > 0)
            environment.insert(QStringLiteral("KALDOR_QUERY_TIMEOUT"),
                               QString::number(timeoutSeconds));
        process.setProcessEnvironment(environment);
        arguments << QStringLiteral("--user") << QStringLiteral("admin");
        QElapsedTimer clock;
        clock.start();
        process.start(QStringLiteral(KALDOR_CONFIG_TOOL), arguments);
        process.closeWriteChannel();
        if (started)
            return {};
        return finish(process, clock);
    }

    static ToolRun finish(QProcess& process, const QElapsedTimer& clock)
    {
        ToolRun r;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "kaldor-config did not end";
        }
        r.milliseconds = clock.elapsed();
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    QByteArray exported()
    {
        const QString file = dir.filePath(QStringLiteral("now.json"));
        const ToolRun r = tool({QStringLiteral("export"), source(), QStringLiteral("-o"), file});
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
            values += QStringLiteral("%1('TAGA1','$D$','Value %2')")
                          .arg(i == 0 ? QString() : QStringLiteral(","))
                          .arg(i);
        sql(QStringLiteral("insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
                           "values ") +
            values);
        const QString file = saved(exported(), "large.json");
        sql(QStringLiteral("delete from mt.qrb_zv_prompt_validation where val like 'Value %'"));
        return file;
    }

    // The server process of the tool's session once its import transaction has begun.
    int importingBackend() const
    {
        auto watcher = connect();
        for (int i = 0; i < 2000; ++i) {
            const db::ResultSet rows = watcher->query(
                QStringLiteral("select pid from pg_stat_activity where usename = 'admin' and "
                               "xact_start is not null and (state = 'idle in transaction' or "
                               "query ilike '%insert into%')"));
            if (rows.size() > 0)
                return rows.text(0, u"pid").toInt();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return 0;
    }

    // Starts the import of a large configuration and returns its session's server process
    // once its transaction has begun (0 if it was not seen).
    int startLargeImport(QProcess& process, QElapsedTimer& clock, int timeoutSeconds)
    {
        const QString file = largeFile();
        clock.start();
        tool({QStringLiteral("import"), file, source()}, timeoutSeconds, &process);
        return importingBackend();
    }

    QTemporaryDir dir;
};

TEST_P(ConfigToolRealServer, ExportDiffAndImportIntoAnEmptiedConfiguration)
{
    const QByteArray before = exported();
    EXPECT_TRUE(before.contains("\"O'Neil Ü\"")) << before.toStdString();
    const QString file = saved(before, "before.json");
    EXPECT_EQ(tool({QStringLiteral("diff"), file, source()}).status, 0);

    sql(QStringLiteral("delete from mt.qrb_zv_groupconfig;delete from mt.qrb_zv_reports;"
                       "delete from mt.qrb_zv_report_prompts;"
                       "delete from mt.qrb_zv_prompt_validation;delete from mt.qrb_zv_tree_fields;"
                       "delete from mt.qrb_zv_userlist where mtuser = 'alice'"));
    ToolRun r = tool({QStringLiteral("diff"), file, source()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("group \"LAB\": only in A"))) << r.out.toStdString();

    r = tool({QStringLiteral("import"), file, source()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // zoe is in no user list: her row is skipped from the file and the target's own row stays.
    EXPECT_TRUE(r.out.contains(
        QStringLiteral("skipped: the group of user \"zoe\", who is not in the user list")));
    EXPECT_EQ(exported(), before);
}

TEST_P(ConfigToolRealServer, ARowTheServerRefusesLeavesTheTargetAsItWas)
{
    sql(QStringLiteral("insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','31')"));
    const QString file = saved(exported(), "twice.json");
    sql(QStringLiteral("delete from mt.qrb_zv_tree_fields where len = '31';"
                       "create unique index tree_field_once on mt.qrb_zv_tree_fields (fldnum)"));
    const QByteArray before = exported();
    const ToolRun r = tool({QStringLiteral("import"), file, source()});
    sql(QStringLiteral("drop index mt.tree_field_once"));
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("failed at table qrb_zv_tree_fields, row 2, nothing "
                                              "was changed")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("23505"))) << r.err.toStdString();
    EXPECT_EQ(exported(), before);
}

TEST_P(ConfigToolRealServer, AKilledSessionLeavesTheTargetAsItWas)
{
    const QByteArray before = exported();
    QProcess process;
    QElapsedTimer clock;
    const int backend = startLargeImport(process, clock, 0);
    ASSERT_GT(backend, 0) << "the import was not seen";
    ASSERT_EQ(::kill(backend, SIGKILL), 0);
    const ToolRun r = finish(process, clock);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nothing was changed"))) << r.err.toStdString();
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
    QElapsedTimer clock;
    ASSERT_GT(startLargeImport(process, clock, 2), 0) << "the import was not seen";
    QList<int> stopped;
    {
        QFile pidFile(qEnvironmentVariable("KALDOR_PG_SOCKET_DIR") +
                      QStringLiteral("/data/postmaster.pid"));
        ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
        stopped.append(pidFile.readLine().trimmed().toInt());
        const db::ResultSet rows =
            connect()->query(QStringLiteral("select pid from pg_stat_activity"));
        for (qsizetype i = 0; i < rows.size(); ++i)
            stopped.append(rows.text(i, u"pid").toInt());
    }
    for (const int pid : stopped)
        ::kill(pid, SIGSTOP);
    clock.restart();
    const ToolRun r = finish(process, clock);
    for (const int pid : stopped)
        ::kill(pid, SIGCONT);
    EXPECT_EQ(r.status, 2);
    EXPECT_LT(r.milliseconds, 30000) << "the import waited for the stopped server";
    EXPECT_TRUE(r.err.contains(QStringLiteral("nothing was changed: Timeout expired")))
        << r.err.toStdString();
    EXPECT_EQ(exported(), before);
}

// The schema check reads the server's catalog: this schema has no stored procedures; a missing
// table and column, and a column narrower than what may be typed, are named too.
TEST_P(ConfigToolRealServer, CheckNamesWhatTheSchemaLacks)
{
    const QString procedures = QStringLiteral("missing: procedure mt.qrb_zv_group_config_maint\n"
                                              "missing: procedure mt.qrb_zv_field_config_maint\n"
                                              "missing: procedure mt.qrb_zv_reset_page_config\n");
    ToolRun r = tool({QStringLiteral("check"), source()});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(r.out,
              procedures +
                  QStringLiteral("\"%1\" lacks 3 of what the program needs\n").arg(source()));

    sql(QStringLiteral("alter table mt.qrb_zv_tree_fields drop column len;"
                       "alter table mt.segregate rename to segregation;"
                       "alter table mt.qrb_zv_reports alter column report_name type varchar(100)"));
    r = tool({QStringLiteral("check"), source()});
    sql(QStringLiteral("alter table mt.qrb_zv_tree_fields add column len citext;"
                       "alter table mt.segregation rename to segregate;"
                       "alter table mt.qrb_zv_reports alter column report_name type citext"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QStringLiteral("missing: column mt.qrb_zv_tree_fields.len\n"
                                    "missing: table mt.segregate\n") +
                         procedures +
                         QStringLiteral("narrow: column mt.qrb_zv_reports.report_name holds 100 "
                                        "characters; report names may have 160\n"
                                        "\"%1\" lacks 5 of what the program needs\n")
                             .arg(source()));
}

INSTANTIATE_TEST_SUITE_P(BothDialects, ConfigToolRealServer,
                         ::testing::Values("Calibration Data", "Calibration Data SQL Server"),
                         [](const auto& test) {
                             return std::string(test.index == 0 ? "Anywhere" : "SqlServer");
                         });

} // namespace
