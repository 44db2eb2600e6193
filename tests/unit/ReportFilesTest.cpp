// The report files of the shared folder: which names are listed, in which order, and what a
// missing folder gives.
#include "ReportFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kaldor;

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

} // namespace

TEST(ReportFiles, ListsOnlyReportFilesByNameIgnoringCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"b.rpt", "A.RPT", "c d.Rpt", "Über Maß.rpt", "notes.txt", "x.rpt.bak",
                             "rpt", ".hidden.rpt"})
        touch(dir.filePath(QString::fromUtf8(name)));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.rpt")));
    touch(dir.filePath(QStringLiteral("folder.rpt/inside.rpt")));

    const QStringList expected{QStringLiteral(".hidden.rpt"), QStringLiteral("A.RPT"),
                               QStringLiteral("b.rpt"), QStringLiteral("c d.Rpt"),
                               QString::fromUtf8("Über Maß.rpt")};
    EXPECT_EQ(reportFiles(dir.path()), expected);
}

TEST(ReportFiles, AFolderOfFiveThousandFilesIsListedWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int i = 0; i < 5000; ++i)
        touch(dir.filePath(QStringLiteral("Report %1.rpt").arg(i, 4, 10, QLatin1Char('0'))));
    const QStringList files = reportFiles(dir.path());
    ASSERT_EQ(files.size(), 5000);
    EXPECT_EQ(files.first(), QStringLiteral("Report 0000.rpt"));
    EXPECT_EQ(files.last(), QStringLiteral("Report 4999.rpt"));
}

TEST(ReportFiles, NoFolderListsNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    touch(dir.filePath(QStringLiteral("file.rpt")));
    EXPECT_TRUE(reportFiles(QString()).isEmpty());
    EXPECT_TRUE(reportFiles(dir.filePath(QStringLiteral("missing"))).isEmpty());
    EXPECT_TRUE(reportFiles(dir.filePath(QStringLiteral("file.rpt"))).isEmpty());
}
