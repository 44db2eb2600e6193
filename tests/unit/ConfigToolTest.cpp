// kaldor-config through the real driver manager and the stand-in server in both dialects:
// export and import round trips, differences by meaning, imports that fail half-way, bad input.
#include "ConfigTool.h"
#include "ConfigSnapshot.h"
#include "Odbc.h"
#include "StandinStore.h"

#include "Seams.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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
            for (const char* suffix :
                 {"", "-wal", "-shm", ".down", ".down-after", ".hang", ".hang-after"})
                QFile::remove(file + QString::fromLatin1(suffix));
            ASSERT_TRUE(standin::createDatabase(QFile::encodeName(file).toStdString(), d, &error))
                << error;
        }
        seedSourceA();
        sql("B", "insert into mt.qrb_zv_system_configuration(require_login,desktop,title,ODBC,"
                 "SPath,SDrive,autoLayout,Diags,Browser) values('N','default','title','Source B',"
                 "'B\\','D:\\','OFF','OFF','')");
        sql("B", "insert into mt.desktop(desktop) values('default')");
        sql("B", "insert into mt.desktop(desktop) values('Lab desk')");
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

    QByteArray state(const char* source);

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

    // Rows take the export's own order, not the server's: two users' session rows (no group, a
    // NULL first) stored in either order export the same bytes. The tree view's fields and a
    // prompt's custom values keep the server's order, which the windows show: it goes through
    // an export and an import, and a diff names a changed one.
    const auto session = [](const char* user) {
        return QStringLiteral("insert into mt.qrb_zv_session_config(group_id,mtuser,"
                              "max_open_sessions) values(NULL,'%1','2')")
            .arg(QString::fromLatin1(user));
    };
    for (const char* user : {"alice", "bob"})
        sql("A", session(user));
    for (const char* user : {"bob", "alice"})
        sql("B", session(user));
    EXPECT_EQ(exported("B"), exported("A"));
    for (const char* field : {"2302", "2301"})
        sql("A", QStringLiteral("insert into mt.qrb_zv_tree_fields(fldnum,len) values('%1','9')")
                     .arg(QString::fromLatin1(field)));
    sql("A", "insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
             "values('TAGA1','$L$','Annex')");
    write("a.json", exported("A"));
    ASSERT_EQ(tool({QStringLiteral("import"), path("a.json"), dsn('B'), QStringLiteral("--user"),
                    QStringLiteral("admin")})
                  .status,
              0);
    EXPECT_EQ(exported("B"), exported("A"));
    EXPECT_EQ(connect("B")
                  ->query(QStringLiteral("select fldnum from mt.qrb_zv_tree_fields"))
                  .text(2, u"fldnum"),
              QStringLiteral("2301"));
    sql("B", "delete from mt.qrb_zv_tree_fields where fldnum = '4202'");
    sql("B", "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','30')");
    sql("B", "delete from mt.qrb_zv_prompt_validation where val = '  North '");
    sql("B", "insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
             "values('TAGA1','$L$','  North ')");
    const ToolRun d = tool({QStringLiteral("diff"), dsn('A'), dsn('B')});
    EXPECT_EQ(d.status, 1);
    EXPECT_EQ(d.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{QStringLiteral("report \"Due List\": custom values of $L$: order: "
                                          "\"  North \", \"Annex\" -> \"Annex\", \"  North \""),
                           QStringLiteral("tree view: fields: order: \"4202\", \"2302\", "
                                          "\"2301\" -> \"2302\", \"2301\", \"4202\"")}))
        << d.out.toStdString();
}

// Users are matched with the target's user list as the servers compare names, without regard to
// letter case; the group of a user the target does not know is skipped and named.
TEST_P(ConfigTool, UsersAreMatchedWhateverTheirLetterCaseAndUnknownOnesSkipped)
{
    sql("A", "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('dave',"
             "'LAB','N')");
    sql("A", "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('BOB','LAB',"
             "'Y')");
    write("a.json", exported("A"));
    const ToolRun r = tool({QStringLiteral("import"), path("a.json"), dsn('B')});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(QStringLiteral("skipped")), 1) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(
        QStringLiteral("skipped: the group of user \"dave\", who is not in the user list")));
    const db::ResultSet users = connect("B")->query(
        QStringLiteral("select mtuser, zv_inhibit_use from mt.qrb_zv_userlist"));
    QStringList rows;
    for (qsizetype i = 0; i < users.size(); ++i)
        rows.append(users.text(i, u"mtuser") + QLatin1Char(' ') + users.text(i, u"zv_inhibit_use"));
    rows.sort();
    EXPECT_EQ(rows, (QStringList{QStringLiteral("BOB Y"), QStringLiteral("alice N")}));
}

// Differences by what they mean; a row a table holds more than once is counted on each side.
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
    sql("B", "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','30')");
    sql("B", "update mt.qrb_zv_result_header set header = 'Results'");
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
        QStringLiteral("tree view: field 4202: 1 times in A, 2 in B"),
        QStringLiteral("tree view: field 4203: only in B"),
        QStringLiteral("results header: only in A"),
        QStringLiteral("results header: only in B"),
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

TEST_P(ConfigTool, ANewDesktopRebuildsTheFieldViewOrSaysWhyNot)
{
    sql("A", "update mt.qrb_zv_system_configuration set desktop = 'Lab desk', title = 'title2'");
    write("a.json", exported("A"));
    ToolRun r = tool({QStringLiteral("import"), path("a.json"), dsn('B')});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(
        QStringLiteral("field view now shows desktop \"Lab desk\" with column title2")));

    // The tables are in, but the view's statement fails: said, with its own status.
    sql("A", "update mt.qrb_zv_system_configuration set desktop = 'default'");
    write("a.json", exported("A"));
    sql("B", "drop table mt.me2_customiz");
    r = tool({QStringLiteral("import"), path("a.json"), dsn('B')});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("kaldor-config: the tables are imported, but "
                                                "the field view could not be pointed at desktop "
                                                "\"default\" and column title2: ")))
        << r.err.toStdString();
    const db::ResultSet system =
        connect("B")->query(QStringLiteral("select desktop from mt.qrb_zv_system_configuration"));
    EXPECT_EQ(system.text(0, u"desktop"), QStringLiteral("default"));
}

// The target's state that no refused input may touch: its configuration and its user list.
QByteArray ConfigTool::state(const char* source)
{
    QByteArray bytes = exported(source);
    const db::ResultSet users =
        connect(source)->query(QStringLiteral("select mtuser from mt.userlist"));
    for (qsizetype r = 0; r < users.size(); ++r)
        bytes += "\nuser " + users.text(r, u"mtuser").toUtf8();
    return bytes;
}

TEST_P(ConfigTool, BadInputIsOneLineAndStatusTwoWithNothingWritten)
{
    const QByteArray good = exported("A");
    const QByteArray before = state("B");
    const auto system = [&good](const char* column, const QByteArray& value) {
        const QByteArray from = QByteArray("\"") + column + "\": " +
                                (QByteArray(column) == "desktop" ? "\"default\"" : "\"title\"");
        const QByteArray to = QByteArray("\"") + column + "\": " + value;
        return QByteArray(good).replace(from, to);
    };
    const QList<QPair<QByteArray, QString>> files{
        {"not json", QStringLiteral("not a JSON document")},
        {R"({"name": "another tool", "tables": {}})",
         QStringLiteral("not a configuration written by kaldor-config")},
        {QByteArray(good).replace("\"version\": 1", "\"version\": 2"),
         QStringLiteral("format version 2 is newer than this tool reads (1)")},
        {QByteArray(good).replace("\"version\": 1", "\"version\": 0"),
         QStringLiteral("the format version is missing or not a whole number")},
        {QByteArray(good).replace("\"max_rows_display\": \"250\"", "\"rows\": \"250\""),
         QStringLiteral("table qrb_zv_tree_config, row 1: unknown column rows")},
        {QByteArray(good).replace("\"header\": \"Calibration results\"", ""),
         QStringLiteral("table qrb_zv_result_header, row 1: column header is missing")},
        // Text that is not Unicode, or that no statement carries whole.
        {QByteArray(good).replace("\"Calibration results\"", "\"Calibration \xff results\""),
         QStringLiteral("not UTF-8 text")},
        {QByteArray(good).replace("\"Calibration results\"", "\"Calibration \xed\xa0\x80\""),
         QStringLiteral("not UTF-8 text")},
        {QByteArray(good).replace("\"Calibration results\"", R"("Calibration \ud800")"),
         QStringLiteral("table qrb_zv_result_header, row 1: column header holds invalid Unicode")},
        {QByteArray(good).replace("\"Calibration results\"", R"("Calibration\u0000; drop")"),
         QStringLiteral("table qrb_zv_result_header, row 1: column header holds a NUL character")},
        // The view's statement takes the desktop and the title column unquoted.
        {system("title", R"("title from mt.me2_customiz;delete from mt.userlist;select 1 x")"),
         QStringLiteral("the title language \"title from mt.me2_customiz;delete from "
                        "mt.userlist;select 1 x\" is not one of title, title2, title3, title4, "
                        "title5; nothing was written")},
        {system("title", R"("Title2")"),
         QStringLiteral("the title language \"Title2\" is not one of title, title2, title3, "
                        "title4, title5; nothing was written")},
        {system("desktop", R"("x';drop table mt.qrb_zv_groupconfig;--")"),
         QStringLiteral("the desktop \"x';drop table mt.qrb_zv_groupconfig;--\" holds a quote; "
                        "nothing was written")},
        {system("desktop", R"("Nobody's")"), QStringLiteral("holds a quote")},
        {system("desktop", R"("Night desk")"),
         QStringLiteral("\"Night desk\" is no desktop of \"%1\"; nothing was written")
             .arg(dsn('B'))},
    };
    for (const auto& [bytes, why] : files) {
        write("bad.json", bytes);
        for (const QStringList& command :
             {QStringList{QStringLiteral("import"), path("bad.json"), dsn('B')},
              QStringList{QStringLiteral("import"), path("bad.json"), dsn('B'),
                          QStringLiteral("--dry-run")}}) {
            const ToolRun r = tool(command);
            EXPECT_EQ(r.status, 2) << why.toStdString();
            EXPECT_TRUE(r.err.contains(why)) << r.err.toStdString();
            EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
            EXPECT_FALSE(r.out.contains(QStringLiteral("insert into"))) << why.toStdString();
        }
    }
    ToolRun r = tool({QStringLiteral("export"), QStringLiteral("No Such Source")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, QStringLiteral("kaldor-config: no SQL Anywhere or SQL Server data source "
                                    "named \"No Such Source\"\n"));
    r = tool({QStringLiteral("diff"), QStringLiteral("/nonexistent.json"), dsn('B')});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, QStringLiteral("kaldor-config: /nonexistent.json: no such file\n"));
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
    EXPECT_EQ(state("B"), before);
}

// Every value of the file reaches its statement as one quoted text: hostile texts in every
// column are stored as they are, and nothing else happens.
TEST_P(ConfigTool, EveryWrittenValueStaysInsideItsQuotes)
{
    QJsonObject root = QJsonDocument::fromJson(exported("A")).object();
    QJsonObject tables = root.value(QStringLiteral("tables")).toObject();
    const QStringList kept{QStringLiteral("desktop"), QStringLiteral("title"),
                           QStringLiteral("mtuser"), QStringLiteral("sequence")};
    const QStringList hostile{QStringLiteral("'); delete from mt.userlist; --"),
                              QStringLiteral("'';drop table mt.qrb_zv_groupconfig;--"),
                              QStringLiteral("\"]}; delete from mt.userlist /*"),
                              QStringLiteral("x' || (select 1) || '\r\n;commit;")};
    qsizetype n = 0;
    for (auto table = tables.begin(); table != tables.end(); ++table) {
        QJsonArray rows = table->toArray();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QJsonObject row = rows.at(i).toObject();
            for (auto column = row.begin(); column != row.end(); ++column)
                if (!kept.contains(column.key())) {
                    ++n;
                    *column = QString(hostile.at(n % hostile.size()) + QString::number(n));
                }
            rows[i] = row;
        }
        *table = rows;
    }
    root.insert(QStringLiteral("tables"), tables);
    write("hostile.json", QJsonDocument(root).toJson(QJsonDocument::Indented));
    const QByteArray users = state("B").mid(state("B").indexOf("\nuser "));

    const ToolRun r = tool({QStringLiteral("import"), path("hostile.json"), dsn('B')});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QFile file(path("hostile.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    Snapshot written;
    QString why;
    ASSERT_TRUE(fromJson(file.readAll(), &written, &why)) << why.toStdString();
    EXPECT_EQ(exported("B"), toJson(written)); // the same rows, in the export's order
    EXPECT_TRUE(state("B").endsWith(users));

    // A backslash before a quote is an escape to SQL Anywhere: refused there, stored elsewhere.
    sql("A", "update mt.qrb_zv_result_header set header = 'C:\\''; delete from mt.userlist'");
    write("a.json", exported("A"));
    const ToolRun escaped = tool({QStringLiteral("import"), path("a.json"), dsn('B')});
    if (dialect() == 1) {
        EXPECT_EQ(escaped.status, 2);
        EXPECT_EQ(escaped.err, QStringLiteral("kaldor-config: table qrb_zv_result_header, row 1: "
                                              "column header has a backslash before a quote, "
                                              "which SQL Anywhere may read as an escape; nothing "
                                              "was written\n"));
    } else {
        EXPECT_EQ(escaped.status, 0) << escaped.err.toStdString();
        EXPECT_EQ(exported("B"), exported("A"));
    }
    EXPECT_TRUE(state("B").endsWith(users));
}

// Files, pipes, devices and links given as input or output: only regular files are read or
// replaced; everything else is refused at once and left as it was.
TEST_P(ConfigTool, OnlyRegularFilesAreReadOrReplaced)
{
    const QString fifo = path("pipe");
    QFile::remove(fifo);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString linkToFifo = path("link-to-pipe");
    const QString dangling = path("dangling");
    const QString linkToFile = path("link-to-file");
    for (const QString& link : {linkToFifo, dangling, linkToFile})
        QFile::remove(link);
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    ASSERT_TRUE(QFile::link(path("nowhere/none.json"), dangling));
    write("target.json", "old");
    ASSERT_TRUE(QFile::link(path("target.json"), linkToFile));
    const QString huge = path("huge.json");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize((qint64(1) << 30) + 1)); // sparse: no disk is used
    }
    const QList<QPair<QString, QString>> inputs{
        {fifo, fifo + QStringLiteral(" is not a regular file")},
        {linkToFifo, linkToFifo + QStringLiteral(" is not a regular file")},
        {QStringLiteral("/dev/zero"), QStringLiteral("/dev/zero is not a regular file")},
        {dir->path(), dir->path() + QStringLiteral(" is not a regular file")},
        {dangling, dangling + QStringLiteral(": no such file")},
        {huge, huge + QStringLiteral(" is larger than 1 GiB")},
    };
    const QByteArray before = state("B");
    for (const auto& [input, why] : inputs) {
        QElapsedTimer clock;
        clock.start();
        ToolRun r = tool({QStringLiteral("import"), input, dsn('B')});
        EXPECT_EQ(r.status, 2) << input.toStdString();
        EXPECT_EQ(r.err, QStringLiteral("kaldor-config: ") + why + QLatin1Char('\n'));
        r = tool({QStringLiteral("diff"), input, dsn('B')});
        EXPECT_EQ(r.status, 2) << input.toStdString();
        EXPECT_EQ(r.err, QStringLiteral("kaldor-config: ") + why + QLatin1Char('\n'));
        EXPECT_LT(clock.elapsed(), 60000) << "waited on " << input.toStdString();
    }
    EXPECT_EQ(state("B"), before);

    for (const QString& output : {fifo, linkToFifo, dangling, dir->path()}) {
        const ToolRun r = tool({QStringLiteral("export"), dsn('A'), QStringLiteral("-o"), output});
        EXPECT_EQ(r.status, 2) << output.toStdString();
        EXPECT_EQ(r.err, QStringLiteral("kaldor-config: %1 is not a regular file; nothing was "
                                        "written\n")
                             .arg(output));
    }
    struct stat info {};
    ASSERT_EQ(lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(lstat(QFile::encodeName(linkToFifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_FALSE(QFileInfo::exists(path("nowhere")));

    // A link to a regular file is written through; the link stays a link.
    ASSERT_EQ(tool({QStringLiteral("export"), dsn('A'), QStringLiteral("-o"), linkToFile}).status,
              0);
    EXPECT_TRUE(QFileInfo(linkToFile).isSymLink());
    QFile target(path("target.json"));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), exported("A"));
}

// A database's own export imported into itself changes nothing, also the groups of users its
// user list does not know; and each import keeps a backup of its own, however close together.
TEST_P(ConfigTool, ASelfImportChangesNothingAndEveryImportKeepsItsBackup)
{
    sql("A", "insert into mt.userlist(mtuser,mtlevel) values('Alice','5')");
    sql("A", "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('zoe',"
             "'LAB','Y')");
    const QByteArray before = exported("A");
    write("a.json", before);
    setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(1, 2, 3, 456)); });
    QStringList backups;
    for (int i = 0; i < 2; ++i) {
        const ToolRun r = tool({QStringLiteral("import"), path("a.json"), dsn('A')});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(
            QStringLiteral("skipped: the group of user \"zoe\", who is not in the user list")));
        const qsizetype at = r.out.indexOf(QStringLiteral(" written to ")) + 12;
        backups.append(r.out.mid(at, r.out.indexOf(QLatin1Char('\n'), at) - at));
        EXPECT_EQ(exported("A"), before);
    }
    setClock(nullptr);
    const QString stem = dir->path() + QStringLiteral("/Tarrowby/Velmora/kaldor-config-backup-") +
                         dsn('A').replace(QLatin1Char(' '), QLatin1Char('_')) +
                         QStringLiteral("-20261207-010203-456");
    EXPECT_EQ(backups,
              (QStringList{stem + QStringLiteral(".json"), stem + QStringLiteral("-2.json")}));
    for (const QString& backup : backups) {
        QFile f(backup);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << backup.toStdString();
        EXPECT_EQ(f.readAll(), before);
        f.remove();
    }
}

// A diff and a dry run show what they would change and write nothing; names from a file or a
// database reach the terminal escaped, never as control characters or format characters (a
// direction override would show a name reversed).
TEST_P(ConfigTool, DiffAndDryRunWriteNothingAndShowEveryNameEscaped)
{
    sql("A", "update mt.qrb_zv_groupconfig set group_id = 'LAB' || char(27) || '[2J' || char(7) "
             "where group_id = 'LAB'");
    sql("A", "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('eve' || "
             "char(27) || ']0;owned' || char(7) || char(10) || 'x','LAB','N')");
    sql("A", "insert into mt.qrb_zv_groupconfig(group_id,zv_inhibit_use) values('LAB\xe2\x80\xae"
             "exe.txt','N')");
    write("a.json", exported("A"));
    const QByteArray before = exported("B");
    const ToolRun diff = tool({QStringLiteral("diff"), path("a.json"), dsn('B')});
    EXPECT_EQ(diff.status, 1);
    for (const char* group : {"LAB\\x1b[2J\\x07", "LAB\\u202eexe.txt"})
        EXPECT_TRUE(diff.out.contains(
            QStringLiteral("group \"%1\": only in A").arg(QString::fromLatin1(group))))
            << diff.out.toStdString();
    const ToolRun dry =
        tool({QStringLiteral("import"), path("a.json"), dsn('B'), QStringLiteral("--dry-run")});
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    for (const QString& statement :
         {QStringLiteral("skipped: the group of user \"eve\\x1b]0;owned\\x07\\nx\", who is not in "
                         "the user list"),
          QStringLiteral("values ('Due List','S','TAGA1','Y','select ''x'' as "
                         "\"A\\B\"\\r\\nfrom mt.inventory'"),
          QStringLiteral(
              "insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use,inv_data_display,"),
          QStringLiteral("values ('O''Neil''s Ü','Y',NULL,"),
          QStringLiteral("update mt.qrb_zv_system_configuration set require_login = 'Y', "
                         "desktop = 'default'")})
        EXPECT_TRUE(dry.out.contains(statement)) << statement.toStdString();
    EXPECT_EQ(exported("B"), before);
    for (const QString& text : {diff.out, diff.err, dry.out, dry.err})
        for (const QChar c : text)
            EXPECT_TRUE(c == u'\n' || (c.category() != QChar::Other_Control &&
                                       c.category() != QChar::Other_Format))
                << int(c.unicode());
}

// Without --user both the user name and the password are asked for: KALDOR_PASSWORD is read
// only with --user.
TEST_P(ConfigTool, WithoutUserThePasswordIsAskedFor)
{
    QStringList asked;
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    qputenv("KALDOR_PASSWORD", "wrong");
    const int status =
        runConfigTool({QStringLiteral("export"), dsn('A')}, outStream, errStream,
                      [&asked](const QString& prompt, bool echo) {
                          asked.append(prompt);
                          return echo ? QStringLiteral("admin") : QStringLiteral("secret");
                      });
    qputenv("KALDOR_PASSWORD", "secret");
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(asked, (QStringList{QStringLiteral("User name for %1: ").arg(dsn('A')),
                                  QStringLiteral("Password for %1: ").arg(dsn('A'))}));
    outStream.flush();
    EXPECT_EQ(out.toUtf8(), exported("A"));
}

// The installed tool as a user runs it: answers piped in line by line, and a server that stops
// answering in the middle of an import given up after the limit with the target unchanged.
TEST_P(ConfigTool, TheToolReadsPipedAnswersAndGivesUpOnAServerThatStopsAnswering)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("KALDOR_PASSWORD"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KALDOR_CONFIG_TOOL), {QStringLiteral("export"), dsn('A')});
    process.write("admin\nsecret\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(), exported("A"));

    write("a.json", exported("A"));
    const QByteArray before = exported("B");
    const QString database =
        path("b") + QStringLiteral("-") + QString::fromLatin1(GetParam()) + QStringLiteral(".db");
    QFile counter(database + QStringLiteral(".hang-after"));
    ASSERT_TRUE(counter.open(QIODevice::WriteOnly));
    counter.write("24\n"); // the reads before the import, then a few of its statements
    counter.close();
    environment.insert(QStringLiteral("KALDOR_PASSWORD"), QStringLiteral("secret"));
    environment.insert(QStringLiteral("KALDOR_QUERY_TIMEOUT"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(KALDOR_CONFIG_TOOL),
                  {QStringLiteral("import"), path("a.json"), dsn('B'), QStringLiteral("--user"),
                   QStringLiteral("admin")});
    process.closeWriteChannel();
    const bool ended = process.waitForFinished(120000);
    QFile::remove(database + QStringLiteral(".hang"));
    ASSERT_TRUE(ended) << "the import waited for the stopped server";
    EXPECT_EQ(process.exitCode(), 2);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(err.startsWith(
        QStringLiteral("kaldor-config: the import into \"%1\" failed at table ").arg(dsn('B'))))
        << err.toStdString();
    EXPECT_TRUE(err.endsWith(QStringLiteral("nothing was changed: Timeout expired: the server did "
                                            "not answer within 1 s (HYT00, 0)\n")))
        << err.toStdString();
    EXPECT_EQ(exported("B"), before);
}

// The schema check through the stand-in's catalog: a new database has everything; a missing
// table, column, view and procedure are each named.
TEST_P(ConfigTool, CheckFindsEverythingOrNamesWhatIsMissing)
{
    ToolRun r = tool({QStringLiteral("check"), dsn('B')});
    EXPECT_EQ(r.status, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("\"%1\" has everything the program needs\n").arg(dsn('B')));

    sql("B", "drop table mt.qrb_zv_tree_fields");
    sql("B", "alter table mt.qrb_zv_page_configuration drop column wallpaper");
    sql("B", "drop view mt.qrb_zv_customiz");
    sql("B", "delete from mt.standin_procedure where name = 'qrb_zv_reset_page_config'");
    r = tool({QStringLiteral("check"), dsn('B')});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("missing: table mt.qrb_zv_tree_fields\n"
                                    "missing: column mt.qrb_zv_page_configuration.wallpaper\n"
                                    "missing: view mt.qrb_zv_customiz\n"
                                    "missing: procedure mt.qrb_zv_reset_page_config\n"
                                    "\"%1\" lacks 4 of what the program needs\n")
                         .arg(dsn('B')));
}

INSTANTIATE_TEST_SUITE_P(BothDialects, ConfigTool, ::testing::Values("anywhere", "sqlserver"));

} // namespace
