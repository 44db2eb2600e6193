#include "CustomDialog.h"
#include "Seams.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
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

// Answers message boxes from a queue and records their texts; acts on the dialog through a
// step run when it is shown.
class PromptDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        app();
        ClearPickValues();
        setMessageHandler([this](const MessageRequest& r) {
            shown.push_back(r.text + QStringLiteral(" | ") + r.title);
            if (replies.empty())
                return r.defaultButton;
            const MsgAnswer a = replies.front();
            replies.pop_front();
            return a;
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

    std::deque<MsgAnswer> replies;
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

TEST(FormatChecks, DatesTimesAndNumbers)
{
    app();
    struct Case {
        const char* text;
        bool date, dateOrTime, number;
    };
    const Case cases[] = {
        {"2026-12-06", true, true, false},
        {"12/06/2026", true, true, false},
        {"6.12.2026", true, true, false},
        {"25/12/2026", true, true, false},
        {"2026-12-06 08:05", true, true, false},
        {"8:05", false, true, false},
        {"08:05 PM", false, true, false},
        {"23:59:59", false, true, false},
        {"24:30", false, false, false},
        {"2026-13-01", false, false, false},
        {"31.02.2026", false, false, false},
        {"12", false, false, true},
        {"-3.5", false, false, true},
        {"1,234.5", false, false, true},
        {"1e3", false, false, true},
        {"12a", false, false, false},
        {"inf", false, false, false},
        {"-inf", false, false, false},
        {"nan", false, false, false},
        {"1e999", false, false, false},
        {"abc", false, false, false},
        {"", false, false, false},
        {"   ", false, false, false},
        {"'; drop table x", false, false, false},
    };
    for (const Case& c : cases) {
        const QString t = QString::fromUtf8(c.text);
        EXPECT_EQ(isDateText(t), c.date) << c.text;
        EXPECT_EQ(isDateOrTimeText(t), c.dateOrTime) << c.text;
        EXPECT_EQ(isNumberText(t), c.number) << c.text;
    }
}

TEST_F(PromptDialog, FreeTextAnswerIsTrimmedAndWindowSetUp)
{
    onShown = [](QWidget* d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("FormCustomDialog"));
        EXPECT_TRUE(d->isWindow());
        EXPECT_FALSE(d->isModal());
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Caption"));
        EXPECT_EQ(child<QLabel>(d, "LabelCustomDialog")->text(), QStringLiteral("Question?"));
        const auto* format = child<QLabel>(d, "LabelDataFormat");
        EXPECT_EQ(format->text(), QStringLiteral("0"));
        EXPECT_FALSE(format->isHidden());
        EXPECT_FALSE(d->rect().intersects(format->geometry()));
        EXPECT_TRUE(child<QComboBox>(d, "ComboCustomDialog")->isHidden());
        EXPECT_EQ(child<QLineEdit>(d, "TextCustomDialog")->text(), QStringLiteral("start"));
        EXPECT_EQ(child<QPushButton>(d, "CommandCustomDialogOK")->text(), QStringLiteral("OK"));
        EXPECT_EQ(DialogBusy(), 1);
        typeAndOk({QStringLiteral("  two words  ")})(d);
    };
    EXPECT_EQ(ask(1, 0, 0, QStringLiteral("start")), QStringLiteral("two words"));
    EXPECT_EQ(DialogBusy(), 0);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(dialog.isNull()); // unloaded
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
        {1, 8, {QStringLiteral("1.5")}, "1.5", {}},
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

TEST_F(PromptDialog, CancelAsksAndNoKeepsTheText)
{
    replies = {MsgAnswer::No, MsgAnswer::Yes};
    onShown = [](QWidget* d) {
        child<QLineEdit>(d, "TextCustomDialog")->setText(QStringLiteral("kept"));
        child<QPushButton>(d, "CommandCustomDialogCancel")->click();
        EXPECT_EQ(DialogBusy(), 1);
        EXPECT_EQ(child<QLineEdit>(d, "TextCustomDialog")->text(), QStringLiteral("kept"));
        child<QPushButton>(d, "CommandCustomDialogCancel")->click();
    };
    EXPECT_EQ(ask(1, 0, 0), DialogCancelled);
    EXPECT_EQ(shown, QStringList(2, QStringLiteral("Do you really want to cancel? | KALDOR")));
}

TEST_F(PromptDialog, PickListStopsAtTheFirstEmptyEntryAndStripsValidation)
{
    PickValues()[0] = QStringLiteral("unused");
    PickValues()[1] = QStringLiteral("Alpha!first");
    PickValues()[2] = QStringLiteral("beta");
    PickValues()[4] = QStringLiteral("after the gap");
    struct Case {
        const char* def;
        int selected;
        const char* answer;
    };
    const Case cases[] = {{"", 0, "Alpha"}, {"BE", 1, "beta"}, {"zzz", 0, "Alpha"}};
    for (const Case& c : cases) {
        onShown = [&c](QWidget* d) {
            auto* combo = child<QComboBox>(d, "ComboCustomDialog");
            EXPECT_TRUE(child<QLineEdit>(d, "TextCustomDialog")->isHidden());
            EXPECT_EQ(combo->count(), 2);
            EXPECT_EQ(combo->currentIndex(), c.selected) << c.def;
            child<QPushButton>(d, "CommandCustomDialogOK")->click();
        };
        EXPECT_EQ(ask(1, 1, 0, QString::fromUtf8(c.def)).toStdString(), c.answer) << c.def;
    }
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
    onShown = [](QWidget* d) { child<QPushButton>(d, "CommandCustomDialogOK")->click(); };
    qint32 none = 0;
    CustomDialog(QStringLiteral("c"), QStringLiteral("q"), 0, 0, 10, 0, {}, none, 0);
    EXPECT_EQ(none, 0xC0C0C0);
}

// The wait processes the whole program's events: another window keeps working while the
// question is open, and the answer arrives later from the event loop.
TEST_F(PromptDialog, OtherWindowsStayResponsiveWhileItWaits)
{
    QWidget other;
    auto* edit = new QLineEdit(&other);
    auto* button = new QPushButton(QStringLiteral("other"), &other);
    other.show();
    int clicksWhileWaiting = 0;
    QObject::connect(button, &QPushButton::clicked, &other,
                     [&clicksWhileWaiting] { clicksWhileWaiting += DialogBusy(); });
    onShown = [&](QWidget* d) {
        // Key presses posted to the other window, and a timer clicking its button.
        for (const QChar c : QStringLiteral("typed meanwhile"))
            QCoreApplication::postEvent(
                edit, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(c)));
        QTimer::singleShot(0, &other, [button] { button->click(); });
        QTimer::singleShot(0, d, [d] { typeAndOk({QStringLiteral("late answer")})(d); });
    };
    EXPECT_EQ(ask(1, 0, 0), QStringLiteral("late answer"));
    EXPECT_EQ(edit->text(), QStringLiteral("typed meanwhile"));
    EXPECT_EQ(clicksWhileWaiting, 1);
}

TEST_F(PromptDialog, ClosedByItsFrameOrDeletedAnswersCancel)
{
    onShown = [](QWidget* d) { QTimer::singleShot(0, d, [d] { d->close(); }); };
    EXPECT_EQ(ask(1, 0, 0), DialogCancelled);
    onShown = [](QWidget* d) { QTimer::singleShot(0, d, [d] { delete d; }); };
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
            typeAndOk({QStringLiteral("first")})(d);
        });
    };
    EXPECT_EQ(ask(1, 0, 0), QStringLiteral("first"));
    EXPECT_EQ(nested, DialogCancelled);
}

} // namespace
