// The map from Windows locations to local folders: resolving a stored location, the Windows
// form of a picked folder, and where the map comes from.
#include "DriveMap.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kaldor;

namespace {

std::string text(const QString& s)
{
    return s.toStdString();
}

const DriveMap kMap({
    {QStringLiteral("C:\\"), QStringLiteral("/srv/calibration/c")},
    {QStringLiteral("c:\\VIZIDOV\\Reports"), QStringLiteral("/srv/reports")},
    {QStringLiteral("\\\\server\\share\\"), QStringLiteral("/mnt/share")},
    {QStringLiteral("\\\\Server\\Share\\Deep"), QStringLiteral("/mnt/deep/")},
    {QStringLiteral("D:"), QStringLiteral("/")},
    {QStringLiteral("C:\\"), QStringLiteral("/never/used")}, // a second equal prefix
});

TEST(DriveMap, ResolvesLocationsThroughTheLongestPrefix)
{
    struct Case {
        const char* location;
        const char* local; // "" when this computer cannot resolve it
    };
    const Case cases[] = {
        {"C:\\", "/srv/calibration/c"},
        {"C:", "/srv/calibration/c"},
        {"c:\\vizidov\\", "/srv/calibration/c/vizidov"},
        {"C:/VIZIDOV/ZUD", "/srv/calibration/c/VIZIDOV/ZUD"},
        {"C:\\VIZIDOV\\Reports\\Monthly", "/srv/reports/Monthly"},            // the longer prefix
        {"C:\\VIZIDOV\\ReportsOld", "/srv/calibration/c/VIZIDOV/ReportsOld"}, // whole parts only
        {"C:\\..\\..\\etc", "/srv/calibration/c/etc"}, // ".." stops at the drive's root
        {"C:\\VIZIDOV\\ZUD\\..\\ODO", "/srv/calibration/c/VIZIDOV/ODO"},
        {"\\\\SERVER\\share\\zud\\", "/mnt/share/zud"},
        {"\\\\server\\share\\deep\\x", "/mnt/deep/x"},
        {"\\\\server\\shared\\zud", ""},
        {"D:\\Reports", "/Reports"},
        {"E:\\VIZIDOV", ""},
        {"\\\\other\\share", ""},
        {"VIZIDOV\\", ""}, // relative: nothing to resolve it from
        {"", ""},
        {"/tmp\\", "/tmp"}, // a local folder stands for itself
        {"/var//lib/", "/var/lib"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(kMap.toLocal(QString::fromUtf8(c.location))), c.local) << c.location;
}

TEST(DriveMap, TakesARelativePathUnderTheDrive)
{
    struct Case {
        const char* path;
        const char* drive;
        const char* local;
    };
    const Case cases[] = {
        {"VIZIDOV\\", "C:\\", "/srv/calibration/c/VIZIDOV"},
        {"VIZIDOV", "C:", "/srv/calibration/c/VIZIDOV"},
        {"", "C:\\", "/srv/calibration/c"},
        {"Reports", "\\\\server\\share", "/mnt/share/Reports"},
        {"D:\\ZUD", "C:\\", "/ZUD"},                          // has its own drive
        {"\\\\server\\share\\zud", "E:\\", "/mnt/share/zud"}, // a network path
        {"/tmp", "C:\\", "/tmp"},                             // a local folder
        {"VIZIDOV\\", "", ""},
        {"VIZIDOV\\", "E:\\", ""},
        {"tmp", "/", "/tmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(kMap.resolve(QString::fromUtf8(c.path), QString::fromUtf8(c.drive))),
                  c.local)
            << c.path << " under " << c.drive;
}

TEST(DriveMap, GivesTheWindowsFormOfAMappedFolder)
{
    struct Case {
        const char* folder;
        const char* stored;
    };
    const Case cases[] = {
        {"/srv/calibration/c", "C:\\"},
        {"/srv/calibration/c/", "C:\\"},
        {"/srv/calibration/c/VIZIDOV/ZUD", "C:\\VIZIDOV\\ZUD"},
        {"/srv/calibration/cc", "D:\\srv\\calibration\\cc"},       // whole parts only: under D:'s /
        {"/srv/reports/Monthly", "c:\\VIZIDOV\\Reports\\Monthly"}, // the longer folder
        {"/mnt/share", "\\\\server\\share\\"},
        {"/mnt/deep/x/y", "\\\\Server\\Share\\Deep\\x\\y"},
        {"/", "D:"},
        {"/tmp", "D:\\tmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(kMap.toWindows(QString::fromUtf8(c.folder))), c.stored) << c.folder;
    // Of two drives of one folder, the first.
    const DriveMap twice =
        DriveMap::fromText(QStringLiteral("C:\\=/srv/c;\\\\server\\c\\=/srv/c"), QLatin1Char(';'));
    EXPECT_EQ(text(twice.toWindows(QStringLiteral("/srv/c/x"))), "C:\\x");
}

TEST(DriveMap, KeepsAnUnmappedFolderAsTheLocalPath)
{
    const DriveMap map({{QStringLiteral("C:\\"), QStringLiteral("/srv/c")}});
    EXPECT_EQ(text(map.toWindows(QStringLiteral("/tmp/zud/"))), "/tmp/zud");
    EXPECT_EQ(text(map.toWindows(QStringLiteral("/srv/c2"))), "/srv/c2");
    EXPECT_EQ(text(DriveMap().toWindows(QStringLiteral("/"))), "/");
    // What a picked folder is stored as resolves back to that folder.
    for (const char* folder : {"/srv/c/VIZIDOV", "/tmp/zud"})
        EXPECT_EQ(text(map.toLocal(map.toWindows(QString::fromUtf8(folder)))), folder);
}

TEST(DriveMap, ReadsEntriesFromText)
{
    const DriveMap map = DriveMap::fromText(QStringLiteral("# C:\\=/old/laboratory\r\n"
                                                           "C:\\ = /srv/c \r\n"
                                                           "\r\n"
                                                           "; \\\\old\\share\\=/mnt/old\r\n"
                                                           "no separator here\r\n"
                                                           "=/nothing\r\n"
                                                           "E:\\=\r\n"
                                                           "\\\\server\\share\\=/mnt/a=b\r\n"),
                                            QLatin1Char('\n'));
    ASSERT_EQ(map.entries().size(), 2);
    EXPECT_EQ(text(map.entries().at(0).prefix), "C:\\");
    EXPECT_EQ(text(map.entries().at(0).folder), "/srv/c");
    EXPECT_EQ(text(map.entries().at(1).prefix), "\\\\server\\share\\");
    EXPECT_EQ(text(map.entries().at(1).folder), "/mnt/a=b");

    const DriveMap fromEnvironment =
        DriveMap::fromText(QStringLiteral("C:\\=/srv/c;;D:\\=/srv/d;"), QLatin1Char(';'));
    ASSERT_EQ(fromEnvironment.entries().size(), 2);
    EXPECT_EQ(text(fromEnvironment.toLocal(QStringLiteral("d:\\x"))), "/srv/d/x");
}

// drives.ini in the settings folder, unless KALDOR_DRIVES is set.
TEST(DriveMap, LoadsTheEnvironmentElseTheSettingsFolder)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    qunsetenv("AllUsersProfile");
    qputenv("ProgramData", QFile::encodeName(root.path()));
    qunsetenv("KALDOR_DRIVES");
    EXPECT_EQ(DriveMap::fileName(), root.path() + QStringLiteral("/Tarrowby/Velmora/drives.ini"));
    EXPECT_TRUE(DriveMap::load().entries().isEmpty()); // no file

    QFile file(DriveMap::fileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("C:\\=/from/f\xc3\xbcle\r\nD:\\=/d\r\n");
    file.close();
    EXPECT_EQ(text(DriveMap::load().toLocal(QStringLiteral("C:\\x"))), "/from/f\xc3\xbcle/x");
    EXPECT_EQ(DriveMap::load().entries().size(), 2);

    qputenv("KALDOR_DRIVES", "C:\\=/from/environment");
    EXPECT_EQ(text(DriveMap::load().toLocal(QStringLiteral("C:\\x"))), "/from/environment/x");
    EXPECT_EQ(text(DriveMap::load().toLocal(QStringLiteral("D:\\x"))), "");

    qputenv("KALDOR_DRIVES", "");
    EXPECT_EQ(DriveMap::load().entries().size(), 2);
    qunsetenv("KALDOR_DRIVES");
    qunsetenv("ProgramData");
}

} // namespace
