#include "ResourceStrings.h"
#include "ResourceIcons.h"
#include "ResourceTable.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <limits>

#include <gtest/gtest.h>

// Readable failure messages for texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace kaldor;

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray compiledTable()
{
    QFile file(QStringLiteral(":/strings/strings.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

TEST(ResString, UnknownIdsGiveEmptyText)
{
    for (const int id : {0, -1, 1, 104, 117, 999, 1000000000, std::numeric_limits<int>::min(),
                         std::numeric_limits<int>::max()}) {
        EXPECT_FALSE(hasResString(id)) << id;
        EXPECT_TRUE(resString(id).isEmpty()) << id;
        EXPECT_TRUE(resString(id).isNull()) << id;
    }
}

// The compiled-in file itself: every line well-formed, numbers unique and ascending, no entry
// empty, and every number in the range the program uses.
TEST(StringsFile, EveryLineIsWellFormed)
{
    const QByteArray data = compiledTable();
    ASSERT_FALSE(data.isEmpty());
    const ResourceTable table = ResourceTable::parse(data);
    EXPECT_TRUE(table.errors().isEmpty()) << table.errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_GE(table.size(), 300u);
    for (const auto& [id, entry] : table.entries()) {
        EXPECT_GE(id, 100) << id;
        EXPECT_LT(id, 1000) << id;
        EXPECT_FALSE(entry.isEmpty()) << id;
        EXPECT_EQ(resString(id), entry) << id;
    }
    int lines = 0;
    for (const QByteArray& line : data.split('\n'))
        lines += !line.isEmpty() && !line.startsWith('#');
    EXPECT_EQ(static_cast<std::size_t>(lines), table.size()) << "lines left out of the table";
}

struct ParseCase {
    const char* name;
    const char* input;
    std::vector<std::pair<int, const char*>> entries;
    int errors;
};

TEST(ResourceTable, ParsesEscapesAndRejectsMalformedLines)
{
    const ParseCase cases[] = {
        {"plain", "1\tone\n2\ttwo\n", {{1, "one"}, {2, "two"}}, 0},
        {"no final line feed", "7\tseven", {{7, "seven"}}, 0},
        {"CR LF endings", "1\tone\r\n2\ttwo\r\n", {{1, "one"}, {2, "two"}}, 0},
        {"comments and blank lines", "# head\n\n5\tfive\n#6\tno\n", {{5, "five"}}, 0},
        {"escapes", "3\ta\\tb\\nc\\rd\\\\e", {{3, "a\tb\nc\rd\\e"}}, 0},
        {"blanks and ampersands kept", "4\t &Exit  \n", {{4, " &Exit  "}}, 0},
        {"further tabs belong to the text", "4\ta\tb\n", {{4, "a\tb"}}, 0},
        {"empty text", "9\t\n", {{9, ""}}, 0},
        {"UTF-8 text", "8\tGr\xc3\xbc\xc3\x9f\n", {{8, "Gr\xc3\xbc\xc3\x9f"}}, 0},
        {"unknown escape", "1\tC:\\dir\n2\tok\n", {{2, "ok"}}, 1},
        {"trailing backslash", "1\tend\\\n", {}, 1},
        {"no tab", "1 one\n", {}, 1},
        {"no number", "\tnothing\n", {}, 1},
        {"signed number", "-5\tminus\n", {}, 1},
        {"number with blank", " 5\tblank\n", {}, 1},
        {"number too long", "12345678901\tbig\n", {}, 1},
        {"duplicate keeps the first", "1\tfirst\n1\tsecond\n", {{1, "first"}}, 1},
        {"duplicate after disorder", "5\ta\n3\tb\n4\tc\n5\td\n", {{3, "b"}, {4, "c"}, {5, "a"}}, 3},
        {"out of order kept and sorted", "2\ttwo\n1\tone\n", {{1, "one"}, {2, "two"}}, 1},
        {"binary garbage", "\x01\x02\xff\n\n\t\t\n", {}, 2},
    };
    for (const ParseCase& c : cases) {
        const ResourceTable table = ResourceTable::parse(QByteArrayView(c.input));
        EXPECT_EQ(table.errors().size(), c.errors)
            << c.name << ": " << table.errors().join(QLatin1Char('|')).toStdString();
        ASSERT_EQ(table.size(), c.entries.size()) << c.name;
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(table.entries()[i].first, c.entries[i].first) << c.name;
            EXPECT_EQ(table.entries()[i].second, text(c.entries[i].second)) << c.name;
            const QString* found = table.find(c.entries[i].first);
            ASSERT_NE(found, nullptr) << c.name;
            EXPECT_EQ(*found, text(c.entries[i].second)) << c.name;
        }
    }
}

TEST(ResourceTable, ErrorsNameTheLine)
{
    const ResourceTable table = ResourceTable::parse("# head\n1\tok\nbroken\n");
    ASSERT_EQ(table.errors().size(), 1);
    EXPECT_TRUE(table.errors().first().startsWith(QStringLiteral("line 3:")))
        << table.errors().first().toStdString();
}

TEST(ResIcon, WindowIconsAreSmallPngs)
{
    int argc = 1;
    char name[] = "resource_strings_test";
    char* argv[] = {name, nullptr};
    const QGuiApplication app(argc, argv); // icons are pixmaps, which need the GUI
    for (const int id : {101, 102, 103, 106, 107, 108, 111}) {
        EXPECT_TRUE(hasResIcon(id)) << id;
        EXPECT_FALSE(resIcon(id).isNull()) << id;
        const QImage image(QStringLiteral(":/icons/%1.png").arg(id));
        EXPECT_EQ(image.size(), QSize(32, 32)) << id;
        EXPECT_TRUE(image.hasAlphaChannel()) << id;
    }
    EXPECT_FALSE(hasResIcon(999));
    EXPECT_TRUE(resIcon(999).isNull());
}

} // namespace
