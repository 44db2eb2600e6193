#include "WindowHelpers.h"
#include "ChildWindow.h"
#include "KeyboardConventions.h"
#include "ListBox.h"
#include "MultiLineTextBox.h"
#include "OptionButton.h"
#include "TabControl.h"
#include "TextList.h"
#include "WrappingLabel.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace kaldor;

namespace {

struct NumericCase {
    const char* text;
    bool numeric;
};

TEST(IsNumeric, TypedNumbersAndNonNumbers)
{
    const NumericCase cases[] = {
        {"0", true},     {"12", true},     {" 12 ", true},   {"-3", true},   {"+3", true},
        {"3-", true},    {"(3)", true},    {"1.5", true},    {".5", true},   {"5.", true},
        {"1,000", true}, {"1e3", true},    {"1D-2", true},   {"&H1F", true}, {"&O17", true},
        {"&17", true},   {"( 3 )", true},  {"$5", true},     {"", false},    {" ", false},
        {"abc", false},  {"12abc", false}, {"1.2.3", false}, {"--1", false}, {"+-1", false},
        {"-3-", false},  {"(3", false},    {"e5", false},    {"1e", false},  {"&H", false},
        {"&HG", false},  {"&O8", false},   {",5", false},    {"1 2", false}, {"٣", false},
        {"１２", false}, {"'5'", false},   {"5\\", false},
    };
    for (const NumericCase& c : cases)
        EXPECT_EQ(IsNumeric(QString::fromUtf8(c.text)), c.numeric) << c.text;
}

// Upper case keeps every character's place: the one-to-one mapping, never "ß" -> "SS".
TEST(UpperCase, SimpleMappingCharacterByCharacter)
{
    const struct {
        const char* text;
        const char* upper;
    } cases[] = {
        {"straße", "STRAßE"},
        {"ﬁle", "ﬁLE"}, // a ligature has no one-character upper case
        {"ŉ", "ŉ"},     // nor has n preceded by an apostrophe
        {"ǆ", "Ǆ"},
        {"ÿ", "Ÿ"},
        {"\xf0\x90\x90\xa8", "\xf0\x90\x90\x80"}, // outside the BMP: U+10428 -> U+10400
        {"O'Neil \\ Ünits", "O'NEIL \\ ÜNITS"},
        {"", ""},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(upperCase(text).toStdString(), c.upper) << c.text;
        EXPECT_EQ(upperCase(text).size(), text.size()) << c.text;
    }
}

class WidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "WindowHelpersTest";
            static char* argv[] = {name, nullptr};
            // Never destroyed: Qt's input devices outlive it otherwise and crash at exit.
            new QApplication(argc, argv);
        }
    }
};

TEST_F(WidgetTest, SetComboTextSelectsAnEntryOrShowsTheTextAlone)
{
    QComboBox combo;
    makeSelectionOnly(&combo);
    fillCombo(&combo, {QStringLiteral("MT"), QStringLiteral("Admins"), QStringLiteral("Ö'\\"),
                       QStringLiteral("ADMINS")});
    EXPECT_EQ(combo.currentIndex(), -1) << "a filled list has no entry selected";
    EXPECT_EQ(combo.currentText(), QString());

    struct Case {
        QString text;
        int index;
        QString shown;
    };
    const Case cases[] = {
        {QStringLiteral("Admins"), 1, QStringLiteral("Admins")},
        {QStringLiteral("admins"), 1, QStringLiteral("Admins")}, // no exact entry: case ignored
        {QStringLiteral("ADMINS"), 3, QStringLiteral("ADMINS")}, // an exact entry comes first
        {QStringLiteral("Ö'\\"), 2, QStringLiteral("Ö'\\")},
        {QStringLiteral("Gone"), -1, QStringLiteral("Gone")},
        {QString(), -1, QString()},
        {QStringLiteral("MT"), 0, QStringLiteral("MT")},
    };
    for (const Case& c : cases) {
        setComboText(&combo, c.text);
        EXPECT_EQ(combo.currentIndex(), c.index) << c.text.toStdString();
        EXPECT_EQ(combo.currentText(), c.shown) << c.text.toStdString();
    }
}

// Tab and Shift+Tab walk a window's controls in their order both ways, also past combo boxes
// that took typed text or became selection-only after the later controls were made.
TEST_F(WidgetTest, ShiftTabWalksBackPastComboBoxes)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* typed = new QComboBox;
    auto* fixed = new QComboBox;
    auto* save = new QPushButton(QStringLiteral("Save"));
    auto* finish = new QPushButton(QStringLiteral("Finished"));
    const QList<QWidget*> order{typed, fixed, save, finish};
    for (QWidget* control : order)
        layout->addWidget(control);
    makeTypedCombo(typed);
    makeSelectionOnly(fixed);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    typed->setFocus();
    const auto focused = [] {
        QWidget* w = QApplication::focusWidget();
        return w && w->focusProxy() ? w->focusProxy() : w;
    };
    for (qsizetype step = 1; step <= order.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focused(), order.at(step % order.size())) << "Tab " << step;
    }
    for (qsizetype step = 1; step <= order.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(focused(), order.at((order.size() - step) % order.size()))
            << "Shift+Tab " << step;
    }
}

// A group of option buttons is one stop of the tab order: the chosen option, or the first option
// the walk meets while none is chosen. An arrow key chooses the next option, the new stop.
TEST_F(WidgetTest, AnOptionGroupIsOneTabStop)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* name = new QLineEdit;
    auto* group = new QWidget;
    auto* groupLayout = new QVBoxLayout(group);
    auto* disallow = new OptionButton(QStringLiteral("Disallow"));
    auto* allow = new OptionButton(QStringLiteral("Allow"));
    groupLayout->addWidget(disallow);
    groupLayout->addWidget(allow);
    auto* save = new QPushButton(QStringLiteral("Save"));
    for (QWidget* control : std::initializer_list<QWidget*>{name, group, save})
        layout->addWidget(control);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto walk = [name](Qt::Key key) {
        name->setFocus();
        QList<QWidget*> stops;
        do {
            QTest::keyClick(QApplication::focusWidget(), key,
                            key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            stops.append(QApplication::focusWidget());
        } while (stops.size() < 6 && stops.last() != name);
        return stops;
    };
    EXPECT_EQ(walk(Qt::Key_Tab), (QList<QWidget*>{disallow, save, name}));
    allow->setChecked(true);
    EXPECT_EQ(walk(Qt::Key_Tab), (QList<QWidget*>{allow, save, name}));
    EXPECT_EQ(walk(Qt::Key_Backtab), (QList<QWidget*>{save, allow, name}));
    allow->setFocus();
    QTest::keyClick(allow, Qt::Key_Up);
    EXPECT_TRUE(disallow->isChecked());
    EXPECT_EQ(walk(Qt::Key_Tab), (QList<QWidget*>{disallow, save, name}));
    // Options that may both be off are stops of their own.
    for (OptionButton* option : {disallow, allow})
        option->setAutoExclusive(false);
    disallow->setChecked(false);
    allow->setChecked(true);
    EXPECT_EQ(walk(Qt::Key_Tab), (QList<QWidget*>{disallow, allow, save, name}));
}

// Ctrl+PgDn and Ctrl+PgUp show the next and the previous enabled page, from a control on a page
// too (its own use of the keys gives way), and bring the focus from the page to the tab strip.
TEST_F(WidgetTest, CtrlPageKeysTurnTheEnabledPages)
{
    TabControl tabs;
    auto* list = new ListBox;
    fillList(list, {QStringLiteral("MT"), QStringLiteral("Admins"), QStringLiteral("Guests")});
    tabs.addTab(list, QStringLiteral("General"));
    tabs.addTab(new QLineEdit, QStringLiteral("Prompts"));
    tabs.addTab(new QLineEdit, QStringLiteral("Data"));
    enableTab(&tabs, 1, false);
    tabs.show();
    tabs.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tabs));
    list->setFocus();
    list->setCurrentRow(0);
    const auto press = [](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    };
    press(Qt::Key_PageDown);
    EXPECT_EQ(tabs.currentIndex(), 2);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(QApplication::focusWidget(), tabs.tabBar());
    press(Qt::Key_PageDown);
    EXPECT_EQ(tabs.currentIndex(), 0);
    press(Qt::Key_PageUp);
    EXPECT_EQ(tabs.currentIndex(), 2);
    enableTab(&tabs, 1, true);
    press(Qt::Key_PageUp);
    EXPECT_EQ(tabs.currentIndex(), 1);
}

// In a selection-only combo box a typed letter, Home and End choose an entry, each new entry
// once, as a choice from the list does.
TEST_F(WidgetTest, KeysChooseInASelectionOnlyComboBox)
{
    QComboBox combo;
    makeSelectionOnly(&combo);
    fillCombo(&combo, {QStringLiteral("Date"), QStringLiteral("Number"), QStringLiteral("String"),
                       QStringLiteral("Time")});
    QStringList chosen;
    connectListChoice(&combo, &combo, [&] { chosen << combo.currentText(); });
    for (const Qt::Key key : {Qt::Key_End, Qt::Key_End, Qt::Key_Home, Qt::Key_S})
        QTest::keyClick(&combo, key);
    EXPECT_EQ(chosen, (QStringList{QStringLiteral("Time"), QStringLiteral("Date"),
                                   QStringLiteral("String")}));
    // Letters typed together pick the entry that begins with all of them.
    QComboBox colours;
    makeSelectionOnly(&colours);
    fillCombo(&colours, {QStringLiteral("Beige"), QStringLiteral("Black"), QStringLiteral("Blue")});
    QTest::keyClicks(&colours, QStringLiteral("blu"));
    EXPECT_EQ(colours.currentText(), QStringLiteral("Blue"));
    // A letter typed later moves on to the next entry that begins with it.
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClick(&colours, Qt::Key_B);
    EXPECT_EQ(colours.currentText(), QStringLiteral("Beige"));
}

// Both kinds of list box: one with an item per entry, and the one of plain texts for long
// lists. Filling, selecting and picking behave the same in both.
void fill(QListWidget* list, const QStringList& texts)
{
    fillList(list, texts);
}

void fill(TextList* list, const QStringList& texts)
{
    list->setTexts(texts);
}

template <class List> class ListBoxTest : public WidgetTest {
protected:
    // A real click of the mouse on entry `row`.
    void clickRow(int row)
    {
        const QRect entry = box.visualRect(box.model()->index(row, 0));
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, entry.center());
    }

    List box;
};

using ListBoxes = ::testing::Types<ListBox, TextList>;
TYPED_TEST_SUITE(ListBoxTest, ListBoxes);

TYPED_TEST(ListBoxTest, FillingIsSilentAndLeavesNothingSelected)
{
    TypeParam& list = this->box;
    int changes = 0;
    connectListClick(&list, &list, [&] { ++changes; });
    QStringList many;
    for (int i = 0; i < 5000; ++i)
        many.append(QStringLiteral("user%1").arg(i));
    fill(&list, many);
    list.setCurrentRow(7);
    EXPECT_EQ(changes, 1);
    fill(&list, many);
    EXPECT_EQ(changes, 1) << "filling is silent, also when it clears a selection";
    EXPECT_EQ(list.count(), 5000);
    EXPECT_TRUE(selectedText(&list).isNull());
    list.setCurrentRow(3);
    EXPECT_EQ(selectedText(&list), QStringLiteral("user3"));
    list.clearSelection(); // the current row without a selection is no entry
    EXPECT_TRUE(selectedText(&list).isNull());
    fill(&list, {});
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(selectedText(&list).isNull());
}

TYPED_TEST(ListBoxTest, ListClickRunsOncePerPick)
{
    TypeParam& list = this->box;
    fill(&list, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    int calls = 0;
    QString picked;
    connectListClick(&list, &list, [&] {
        ++calls;
        picked = selectedText(&list);
    });

    // A mouse click on another entry moves the selection and is reported once.
    this->clickRow(1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(picked, QStringLiteral("b"));
    // A click on the entry already selected runs it again.
    this->clickRow(1);
    EXPECT_EQ(calls, 2);
    // A keyboard move runs it without a click.
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(picked, QStringLiteral("c"));
    // A selection made by code with signals blocked does not.
    {
        const QSignalBlocker blocker(&list);
        list.setCurrentRow(0);
    }
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(selectedText(&list), QStringLiteral("a"));
    this->clickRow(0);
    EXPECT_EQ(calls, 4);

    // Nothing the user does takes the selection away: a click beside the entries, Ctrl with a
    // click on the selected entry, Ctrl+Space.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      QPoint(5, list.viewport()->height() - 3));
    EXPECT_EQ(selectedText(&list), QStringLiteral("a"));
    EXPECT_EQ(calls, 4) << "a click beside the entries picks none";
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list.visualRect(list.model()->index(0, 0)).center());
    EXPECT_EQ(calls, 5) << "a click on the selected entry, Ctrl or not";
    QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(selectedText(&list), QStringLiteral("a"));
    EXPECT_EQ(calls, 5);

    // A letter picks the next entry that begins with it, the same letter again the one after,
    // round to the first; letters typed together pick the entry that begins with all of them.
    fill(&list, {QStringLiteral("Beige"), QStringLiteral("Black"), QStringLiteral("Blue"),
                 QStringLiteral("Red")});
    list.keyboardSearch(QString()); // a new search, not the end of Ctrl+Space's
    QStringList typed;
    for (const QString& letters : {QStringLiteral("b"), QStringLiteral("b"), QStringLiteral("b"),
                                   QStringLiteral("b"), QStringLiteral("r")}) {
        QTest::keyClicks(&list, letters);
        typed << selectedText(&list);
    }
    EXPECT_EQ(typed,
              (QStringList{QStringLiteral("Beige"), QStringLiteral("Black"), QStringLiteral("Blue"),
                           QStringLiteral("Beige"), QStringLiteral("Beige")}))
        << "b b b b r: the last makes no entry's beginning and picks none";
    fill(&list, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    list.setCurrentRow(0);
    calls = 5;

    // Where the caret stands on an entry with nothing selected, as the keyboard's arrival leaves
    // a list, Home picks that first entry.
    list.clearSelection();
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(selectedText(&list), QStringLiteral("a"));
    EXPECT_EQ(calls, 6);
}

// Loading an entry passes through the edited state: the list is locked and unlocked, and keeps
// the keyboard focus it had; a real edit elsewhere keeps its focus when the list is unlocked.
TYPED_TEST(ListBoxTest, LockedListGetsItsFocusBack)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    TypeParam* list = new TypeParam;
    auto* edit = new QLineEdit;
    layout->addWidget(list);
    layout->addWidget(edit);
    fill(list, {QStringLiteral("a"), QStringLiteral("b")});
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    list->setFocus();
    lockList(list, true);
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), edit) << "a disabled list passes the focus on";
    lockList(list, false);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), list);

    edit->setFocus();
    lockList(list, true);
    lockList(list, false);
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

// A tab disabled while it is shown stays shown with its page usable, and a disabled tab cannot
// be chosen until it is enabled again.
TEST_F(WidgetTest, DisabledTabStaysShown)
{
    QTabWidget tabs;
    auto* first = new QLineEdit;
    auto* second = new QLineEdit;
    tabs.addTab(first, QStringLiteral("One"));
    tabs.addTab(second, QStringLiteral("Two"));
    tabs.setCurrentIndex(1);
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    int changes = 0;
    QObject::connect(&tabs, &QTabWidget::currentChanged, &tabs, [&] { ++changes; });

    enableTab(&tabs, 1, false);
    EXPECT_FALSE(tabs.isTabEnabled(1));
    EXPECT_EQ(tabs.currentIndex(), 1);
    EXPECT_EQ(tabs.currentWidget(), second);
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(second->isEnabled());
    EXPECT_EQ(changes, 0);

    QTabBar* strip = tabs.tabBar();
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(0).center());
    EXPECT_EQ(tabs.currentWidget(), first);
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center());
    EXPECT_EQ(tabs.currentWidget(), first) << "a disabled tab cannot be chosen";
    enableTab(&tabs, 1, true);
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center());
    EXPECT_EQ(tabs.currentWidget(), second);
}

// Ctrl+V with a clipboard that holds nothing (an X display's clipboard nobody owns) pastes
// nothing; Qt's own text box crashes there. A text on the clipboard is pasted as ever.
TEST_F(WidgetTest, PastingAnEmptyClipboardInsertsNothing)
{
    MultiLineTextBox box;
    box.setPlainText(QStringLiteral("select 1"));
    box.moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.toPlainText(), QStringLiteral("select 1"));
    QGuiApplication::clipboard()->setText(QStringLiteral(" from x"));
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.toPlainText(), QStringLiteral("select 1 from x"));
}

// A press inside the selected text starts a new selection there instead of a text drag, whose
// own event loop can wait for a release that already came; Shift with a press still extends.
TEST_F(WidgetTest, APressInsideTheSelectionStartsANewOne)
{
    MultiLineTextBox box;
    box.setPlainText(QStringLiteral("select name from mt.report"));
    box.resize(400, 100);
    box.selectAll();
    const QPoint inside = box.cursorRect(box.document()->find(QStringLiteral("from"))).center();
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, inside);
    EXPECT_FALSE(box.textCursor().hasSelection());
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, inside);
    // So does a press right at the selection's end, where Qt would start a drag too.
    QTextCursor word(box.document());
    word.setPosition(6, QTextCursor::KeepAnchor);
    box.setTextCursor(word);
    QTextCursor end(box.document());
    end.setPosition(6);
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, box.cursorRect(end).center());
    EXPECT_FALSE(box.textCursor().hasSelection());
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, box.cursorRect(end).center());
    // And a press right at its start.
    QTextCursor name(box.document());
    name.setPosition(7);
    const QPoint start = box.cursorRect(name).center();
    name.setPosition(11, QTextCursor::KeepAnchor);
    box.setTextCursor(name);
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, start);
    EXPECT_FALSE(box.textCursor().hasSelection());
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, start);
    box.selectAll();
    QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::ShiftModifier, inside);
    EXPECT_EQ(box.textCursor().selectedText(), QStringLiteral("select name from"));
}

// A wrapping label measures as a plain label does, also after its text, font or wrap mode
// changed between measures of the same widths.
TEST_F(WidgetTest, WrappingLabelMeasuresAsAPlainOne)
{
    WrappingLabel wrapping;
    EXPECT_TRUE(wrapping.wordWrap()) << "an explanation wraps in a narrow window";
    QLabel plain;
    const QString texts[] = {
        QStringLiteral("Step 1: Select a field to modify"),
        QStringLiteral("A much longer explanation that needs several lines at the narrower widths "
                       "of a window's column, and one at the widest"),
        QString()};
    const int widths[] = {80, 200, 600, 200, 80};
    for (const QString& text : texts) {
        for (const bool wrap : {true, false}) {
            for (const bool bold : {false, true}) { // the font alone changes
                for (QLabel* label : {static_cast<QLabel*>(&wrapping), &plain}) {
                    label->setText(text);
                    QFont font = label->font();
                    font.setBold(bold);
                    label->setFont(font);
                    label->setWordWrap(wrap);
                }
                for (const int width : widths)
                    EXPECT_EQ(wrapping.heightForWidth(width), plain.heightForWidth(width))
                        << text.toStdString() << " bold " << bold << " wrap " << wrap << " width "
                        << width;
            }
        }
    }
}

// A list widened for its entries has room for them beside its scroll bar; a list view's last
// column, which stretches over the rest, asks for its entries' width only, so the view can be
// made narrow again.
TEST_F(WidgetTest, ListsAreWidenedForTheirEntries)
{
    QListWidget list;
    keepEntriesWhole(&list);
    const QString widest(40, u'W');
    for (int i = 0; i < 60; ++i)
        list.addItem(i == 30 ? widest : QStringLiteral("entry %1").arg(i));
    list.resize(list.minimumWidth(), 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(list.verticalScrollBar()->isVisible());
    EXPECT_GE(list.viewport()->width(), list.fontMetrics().horizontalAdvance(widest));
    // An entry renamed in place widens it too.
    const QString renamed(60, u'M');
    list.item(0)->setText(renamed);
    EXPECT_GE(list.minimumWidth(), list.fontMetrics().horizontalAdvance(renamed));
    // A list whose model is filled anew at once (the user list) widens as well.
    TextList users;
    keepEntriesWhole(&users);
    users.setTexts({QStringLiteral("kaldor"), widest});
    EXPECT_GE(users.minimumWidth(), users.fontMetrics().horizontalAdvance(widest));

    QTreeWidget view;
    view.setColumnCount(2);
    keepColumnsWhole(&view);
    view.resize(800, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.addTopLevelItem(
        new QTreeWidgetItem(QStringList{QStringLiteral("4201"), QStringLiteral("Due")}));
    const int narrow = view.minimumWidth();
    EXPECT_LT(narrow, 400);
    view.addTopLevelItem(
        new QTreeWidgetItem(QStringList{QStringLiteral("4202"), QStringLiteral("Lab")}));
    EXPECT_EQ(view.minimumWidth(), narrow);
    // A column widens for an entry wider than it.
    const QString longNumber(30, u'W');
    view.addTopLevelItem(new QTreeWidgetItem(QStringList{longNumber, QStringLiteral("x")}));
    EXPECT_GE(view.header()->sectionSize(0), view.fontMetrics().horizontalAdvance(longNumber));
}

// A child window's frame is wide enough for its caption, a size given while it is maximized is
// the size it takes when restored, and a frame grown for its contents stays in the area.
TEST_F(WidgetTest, AFrameFitsItsCaptionAndKeepsASizeGivenWhileMaximized)
{
    QMdiArea area;
    area.resize(1200, 900);
    area.show();
    auto* window = new QWidget;
    QMdiSubWindow* frame = area.addSubWindow(window);
    frame->show();
    setOuterSizeTwips(window, 3000, 2250);
    window->setWindowTitle(QString(60, u'W'));
    QApplication::processEvents();
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    EXPECT_GE(frame->width(), QFontMetrics(bold).horizontalAdvance(window->windowTitle()));

    window->setWindowTitle(QStringLiteral("Short"));
    frame->showMaximized();
    setOuterSizeTwips(window, 7500, 6000);
    frame->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(frame->size(), QSize(7500, 6000) / 15);
    // A new width keeps the height; a window that grows in the corner keeps its title bar there.
    setOuterWidthTwips(window, 9000);
    EXPECT_EQ(frame->size(), QSize(9000, 6000) / 15);
    // A width given while maximized keeps the restored height.
    frame->showMaximized();
    setOuterWidthTwips(window, 7500);
    frame->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(frame->size(), QSize(7500, 6000) / 15);
    // A window that grows keeps its centre, or its title bar in the corner.
    frame->move(300, 200);
    const QSize before = frame->size();
    window->setMinimumSize(frame->width() + 100, frame->height() + 60);
    growToLayout(window);
    const QSize growth = frame->size() - before;
    ASSERT_GE(growth.width(), 100);
    EXPECT_EQ(frame->pos(), QPoint(300 - growth.width() / 2, 200 - growth.height() / 2));
    frame->move(0, 0);
    window->setMinimumSize(900, 700);
    growToLayout(window);
    EXPECT_EQ(frame->pos(), QPoint(0, 0));
    EXPECT_GE(frame->width(), 900);

    // A window made narrow grows in height for its wrapped text, which is never cut.
    auto* wrapped = new QWidget;
    auto* label = new QLabel(QString(40, u'x').replace(u'x', QStringLiteral("word ")), wrapped);
    label->setWordWrap(true);
    (new QVBoxLayout(wrapped))->addWidget(label);
    area.addSubWindow(wrapped)->show();
    setOuterSizeTwips(wrapped, 1500, 300);
    QApplication::processEvents();
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
}

// A double click on an option runs its handler once; its second press clicks nothing more.
TEST_F(WidgetTest, ADoubleClickIsTakenWhole)
{
    QRadioButton option(QStringLiteral("Groups"));
    option.resize(option.sizeHint());
    int clicks = 0;
    int handled = 0;
    QObject::connect(&option, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    connectDoubleClick(&option, &option, [&handled] { ++handled; });
    QTest::mouseClick(&option, Qt::LeftButton);
    QTest::mouseDClick(&option, Qt::LeftButton);
    QTest::mouseRelease(&option, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(handled, 1);
}

// A child window's system menu gives up the main menu's keys, which open their windows.
TEST_F(WidgetTest, AChildWindowLeavesTheMenuKeysToTheMenu)
{
    QMdiArea area;
    QMdiSubWindow* frame = area.addSubWindow(new QLineEdit);
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    const auto holders = [frame, &ctrlW] {
        qsizetype n = 0;
        for (const QAction* action : frame->systemMenu()->actions())
            n += action->shortcuts().count(ctrlW);
        return n;
    };
    ASSERT_GT(holders(), 0) << "Qt's Close takes Ctrl+W";
    releaseMenuKeys(frame, {ctrlW});
    EXPECT_EQ(holders(), 0);
}

// Closing the active child window activates the one used before it; Next and Previous keep the
// order of opening.
TEST_F(WidgetTest, ClosingTheActiveWindowActivatesTheOneUsedBefore)
{
    QMdiArea area;
    area.show();
    QList<QMdiSubWindow*> frames;
    for (const char* name : {"groups", "users", "pages"}) {
        QMdiSubWindow* frame = area.addSubWindow(new QLineEdit);
        frame->setObjectName(QLatin1String(name));
        frame->setAttribute(Qt::WA_DeleteOnClose);
        activateUsedBeforeOnClose(frame);
        frame->show();
        area.setActiveSubWindow(frame);
        frames.append(frame);
    }
    // Previous goes back through the order of opening, not to and fro between two windows.
    area.activatePreviousSubWindow();
    EXPECT_EQ(area.activeSubWindow(), frames.at(1));
    area.activatePreviousSubWindow();
    EXPECT_EQ(area.activeSubWindow(), frames.at(0));
    area.setActiveSubWindow(frames.at(1));
    area.setActiveSubWindow(frames.at(2));
    frames.at(2)->close();
    EXPECT_EQ(area.activeSubWindow(), frames.at(1));
    QApplication::processEvents();
    EXPECT_EQ(area.activationOrder(), QMdiArea::CreationOrder);
}

// Enter on a focused button presses it once: held down, its repeats press nothing more. The
// same for Enter on a list's selected entry, which does what a double click does.
TEST_F(WidgetTest, EnterPressesAFocusedButtonOnce)
{
    QListWidget list;
    list.addItems({QStringLiteral("Admins"), QStringLiteral("MT")});
    list.setCurrentRow(1);
    int moves = 0;
    connectEntryChoice(&list, &list, [&moves] { ++moves; });
    for (const bool repeat : {false, true, true}) {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(&list, &event);
    }
    EXPECT_EQ(moves, 1);

    QObject owner;
    installKeyboardConventions(&owner, {});
    QPushButton button(QStringLiteral("Save"));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
    button.show();
    button.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&button));
    button.setFocus();
    const auto press = [&button](Qt::Key key, bool repeat) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(&button, &event);
    };
    press(Qt::Key_Return, false);
    EXPECT_EQ(clicks, 1);
    press(Qt::Key_Return, true);
    press(Qt::Key_Enter, true);
    EXPECT_EQ(clicks, 1);
    // The keypad's Enter presses it as well.
    press(Qt::Key_Enter, false);
    EXPECT_EQ(clicks, 2);
}

// Text boxes hold whole texts; a length limit never cuts a character in half.
TEST_F(WidgetTest, TextBoxLengths)
{
    QWidget window;
    auto* box = new QLineEdit(&window);
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    holdWholeTexts(&window);
    const QString longText(70000, QLatin1Char('7'));
    box->setText(longText);
    combo->setEditText(longText);
    EXPECT_EQ(box->text(), longText);
    EXPECT_EQ(combo->currentText(), longText);

    const QString digits(59, QLatin1Char('1'));
    const QString emoji = QString::fromUtf8("\xf0\x9f\x98\x80");
    QLineEdit answer;
    limitLength(&answer, 60);
    answer.setText(digits + emoji);
    EXPECT_EQ(answer.text(), digits) << "set";
    answer.setText(digits);
    answer.end(false);
    answer.insert(emoji + QStringLiteral("x"));
    EXPECT_EQ(answer.text(), digits) << "typed or pasted";
    answer.setText(digits.left(58) + emoji);
    EXPECT_EQ(answer.text(), digits.left(58) + emoji) << "an emoji that fits stays";
    answer.setText(digits + QStringLiteral("12"));
    EXPECT_EQ(answer.text(), digits + QStringLiteral("1")) << "no 61st character";
    limitLength(&answer, 0);
    answer.setText(longText);
    EXPECT_EQ(answer.text(), longText) << "no limit";
}

} // namespace
