#include "ModuleGlobals.h"
#include "Clock.h"
#include "ErrorLog.h"
#include "Odbc.h"
#include "Seams.h"
#include "SettingsFiles.h"
#include "StandinStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace kaldor;
using namespace Qt::StringLiterals;

namespace {

struct Case {
    const char* input;
    const char* expected;
};

TEST(FixQuotes, DoublesQuotesAndBackslashPairs)
{
    const Case cases[] = {
        {"it's", "it''s"},
        {"plain text", "plain text"},
        {"''", "''''"},
        {"a\\b", "a\\b"},             // a single backslash stays
        {"a\\\\b", "a\\\\\\b"},       // two become three
        {"\\\\\\", "\\\\\\\\"},       // three: the first pair becomes three, the last stays
        {"\\\\\\\\", "\\\\\\\\\\\\"}, // four become six
        {"O'Brien\\\\", "O''Brien\\\\\\"},
        {"", ""},
    };
    for (const Case& c : cases) {
        QString text = QString::fromUtf8(c.input);
        const QString returned = FixQuotes(text);
        EXPECT_EQ(returned.toStdString(), c.expected) << c.input;
        EXPECT_EQ(text, returned) << "changed in place: " << c.input;
    }
}

TEST(ParseTime, HoursAndMinutesOfReadableTimes)
{
    struct TimeCase {
        const char* time;
        const char* part;
        const char* expected;
    };
    const TimeCase cases[] = {
        {"8:05", "H", "08"},       {"8:05", "M", "05"},       {"8:05", "h", "05"},
        {"08:05 PM", "H", "20"},   {"12:00 AM", "H", "00"},   {"23:45", "H", "23"},
        {"23:45", "N", "45"},      {"0:00", "H", "00"},       {"abc", "H", "INVALID"},
        {"", "H", "INVALID"},      {"25:00", "H", "INVALID"}, {"7:5", "M", "05"},
        {"2026-03-04", "H", "00"}, {"3:15PM", "H", "15"},     {"3:15pm", "M", "15"},
    };
    for (const TimeCase& c : cases)
        EXPECT_EQ(ParseTime(QString::fromUtf8(c.time), QString::fromUtf8(c.part)).toStdString(),
                  c.expected)
            << c.time << " " << c.part;
}

// A file opened to append takes each write at its end, also from two writers at once (two
// programs on one settings folder writing the error log).
TEST(OpenRegularFile, TwoAppendersKeepEachOthersLines)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"log.txt"_s);
    QFile start(name);
    ASSERT_TRUE(start.open(QIODevice::WriteOnly));
    start.write("old\n");
    start.close();
    QFile first(name);
    QFile second(name);
    QString error;
    ASSERT_TRUE(openRegularFile(first, QIODevice::WriteOnly | QIODevice::Append, &error));
    ASSERT_TRUE(openRegularFile(second, QIODevice::WriteOnly | QIODevice::Append, &error));
    first.write("A\n");
    first.close();
    second.write("B\n");
    second.close();
    ASSERT_TRUE(start.open(QIODevice::ReadOnly));
    EXPECT_EQ(start.readAll(), "old\nA\nB\n");
}

// The program's end passes its status on, also after the end handler has run.
TEST(EndProgram, EndsTheProcessWithItsStatus)
{
    EXPECT_EXIT(endProgram(3), ::testing::ExitedWithCode(3), "");
}

TEST(GetfformByFieldNumber, FormCodesByRecordType)
{
    const Case cases[] = {{"4201", "2"}, {"2301", "3"},   {"CC10", "3"}, {"cc10", ""},
                          {"2805", "4"}, {"3200", "5"},   {"4610", "6"}, {"4", ""},
                          {"", ""},      {"tol_err", ""}, {"9999", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(GetfformByFieldNumber(QString::fromUtf8(c.input)).toStdString(), c.expected)
            << c.input;
}

TEST(Val, LeadingNumberOrZero)
{
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("5.2")), 5.2);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("  6.0 beta")), 6.0);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("v6")), 0.0);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("1D2")), 100.0);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("")), 0.0);
    // The version threshold is compared in single precision: 5.1 is not above 5.1.
    EXPECT_FALSE(CSng(Val(QStringLiteral("5.1"))) > 5.1f);
    EXPECT_TRUE(CSng(Val(QStringLiteral("5.2"))) > 5.1f);
    // Numbers beyond the range of double, or of single precision, are an overflow.
    const auto overflows = [](auto&& convert) {
        try {
            convert();
        } catch (const db::DbException& e) {
            return e.error().number == db::Overflow && e.error().description == u"Overflow";
        }
        return false;
    };
    EXPECT_TRUE(overflows([] { Val(QStringLiteral("1e400")); }));
    EXPECT_TRUE(overflows([] { Val(QStringLiteral("-1e400")); }));
    EXPECT_TRUE(overflows([] { CSng(Val(QStringLiteral("1e39"))); }));
    EXPECT_TRUE(overflows([] { CSng(Val(QStringLiteral("-3.5e38"))); }));
    EXPECT_FLOAT_EQ(CSng(Val(QStringLiteral("3.4e38"))), 3.4e38f);
}

class CalczvrtagTest : public ::testing::Test {
protected:
    void TearDown() override { setClock({}); }
};

TEST_F(CalczvrtagTest, LettersColonYearDayAndNumber)
{
    for (int seed = 0; seed < 200; ++seed) {
        setRandomSeed(quint64(seed));
        setClock([seed] { return QDateTime(QDate(2026, 12, 4), QTime(0, 0).addSecs(seed * 97)); });
        const QString tag = Calczvrtag();
        ASSERT_LE(tag.size(), 15);
        for (int i = 0; i < 6; ++i)
            EXPECT_TRUE(tag.at(i) >= u'a' && tag.at(i) <= u'y') << tag.toStdString();
        EXPECT_EQ(tag.mid(6, 6), QStringLiteral(":26338")) << tag.toStdString();
        const int number = tag.mid(12).toInt();
        EXPECT_GE(number, 100); // the last digit of a five-digit number is cut off
    }
}

TEST_F(CalczvrtagTest, DayOfTheYearWithoutLeadingZeros)
{
    setClock([] { return QDateTime(QDate(2026, 1, 5), QTime(10, 0)); });
    setRandomSeed(42);
    const QString tag = Calczvrtag();
    EXPECT_TRUE(tag.mid(6).startsWith(QStringLiteral(":265"))) << tag.toStdString();
    // The number, 1000 to 10998, is whole: six letters and ":265" leave room for five digits.
    EXPECT_GE(tag.mid(10).toInt(), 1000);
    EXPECT_LE(tag.mid(10).toInt(), 10998);
}

class SettingsFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        savedAllUsers = qgetenv("AllUsersProfile");
        savedProgramData = qgetenv("ProgramData");
    }
    void TearDown() override
    {
        qputenv("AllUsersProfile", savedAllUsers);
        qputenv("ProgramData", savedProgramData);
    }
    QTemporaryDir dir;
    QByteArray savedAllUsers, savedProgramData;
};

TEST_F(SettingsFolderTest, AllUsersProfileComesFirstElseProgramData)
{
    qputenv("AllUsersProfile", QFile::encodeName(dir.path()));
    qputenv("ProgramData", "/nonexistent");
    const QString expected = dir.path() + QStringLiteral("/Application Data/Tarrowby/Velmora");
    EXPECT_EQ(GetSettingsFolder(), expected);
    EXPECT_TRUE(FolderExists(expected));

    qputenv("AllUsersProfile", "");
    qputenv("ProgramData", QFile::encodeName(dir.path()));
    EXPECT_EQ(GetSettingsFolder(), dir.path() + QStringLiteral("/Tarrowby/Velmora"));
}

TEST_F(SettingsFolderTest, FirstLineOfTheSettingsFileOnly)
{
    qunsetenv("AllUsersProfile");
    qputenv("ProgramData", QFile::encodeName(dir.path()));
    EXPECT_EQ(ReadDataSource(), QString()); // no file yet
    QFile file(SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Lab Data \xc3\xa4\r\nsecond line\r\n");
    file.close();
    EXPECT_EQ(ReadDataSource(), QStringLiteral("Lab Data ä"));
    WriteDataSource(QStringLiteral("It's \"quoted\""));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("It's \"quoted\"\r\n"));
}

// A driver's message with line breaks stays on its record's line of the error log, and a note
// is a line of its own.
TEST_F(SettingsFolderTest, EachDriverRecordIsOneLineOfTheErrorLog)
{
    qunsetenv("AllUsersProfile");
    qputenv("ProgramData", QFile::encodeName(dir.path()));
    appendErrorLogNote(u"a note"_s);
    appendErrorLog(3146, u"ODBC--call failed."_s, u"FormConnect,CommandConnect_Click"_s,
                   u"select 1"_s, {{u"08001"_s, -100, u"[KALDOR]"_s, u"first\r\n  second\n"_s}});
    EXPECT_EQ(ErrorLogFile(), dir.path() + u"/Tarrowby/Velmora/errors.log"_s);
    QFile log(ErrorLogFile());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    ASSERT_EQ(lines.size(), 7) << "six lines, each ended by CR LF";
    EXPECT_TRUE(lines[0].endsWith("] a note\r")) << lines[0].toStdString();
    EXPECT_TRUE(lines[5].endsWith("DESCRIPTION: first second\r")) << lines[5].toStdString();
}

// Anything but a regular file in the settings file's place is unreadable and unwritable; a
// named pipe must neither block the start nor a save.
TEST_F(SettingsFolderTest, ANamedPipeIsNoSettingsFile)
{
    qunsetenv("AllUsersProfile");
    qputenv("ProgramData", QFile::encodeName(dir.path()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(SettingsFile()).constData(), 0600), 0);
    try {
        ReadDataSource();
        ADD_FAILURE() << "a named pipe was read";
    } catch (const db::DbException& e) {
        EXPECT_EQ(e.error().number, 70);
    }
    QStringList shown;
    setMessageHandler([&](const MessageRequest& r) {
        shown.append(r.text);
        return MsgAnswer::Ok;
    });
    WriteDataSource(QStringLiteral("Lab"));
    setMessageHandler({});
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].endsWith(QStringLiteral("Not a regular file"))) << shown[0].toStdString();

    // A directory likewise; a link to a regular file is read through.
    QFile::remove(SettingsFile());
    ASSERT_TRUE(QDir().mkdir(SettingsFile()));
    EXPECT_THROW(ReadDataSource(), db::DbException);
    ASSERT_TRUE(QDir().rmdir(SettingsFile()));
    QFile target(dir.filePath(QStringLiteral("target.ini")));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write("Linked\r\n");
    target.close();
    ASSERT_TRUE(QFile::link(target.fileName(), SettingsFile()));
    EXPECT_EQ(ReadDataSource(), QStringLiteral("Linked"));
}

// GetConfig and LoadVersion through the driver manager on a stand-in database, new for each
// test; the driver manager keeps the configuration it read, so there is one for the process.
class SystemRecordTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        ASSERT_TRUE(dir->isValid());
        std::string error;
        ASSERT_TRUE(standin::writeOdbcConfig(
            QFile::encodeName(dir->path()).toStdString(), KALDOR_STANDIN_DRIVER,
            {{"Record Source", standin::Dialect::Anywhere, database()}}, &error))
            << error;
        qputenv("ODBCSYSINI", QFile::encodeName(dir->path()));
        qputenv("ODBCINI", QFile::encodeName(dir->path() + QStringLiteral("/odbc.ini")));
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    static QString databaseFile() { return dir->filePath(QStringLiteral("record.db")); }
    static std::string database() { return QFile::encodeName(databaseFile()).toStdString(); }

    void SetUp() override
    {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(databaseFile() + QString::fromLatin1(suffix));
        std::string error;
        ASSERT_TRUE(standin::createDatabase(database(), standin::Dialect::Anywhere, &error))
            << error;
        resetGlobals();
        session().DatabaseType = DatabaseKind::SqlAnywhere;
        session().MainDatabase = db::OdbcConnection::open(
            QStringLiteral("Record Source"), QStringLiteral("admin"), QStringLiteral("secret"), {});
    }
    void TearDown() override { resetGlobals(); }

    static void sql(const QString& text) { session().MainDatabase->execute(text); }

    static QTemporaryDir* dir;
};

QTemporaryDir* SystemRecordTest::dir = nullptr;

TEST_F(SystemRecordTest, LoadVersionTakesVersionsAbove51ForVersion6)
{
    const std::pair<const char*, int> cases[] = {
        {"5.1", 5}, {"5", 5}, {"5.0", 5}, {"5.2", 6}, {"6", 6}, {"6.0", 6}, {"7 beta", 6}, {"x", 5},
    };
    for (const auto& [version, expected] : cases) {
        sql(QStringLiteral("delete from mt.dbconfig"));
        sql(QStringLiteral("insert into mt.dbconfig(version) values('%1')")
                .arg(QString::fromUtf8(version)));
        session().VizVersion = 0;
        LoadVersion();
        EXPECT_EQ(session().VizVersion, expected) << version;
    }
}

// SharedDir is SPath with one backslash appended, also to a path that ends with one; a NULL
// SPath reads as the default path and leaves SharedDir as it was.
TEST_F(SystemRecordTest, GetConfigAppendsABackslashToSPathForSharedDir)
{
    sql(QStringLiteral("insert into mt.qrb_zv_system_configuration(require_login,desktop,title,"
                       "ODBC,SPath,SDrive,autoLayout,Diags,Browser) values('Y','Lab','title2',"
                       "'Lab Data','Reports','D:\\','On','Off','Firefox')"));
    GetConfig();
    EXPECT_EQ(config().SharedPath.toStdString(), "Reports");
    EXPECT_EQ(config().SharedDir.toStdString(), "Reports\\");
    EXPECT_EQ(config().SharedDrive.toStdString(), "D:\\");
    EXPECT_EQ(config().DataSource.toStdString(), "Lab Data");

    sql(QStringLiteral("update mt.qrb_zv_system_configuration set SPath = 'VIZIDOV\\'"));
    GetConfig();
    EXPECT_EQ(config().SharedPath.toStdString(), "VIZIDOV\\");
    EXPECT_EQ(config().SharedDir.toStdString(), "VIZIDOV\\\\");

    sql(QStringLiteral("update mt.qrb_zv_system_configuration set SPath = NULL"));
    config().SharedDir = QStringLiteral("Earlier\\");
    GetConfig();
    EXPECT_EQ(config().SharedPath.toStdString(), "VIZIDOV\\");
    EXPECT_EQ(config().SharedDir.toStdString(), "Earlier\\");

    // Every other NULL column reads as its own default.
    sql(QStringLiteral("update mt.qrb_zv_system_configuration set require_login = NULL, desktop = "
                       "NULL, title = NULL, ODBC = NULL, SDrive = NULL, autoLayout = NULL, Diags "
                       "= NULL, Browser = NULL"));
    GetConfig();
    const SystemConfig& c = config();
    EXPECT_EQ((QStringList{c.RequireLogin, c.Desktop, c.Title, c.DataSource, c.SharedDrive,
                           c.AutoLayout, c.Diags, c.Browser}),
              (QStringList{u"N"_s, u"default"_s, u"title"_s, u"Calibration Data"_s, u"C:\\"_s,
                           u"OFF"_s, u"OFF"_s, QString()}));
}

// "Anywhere" is looked for first: a description naming both is SQL Anywhere's.
TEST(DialectOfDriver, AnywhereBeforeSqlServer)
{
    EXPECT_EQ(dialectOfDriver(QStringLiteral("SQL Server bridge to Anywhere")),
              DatabaseKind::SqlAnywhere);
    EXPECT_EQ(dialectOfDriver(QStringLiteral("ODBC Driver 18 for SQL Server")),
              DatabaseKind::SqlServer);
}

TEST(ChooseSql, KeepsTheTextWithoutADialect)
{
    resetGlobals();
    QString sql = QStringLiteral("earlier");
    ChooseSql(sql, QStringLiteral("a"), QStringLiteral("b"));
    EXPECT_EQ(sql, QStringLiteral("earlier"));
}

} // namespace
