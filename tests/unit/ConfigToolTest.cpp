// kaldor-config through the real driver manager and the stand-in server in both dialects:
// export and import round trips, differences by meaning, imports that fail half-way, bad input.
#include "ConfigTool.h"
#include "ConfigSnapshot.h"
#include "Odbc.h"
#include "StandinStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kaldor;
using namespace kaldor::configtool;

namespace {

struct ToolRun {
    int status = -1;
    QString out, err;
};

class ConfigTool : public ::testing::TestWithParam<const char*> {
protected:
    // One driver manager configuration for the process (the driver manager keeps what it
    // read), with a pair of data sources in each dialect; each test gets new databases.
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        ASSERT_TRUE(dir->isValid());
        const std::string base = QFile::encodeName(dir->path()).toStdString();
        std::string error;
        ASSERT_TRUE(standin::writeOdbcConfig(
            base, KALDOR_STANDIN_DRIVER,
            {{"Source A anywhere", standin::Dialect::Anywhere, base + "/a-anywhere.db"},
             {"Source B anywhere", standin::Dialect::Anywhere, base + "/b-anywhere.db"},
             {"Source A sqlserver", standin::Dialect::SqlServer, base + "/a-sqlserver.db"},
             {"Source B sqlserver", standin::Dialect::SqlServer, base + "/b-sqlserver.db"}},
            &error))
            << error;
        qputenv("ODBCSYSINI", QFile::encodeName(dir->path()));
        qputenv("ODBCINI", QFile::encodeName(dir->path() + QStringLiteral("/odbc.ini")));
        qputenv("ProgramData", QFile::encodeName(dir->path()));
        qputenv("KALDOR_PASSWORD", "secret");
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }

    void SetUp() override
    {
        const standin::Dialect d =
            dialect() == 2 ? standin::Dialect::SqlServer : standin::Dialect::Anywhere;
        std::string error;
        for (const char* which : {"a", "b"}) {
            const QString file = path(which) + QStringLiteral("-") +
                                 QString::fromLatin1(GetParam()) + QStringLiteral(".db");
            for (const char* suffix : {"", "-wal", "-shm", ".down", ".down-after"})
                QFile::remove(file + QString::fromLatin1(suffix));
            ASSERT_TRUE(standin::createDatabase(QFile::encodeName(file).toStdString(), d, &error))
                << error;
        }
        seedSourceA();
        sql("B", "insert into mt.qrb_zv_system_configuration(require_login,desktop,title,ODBC,"
                 "SPath,SDrive,autoLayout,Diags,Browser) values('N','default','title','Source B',"
                 "'B\\','D:\\','OFF','OFF','')");
        for (const char* user : {"alice", "bob"})
            sql("B", QStringLiteral("insert into mt.userlist(mtuser,mtlevel) values('%1','5')")
                         .arg(QString::fromLatin1(user)));
    }

    // The data source of this dialect: 'A' or 'B'.
    QString dsn(char which) const
    {
        return QStringLiteral("Source %1 %2")
            .arg(QLatin1Char(which))
            .arg(QString::fromLatin1(GetParam()));
    }

    int dialect() const { return QByteArray(GetParam()) == "sqlserver" ? 2 : 1; }

    std::unique_ptr<db::OdbcConnection> connect(const char* source)
    {
        return db::OdbcConnection::open(dsn(source[0]), QStringLiteral("admin"),
                                        QStringLiteral("secret"), {});
    }

    void sql(const char* source, const QString& text)
    {
        try {
            connect(source)->execute(text);
        } catch (const db::DbException& e) {
            FAIL() << text.toStdString() << ": "
                   << (e.error().records.isEmpty() ? e.error().description
                                                   : e.error().records.first().message)
                          .toStdString();
        }
    }
    void sql(const char* source, const char* text) { sql(source, QString::fromUtf8(text)); }

    void seedSourceA()
    {
        const char* rows[] = {
            "insert into mt.qrb_zv_system_configuration(require_login,desktop,title,ODBC,SPath,"
            "SDrive,autoLayout,Diags,Browser) values('Y','default','title','Source A','A\\',"
            "'C:\\','ON','OFF','Firefox')",
            "insert into mt.qrb_zv_groupconfig(group_id,zv_inhibit_use,cal_data_old_number) "
            "values('LAB','N','12')",
            "insert into mt.qrb_zv_groupconfig(group_id,zv_inhibit_use) values('O''Neil''s Ü',"
            "'Y')",
            "insert into mt.qrb_zv_reports(report_name,report_type,zvrtag,sql_link,report_sql) "
            "values('Due List','S','TAGA1','Y','select ''x'' as \"A\\B\"' || char(13) || "
            "char(10) || 'from mt.inventory')",
            "insert into mt.qrb_zv_reports(report_name,report_type,zvrtag,sql_link,"
            "report_filename,report_out) values('Zertifikat ß','C','TAGA2','N','Cert.rpt',NULL)",
            "insert into mt.qrb_zv_group_reports(group_id,zvrtag) values('LAB','TAGA1')",
            "insert into mt.qrb_zv_report_prompts(zvrtag,prompt_string,prompt,default_value,"
            "prompt_type,db_validation,validation_table,validation_column,custom_validation,"
            "force_validation,sequence) values('TAGA1','$D$','Due by',NULL,'D','N','NONE',"
            "'NONE','N','N',1)",
            "insert into mt.qrb_zv_report_prompts(zvrtag,prompt_string,prompt,default_value,"
            "prompt_type,db_validation,validation_table,validation_column,custom_validation,"
            "force_validation,sequence) values('TAGA1','$L$','Lab','','S','N','NONE','NONE',"
            "'Y','P',2)",
            "insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
            "values('TAGA1','$L$','  North ')",
            "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('alice','LAB',"
            "'N')",
            "insert into mt.qrb_zv_session_config(group_id,mtuser,start_date,max_open_sessions) "
            "values('LAB',NULL,'2026-01-01','3')",
            "insert into mt.qrb_zv_fields_group_inhibit(fldnum,group_id) values('4201','LAB')",
            "insert into mt.qrb_zv_general_offsets(fldnum,fform,general_field_title_x) "
            "values('4201','0','10')",
            "insert into mt.qrb_zv_browser_offsets(fldnum,browser_id,fform,browser_field_data_y) "
            "values('4201','Firefox','0','-5')",
            "insert into mt.qrb_zv_tree_config(max_rows_display) values('250')",
            "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','30')",
            "insert into mt.qrb_zv_page_configuration(web_page,style_sheet,wallpaper,background) "
            "values('Login','main.css','C:\\\\walls\\\\a.png','#FFFFFF')",
            "insert into mt.qrb_zv_result_header(header) values('Calibration results')",
        };
        for (const char* row : rows)
            sql("A", row);
    }

    ToolRun tool(const QStringList& arguments)
    {
        ToolRun r;
        QTextStream out(&r.out), err(&r.err);
        r.status = runConfigTool(arguments, out, err, [](const QString&, bool echo) {
            return echo ? QStringLiteral("admin") : QStringLiteral("secret");
        });
        return r;
    }

    static QString path(const char* name) { return dir->filePath(QString::fromLatin1(name)); }

    QByteArray exported(const char* source)
    {
        const QString file = path("export.json");
        const ToolRun r =
            tool({QStringLiteral("export"), dsn(source[0]), QStringLiteral("-o"), file});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    void write(const char* name, const QByteArray& bytes)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static QTemporaryDir* dir;
};

QTemporaryDir* ConfigTool::dir = nullptr;

TEST_P(ConfigTool, AnExportImportedIntoAnEmptyDatabaseExportsTheSameBytes)
{
    sql("B", "insert into mt.userlist(mtuser,mtlevel) values('carol','5')");
    const QByteArray a = exported("A");
    EXPECT_EQ(exported("A"), a); // two exports of one database are the same bytes
    write("a.json", a);
    const ToolRun r = tool({QStringLiteral("import"), path("a.json"), dsn('B'),
                            QStringLiteral("--user"), QStringLiteral("admin")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("backup of \"%1\" written to ").arg(dsn('B'))))
        << r.out.toStdString();
    EXPECT_EQ(exported("B"), a);
    // The computer's own data source, folder and drive stay the target's.
    const db::ResultSet system = connect("B")->query(
        QStringLiteral("select ODBC, SPath, SDrive, Browser from mt.qrb_zv_system_configuration"));
    ASSERT_EQ(system.size(), 1);
    EXPECT_EQ(system.text(0, u"ODBC"), QStringLiteral("Source B"));
    EXPECT_EQ(system.text(0, u"SDrive"), QStringLiteral("D:\\"));
    EXPECT_EQ(system.text(0, u"Browser"), QStringLiteral("Firefox"));
    EXPECT_EQ(tool({QStringLiteral("diff"), dsn('A'), dsn('B')}).status, 0);
}

TEST_P(ConfigTool, UsersUnknownToTheTargetAreSkippedAndNamed)
{
    sql("A", "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('dave',"
             "'LAB','N')");
    write("a.json", exported("A"));
    const ToolRun r = tool({QStringLiteral("import"), path("a.json"), dsn('B')});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(
        QStringLiteral("skipped: the group of user \"dave\", who is not in the user list")));
    const db::ResultSet users =
        connect("B")->query(QStringLiteral("select mtuser from mt.qrb_zv_userlist"));
    ASSERT_EQ(users.size(), 1);
    EXPECT_EQ(users.text(0, u"mtuser"), QStringLiteral("alice"));
}

TEST_P(ConfigTool, DifferencesAreNamedByWhatTheyMean)
{
    write("a.json", exported("A"));
    ASSERT_EQ(tool({QStringLiteral("import"), path("a.json"), dsn('B')}).status, 0);
    sql("B", "update mt.qrb_zv_groupconfig set cal_data_old_number = '24' where group_id = "
             "'LAB'");
    sql("B", "update mt.qrb_zv_reports set report_sql = 'select 1', zvrtag = 'OTHER' where "
             "zvrtag = 'TAGA1'");
    sql("B", "update mt.qrb_zv_group_reports set zvrtag = 'OTHER'");
    sql("B", "update mt.qrb_zv_report_prompts set zvrtag = 'OTHER', prompt = 'Lab name' where "
             "prompt_string = '$L$'");
    sql("B", "update mt.qrb_zv_report_prompts set zvrtag = 'OTHER' where prompt_string = '$D$'");
    sql("B", "update mt.qrb_zv_prompt_validation set zvrtag = 'OTHER', val = 'South'");
    sql("B", "delete from mt.qrb_zv_fields_group_inhibit");
    sql("B", "update mt.qrb_zv_system_configuration set desktop = 'Lab desk'");
    sql("B", "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4203','12')");
    const ToolRun r = tool({QStringLiteral("diff"), path("a.json"), dsn('B')});
    EXPECT_EQ(r.status, 1);
    const QStringList expected{
        QStringLiteral("system configuration (desktop, title language, switches): desktop: "
                       "\"default\" -> \"Lab desk\""),
        QStringLiteral("group \"LAB\": cal_data_old_number: \"12\" -> \"24\""),
        QStringLiteral("report \"Due List\": report_sql: \"select 'x' as \\\"A\\\\B\\\"\\r\\nfrom "
                       "mt.inventory\" -> \"select 1\""),
        QStringLiteral("report \"Due List\": prompt 2: prompt: \"Lab\" -> \"Lab name\""),
        QStringLiteral("report \"Due List\": custom value \"  North \" of $L$: only in A"),
        QStringLiteral("report \"Due List\": custom value \"South\" of $L$: only in B"),
        QStringLiteral("field 4201 hidden from group \"LAB\": only in A"),
        QStringLiteral("tree view: field 4203: only in B"),
    };
    EXPECT_EQ(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected) << r.out.toStdString();
}

TEST_P(ConfigTool, AnImportThatFailsHalfWayChangesNothing)
{
    write("a.json", exported("A"));
    const QByteArray before = exported("B");

    // The server goes down after a few statements of the transaction.
    QFile counter(path("b").append(QStringLiteral("-") + QString::fromLatin1(GetParam()) +
                                   QStringLiteral(".db.down-after")));
    ASSERT_TRUE(counter.open(QIODevice::WriteOnly));
    counter.write("24\n"); // the reads before the import, then a few statements
    counter.close();
    ToolRun r = tool({QStringLiteral("import"), path("a.json"), dsn('B')});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith(
        QStringLiteral("kaldor-config: the import into \"%1\" failed at table ").arg(dsn('B'))))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("nothing was changed")));
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    QFile::remove(path("b") + QStringLiteral("-") + QString::fromLatin1(GetParam()) +
                  QStringLiteral(".db.down"));
    EXPECT_EQ(exported("B"), before);

    // The server refuses a row: a second tree view entry for one field.
    sql("B", "create unique index mt.tree_field_once on qrb_zv_tree_fields (fldnum)");
    sql("A", "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','31')");
    write("a.json", exported("A"));
    r = tool({QStringLiteral("import"), path("a.json"), dsn('B')});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("failed at table qrb_zv_tree_fields, row 2")))
        << r.err.toStdString();
    EXPECT_EQ(exported("B"), before);
}

TEST_P(ConfigTool, ADryRunPrintsTheStatementsAndWritesNothing)
{
    write("a.json", exported("A"));
    const QByteArray before = exported("B");
    const ToolRun r =
        tool({QStringLiteral("import"), path("a.json"), dsn('B'), QStringLiteral("--dry-run")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral(
        "insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use,inv_data_display,")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("values ('O''Neil''s Ü','Y',NULL,")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("update mt.qrb_zv_system_configuration set "
                                              "require_login = 'Y', desktop = 'default'")));
    EXPECT_EQ(exported("B"), before);
}

TEST_P(ConfigTool, ANewDesktopRebuildsTheFieldViewOrSaysWhyNot)
{
    sql("A", "update mt.qrb_zv_system_configuration set desktop = 'Lab desk', title = 'title2'");
    write("a.json", exported("A"));
    ToolRun r = tool({QStringLiteral("import"), path("a.json"), dsn('B')});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(
        QStringLiteral("field view now shows desktop \"Lab desk\" with column title2")));

    sql("A", "update mt.qrb_zv_system_configuration set desktop = 'Lab''s desk'");
    write("a.json", exported("A"));
    r = tool({QStringLiteral("import"), path("a.json"), dsn('B')});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("kaldor-config: the tables are imported, but "
                                                "the field view could not be pointed at desktop "
                                                "\"Lab's desk\"")))
        << r.err.toStdString();
    const db::ResultSet system =
        connect("B")->query(QStringLiteral("select desktop from mt.qrb_zv_system_configuration"));
    EXPECT_EQ(system.text(0, u"desktop"), QStringLiteral("Lab's desk"));
}

TEST_P(ConfigTool, BadInputIsOneLineAndStatusTwoWithNothingWritten)
{
    QByteArray good = exported("A");
    const QByteArray before = exported("B");
    const QList<QPair<QByteArray, QString>> files{
        {"not json", QStringLiteral("not a JSON document")},
        {R"({"name": "another tool", "tables": {}})",
         QStringLiteral("not a configuration written by kaldor-config")},
        {QByteArray(good).replace("\"version\": 1", "\"version\": 2"),
         QStringLiteral("format version 2 is newer than this tool reads (1)")},
        {QByteArray(good).replace("\"max_rows_display\": \"250\"", "\"rows\": \"250\""),
         QStringLiteral("table qrb_zv_tree_config, row 1: unknown column rows")},
        {QByteArray(good).replace("\"header\": \"Calibration results\"", ""),
         QStringLiteral("table qrb_zv_result_header, row 1: column header is missing")},
    };
    for (const auto& [bytes, why] : files) {
        write("bad.json", bytes);
        const ToolRun r = tool({QStringLiteral("import"), path("bad.json"), dsn('B')});
        EXPECT_EQ(r.status, 2) << why.toStdString();
        EXPECT_TRUE(r.err.contains(why)) << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    }
    ToolRun r = tool({QStringLiteral("export"), QStringLiteral("No Such Source")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, QStringLiteral("kaldor-config: no SQL Anywhere or SQL Server data source "
                                    "named \"No Such Source\"\n"));
    qputenv("KALDOR_PASSWORD", "wrong");
    r = tool(
        {QStringLiteral("export"), dsn('A'), QStringLiteral("--user"), QStringLiteral("admin")});
    qputenv("KALDOR_PASSWORD", "secret");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(
        r.err.startsWith(QStringLiteral("kaldor-config: cannot log in to \"%1\": ").arg(dsn('A'))));
    EXPECT_FALSE(r.err.contains(QStringLiteral("wrong")));
    r = tool({QStringLiteral("export"), dsn('A'), QStringLiteral("--password"),
              QStringLiteral("secret")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(exported("B"), before);
}

INSTANTIATE_TEST_SUITE_P(BothDialects, ConfigTool, ::testing::Values("anywhere", "sqlserver"));

} // namespace
