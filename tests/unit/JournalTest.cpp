// The change journal: which statements it records and how it sums them up, whole lines from
// several writers at once, the renaming of a full journal, a journal that cannot be written, the
// lines the ODBC layer's statements leave through the stand-in, and how the journal reads.
#include "Journal.h"
#include "JournalModel.h"
#include "JournalReport.h"
#include "JournalSummary.h"
#include "ModuleGlobals.h"
#include "Odbc.h"
#include "Seams.h"
#include "StandinStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kaldor;
using namespace Qt::StringLiterals;

namespace {

QList<QJsonObject> linesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QJsonObject> lines;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.isEmpty())
            lines.append(QJsonDocument::fromJson(line).object());
    return lines;
}

// What is journalled and how the Change History sums it up; "" where nothing changes data.
// The program's own selects, saves and deletes show in the change_history scenario.
TEST(Journal, RecordsWhatChangesDataAndSaysWhatChanged)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Begin Transaction; commit", ""},
        {"select 'x; delete from mt.t' from mt.t", ""},
        {"update mt.qrb_zv_groupconfig set zv_inhibit_use = 'N',cal_data_old_number = '1,2', "
         "x = f(a, b) where group_id = 'LAB';commit",
         "update mt.qrb_zv_groupconfig (3 columns) where group_id = 'LAB'"},
        // A quoted text is no part of the statement's words; a condition is kept up to 80
        // characters.
        {"update mt.qrb_zv_reports set report_sql = 'select a from b where c = 1', sql_link = 'N' "
         "where report_name = 'Calibration certificate for gauges';commit",
         "update mt.qrb_zv_reports (2 columns) where report_name = 'Calibration certificate for "
         "gauges'"},
        {"update mt.qrb_zv_reports set report_name = 'x';commit",
         "update mt.qrb_zv_reports (1 column)"},
        {"  \n  update\nmt.x set a = 1", "update mt.x (1 column)"},
        {"delete from mt.t; insert into mt.t (a) select a from mt.u",
         "delete from mt.t; insert into mt.t (from a query)"},
        {"INSERT INTO mt.qrb_zv_reports (report_name) values ('a')",
         "insert into mt.qrb_zv_reports"},
        {"insert into mt.qrb_zv_report_prompts(zvrtag) values ('a;b where');commit",
         "insert into mt.qrb_zv_report_prompts"},
        {"call mt.qrb_zv_group_config_maint;commit", "call mt.qrb_zv_group_config_maint"},
        {"{call [mt].qrb_zv_field_config_maint};Begin transaction; commit",
         "{call [mt].qrb_zv_field_config_maint}"},
        {"alter view [mt].[qrb_zv_customiz] as select 1",
         "alter view [mt].[qrb_zv_customiz] as select 1"},
        {"alter view [mt].[qrb_zv_customiz] as select fldnum,title,row,col,len from "
         "mt.me2_customiz where desktop = 'default'",
         "alter view [mt].[qrb_zv_customiz] as select fldnum,title,row,col,len from mt.me2"},
    };
    for (const auto& [sql, said] : cases) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(changesData(QString::fromUtf8(sql)), *said != '\0');
        EXPECT_EQ(describeChange(QString::fromUtf8(sql)), QString::fromUtf8(said));
    }
}

TEST(Journal, TwoWritersAtOnceLeaveWholeLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"journal.jsonl"_s);
    const QByteArray line = "{\"pad\": \"" + QByteArray(300, 'x') + "\"}\n";
    pid_t writers[2] = {};
    for (pid_t& writer : writers) {
        writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            QString why;
            for (int i = 0; i < 1000; ++i)
                if (!appendJournalLine(path, line, &why))
                    _exit(1);
            _exit(0);
        }
    }
    for (const pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const QList<QJsonObject> lines = linesOf(path);
    ASSERT_EQ(lines.size(), 2000);
    for (const QJsonObject& written : lines)
        ASSERT_EQ(written.value(u"pad"_s).toString().size(), 300);
}

TEST(Journal, AFullJournalIsKeptUnderItsDateAndANewOneStarted)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"journal.jsonl"_s);
    {
        QFile full(path);
        ASSERT_TRUE(full.open(QIODevice::WriteOnly));
        ASSERT_TRUE(full.resize(JournalRotationBytes)); // sparse
    }
    setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(1, 2, 3)); });
    QString why;
    EXPECT_TRUE(appendJournalLine(path, "{}\n", &why)) << why.toStdString();
    EXPECT_EQ(QFileInfo(path).size(), 3);
    // Full again within the same second: kept beside the first, which stays as it was.
    {
        QFile full(path);
        ASSERT_TRUE(full.open(QIODevice::ReadWrite));
        ASSERT_TRUE(full.resize(JournalRotationBytes));
    }
    EXPECT_TRUE(appendJournalLine(path, "{}\n", &why)) << why.toStdString();
    setClock(nullptr);
    EXPECT_EQ(QFileInfo(dir.filePath(u"journal-20261207-010203.jsonl"_s)).size(),
              JournalRotationBytes);
    EXPECT_EQ(QFileInfo(dir.filePath(u"journal-20261207-010203-2.jsonl"_s)).size(),
              JournalRotationBytes);
}

TEST(Journal, AJournalThatCannotBeWrittenSaysWhyAtOnce)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"pipe"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A pipe with no reader must not be waited on.
    for (const QString& path : {fifo, dir.path(), dir.filePath(u"no/such/folder/j.jsonl"_s)}) {
        QString why;
        EXPECT_FALSE(appendJournalLine(path, "{}\n", &why)) << path.toStdString();
        EXPECT_FALSE(why.isEmpty()) << path.toStdString();
    }
}

// Statements sent through the ODBC layer, as a window's save sends them.
TEST(Journal, StatementsThatChangeDataAreJournalledWithTheirOutcome)
{
    QTemporaryDir dir;
    const std::string base = QFile::encodeName(dir.path()).toStdString();
    std::string error;
    ASSERT_TRUE(
        standin::createDatabase(base + "/sql.db", standin::Dialect::SqlServer, &error) &&
        standin::createDatabase(base + "/sa.db", standin::Dialect::Anywhere, &error) &&
        standin::writeOdbcConfig(base, KALDOR_STANDIN_DRIVER,
                                 {{"Journal Source", standin::Dialect::SqlServer, base + "/sql.db"},
                                  {"Anywhere Source", standin::Dialect::Anywhere, base + "/sa.db"}},
                                 &error))
        << error;
    qputenv("ODBCSYSINI", QFile::encodeName(dir.path()));
    qputenv("ODBCINI", QFile::encodeName(dir.filePath(u"odbc.ini"_s)));
    const QString journal = dir.filePath(u"changes.jsonl"_s);
    qputenv("KALDOR_JOURNAL", QFile::encodeName(journal));
    startJournal();
    const QString insert = u"insert into mt.qrb_zv_groupconfig (group_id) values ('LAB')"_s;
    {
        auto c = db::OdbcConnection::open(u"Journal Source"_s, u"admin"_s, u"secret"_s, {});
        const ActionScope action(u"FormEditGroups,CommandSave"_s);
        c->execute(insert);
        c->query(u"select group_id from mt.qrb_zv_groupconfig"_s);
        // A routine called by the save names the statements it sends.
        const ActionScope inner(u"ModuleGlobals,SaveConfig"_s);
        EXPECT_THROW(c->execute(u"insert into mt.no_such_table (x) values ('1')"_s),
                     db::DbException);
    }
    db::OdbcConnection::open(u"Anywhere Source"_s, u"admin"_s, u"secret"_s, {})->execute(insert);
    qunsetenv("KALDOR_JOURNAL");
    // The window, user, data source, statement and "ok" show in the change_history scenario.
    const QList<QJsonObject> lines = linesOf(journal);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].value(u"statement"_s).toString(), insert);
    EXPECT_EQ(lines[0].value(u"dialect"_s).toString(), u"SQL Server"_s);
    EXPECT_EQ(lines[2].value(u"dialect"_s).toString(), u"SQL Anywhere"_s);
    EXPECT_EQ(lines[0].value(u"os_user"_s).toString(),
              QString::fromLocal8Bit(getpwuid(geteuid())->pw_name));
    EXPECT_EQ(lines[1].value(u"action"_s).toString(), u"ModuleGlobals,SaveConfig"_s);
    EXPECT_TRUE(lines[0].value(u"time"_s).toString().endsWith(u'Z'));
    EXPECT_EQ(lines[1].value(u"outcome"_s).toString(), u"error"_s);
    EXPECT_EQ(lines[1].value(u"error_native"_s).toInt(), 208);
    QFile raw(journal);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_FALSE(raw.readAll().contains("secret"));
}

TEST(JournalReport, FiltersByTimeUserDataSourceAndWindow)
{
    const QJsonObject entry{{u"time"_s, u"2026-12-07T10:20:30.000Z"_s},
                            {u"db_user"_s, u"Admin"_s},
                            {u"os_user"_s, u"lab"_s},
                            {u"data_source"_s, u"Calibration Data"_s},
                            {u"action"_s, u"FormEditGroups,CommandSave"_s}};
    // Each filter as "since|until|user|data source|window".
    const auto shown = [&entry](const char* text) {
        const QStringList f = QString::fromUtf8(text).split(u'|');
        return configtool::matches(entry,
                                   {f.value(0), f.value(1), f.value(2), f.value(3), f.value(4)});
    };
    for (const char* text :
         {"", "2026-12-07|2026-12-07", "|2026-12-07T10", "||admin", "||lab", "|||Calibration Data",
          "||||FormEditGroups", "||||FormEditGroups,CommandSave"})
        EXPECT_TRUE(shown(text)) << text;
    for (const char* text : {"2026-12-08", "|2026-12-06", "||bob", "|||Other", "||||FormEdit"})
        EXPECT_FALSE(shown(text)) << text;
    // A failed change is listed with its failure.
    QJsonObject failed = entry;
    failed.insert(u"outcome"_s, u"error"_s);
    failed.insert(u"error_native"_s, 208);
    failed.insert(u"error_message"_s, u"Invalid object name 'mt.x'."_s);
    EXPECT_TRUE(
        configtool::journalLine(failed).endsWith(u"FAILED 208: Invalid object name 'mt.x'."_s))
        << configtool::journalLine(failed).toStdString();
}

// The model's rows as "cell|cell|...", top to bottom.
QStringList rowsOf(const JournalModel& model)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.index(r, c).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray entry(const char* time, const char* user, const char* action, const char* sql,
                 const char* failure = nullptr)
{
    QJsonObject e{{u"time"_s, QString::fromUtf8(time)},
                  {u"computer"_s, u"lab-pc"_s},
                  {u"os_user"_s, u"jo"_s},
                  {u"db_user"_s, QString::fromUtf8(user)},
                  {u"data_source"_s, u"Calibration Data"_s},
                  {u"dialect"_s, u"SQL Server"_s},
                  {u"action"_s, QString::fromUtf8(action)},
                  {u"statement"_s, QString::fromUtf8(sql)},
                  {u"outcome"_s, failure ? u"error"_s : u"ok"_s}};
    if (failure) {
        e.insert(u"error_native"_s, 208);
        e.insert(u"error_message"_s, QString::fromUtf8(failure));
    }
    return QJsonDocument(e).toJson(QJsonDocument::Compact);
}

// The journal as the Change History window reads it: the newest entry first, local times with
// their offset, a blank line skipped, a malformed line shown as such with its line number, a
// last line without its line feed, a failure's native code and message, the tooltip's details,
// and the filter over every column whatever the letter case, each row with its statement.
TEST(JournalModel, ShowsEntriesNewestFirstAndFilters)
{
    qputenv("TZ", "XST-02:00"); // two hours east of UTC, no summer time
    const auto restore = qScopeGuard([] { qunsetenv("TZ"); });
    QTemporaryDir dir;
    const QString path = dir.filePath(u"journal.jsonl"_s);
    // The statements behind the rows, newest first.
    const char* const statements[] = {
        "delete from mt.qrb_zv_reports where report_name = 'Due List'",
        "insert into mt.no_such_table (x) values ('1')", "{\"time\": \"2026-12-07T10:01",
        "update mt.qrb_zv_groupconfig set a = 'x', b = 'y' where group_id = 'LAB';commit"};
    writeFile(
        path,
        entry("2026-12-07T10:00:00.000Z", "admin", "FormEditGroups,CommandSave", statements[3]) +
            "\n\n" + statements[2] + "\n" +
            entry("2026-12-07T10:02:00.000Z", "Admin", "FormReports,CommandSave", statements[1],
                  "Invalid object name 'mt.no_such_table'.") +
            "\n  \n" +
            entry("2026-12-07T22:30:15.250Z", "bob", "kaldor-config,import", statements[0]));
    JournalModel model;
    model.load(path);
    EXPECT_TRUE(model.isReadable());
    EXPECT_EQ(model.summary(), u"Journal entries: 4, the newest first."_s);
    EXPECT_EQ(model.index(0, JournalModel::User).data(Qt::ToolTipRole).toString(),
              u"2026-12-07T22:30:15.250Z UTC on lab-pc, operating system user jo, SQL Server"_s);
    const QStringList all{
        u"2026-12-08 00:30:15 +02:00|bob|Calibration Data|kaldor-config,import|"
        "delete from mt.qrb_zv_reports where report_name = 'Due List'|ok"_s,
        u"2026-12-07 12:02:00 +02:00|Admin|Calibration Data|FormReports,CommandSave|"
        "insert into mt.no_such_table|FAILED 208: Invalid object name 'mt.no_such_table'."_s,
        u"||||Line 3 is not a journal entry.|"_s,
        u"2026-12-07 12:00:00 +02:00|admin|Calibration Data|FormEditGroups,CommandSave|"
        "update mt.qrb_zv_groupconfig (2 columns) where group_id = 'LAB'|ok"_s};
    const std::pair<const char*, QList<int>> filters[] = {
        {"", {0, 1, 2, 3}}, {"ADMIN", {1, 3}}, {"not a journal", {2}}, {"failed 208", {1}}};
    for (const auto& [filter, shown] : filters) {
        SCOPED_TRACE(filter);
        model.setFilter(QString::fromUtf8(filter));
        QStringList rows, said;
        for (const int i : shown) {
            rows << all[i];
            said << QString::fromUtf8(statements[i]);
        }
        EXPECT_EQ(rowsOf(model), rows);
        for (int r = 0; r <= said.size(); ++r) // and none past the last row
            EXPECT_EQ(model.statement(r), said.value(r));
    }
    // West of UTC; another journal read in the same model shows its own rows only.
    qputenv("TZ", "YST+05:00");
    const QString other = dir.filePath(u"other.jsonl"_s);
    writeFile(other, entry("2026-12-07T22:30:15.250Z", "carol", "FormAccess", "delete from mt.t"));
    model.setFilter({});
    model.load(other);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(
        rowsOf(model)[0],
        u"2026-12-07 17:30:15 -05:00|carol|Calibration Data|FormAccess|delete from mt.t|ok"_s);
    qputenv("TZ", "IST-05:30"); // an offset of hours and minutes
    model.load(other);
    EXPECT_EQ(model.index(0, JournalModel::Time).data().toString(),
              u"2026-12-08 04:00:15 +05:30"_s);
    // The day the clocks go forward: each entry with the offset of its own time.
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    writeFile(other,
              entry("2026-03-29T00:30:00.000Z", "carol", "FormAccess", "delete from mt.t") + "\n" +
                  entry("2026-03-29T01:30:00.000Z", "carol", "FormAccess", "delete from mt.t"));
    model.load(other);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(0, JournalModel::Time).data().toString(),
              u"2026-03-29 03:30:00 +02:00"_s);
    EXPECT_EQ(model.index(1, JournalModel::Time).data().toString(),
              u"2026-03-29 01:30:00 +01:00"_s);
    // Lines ended by CR LF; a time that does not read as one is shown as written.
    writeFile(other, entry("yesterday", "carol", "FormAccess", "delete from mt.t") + "\r\n\r\n");
    model.load(other);
    EXPECT_EQ(model.summary(), u"Journal entries: 1, the newest first."_s);
    EXPECT_EQ(model.index(0, JournalModel::Time).data().toString(), u"yesterday"_s);
}

// Rows come in batches as a view scrolls, the newest first, filtered or not; a journal that is
// missing or a pipe shows no rows and says why, and a pipe is not waited on.
TEST(JournalModel, ReadsLargeJournalsInBatchesAndSaysWhyNothingShows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"journal.jsonl"_s);
    const auto journalOf = [](qsizetype lines) {
        QByteArray bytes;
        for (qsizetype i = 0; i < lines; ++i)
            bytes +=
                entry(
                    "2026-12-07T10:00:00.000Z", i == 0 ? "first" : "admin", "FormAccess",
                    QByteArray("delete from mt.t where n = " + QByteArray::number(i)).constData()) +
                '\n';
        return bytes;
    };
    const qsizetype lines = 2 * JournalModel::BatchSize + 10;
    const QByteArray bytes = journalOf(lines);
    writeFile(path, bytes);
    JournalModel model;
    model.load(path);
    EXPECT_EQ(model.entryCount(), lines);
    EXPECT_EQ(model.rowCount(), JournalModel::BatchSize);
    EXPECT_EQ(model.index(0, JournalModel::Change).data().toString(),
              u"delete from mt.t where n = %1"_s.arg(lines - 1));
    ASSERT_TRUE(model.canFetchMore({}));
    model.fetchMore({});
    EXPECT_EQ(model.rowCount(), 2 * JournalModel::BatchSize);
    model.fetchMore({});
    EXPECT_EQ(model.rowCount(), lines);
    EXPECT_FALSE(model.canFetchMore({}));
    EXPECT_EQ(model.index(int(lines) - 1, JournalModel::User).data().toString(), u"first"_s);
    // A filter that only the oldest line matches finds it in the first batch's scan.
    model.setFilter(u"FIRST"_s);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_FALSE(model.canFetchMore({}));
    // A text typed further: the rows of the filter before, then the lines it had not read.
    model.setFilter(u"where n = "_s);
    EXPECT_EQ(model.rowCount(), JournalModel::BatchSize);
    model.setFilter(u"where n = 1"_s);
    EXPECT_EQ(model.rowCount(), 1 + 10 + 100); // 1, 10 to 19, 100 to 199
    EXPECT_EQ(model.index(0, JournalModel::Change).data().toString(),
              u"delete from mt.t where n = 199"_s);
    model.setFilter(u"WHERE N = 19"_s);
    EXPECT_EQ(model.rowCount(), 11);
    model.setFilter(u"where n = 2"_s);
    EXPECT_EQ(model.rowCount(), 1 + 10 + 100); // 2, 20 to 29, 200 to 299: read afresh
    EXPECT_EQ(QFileInfo(path).size(), bytes.size());
    // Beyond the piece read at once and the block kept around a line: read whole.
    const QString large = dir.filePath(u"large.jsonl"_s);
    writeFile(large, journalOf(6000));
    ASSERT_GT(QFileInfo(large).size(), 1 << 20);
    model.setFilter({});
    model.load(large);
    EXPECT_EQ(model.index(0, JournalModel::Change).data().toString(),
              u"delete from mt.t where n = 5999"_s);
    while (model.canFetchMore({}))
        model.fetchMore({});
    ASSERT_EQ(model.rowCount(), 6000);
    EXPECT_EQ(model.index(5999, JournalModel::User).data().toString(), u"first"_s);

    const QString fifo = dir.filePath(u"pipe"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    writeFile(dir.filePath(u"blank.jsonl"_s), "\n \n");
    const std::pair<QString, QString> unreadable[] = {
        {dir.filePath(u"none.jsonl"_s), u"There is no change journal yet: %1 does not exist."_s},
        {fifo, u"The change journal %1 cannot be read: not a regular file."_s},
        {dir.filePath(u"blank.jsonl/j.jsonl"_s),
         u"The change journal %1 cannot be read: Not a directory."_s},
        {dir.filePath(u"blank.jsonl"_s), u"The change journal %1 holds no changes yet."_s}};
    for (const auto& [file, said] : unreadable) {
        model.load(file);
        EXPECT_EQ(model.isReadable(), file.endsWith(u"blank.jsonl")) << said.toStdString();
        EXPECT_EQ(model.summary(), said.arg(file));
        EXPECT_EQ(model.rowCount(), 0);
        EXPECT_FALSE(model.canFetchMore({}));
    }
}

} // namespace
