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
using namespace Qt::StringLiterals;

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
        qputenv("ODBCINI", QFile::encodeName(dir->path() + u"/odbc.ini"_s));
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
        for (const char which : {'a', 'b'}) {
            const QString file = database(which);
            for (const char* suffix :
                 {"", "-wal", "-shm", ".down", ".down-after", ".hang", ".hang-after"})
                QFile::remove(file + QString::fromLatin1(suffix));
            ASSERT_TRUE(standin::createDatabase(QFile::encodeName(file).toStdString(), d, &error))
                << error;
        }
        seedSourceA();
        sql("B", {"insert into mt.qrb_zv_system_configuration(require_login,desktop,title,ODBC,"
                  "SPath,SDrive,autoLayout,Diags,Browser) values('N','default','title','Source B',"
                  "'B\\','D:\\','OFF','OFF','')",
                  "insert into mt.desktop(desktop) values('default')",
                  "insert into mt.desktop(desktop) values('Lab desk')",
                  "insert into mt.userlist(mtuser,mtlevel) values('alice','5')",
                  "insert into mt.userlist(mtuser,mtlevel) values('bob','5')"});
    }

    // The stand-in's database file behind source 'a' or 'b'; its test hooks are files beside it.
    QString database(char which) const
    {
        return dir->filePath(
            u"%1-%2.db"_s.arg(QChar::fromLatin1(which), QString::fromLatin1(GetParam())));
    }

    // Makes B's server go down ("down") or stop answering ("hang") after the reads before an
    // import and a few of its statements; returns the file that keeps it so, to be removed.
    QString breakBAfterAFewStatements(const char* how)
    {
        const QString hook = database('b') + u"."_s + QString::fromLatin1(how);
        QFile counter(hook + u"-after"_s);
        EXPECT_TRUE(counter.open(QIODevice::WriteOnly));
        counter.write("24\n");
        return hook;
    }

    // The data source of this dialect: 'A' or 'B'.
    QString dsn(char which) const
    {
        return u"Source %1 %2"_s.arg(QLatin1Char(which)).arg(QString::fromLatin1(GetParam()));
    }

    int dialect() const { return QByteArray(GetParam()) == "sqlserver" ? 2 : 1; }

    std::unique_ptr<db::OdbcConnection> connect(const char* source)
    {
        return db::OdbcConnection::open(dsn(source[0]), u"admin"_s, u"secret"_s, {});
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
    void sql(const char* source, std::initializer_list<const char*> statements)
    {
        for (const char* text : statements)
            sql(source, text);
    }

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

    // Runs the tool in this process; what it asks is kept in `asked` and answered as admin.
    ToolRun tool(const QStringList& arguments)
    {
        ToolRun r;
        QTextStream out(&r.out), err(&r.err);
        asked.clear();
        r.status = runConfigTool(arguments, out, err, [this](const QString& prompt, bool echo) {
            asked.append(prompt);
            return echo ? u"admin"_s : u"secret"_s;
        });
        out.flush();
        err.flush();
        return r;
    }
    QStringList asked;

    static QString path(const char* name) { return dir->filePath(QString::fromLatin1(name)); }

    QByteArray exported(const char* source)
    {
        const QString file = path("export.json");
        const ToolRun r = tool({u"export"_s, dsn(source[0]), u"-o"_s, file});
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

    // A's export written to a.json and imported into B.
    ToolRun importA(const QStringList& more = {})
    {
        write("a.json", exported("A"));
        return tool(QStringList{u"import"_s, path("a.json"), dsn('B')} + more);
    }

    // The state that no refused input may touch: the configuration and the user list.
    QByteArray state(const char* source)
    {
        QByteArray bytes = exported(source);
        const db::ResultSet users = connect(source)->query(u"select mtuser from mt.userlist"_s);
        for (qsizetype r = 0; r < users.size(); ++r)
            bytes += "\nuser " + users.text(r, u"mtuser").toUtf8();
        return bytes;
    }

    static QTemporaryDir* dir;
};

QTemporaryDir* ConfigTool::dir = nullptr;

// An export without one of its tables.
QByteArray withoutTable(const QByteArray& exported, const char* table)
{
    QJsonObject root = QJsonDocument::fromJson(exported).object();
    QJsonObject tables = root.value(u"tables"_s).toObject();
    tables.remove(QString::fromLatin1(table));
    root.insert(u"tables"_s, tables);
    return QJsonDocument(root).toJson();
}

TEST_P(ConfigTool, AnExportImportedIntoAnEmptyDatabaseExportsTheSameBytes)
{
    sql("B", "insert into mt.userlist(mtuser,mtlevel) values('carol','5')");
    const QByteArray a = exported("A");
    EXPECT_EQ(exported("A"), a); // two exports of one database are the same bytes
    const qsizetype groups = a.indexOf("\"qrb_zv_groupconfig\"");
    EXPECT_LT(a.indexOf("\"group_id\": \"LAB\"", groups),
              a.indexOf("\"group_id\": \"O'Neil", groups))
        << a.toStdString(); // rows sorted by their values
    EXPECT_TRUE(a.contains("\"force_validation\": \"P\""));
    // "-o -" is standard output.
    QFile::remove(u"-"_s);
    EXPECT_EQ(tool({u"export"_s, dsn('A'), u"-o"_s, u"-"_s}).out.toUtf8(), a);
    EXPECT_FALSE(QFile::exists(u"-"_s));
    const ToolRun r = importA({u"--user"_s, u"admin"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // The import's statements are in the change journal under its own name, and only there.
    const ToolRun journal =
        tool({u"journal"_s, u"--window"_s, u"kaldor-config,import"_s, u"--dsn"_s, dsn('B')});
    EXPECT_TRUE(journal.out.contains(u"insert into mt.qrb_zv_groupconfig"_s))
        << journal.out.toStdString() << journal.err.toStdString();
    // The whole statements, indented under their entries, only with -v.
    EXPECT_FALSE(journal.out.contains(u"\n    "_s)) << journal.out.toStdString();
    const ToolRun verbose = tool(
        {u"journal"_s, u"--window"_s, u"kaldor-config,import"_s, u"--dsn"_s, dsn('B'), u"-v"_s});
    EXPECT_TRUE(verbose.out.contains(u"\n    insert into mt.qrb_zv_groupconfig"_s))
        << verbose.out.toStdString();
    EXPECT_EQ(tool({u"journal"_s, u"--user"_s, u"nobody"_s}).out, QString());
    // A line of the journal that is not an entry is named, not skipped.
    write("odd.jsonl", "{}\nnot json\n");
    qputenv("KALDOR_JOURNAL", QFile::encodeName(path("odd.jsonl")));
    const ToolRun odd = tool({u"journal"_s});
    qunsetenv("KALDOR_JOURNAL");
    EXPECT_EQ(odd.status, 2);
    EXPECT_TRUE(odd.err.contains(u"line 2: not a journal entry"_s)) << odd.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"backup of \"%1\" written to "_s.arg(dsn('B'))))
        << r.out.toStdString();
    EXPECT_EQ(exported("B"), a);
    // The computer's own data source, folder and drive stay the target's.
    const db::ResultSet system = connect("B")->query(
        u"select ODBC, SPath, SDrive, Browser from mt.qrb_zv_system_configuration"_s);
    ASSERT_EQ(system.size(), 1);
    EXPECT_EQ(system.text(0, u"ODBC"), u"Source B"_s);
    EXPECT_EQ(system.text(0, u"SDrive"), u"D:\\"_s);
    EXPECT_EQ(system.text(0, u"Browser"), u"Firefox"_s);
    EXPECT_EQ(tool({u"diff"_s, dsn('A'), dsn('B')}).status, 0);

    // Rows take the export's own order, not the server's: two users' session rows (no group, a
    // NULL first) stored in either order export the same bytes. The tree view's fields and a
    // prompt's custom values keep the server's order, which the windows show: it goes through
    // an export and an import, and a diff names a changed one.
    const auto session = [](const char* user) {
        return u"insert into mt.qrb_zv_session_config(group_id,mtuser,"
               "max_open_sessions) values(NULL,'%1','2')"_s.arg(QString::fromLatin1(user));
    };
    for (const char* user : {"alice", "bob"})
        sql("A", session(user));
    for (const char* user : {"bob", "alice"})
        sql("B", session(user));
    EXPECT_EQ(exported("B"), exported("A"));
    sql("A", {"insert into mt.qrb_zv_tree_fields(fldnum,len) values('2302','9')",
              "insert into mt.qrb_zv_tree_fields(fldnum,len) values('2301','9')",
              "insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
              "values('TAGA1','$L$','Annex')"});
    ASSERT_EQ(importA().status, 0);
    EXPECT_EQ(exported("B"), exported("A"));
    EXPECT_EQ(connect("B")->query(u"select fldnum from mt.qrb_zv_tree_fields"_s).text(2, u"fldnum"),
              u"2301"_s);
    sql("B", {"delete from mt.qrb_zv_tree_fields where fldnum = '4202'",
              "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','30')",
              "delete from mt.qrb_zv_prompt_validation where val = '  North '",
              "insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
              "values('TAGA1','$L$','  North ')"});
    const ToolRun d = tool({u"diff"_s, dsn('A'), dsn('B')});
    EXPECT_EQ(d.status, 1);
    EXPECT_EQ(d.out.split(u'\n', Qt::SkipEmptyParts),
              (QStringList{u"report \"Due List\": custom values of $L$: order: "
                           "\"  North \", \"Annex\" -> \"Annex\", \"  North \""_s,
                           u"tree view: fields: order: \"4202\", \"2302\", "
                           "\"2301\" -> \"2302\", \"2301\", \"4202\""_s}))
        << d.out.toStdString();
}

// Users are matched with the target's user list as the servers compare names, without regard to
// letter case; the group of a user the target does not know is skipped and named.
TEST_P(ConfigTool, UsersAreMatchedWhateverTheirLetterCaseAndUnknownOnesSkipped)
{
    // A target without a system configuration row gets the file's.
    sql("B", "delete from mt.qrb_zv_system_configuration");
    sql("A", {"insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('dave',"
              "'LAB','N')",
              "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('BOB','LAB',"
              "'Y')"});
    const ToolRun r = importA();
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(u"skipped"_s), 1) << r.out.toStdString();
    EXPECT_TRUE(
        r.out.contains(u"skipped: the group of user \"dave\", who is not in the user list"_s));
    const db::ResultSet users =
        connect("B")->query(u"select mtuser, zv_inhibit_use from mt.qrb_zv_userlist"_s);
    QStringList rows;
    for (qsizetype i = 0; i < users.size(); ++i)
        rows.append(users.text(i, u"mtuser") + u' ' + users.text(i, u"zv_inhibit_use"));
    rows.sort();
    EXPECT_EQ(rows, (QStringList{u"BOB Y"_s, u"alice N"_s}));
    EXPECT_EQ(connect("B")->query(u"select desktop from mt.qrb_zv_system_configuration"_s).size(),
              1);
}

// Differences by what they mean; a row a table holds more than once is counted on each side.
TEST_P(ConfigTool, DifferencesAreNamedByWhatTheyMean)
{
    ASSERT_EQ(importA().status, 0);
    sql("B", {"update mt.qrb_zv_groupconfig set cal_data_old_number = '24' where group_id = 'LAB'",
              "update mt.qrb_zv_reports set report_sql = 'select 1', zvrtag = 'OTHER' where "
              "zvrtag = 'TAGA1'",
              "update mt.qrb_zv_group_reports set zvrtag = 'OTHER'",
              "update mt.qrb_zv_report_prompts set zvrtag = 'OTHER', prompt = 'Lab name' where "
              "prompt_string = '$L$'",
              "update mt.qrb_zv_report_prompts set zvrtag = 'OTHER', default_value = '' where "
              "prompt_string = '$D$'",
              "update mt.qrb_zv_userlist set zv_inhibit_use = 'Y' where mtuser = 'alice'",
              "insert into mt.qrb_zv_groupconfig(group_id) values('AAA')",
              "update mt.qrb_zv_prompt_validation set zvrtag = 'OTHER', val = 'South'",
              "delete from mt.qrb_zv_fields_group_inhibit",
              "update mt.qrb_zv_system_configuration set desktop = 'Lab desk'",
              "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4203','12')",
              "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','30')",
              "update mt.qrb_zv_result_header set header = 'Results'",
              "insert into mt.qrb_zv_group_reports(group_id,zvrtag) values('LAB','GONE')"});
    const ToolRun r = tool({u"diff"_s, path("a.json"), dsn('B')});
    EXPECT_EQ(r.status, 1);
    const QStringList expected{
        u"system configuration (desktop, title language, switches): desktop: "
        "\"default\" -> \"Lab desk\""_s,
        u"group \"AAA\": only in B"_s, // sorted among A's names
        u"group \"LAB\": cal_data_old_number: \"12\" -> \"24\""_s,
        u"group \"LAB\": report \"(tag GONE)\": only in B"_s, // a tag no report has
        u"user \"alice\": zv_inhibit_use: \"N\" -> \"Y\""_s,
        u"report \"Due List\": report_sql: \"select 'x' as \\\"A\\\\B\\\"\\r\\nfrom "
        "mt.inventory\" -> \"select 1\""_s,
        u"report \"Due List\": prompt 1: default_value: NULL -> \"\""_s,
        u"report \"Due List\": prompt 2: prompt: \"Lab\" -> \"Lab name\""_s,
        u"report \"Due List\": custom value \"  North \" of $L$: only in A"_s,
        u"report \"Due List\": custom value \"South\" of $L$: only in B"_s,
        u"field 4201 hidden from group \"LAB\": only in A"_s,
        u"tree view: field 4202: 1 times in A, 2 in B"_s,
        u"tree view: field 4203: only in B"_s,
        u"results header: only in A"_s,
        u"results header: only in B"_s,
    };
    EXPECT_EQ(r.out.split(u'\n', Qt::SkipEmptyParts), expected) << r.out.toStdString();
}

TEST_P(ConfigTool, AnImportThatFailsHalfWayChangesNothing)
{
    const QByteArray before = exported("B");
    const QString down = breakBAfterAFewStatements("down");
    ToolRun r = importA();
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(
        r.err.startsWith(u"kaldor-config: the import into \"%1\" failed at table "_s.arg(dsn('B'))))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"nothing was changed"_s));
    EXPECT_EQ(r.err.count(u'\n'), 1);
    QFile::remove(down);
    EXPECT_EQ(exported("B"), before);

    // The server refuses the last row: a second results header.
    sql("B", "create unique index mt.header_once on qrb_zv_result_header (header)");
    sql("A", "insert into mt.qrb_zv_result_header select * from mt.qrb_zv_result_header");
    r = importA();
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(u"failed at table qrb_zv_result_header, row 2"_s))
        << r.err.toStdString();
    EXPECT_EQ(exported("B"), before);

    // The server refuses a row: a second tree view entry for one field.
    sql("B", "create unique index mt.tree_field_once on qrb_zv_tree_fields (fldnum)");
    sql("A", "insert into mt.qrb_zv_tree_fields(fldnum,len) values('4202','31')");
    r = importA();
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(u"failed at table qrb_zv_tree_fields, row 2"_s))
        << r.err.toStdString();
    EXPECT_EQ(exported("B"), before);
}

TEST_P(ConfigTool, ANewDesktopRebuildsTheFieldViewOrSaysWhyNot)
{
    sql("A", "update mt.qrb_zv_system_configuration set desktop = 'Lab desk', title = 'title2'");
    ToolRun r = importA();
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"field view now shows desktop \"Lab desk\" with column title2"_s));
    EXPECT_NO_THROW(connect("B")->query(u"select title2 from mt.qrb_zv_customiz"_s));
    // The title language alone; a desktop named in other letters.
    sql("A", "update mt.qrb_zv_system_configuration set title = 'title3'");
    r = importA();
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"with column title3"_s)) << r.out.toStdString();
    sql("A", "update mt.qrb_zv_system_configuration set desktop = 'lab DESK', title = 'title2'");
    r = importA();
    EXPECT_EQ(r.status, 0) << r.err.toStdString();

    // The tables are in, but the view's statement fails: said, with its own status.
    sql("A", "update mt.qrb_zv_system_configuration set desktop = 'default'");
    sql("B", "drop table mt.me2_customiz");
    r = importA();
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.startsWith(u"kaldor-config: the tables are imported, but "
                                 "the field view could not be pointed at desktop "
                                 "\"default\" and column title2: "_s))
        << r.err.toStdString();
    const db::ResultSet system =
        connect("B")->query(u"select desktop from mt.qrb_zv_system_configuration"_s);
    EXPECT_EQ(system.text(0, u"desktop"), u"default"_s);
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
        {"not json", u"not a JSON document"_s},
        {R"({"name": "another tool", "tables": {}})",
         u"not a configuration written by kaldor-config"_s},
        {QByteArray(good).replace("\"version\": 1", "\"version\": 2"),
         u"format version 2 is newer than this tool reads (1)"_s},
        {QByteArray(good).replace("\"version\": 1", "\"version\": 0"),
         u"the format version is missing or not a whole number"_s},
        {QByteArray(good).replace("\"max_rows_display\": \"250\"", "\"rows\": \"250\""),
         u"table qrb_zv_tree_config, row 1: unknown column rows"_s},
        {QByteArray(good).replace("\"header\": \"Calibration results\"", ""),
         u"table qrb_zv_result_header, row 1: column header is missing"_s},
        {QByteArray(good).replace("\"max_rows_display\": \"250\"", "\"max_rows_display\": 250"),
         u"table qrb_zv_tree_config, row 1: column max_rows_display"_s},
        {withoutTable(good, "qrb_zv_result_header"), u"table qrb_zv_result_header is missing"_s},
        // Text that is not Unicode, or that no statement carries whole.
        {QByteArray(good).replace("\"Calibration results\"", "\"Calibration \xff results\""),
         u"not UTF-8 text"_s},
        {QByteArray(good).replace("\"Calibration results\"", "\"Calibration \xed\xa0\x80\""),
         u"not UTF-8 text"_s},
        {QByteArray(good).replace("\"Calibration results\"", R"("Calibration \ud800")"),
         u"table qrb_zv_result_header, row 1: column header holds invalid Unicode"_s},
        {QByteArray(good).replace("\"Calibration results\"", R"("Calibration\u0000; drop")"),
         u"table qrb_zv_result_header, row 1: column header holds a NUL character"_s},
        // The view's statement takes the desktop and the title column unquoted.
        {system("title", R"("title from mt.me2_customiz;delete from mt.userlist;select 1 x")"),
         u"the title language \"title from mt.me2_customiz;delete from "
         "mt.userlist;select 1 x\" is not one of title, title2, title3, title4, "
         "title5; nothing was written"_s},
        {system("title", R"("Title2")"),
         u"the title language \"Title2\" is not one of title, title2, title3, "
         "title4, title5; nothing was written"_s},
        {system("desktop", R"("x';drop table mt.qrb_zv_groupconfig;--")"),
         u"the desktop \"x';drop table mt.qrb_zv_groupconfig;--\" holds a quote; "
         "nothing was written"_s},
        {system("desktop", R"("Nobody's")"), u"holds a quote"_s},
        {system("desktop", R"("Night desk")"),
         u"\"Night desk\" is no desktop of \"%1\"; nothing was written"_s.arg(dsn('B'))},
    };
    for (const auto& [bytes, why] : files) {
        write("bad.json", bytes);
        for (const QStringList& command :
             {QStringList{u"import"_s, path("bad.json"), dsn('B')},
              QStringList{u"import"_s, path("bad.json"), dsn('B'), u"--dry-run"_s}}) {
            const ToolRun r = tool(command);
            EXPECT_EQ(r.status, 2) << why.toStdString();
            EXPECT_TRUE(r.err.contains(why)) << r.err.toStdString();
            EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
            EXPECT_FALSE(r.out.contains(u"insert into"_s)) << why.toStdString();
        }
    }
    ToolRun r = tool({u"export"_s, u"No Such Source"_s});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, u"kaldor-config: no SQL Anywhere or SQL Server data source "
                     "named \"No Such Source\"\n"_s);
    // A name with the files' ending, whatever its letter case, is a file.
    r = tool({u"diff"_s, u"Missing.JSON"_s, dsn('B')});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, u"kaldor-config: Missing.JSON: no such file\n"_s);
    qputenv("KALDOR_PASSWORD", "wrong");
    r = tool({u"export"_s, dsn('A'), u"--user"_s, u"admin"_s});
    qputenv("KALDOR_PASSWORD", "secret");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith(u"kaldor-config: cannot log in to \"%1\": "_s.arg(dsn('A'))));
    EXPECT_FALSE(r.err.contains(u"wrong"_s));
    r = tool({u"export"_s, dsn('A'), u"--password"_s, u"secret"_s});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(state("B"), before);
}

// Every value of the file reaches its statement as one quoted text: hostile texts in every
// column are stored as they are, and nothing else happens.
TEST_P(ConfigTool, EveryWrittenValueStaysInsideItsQuotes)
{
    QJsonObject root = QJsonDocument::fromJson(exported("A")).object();
    QJsonObject tables = root.value(u"tables"_s).toObject();
    const QStringList kept{u"desktop"_s, u"title"_s, u"mtuser"_s, u"sequence"_s};
    const QStringList hostile{
        u"'); delete from mt.userlist; --"_s, u"'';drop table mt.qrb_zv_groupconfig;--"_s,
        u"\"]}; delete from mt.userlist /*"_s, u"x' || (select 1) || '\r\n;commit;"_s};
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
    root.insert(u"tables"_s, tables);
    write("hostile.json", QJsonDocument(root).toJson(QJsonDocument::Indented));
    const QByteArray users = state("B").mid(state("B").indexOf("\nuser "));

    const ToolRun r = tool({u"import"_s, path("hostile.json"), dsn('B')});
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
    const ToolRun escaped = importA();
    if (dialect() == 1) {
        EXPECT_EQ(escaped.status, 2);
        EXPECT_EQ(escaped.err, u"kaldor-config: table qrb_zv_result_header, row 1: "
                               "column header has a backslash before a quote, "
                               "which SQL Anywhere may read as an escape; nothing "
                               "was written\n"_s);
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
        {fifo, fifo + u" is not a regular file"_s},
        {linkToFifo, linkToFifo + u" is not a regular file"_s},
        {u"/dev/zero"_s, u"/dev/zero is not a regular file"_s},
        {dir->path(), dir->path() + u" is not a regular file"_s},
        {dangling, dangling + u": no such file"_s},
        {huge, huge + u" is larger than 1 GiB"_s},
    };
    const QByteArray before = state("B");
    for (const auto& [input, why] : inputs) {
        QElapsedTimer clock;
        clock.start();
        ToolRun r = tool({u"import"_s, input, dsn('B')});
        EXPECT_EQ(r.status, 2) << input.toStdString();
        EXPECT_EQ(r.err, u"kaldor-config: "_s + why + u'\n');
        r = tool({u"diff"_s, input, dsn('B')});
        EXPECT_EQ(r.status, 2) << input.toStdString();
        EXPECT_EQ(r.err, u"kaldor-config: "_s + why + u'\n');
        EXPECT_LT(clock.elapsed(), 60000) << "waited on " << input.toStdString();
    }
    EXPECT_EQ(state("B"), before);

    for (const QString& output : {fifo, linkToFifo, dangling, dir->path()}) {
        const ToolRun r = tool({u"export"_s, dsn('A'), u"-o"_s, output});
        EXPECT_EQ(r.status, 2) << output.toStdString();
        EXPECT_EQ(r.err, u"kaldor-config: %1 is not a regular file; nothing was "
                         "written\n"_s.arg(output));
    }
    struct stat info {};
    ASSERT_EQ(lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(lstat(QFile::encodeName(linkToFifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_FALSE(QFileInfo::exists(path("nowhere")));

    // A link to a regular file is written through; the link stays a link.
    ASSERT_EQ(tool({u"export"_s, dsn('A'), u"-o"_s, linkToFile}).status, 0);
    EXPECT_TRUE(QFileInfo(linkToFile).isSymLink());
    QFile target(path("target.json"));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), exported("A"));
}

// A database's own export imported into itself changes nothing, also the groups of users its
// user list does not know; and each import keeps a backup of its own, however close together.
TEST_P(ConfigTool, ASelfImportChangesNothingAndEveryImportKeepsItsBackup)
{
    sql("A", {"insert into mt.userlist(mtuser,mtlevel) values('Alice','5')",
              "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('zoe','LAB',"
              "'Y')"});
    const QByteArray before = exported("A");
    write("a.json", before);
    setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(1, 2, 3, 456)); });
    QStringList backups;
    for (int i = 0; i < 2; ++i) {
        const ToolRun r = tool({u"import"_s, path("a.json"), dsn('A')});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(
            r.out.contains(u"skipped: the group of user \"zoe\", who is not in the user list"_s));
        const qsizetype at = r.out.indexOf(u" written to "_s) + 12;
        backups.append(r.out.mid(at, r.out.indexOf(u'\n', at) - at));
        EXPECT_EQ(exported("A"), before);
    }
    setClock(nullptr);
    const QString stem = dir->path() + u"/Tarrowby/Velmora/kaldor-config-backup-"_s +
                         dsn('A').replace(u' ', u'_') + u"-20261207-010203-456"_s;
    EXPECT_EQ(backups, (QStringList{stem + u".json"_s, stem + u"-2.json"_s}));
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
    sql("A", {"update mt.qrb_zv_groupconfig set group_id = 'LAB' || char(27) || '[2J' || "
              "char(7) where group_id = 'LAB'",
              "insert into mt.qrb_zv_userlist(mtuser,group_id,zv_inhibit_use) values('eve' || "
              "char(27) || ']0;owned' || char(7) || char(10) || 'x','LAB','N')",
              "insert into mt.qrb_zv_groupconfig(group_id,zv_inhibit_use) values('LAB\xe2\x80\xae"
              "exe.txt','N')"});
    const QByteArray before = exported("B");
    const ToolRun dry = importA({u"--dry-run"_s});
    const ToolRun diff = tool({u"diff"_s, path("a.json"), dsn('B')});
    EXPECT_EQ(diff.status, 1);
    for (const char* group : {"LAB\\x1b[2J\\x07", "LAB\\u202eexe.txt"})
        EXPECT_TRUE(diff.out.contains(u"group \"%1\": only in A"_s.arg(QString::fromLatin1(group))))
            << diff.out.toStdString();
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    for (const QString& statement :
         {u"skipped: the group of user \"eve\\x1b]0;owned\\x07\\nx\", who is not in "
          "the user list"_s,
          u"values ('Due List','S','TAGA1','Y','select ''x'' as "
          "\"A\\B\"\\r\\nfrom mt.inventory'"_s,
          u"insert into mt.qrb_zv_groupconfig (group_id,zv_inhibit_use,inv_data_display,"_s,
          u"values ('O''Neil''s Ü','Y',NULL,"_s,
          u"update mt.qrb_zv_system_configuration set require_login = 'Y', "
          "desktop = 'default'"_s})
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
    qputenv("KALDOR_PASSWORD", "wrong");
    const ToolRun r = tool({u"export"_s, dsn('A')});
    qputenv("KALDOR_PASSWORD", "secret");
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(asked, (QStringList{u"User name for %1: "_s.arg(dsn('A')),
                                  u"Password for %1: "_s.arg(dsn('A'))}));
    EXPECT_EQ(r.out.toUtf8(), exported("A"));
}

// The installed tool as a user runs it: answers piped in line by line, and a server that stops
// answering in the middle of an import given up after the limit with the target unchanged.
TEST_P(ConfigTool, TheToolReadsPipedAnswersAndGivesUpOnAServerThatStopsAnswering)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"KALDOR_PASSWORD"_s);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KALDOR_CONFIG_TOOL), {u"export"_s, dsn('A')});
    process.write("admin\nsecret\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(), exported("A"));

    write("a.json", exported("A"));
    const QByteArray before = exported("B");
    const QString hang = breakBAfterAFewStatements("hang");
    environment.insert(u"KALDOR_PASSWORD"_s, u"secret"_s);
    environment.insert(u"KALDOR_QUERY_TIMEOUT"_s, u"1"_s);
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(KALDOR_CONFIG_TOOL),
                  {u"import"_s, path("a.json"), dsn('B'), u"--user"_s, u"admin"_s});
    process.closeWriteChannel();
    const bool ended = process.waitForFinished(120000);
    QFile::remove(hang);
    ASSERT_TRUE(ended) << "the import waited for the stopped server";
    EXPECT_EQ(process.exitCode(), 2);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(
        err.startsWith(u"kaldor-config: the import into \"%1\" failed at table "_s.arg(dsn('B'))))
        << err.toStdString();
    EXPECT_TRUE(err.endsWith(u"nothing was changed: Timeout expired: the server did "
                             "not answer within 1 s (HYT00, 0)\n"_s))
        << err.toStdString();
    EXPECT_EQ(exported("B"), before);
}

// The schema check through the stand-in's catalog: a new database has everything; a missing
// table, column, view and procedure are each named.
TEST_P(ConfigTool, CheckFindsEverythingOrNamesWhatIsMissing)
{
    // SQL Server's catalog names a procedure with its group number.
    sql("B", "update mt.standin_procedure set name = 'qrb_zv_group_config_maint;1' where name = "
             "'qrb_zv_group_config_maint'");
    ToolRun r = tool({u"check"_s, dsn('B')});
    EXPECT_EQ(r.status, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_EQ(r.out, u"\"%1\" has everything the program needs\n"_s.arg(dsn('B')));
    // A column narrower than what may be typed is named, and is no lack.
    sql("B", {"drop table mt.qrb_zv_prompt_validation",
              "create table mt.qrb_zv_prompt_validation(zvrtag varchar(12),prompt_string "
              "varchar(60),val varchar(60))"});
    r = tool({u"check"_s, dsn('B')});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, u"narrow: column mt.qrb_zv_prompt_validation.zvrtag holds 12 characters; "
                     "report tags may have 15\n"
                     "\"%1\" has everything the program needs\n"_s.arg(dsn('B')))
        << r.out.toStdString();

    sql("B", {"drop table mt.qrb_zv_tree_fields",
              "alter table mt.qrb_zv_page_configuration drop column wallpaper",
              "drop view mt.qrb_zv_customiz",
              "delete from mt.standin_procedure where name = 'qrb_zv_reset_page_config'",
              "alter table mt.qrb_zv_system_configuration drop column SDrive"});
    r = tool({u"check"_s, dsn('B')});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(r.out, u"missing: column mt.qrb_zv_system_configuration.sdrive\n"
                     "missing: table mt.qrb_zv_tree_fields\n"
                     "missing: column mt.qrb_zv_page_configuration.wallpaper\n"
                     "missing: view mt.qrb_zv_customiz\n"
                     "missing: procedure mt.qrb_zv_reset_page_config\n"
                     "narrow: column mt.qrb_zv_prompt_validation.zvrtag holds 12 characters; "
                     "report tags may have 15\n"
                     "\"%1\" lacks 5 of what the program needs\n"_s.arg(dsn('B')));
}

INSTANTIATE_TEST_SUITE_P(BothDialects, ConfigTool, ::testing::Values("anywhere", "sqlserver"));

} // namespace
