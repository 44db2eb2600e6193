// The change journal: which statements it records, whole lines from several writers at once,
// the renaming of a full journal, a journal that cannot be written, the lines the ODBC
// layer's statements leave through the stand-in, and how the journal reads as a table.
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

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kaldor;

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

TEST(Journal, RecordsWhatChangesDataAndNotWhatReads)
{
    const std::pair<const char*, bool> cases[] = {
        {"select * from mt.qrb_zv_groupconfig", false},
        {"select * from mt.qrb_zv_session_config where group_id = 'MT';commit", false},
        {"Begin Transaction; commit", false},
        {"select 'x;delete' from mt.t", false},
        {"update mt.qrb_zv_groupconfig set zv_inhibit_use = 'N' where group_id = 'LAB'", true},
        {"delete from mt.qrb_zv_session_config where group_id = 'MT';commit", true},
        {"Begin Transaction; delete from mt.x; commit", true},
        {"INSERT INTO mt.qrb_zv_reports (report_name) values ('a')", true},
        {"call mt.qrb_zv_group_config_maint;commit", true},
        {"{call [mt].qrb_zv_field_config_maint};Begin transaction; commit", true},
        {"alter view [mt].[qrb_zv_customiz] as select 1", true},
        {"  \n  update\nmt.x set a = 1", true},
    };
    for (const auto& [sql, changes] : cases)
        EXPECT_EQ(changesData(QString::fromUtf8(sql)), changes) << sql;
}

TEST(Journal, TwoWritersAtOnceLeaveWholeLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.jsonl"));
    const QByteArray padding(300, 'x');
    pid_t writers[2] = {};
    for (pid_t& writer : writers) {
        writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            QString why;
            for (int i = 0; i < 1000; ++i) {
                const QByteArray line = "{\"writer\": " + QByteArray::number(getpid()) +
                                        ", \"n\": " + QByteArray::number(i) + ", \"pad\": \"" +
                                        padding + "\"}\n";
                if (!appendJournalLine(path, line, &why))
                    _exit(1);
            }
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
    for (const QJsonObject& line : lines)
        ASSERT_EQ(line.value(QStringLiteral("pad")).toString().size(), 300);
}

TEST(Journal, AFullJournalIsKeptUnderItsDateAndANewOneStarted)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.jsonl"));
    {
        QFile full(path);
        ASSERT_TRUE(full.open(QIODevice::WriteOnly));
        ASSERT_TRUE(full.resize(JournalRotationBytes)); // sparse
    }
    setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(1, 2, 3)); });
    QString why;
    EXPECT_TRUE(appendJournalLine(path, "{}\n", &why)) << why.toStdString();
    setClock(nullptr);
    EXPECT_EQ(QFileInfo(path).size(), 3);
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("journal-20261207-010203.jsonl"))).size(),
              JournalRotationBytes);
}

TEST(Journal, AJournalThatCannotBeWrittenSaysWhyAtOnce)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QString why;
    EXPECT_FALSE(appendJournalLine(fifo, "{}\n", &why)); // with no reader: must not wait
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(appendJournalLine(dir.path(), "{}\n", &why));
    EXPECT_FALSE(
        appendJournalLine(dir.filePath(QStringLiteral("no/such/folder/j.jsonl")), "{}\n", &why));
}

// Statements sent through the ODBC layer, as a window's save sends them.
TEST(Journal, StatementsThatChangeDataAreJournalledWithTheirOutcome)
{
    QTemporaryDir dir;
    const std::string base = QFile::encodeName(dir.path()).toStdString();
    std::string error;
    ASSERT_TRUE(standin::createDatabase(base + "/sql.db", standin::Dialect::SqlServer, &error))
        << error;
    ASSERT_TRUE(standin::writeOdbcConfig(
        base, KALDOR_STANDIN_DRIVER,
        {{"Journal Source", standin::Dialect::SqlServer, base + "/sql.db"}}, &error))
        << error;
    qputenv("ODBCSYSINI", QFile::encodeName(dir.path()));
    qputenv("ODBCINI", QFile::encodeName(dir.filePath(QStringLiteral("odbc.ini"))));
    const QString journal = dir.filePath(QStringLiteral("changes.jsonl"));
    qputenv("KALDOR_JOURNAL", QFile::encodeName(journal));
    startJournal();
    auto c = db::OdbcConnection::open(QStringLiteral("Journal Source"), QStringLiteral("admin"),
                                      QStringLiteral("secret"), {});
    {
        const ActionScope action(QStringLiteral("FormEditGroups,CommandSave"));
        c->execute(QStringLiteral("insert into mt.qrb_zv_groupconfig (group_id) values ('LAB')"));
        c->query(QStringLiteral("select group_id from mt.qrb_zv_groupconfig"));
        EXPECT_THROW(c->execute(QStringLiteral("insert into mt.no_such_table (x) values ('1')")),
                     db::DbException);
    }
    qunsetenv("KALDOR_JOURNAL");
    const QList<QJsonObject> lines = linesOf(journal);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].value(QStringLiteral("action")).toString(),
              QStringLiteral("FormEditGroups,CommandSave"));
    EXPECT_EQ(lines[0].value(QStringLiteral("statement")).toString(),
              QStringLiteral("insert into mt.qrb_zv_groupconfig (group_id) values ('LAB')"));
    EXPECT_EQ(lines[0].value(QStringLiteral("outcome")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(lines[0].value(QStringLiteral("db_user")).toString(), QStringLiteral("admin"));
    EXPECT_EQ(lines[0].value(QStringLiteral("data_source")).toString(),
              QStringLiteral("Journal Source"));
    EXPECT_EQ(lines[0].value(QStringLiteral("dialect")).toString(), QStringLiteral("SQL Server"));
    EXPECT_TRUE(lines[0].value(QStringLiteral("time")).toString().endsWith(u'Z'));
    EXPECT_EQ(lines[1].value(QStringLiteral("outcome")).toString(), QStringLiteral("error"));
    EXPECT_EQ(lines[1].value(QStringLiteral("error_native")).toInt(), 208);
    QFile raw(journal);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_FALSE(raw.readAll().contains("secret"));
}

} // namespace

namespace {

TEST(JournalSummary, SaysWhatEachStatementChanged)
{
    const std::pair<const char*, const char*> cases[] = {
        {"update mt.qrb_zv_groupconfig set zv_inhibit_use = 'N',cal_data_old_number = '1,2', "
         "x = f(a, b) where group_id = 'LAB';commit",
         "update mt.qrb_zv_groupconfig (3 columns) where group_id = 'LAB'"},
        {"Begin Transaction; delete from mt.qrb_zv_session_config where group_id = 'MT';commit",
         "delete from mt.qrb_zv_session_config where group_id = 'MT'"},
        {"insert into mt.qrb_zv_report_prompts(zvrtag) values ('a;b where');commit",
         "insert into mt.qrb_zv_report_prompts"},
        {"delete from mt.t; insert into mt.t (a) select a from mt.u",
         "delete from mt.t; insert into mt.t (from a query)"},
        {"{call [mt].qrb_zv_field_config_maint};Begin transaction; commit",
         "{call [mt].qrb_zv_field_config_maint}"},
        {"update mt.qrb_zv_reports set report_name = 'x';commit",
         "update mt.qrb_zv_reports (1 column)"},
    };
    for (const auto& [sql, said] : cases)
        EXPECT_EQ(describeChange(QString::fromUtf8(sql)), QString::fromUtf8(said));
}

TEST(JournalReport, FiltersByTimeUserDataSourceAndWindow)
{
    const QJsonObject entry{
        {QStringLiteral("time"), QStringLiteral("2026-12-07T10:20:30.000Z")},
        {QStringLiteral("db_user"), QStringLiteral("Admin")},
        {QStringLiteral("os_user"), QStringLiteral("lab")},
        {QStringLiteral("data_source"), QStringLiteral("Calibration Data")},
        {QStringLiteral("action"), QStringLiteral("FormEditGroups,CommandSave")}};
    const auto shown = [&entry](configtool::JournalFilter f) {
        return configtool::matches(entry, f);
    };
    using Filter = configtool::JournalFilter;
    const auto with = [](QString Filter::*field, const char* value, Filter f = {}) {
        f.*field = QString::fromUtf8(value);
        return f;
    };
    EXPECT_TRUE(shown({}));
    EXPECT_TRUE(shown(with(&Filter::until, "2026-12-07", with(&Filter::since, "2026-12-07"))));
    EXPECT_TRUE(shown(with(&Filter::until, "2026-12-07T10")));
    EXPECT_FALSE(shown(with(&Filter::since, "2026-12-08")));
    EXPECT_FALSE(shown(with(&Filter::until, "2026-12-06")));
    EXPECT_TRUE(shown(with(&Filter::user, "admin")));
    EXPECT_TRUE(shown(with(&Filter::user, "lab")));
    EXPECT_FALSE(shown(with(&Filter::user, "bob")));
    EXPECT_FALSE(shown(with(&Filter::dataSource, "Other")));
    EXPECT_TRUE(shown(with(&Filter::window, "FormEditGroups")));
    EXPECT_TRUE(shown(with(&Filter::window, "FormEditGroups,CommandSave")));
    EXPECT_FALSE(shown(with(&Filter::window, "FormEdit")));
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
    QJsonObject e{
        {QStringLiteral("time"), QString::fromUtf8(time)},
        {QStringLiteral("computer"), QStringLiteral("lab-pc")},
        {QStringLiteral("os_user"), QStringLiteral("jo")},
        {QStringLiteral("db_user"), QString::fromUtf8(user)},
        {QStringLiteral("data_source"), QStringLiteral("Calibration Data")},
        {QStringLiteral("dialect"), QStringLiteral("SQL Server")},
        {QStringLiteral("action"), QString::fromUtf8(action)},
        {QStringLiteral("statement"), QString::fromUtf8(sql)},
        {QStringLiteral("outcome"), failure ? QStringLiteral("error") : QStringLiteral("ok")}};
    if (failure) {
        e.insert(QStringLiteral("error_native"), 208);
        e.insert(QStringLiteral("error_message"), QString::fromUtf8(failure));
    }
    return QJsonDocument(e).toJson(QJsonDocument::Compact);
}

// The journal as the Change History window reads it: the newest entry first, local times with
// their offset, a blank line skipped, a malformed line shown as such with its line number, a
// last line without its line feed, a failure's native code and message, the tooltip's details,
// and the filter over every column whatever the letter case.
TEST(JournalModel, ShowsEntriesNewestFirstAndFilters)
{
    qputenv("TZ", "XST-02:00"); // two hours east of UTC, no summer time
    const auto restore = qScopeGuard([] { qunsetenv("TZ"); });
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.jsonl"));
    writeFile(path, entry("2026-12-07T10:00:00.000Z", "admin", "FormEditGroups,CommandSave",
                          "update mt.qrb_zv_groupconfig set a = 'x', b = 'y' where group_id = "
                          "'LAB';commit") +
                        "\n\n{\"time\": \"2026-12-07T10:01\n" +
                        entry("2026-12-07T10:02:00.000Z", "Admin", "FormReports,CommandSave",
                              "insert into mt.no_such_table (x) values ('1')",
                              "Invalid object name 'mt.no_such_table'.") +
                        "\n  \n" +
                        entry("2026-12-07T22:30:15.250Z", "bob", "kaldor-config,import",
                              "delete from mt.qrb_zv_reports where report_name = 'Due List'"));
    JournalModel model;
    model.load(path);
    EXPECT_TRUE(model.isReadable());
    EXPECT_EQ(model.summary(), QStringLiteral("Journal entries: 4, the newest first."));
    EXPECT_EQ(model.headerData(JournalModel::Change, Qt::Horizontal).toString(),
              QStringLiteral("Change"));
    const QStringList all{
        QStringLiteral("2026-12-08 00:30:15 +02:00|bob|Calibration Data|kaldor-config,import|"
                       "delete from mt.qrb_zv_reports where report_name = 'Due List'|ok"),
        QStringLiteral("2026-12-07 12:02:00 +02:00|Admin|Calibration Data|FormReports,CommandSave|"
                       "insert into mt.no_such_table|FAILED 208: Invalid object name "
                       "'mt.no_such_table'."),
        QStringLiteral("||||Line 3 is not a journal entry.|"),
        QStringLiteral("2026-12-07 12:00:00 +02:00|admin|Calibration Data|"
                       "FormEditGroups,CommandSave|update mt.qrb_zv_groupconfig (2 columns) "
                       "where group_id = 'LAB'|ok")};
    EXPECT_EQ(rowsOf(model), all);
    EXPECT_EQ(model.statement(2), QStringLiteral("{\"time\": \"2026-12-07T10:01"));
    EXPECT_EQ(model.statement(3), QStringLiteral("update mt.qrb_zv_groupconfig set a = 'x', b = "
                                                 "'y' where group_id = 'LAB';commit"));
    EXPECT_EQ(model.index(0, JournalModel::User).data(Qt::ToolTipRole).toString(),
              QStringLiteral("2026-12-07T22:30:15.250Z UTC on lab-pc, operating system user jo, "
                             "SQL Server"));

    model.setFilter(QStringLiteral("ADMIN"));
    EXPECT_EQ(rowsOf(model), (QStringList{all[1], all[3]}));
    model.setFilter(QStringLiteral("not a journal"));
    EXPECT_EQ(rowsOf(model), QStringList{all[2]});
    model.setFilter(QStringLiteral("failed 208"));
    EXPECT_EQ(rowsOf(model), QStringList{all[1]});
    EXPECT_EQ(model.statement(0), QStringLiteral("insert into mt.no_such_table (x) values ('1')"));
    model.setFilter(QStringLiteral("nothing like it"));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(model.statement(0).isEmpty());
    model.setFilter(QString());
    EXPECT_EQ(rowsOf(model), all);
    EXPECT_EQ(model.entryCount(), 4);
}

// Rows come in batches as a view scrolls, the newest first, filtered or not; a journal that is
// missing, a folder or a pipe shows no rows and says why, and a pipe is not waited on.
TEST(JournalModel, ReadsLargeJournalsInBatchesAndSaysWhyNothingShows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.jsonl"));
    const qsizetype lines = 2 * JournalModel::BatchSize + 10;
    QByteArray bytes;
    for (qsizetype i = 0; i < lines; ++i)
        bytes +=
            entry("2026-12-07T10:00:00.000Z", i == 0 ? "first" : "admin", "FormAccess",
                  QByteArray("delete from mt.t where n = " + QByteArray::number(i)).constData()) +
            '\n';
    writeFile(path, bytes);
    JournalModel model;
    model.load(path);
    EXPECT_EQ(model.entryCount(), lines);
    EXPECT_EQ(model.rowCount(), JournalModel::BatchSize);
    EXPECT_EQ(model.index(0, JournalModel::Change).data().toString(),
              QStringLiteral("delete from mt.t where n = %1").arg(lines - 1));
    ASSERT_TRUE(model.canFetchMore({}));
    model.fetchMore({});
    EXPECT_EQ(model.rowCount(), 2 * JournalModel::BatchSize);
    model.fetchMore({});
    EXPECT_EQ(model.rowCount(), lines);
    EXPECT_FALSE(model.canFetchMore({}));
    EXPECT_EQ(model.index(int(lines) - 1, JournalModel::User).data().toString(),
              QStringLiteral("first"));
    // A filter that only the oldest line matches finds it in the first batch's scan.
    model.setFilter(QStringLiteral("FIRST"));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_FALSE(model.canFetchMore({}));
    // A text typed further: the rows of the filter before, then the lines it had not read.
    model.setFilter(QStringLiteral("where n = "));
    EXPECT_EQ(model.rowCount(), JournalModel::BatchSize);
    model.setFilter(QStringLiteral("where n = 1"));
    EXPECT_EQ(model.rowCount(), 1 + 10 + 100); // 1, 10 to 19, 100 to 199
    EXPECT_EQ(model.index(0, JournalModel::Change).data().toString(),
              QStringLiteral("delete from mt.t where n = 199"));
    model.setFilter(QStringLiteral("WHERE N = 19"));
    EXPECT_EQ(model.rowCount(), 11);
    model.setFilter(QStringLiteral("where n = 2"));
    EXPECT_EQ(model.rowCount(), 1 + 10 + 100); // 2, 20 to 29, 200 to 299: read afresh
    EXPECT_EQ(QFileInfo(path).size(), bytes.size());

    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::pair<QString, QString> unreadable[] = {
        {dir.filePath(QStringLiteral("none.jsonl")),
         QStringLiteral("There is no change journal yet: %1 does not exist.")},
        {dir.path(), QStringLiteral("The change journal %1 cannot be read: not a regular file.")},
        {fifo, QStringLiteral("The change journal %1 cannot be read: not a regular file.")}};
    for (const auto& [file, said] : unreadable) {
        model.load(file);
        EXPECT_FALSE(model.isReadable());
        EXPECT_EQ(model.summary(), said.arg(file));
        EXPECT_EQ(model.rowCount(), 0);
        EXPECT_FALSE(model.canFetchMore({}));
    }
    writeFile(path, "\n \n");
    model.load(path);
    EXPECT_EQ(model.summary(),
              QStringLiteral("The change journal %1 holds no changes yet.").arg(path));
}

} // namespace
