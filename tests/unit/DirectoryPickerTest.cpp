#include "DirectoryPicker.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kaldor;

namespace {

QApplication& app()
{
    static int argc = 1;
    static char name[] = "DirectoryPickerTest";
    static char* argv[] = {name, nullptr};
    static auto* instance = new QApplication(argc, argv);
    return *instance;
}

QStringList texts(const QListWidget& list)
{
    QStringList t;
    for (int i = 0; i < list.count(); ++i)
        t.append(list.item(i)->text());
    return t;
}

class DirectoryPickerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        app();
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("zud/b-sub")));
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("zud/a-sub")));
        zud = QDir(root.path()).filePath(QStringLiteral("zud"));
        QFile notes(zud + QStringLiteral("/notes.txt"));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    }
    QTemporaryDir root;
    QString zud;
};

TEST_F(DirectoryPickerFixture, ListsTheChainDownToTheFolderThenItsSubfolders)
{
    DirectoryPicker picker;
    ASSERT_TRUE(picker.setPath(zud));
    EXPECT_EQ(picker.path(), QDir::cleanPath(zud));
    const QStringList items = texts(picker);
    ASSERT_GE(items.size(), 4);
    EXPECT_EQ(items.first(), QStringLiteral("/"));
    EXPECT_EQ(
        items.mid(items.size() - 3),
        (QStringList{QStringLiteral("zud"), QStringLiteral("a-sub"), QStringLiteral("b-sub")}));
    EXPECT_EQ(picker.currentItem()->text(), QStringLiteral("zud"));
}

TEST_F(DirectoryPickerFixture, ChangesOnlyForAnotherExistingFolder)
{
    DirectoryPicker picker;
    int changes = 0;
    QObject::connect(&picker, &DirectoryPicker::pathChanged, &picker, [&changes] { ++changes; });
    struct Case {
        QString path;
        bool accepted;
        int changes;      // pathChanged signals so far
        QString expected; // the picker's path afterwards
    };
    const QString sub = zud + QStringLiteral("/a-sub");
    const Case cases[] = {
        {zud, true, 1, zud},
        {zud + QStringLiteral("/"), true, 1, zud}, // the same folder: no change event
        {QString(), false, 1, zud},
        {QStringLiteral("   "), false, 1, zud},
        {zud + QStringLiteral("/missing"), false, 1, zud},
        {zud + QStringLiteral("/a-sub/"), true, 2, sub},
        {QStringLiteral("/"), true, 3, QStringLiteral("/")},
        // Windows locations are the drive map's business; the picker takes local folders.
        {QStringLiteral("C:\\"), false, 3, QStringLiteral("/")},
        {QString(zud + QStringLiteral("\\a-sub")), false, 3, QStringLiteral("/")},
        {QStringLiteral("'; drop table x; --"), false, 3, QStringLiteral("/")},
        {zud + QStringLiteral("/notes.txt"), false, 3, QStringLiteral("/")}, // a file
    };
    for (const Case& c : cases) {
        EXPECT_EQ(picker.setPath(c.path), c.accepted) << c.path.toStdString();
        EXPECT_EQ(changes, c.changes) << c.path.toStdString();
        EXPECT_EQ(picker.path(), c.expected) << c.path.toStdString();
    }
}

TEST_F(DirectoryPickerFixture, ARelativePathIsReadFromTheCurrentFolder)
{
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(zud));
    DirectoryPicker picker;
    EXPECT_TRUE(picker.setPath(QStringLiteral("b-sub/")));
    EXPECT_EQ(picker.path(), QDir::cleanPath(zud + QStringLiteral("/b-sub")));
    EXPECT_FALSE(picker.setPath(QStringLiteral("VIZIDOV\\")));
    QDir::setCurrent(before);
}

} // namespace
