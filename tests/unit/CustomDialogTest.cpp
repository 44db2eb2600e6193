#include "CustomDialog.h"
#include "Seams.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace kaldor;

namespace {

QApplication& app()
{
    static int argc = 1;
    static char name[] = "CustomDialogTest";
    static char* argv[] = {name, nullptr};
    static auto* instance = new QApplication(argc, argv);
    return *instance;
}

template <class T> T* child(QWidget* dialog, const char* name)
{
    return dialog->findChild<T*>(QString::fromLatin1(name));
}

// Answers message boxes with their default button and records their texts; acts on the dialog
// through a step run when it is shown.
class PromptDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        app();
        ClearPickValues();
        setMessageHandler([this](const MessageRequest& r) {
            shown.push_back(r.text + QStringLiteral(" | ") + r.title);
            return r.defaultButton;
        });
        setPromptShownHandler([this](QWidget* shownDialog) {
            dialog = shownDialog;
            if (onShown)
                onShown(shownDialog);
        });
    }
    void TearDown() override
    {
        setMessageHandler({});
        setPromptShownHandler({});
        ClearPickValues();
        // No stray top-level window may stay behind.
        EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);
    }

    QString ask(qint16 required, qint16 pickList, qint16 format, const QString& def = {},
                qint32 maxLength = 60)
    {
        qint32 colour = 0;
        // A dialog that a wrong check keeps open is closed after a while, so that the test
        // fails on the answer instead of waiting for ever.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            if (dialog)
                dialog->close();
        });
        watchdog.start(10000);
        return CustomDialog(QStringLiteral("Caption"), QStringLiteral("Question?"), required,
                            pickList, maxLength, format, def, colour, 0);
    }

    // Types each text in turn and presses OK; the last OK must close the dialog.
    static std::function<void(QWidget*)> typeAndOk(QStringList texts)
    {
        return [texts](QWidget* d) {
            for (const QString& t : texts) {
                auto* edit = child<QLineEdit>(d, "TextCustomDialog");
                edit->selectAll();
                edit->del();
                edit->insert(t);
                child<QPushButton>(d, "CommandCustomDialogOK")->click();
            }
        };
    }

    QStringList shown;
    QPointer<QWidget> dialog;
    std::function<void(QWidget*)> onShown;
};

TEST(StripValidation, TextBeforeTheFirstBang)
{
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"}, {"key!desc", "key"}, {"!x", ""}, {"a!b!c", "a"}, {"", ""}, {"!", ""},
    };
    for (const auto& [in, want] : cases)
        EXPECT_EQ(StripValidation(QString::fromUtf8(in)).toStdString(), want) << in;
}

// A date is also a date or time; a text is at most one of date, time and number.
TEST(FormatChecks, DatesTimesAndNumbers)
{
    app();
    const char* const dates[] = {"2026-12-06",      "12/06/2026",       "6.12.2026",
                                 "25/12/2026",      "2026-12-06 08:05", "2026-12-06 08:05 PM",
                                 "6 Dec 2026 08:05"};
    const char* const times[] = {"8:05", "08:05 PM", "23:59:59"};
    const char* const numbers[] = {"12", "-3.5", "1,234.5", "1e3"};
    const char* const neither[] = {"24:30", "2026-13-01", "31.02.2026", "12a",
                                   "inf",   "-inf",       "nan",        "1e999",
                                   "abc",   "",           "   ",        "'; drop table x"};
    const auto check = [](const auto& texts, bool date, bool dateOrTime, bool number) {
        for (const char* text : texts) {
            const QString t = QString::fromUtf8(text);
            EXPECT_EQ(isDateText(t), date) << text;
            EXPECT_EQ(isDateOrTimeText(t), dateOrTime) << text;
            EXPECT_EQ(isNumberText(t), number) << text;
        }
    };
    check(dates, true, true, false);
    check(times, false, true, false);
    check(numbers, false, false, true);
    check(neither, false, false, false);
}

TEST_F(PromptDialog, FreeTextAnswerIsTrimmedAndWindowSetUp)
{
    onShown = [](QWidget* d) {
        EXPECT_TRUE(d->isWindow());
        EXPECT_FALSE(d->isModal());
        // The format label is there (the prompt scenarios show it), but outside the window.
        EXPECT_FALSE(d->rect().intersects(child<QLabel>(d, "LabelDataFormat")->geometry()));
        EXPECT_EQ(child<QLineEdit>(d, "TextCustomDialog")->text(), QStringLiteral("start"));
        EXPECT_EQ(DialogBusy(), 1);
        typeAndOk({QStringLiteral("\t two words  ")})(d);
    };
    // Blanks are trimmed, other white space is kept.
    EXPECT_EQ(ask(1, 0, 0, QStringLiteral("start")), QStringLiteral("\t two words"));
    EXPECT_EQ(DialogBusy(), 0);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(dialog.isNull()); // unloaded
    // Enter in the answer box answers as OK does.
    onShown = [](QWidget* d) {
        auto* edit = child<QLineEdit>(d, "TextCustomDialog");
        edit->setText(QStringLiteral("entered"));
        QTest::keyClick(edit, Qt::Key_Return);
    };
    EXPECT_EQ(ask(1, 0, 0), QStringLiteral("entered"));
}

TEST_F(PromptDialog, RequiredAndFormatChecksKeepTheDialogOpen)
{
    struct Case {
        qint16 required, format;
        QStringList typed;
        const char* answer;
        QStringList messages;
    };
    const QString req = QStringLiteral("Required Field - must provide an entry! | KALDOR");
    const QString num = QStringLiteral("Invalid Numeric Format! | KALDOR");
    const QString date = QStringLiteral("Invalid Date or Date Format! | KALDOR");
    const QString time = QStringLiteral("Invalid Time or Time Format! | KALDOR");
    const Case cases[] = {
        {1, 0, {QString(), QStringLiteral("x")}, "x", {req}},
        {0, 0, {QString()}, "", {}},
        {1, 0, {QStringLiteral("   ")}, "", {}}, // blanks pass the check, answer empty
        {2, 0, {QStringLiteral("a"), QString()}, "", {req, req}},
        {1, 3, {QStringLiteral("12a"), QStringLiteral("12")}, "12", {num}},
        {1, 6, {QStringLiteral("x"), QStringLiteral("1.5")}, "1.5", {num}},
        {1, 8, {QStringLiteral("x"), QStringLiteral("1.5")}, "1.5", {num}},
        {1, 2, {QStringLiteral("8:05"), QStringLiteral("2026-12-06")}, "2026-12-06", {date}},
        {1, 5, {QStringLiteral("abc"), QStringLiteral("08:05 PM")}, "08:05 PM", {time}},
        {1, 7, {QStringLiteral("abc")}, "abc", {}},
    };
    for (const Case& c : cases) {
        shown.clear();
        // Every refused OK keeps the dialog; a required value of 2 refuses even text, so that
        // case ends through the frame.
        onShown = [&c](QWidget* d) {
            typeAndOk(c.typed)(d);
            if (c.required == 2) {
                EXPECT_EQ(DialogBusy(), 1);
                d->close();
            }
        };
        const QString got = ask(c.required, 0, c.format);
        EXPECT_EQ(got.toStdString(), c.required == 2 ? "*CANCEL*" : c.answer)
            << c.typed.join(u'|').toStdString();
        EXPECT_EQ(shown, c.messages) << c.typed.join(u'|').toStdString();
    }
}

TEST_F(PromptDialog, PickListStopsAtTheFirstEmptyEntryAndStripsValidation)
{
    PickValues()[0] = QStringLiteral("unused");
    PickValues()[1] = QStringLiteral("Alpha!first");
    PickValues()[2] = QStringLiteral("beta");
    PickValues()[3] = QStringLiteral("Betamax  ");
    PickValues()[5] = QStringLiteral("after the gap");
    struct Case {
        const char* def;
        int selected;
        const char* answer;
    };
    const Case cases[] = {
        {"", 0, "Alpha"}, {"BE", 1, "beta"}, {"betam", 2, "Betamax"}, {"zzz", 0, "Alpha"}};
    for (const Case& c : cases) {
        onShown = [&c](QWidget* d) {
            auto* combo = child<QComboBox>(d, "ComboCustomDialog");
            EXPECT_TRUE(child<QLineEdit>(d, "TextCustomDialog")->isHidden());
            EXPECT_EQ(combo->count(), 3);
            EXPECT_EQ(combo->currentIndex(), c.selected) << c.def;
            // Cancel answered No (the default) puts the focus back into the list.
            auto* cancel = child<QPushButton>(d, "CommandCustomDialogCancel");
            cancel->setFocus();
            cancel->click();
            EXPECT_EQ(d->focusWidget(), combo);
            child<QPushButton>(d, "CommandCustomDialogOK")->click();
        };
        EXPECT_EQ(ask(1, 1, 0, QString::fromUtf8(c.def)).toStdString(), c.answer) << c.def;
    }
    // A full list offers every entry, the last one too.
    const int last = int(PickValues().size()) - 1;
    for (int i = 1; i <= last; ++i)
        PickValues()[i] = QString::number(i);
    onShown = [last](QWidget* d) {
        auto* combo = child<QComboBox>(d, "ComboCustomDialog");
        EXPECT_EQ(combo->count(), last);
        EXPECT_EQ(combo->itemText(combo->count() - 1), QString::number(last));
        child<QPushButton>(d, "CommandCustomDialogOK")->click();
    };
    ask(1, 1, 0, {});
}

TEST_F(PromptDialog, MaskLengthAndColour)
{
    onShown = [](QWidget* d) {
        auto* edit = child<QLineEdit>(d, "TextCustomDialog");
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        edit->insert(QString(161, QLatin1Char('x')));
        EXPECT_EQ(edit->text().size(), 160);
        EXPECT_EQ(d->palette().color(QPalette::Window), QColor(0x10, 0x20, 0x30));
        child<QPushButton>(d, "CommandCustomDialogOK")->click();
    };
    qint32 colour = 0x302010; // red 0x10, green 0x20, blue 0x30
    EXPECT_EQ(
        CustomDialog(QStringLiteral("c"), QStringLiteral("q"), 1, 0, 160, 0, {}, colour, 1).size(),
        160);
    EXPECT_EQ(colour, 0x302010);
    // A default longer than the limit is shown whole and selected, and nothing more can be
    // typed.
    onShown = [](QWidget* d) {
        auto* edit = child<QLineEdit>(d, "TextCustomDialog");
        EXPECT_EQ(edit->selectedText(), QStringLiteral("abcdefgh"));
        edit->end(false);
        edit->insert(QStringLiteral("z"));
        child<QPushButton>(d, "CommandCustomDialogOK")->click();
    };
    EXPECT_EQ(ask(0, 0, 0, QStringLiteral("abcdefgh"), 5), QStringLiteral("abcdefgh"));
    onShown = [](QWidget* d) { child<QPushButton>(d, "CommandCustomDialogOK")->click(); };
    qint32 none = 0;
    CustomDialog(QStringLiteral("c"), QStringLiteral("q"), 0, 0, 10, 0, {}, none, 0);
    EXPECT_EQ(none, 0xC0C0C0);
    // Only 1 masks the text or offers the pick list: any other value is plain free text.
    PickValues()[1] = QStringLiteral("listed");
    onShown = [this](QWidget* d) {
        auto* edit = child<QLineEdit>(d, "TextCustomDialog");
        EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
        // A held Escape asks whether to cancel only once, on its first press.
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(edit, &held);
        EXPECT_TRUE(shown.isEmpty());
        child<QPushButton>(d, "CommandCustomDialogOK")->click();
    };
    EXPECT_EQ(CustomDialog(QStringLiteral("c"), QStringLiteral("q"), 0, 2, 10, 0,
                           QStringLiteral("typed"), none, 2),
              QStringLiteral("typed"));
}

// The wait processes the whole program's events, typing included: another window keeps
// working while the question is open (the prompt scenarios only click), and the answer
// arrives later from the event loop.
TEST_F(PromptDialog, OtherWindowsStayResponsiveWhileItWaits)
{
    QLineEdit other;
    other.show();
    onShown = [&](QWidget* d) {
        for (const QChar c : QStringLiteral("typed meanwhile"))
            QCoreApplication::postEvent(
                &other, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(c)));
        QTimer::singleShot(0, d, [d] { typeAndOk({QStringLiteral("late answer")})(d); });
    };
    EXPECT_EQ(ask(1, 0, 0), QStringLiteral("late answer"));
    EXPECT_EQ(other.text(), QStringLiteral("typed meanwhile"));
}

TEST_F(PromptDialog, ClosedByItsFrameOrDeletedAnswersCancel)
{
    onShown = [](QWidget* d) { QTimer::singleShot(0, d, [d] { d->close(); }); };
    EXPECT_EQ(ask(1, 0, 0), DialogCancelled);
    onShown = [](QWidget* d) { QTimer::singleShot(0, d, [d] { delete d; }); };
    DialogResult() = QStringLiteral("an earlier answer");
    EXPECT_EQ(ask(1, 0, 0), DialogCancelled);
    EXPECT_EQ(DialogBusy(), 0);
}

TEST_F(PromptDialog, ASecondQuestionWhileOneWaitsIsNotAsked)
{
    QString nested;
    onShown = [&](QWidget* d) {
        onShown = {};
        QTimer::singleShot(0, d, [&, d] {
            nested = ask(1, 0, 0);
            EXPECT_EQ(dialog.data(), d) << "no second question window";
            typeAndOk({QStringLiteral("first")})(d);
        });
    };
    EXPECT_EQ(ask(1, 0, 0), QStringLiteral("first"));
    EXPECT_EQ(nested, DialogCancelled);
}

// The message box itself, as the administrator gets it without a test's handler: Enter gives
// the default button's answer, each button its own, and the arrow shows over a busy program.
TEST(MessageBox, AnswersByItsButtonsWithTheArrowShown)
{
    app();
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        MsgAnswer defaultButton;
        QMessageBox::StandardButton clicked; // NoButton: Enter
        MsgAnswer answer;
    };
    const Case cases[] = {
        {MsgButtons::YesNo, MsgIcon::Question, MsgAnswer::No, QMessageBox::NoButton, MsgAnswer::No},
        {MsgButtons::YesNo, MsgIcon::Question, MsgAnswer::Ok, QMessageBox::NoButton,
         MsgAnswer::Yes},
        {MsgButtons::OkCancel, MsgIcon::Exclamation, MsgAnswer::Ok, QMessageBox::Cancel,
         MsgAnswer::Cancel},
        {MsgButtons::OkCancel, MsgIcon::Exclamation, MsgAnswer::Ok, QMessageBox::NoButton,
         MsgAnswer::Ok}};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const Case& c : cases) {
        Qt::CursorShape shown = Qt::WaitCursor;
        QTimer::singleShot(0, [&c, &shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                ADD_FAILURE() << "no message box";
                return;
            }
            shown = QApplication::overrideCursor()->shape();
            EXPECT_EQ(box->icon(),
                      c.icon == MsgIcon::Question ? QMessageBox::Question : QMessageBox::Warning);
            // Its values can be selected from the keyboard too, and copied for the report.
            EXPECT_TRUE(box->textInteractionFlags() & Qt::TextSelectableByKeyboard);
            if (c.clicked == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Return);
            else
                box->button(c.clicked)->click();
        });
        EXPECT_EQ(messageBox(QStringLiteral("Sure?"), c.buttons, c.icon, {}, c.defaultButton),
                  c.answer);
        EXPECT_EQ(shown, Qt::ArrowCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
}

} // namespace
