// What a screen reader says of each control: every control that takes the keyboard focus, in
// every window of the program, has a name of its own (its label's text, or its tooltip where it
// has no label), and none is called by the caption of the group box around it, which names the
// group and would give all of its controls one name. Also where the windows open, and how the
// Window menu finds them again.
#include "CustomDialog.h"
#include "MDIFormMain.h"
#include "ModuleGlobals.h"
#include "ResourceIcons.h"
#include "Seams.h"
#include "StandinStore.h"
#include "Windows.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kaldor;

namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

QString pathOf(const QWidget* widget, const QWidget* window)
{
    QStringList names;
    for (const QWidget* w = widget; w && w != window; w = w->parentWidget())
        if (!w->objectName().isEmpty() || w == widget)
            names.prepend(w->objectName().isEmpty()
                              ? QString::fromLatin1(w->metaObject()->className())
                              : w->objectName());
    return window->objectName() + QLatin1Char('.') + names.join(QLatin1Char('.'));
}

// A control made of others that reads as one: a combo box with its text box, a month calendar
// with its buttons and table of days.
bool isCompound(const QWidget* w)
{
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QCalendarWidget*>(w);
}

// Whether the widget is a part of a compound control, or belongs to another window inside this
// one (the main window's children), whose controls are checked as theirs.
bool partOfAnother(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* w = widget; w && w != window; w = w->parentWidget())
        if ((w != widget && isCompound(w)) || w->isWindow() ||
            qobject_cast<const QMdiSubWindow*>(w))
            return true;
    return false;
}

// What a screen reader calls the control. A combo box gives its current text as its name on
// this platform, and is called by what labels it; elsewhere by its accessible name.
QString nameOf(QAccessibleInterface* control, const QWidget* widget)
{
    if (control->role() != QAccessible::ComboBox)
        return control->text(QAccessible::Name).trimmed();
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName().trimmed();
    for (const auto& [label, relation] : control->relations(QAccessible::Label)) {
        const QString text = label->text(QAccessible::Name).remove(u'&').trimmed();
        if (!text.isEmpty())
            return text;
    }
    return {};
}

// The controls of the window without a name a screen reader could say, each with why.
QStringList unnamedControls(QWidget* window)
{
    QStringList faults;
    const auto widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        // A control that hands its focus to a part of it is checked as the whole.
        if (partOfAnother(w, window) ||
            (!isCompound(w) && (w->focusPolicy() == Qt::NoFocus || w->focusProxy())))
            continue;
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(w);
        const QString path = pathOf(w, window);
        if (!control) {
            faults << path + QStringLiteral(" is not accessible");
            continue;
        }
        const QString name = nameOf(control, w);
        if (name.isEmpty()) {
            faults << path + QStringLiteral(" has no name");
            continue;
        }
        for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
            if (auto* box = qobject_cast<const QGroupBox*>(p);
                box && name == QString(box->title()).remove(u'&').trimmed())
                faults << path + QStringLiteral(" is named after its group box \"%1\"").arg(name);
    }
    return faults;
}

class AccessibleNames : public ::testing::Test {
protected:
    // The demo database behind the data source "Calibration Data" and the settings file naming
    // it, once for the process: the driver manager keeps the configuration it read.
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        ASSERT_TRUE(dir->isValid());
        const std::string base = QFile::encodeName(dir->path()).toStdString();
        const std::string db = base + "/calibration.db";
        const std::filesystem::path demo =
            std::filesystem::path(KALDOR_SOURCE_DIR) / "data" / "demo";
        std::string error;
        ASSERT_TRUE(standin::createDatabase(db, standin::Dialect::SqlServer, &error)) << error;
        for (const char* file : {"demo.sql", "users-sqlserver.sql"})
            ASSERT_TRUE(standin::runScript(db, readFile(demo / file), &error)) << error;
        ASSERT_TRUE(standin::writeOdbcConfig(
            base, KALDOR_STANDIN_DRIVER,
            {{"Calibration Data", standin::Dialect::SqlServer, db},
             {"Calibration Data Archive 2026", standin::Dialect::SqlServer, db}},
            &error))
            << error;
        qputenv("ODBCSYSINI", QFile::encodeName(dir->path()));
        qputenv("ODBCINI", QFile::encodeName(dir->path() + QStringLiteral("/odbc.ini")));
        qputenv("ProgramData", QFile::encodeName(dir->path()));
        qunsetenv("AllUsersProfile");
        const QString settings = dir->path() + QStringLiteral("/Tarrowby/Velmora");
        ASSERT_TRUE(QDir().mkpath(settings));
        QFile file(settings + QStringLiteral("/datasource.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Calibration Data\r\n");
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }

    // The program's main window with its login window, as the program starts.
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "AccessibleNamesTest";
        static char* argv[] = {name, nullptr};
        // Never destroyed: Qt's input devices outlive it otherwise and crash at exit.
        if (!QApplication::instance())
            new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        setMessageHandler([this](const MessageRequest& r) {
            messages << r.text;
            return r.defaultButton;
        });
        setEndHandler([](int status) {
            std::fprintf(stderr, "the program ended with status %d\n", status);
            std::_Exit(1);
        });
        registerAllWindows();
        resetGlobals();
        main = new MDIFormMain;
        main->show();
        main->MDIFormLoad();
    }

    void TearDown() override
    {
        setPromptShownHandler({});
        setMessageHandler({});
        setEndHandler({});
        delete main;
        EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
        // No stray top-level window may stay behind.
        EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);
    }

    QWidget* child(const QString& name) const
    {
        for (QMdiSubWindow* sub : main->mdiArea()->subWindowList())
            if (sub->widget() && sub->widget()->objectName() == name)
                return sub->widget();
        return nullptr;
    }

    static QTemporaryDir* dir;
    MDIFormMain* main = nullptr;
    QStringList messages;
};

QTemporaryDir* AccessibleNames::dir = nullptr;

TEST_F(AccessibleNames, EveryControlOfEveryWindowHasANameOfItsOwn)
{
    QStringList faults;
    QWidget* login = child(QStringLiteral("FormConnect"));
    ASSERT_NE(login, nullptr);
    faults << unnamedControls(login);
    login->findChild<QLineEdit*>(QStringLiteral("TextLogin"))->setText(QStringLiteral("admin"));
    login->findChild<QLineEdit*>(QStringLiteral("TextPassword"))->setText(QStringLiteral("secret"));
    login->findChild<QAbstractButton*>(QStringLiteral("CommandConnect"))->click();
    ASSERT_TRUE(session().LoggedIn);

    // Every window of the menu, open together; their controls shown or hidden alike, since
    // what a control is called does not change when it shows.
    const char* const items[] = {"mnuEditgroups",    "mnuEditUsers",
                                 "mnuAccess",        "mnuSecFeat",
                                 "mnuSQL",           "mnuFieldConfig",
                                 "mnuResultsHeader", "MnuTreeConfig",
                                 "mnuWebConfig",     "mnuDesktopConfiguration",
                                 "mnuMiscConfig",    "mnuAutoLayout",
                                 "mnuRunDiags",      "mnuChangeHistory"};
    for (const char* item : items) {
        QAction* action = main->menuItem(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        ASSERT_TRUE(main->isReachable(action)) << item;
        action->trigger();
    }
    const QList<QMdiSubWindow*> windows = main->mdiArea()->subWindowList();
    EXPECT_EQ(windows.size(), qsizetype(std::size(items))) << "one window for each menu item";
    for (QMdiSubWindow* sub : windows)
        faults << unnamedControls(sub->widget());
    faults << unnamedControls(main);

    // The prompt dialog, asking for a text and offering a pick list.
    setPromptShownHandler([&faults](QWidget* dialog) {
        faults << unnamedControls(dialog);
        dialog->findChild<QAbstractButton*>(QStringLiteral("CommandCustomDialogOK"))->click();
    });
    qint32 colour = 0;
    CustomDialog(QStringLiteral("Caption"), QStringLiteral("Name of the new group:"), 0, 0, 60, 0,
                 QString(), colour, 0);
    ClearPickValues();
    PickValues()[1] = QStringLiteral("First");
    PickValues()[2] = QStringLiteral("Second");
    CustomDialog(QStringLiteral("Caption"), QStringLiteral("Which one?"), 0, 1, 60, 0, QString(),
                 colour, 0);
    ClearPickValues();

    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    // A data source name of 29 characters is listed whole; a drive mounted twice (as the root
    // always is) is listed once.
    EXPECT_EQ(child(QStringLiteral("FormMiscConfig"))
                  ->findChild<QComboBox*>(QStringLiteral("ComboDatasource"))
                  ->findText(QStringLiteral("Calibration Data Archive 2026")),
              1);
    const auto* drives = child(QStringLiteral("FormMiscConfig"))
                             ->findChild<QComboBox*>(QStringLiteral("DriveShared"));
    QStringList driveTexts;
    for (int i = 0; i < drives->count(); ++i)
        driveTexts.append(drives->itemText(i));
    EXPECT_EQ(driveTexts.count(QDir::toNativeSeparators(QDir::rootPath())), 1)
        << driveTexts.join(u' ').toStdString();
    EXPECT_EQ(driveTexts.removeDuplicates(), 0);
    // A list is called by its label as read aloud, without the access key's ampersand.
    EXPECT_EQ(child(QStringLiteral("FormChangeHistory"))
                  ->findChild<QWidget*>(QStringLiteral("ListChanges"))
                  ->accessibleName(),
              QStringLiteral("Changes:"));
    EXPECT_EQ(child(QStringLiteral("FormEditGroups"))
                  ->findChild<QWidget*>(QStringLiteral("ListReportsAvailable"))
                  ->accessibleName(),
              QStringLiteral("Available Reports"));
    // Each window shows its own icon.
    const std::pair<const char*, int> icons[] = {
        {"FormEditGroups", 103}, {"FormReports", 103},          {"FormEditUsers", 106},
        {"FormAccess", 107},     {"FormSecurityFeatures", 108}, {"FormMiscConfig", 111},
        {"FormAutoLayout", 111}, {"FormRunDiags", 111}};
    for (const auto& [window, icon] : icons) {
        const QWidget* w = child(QString::fromLatin1(window));
        ASSERT_NE(w, nullptr) << window;
        EXPECT_EQ(w->windowIcon().pixmap(16).toImage(), resIcon(icon).pixmap(16).toImage())
            << window;
    }
    QWidget* access = child(QStringLiteral("FormAccess"));
    // A date chosen in a calendar with the keyboard, which selects without a click, is an edit.
    auto* calendar = access->findChild<QCalendarWidget*>(QStringLiteral("CalendarStart"));
    calendar->setSelectedDate(calendar->selectedDate().addDays(1));
    EXPECT_TRUE(access->findChild<QWidget*>(QStringLiteral("CommandSave"))->isEnabled());
}

// Where the windows stand: a window opens in the middle of the main window, also one that grew
// after it was placed; the Window menu ticks the active window and restores a minimized one.
TEST_F(AccessibleNames, WindowsOpenCentredAndTheWindowMenuBringsThemBack)
{
    const auto offCentre = [this](const char* name) {
        const QPoint centre = main->mdiArea()->viewport()->rect().center();
        const QPoint at = child(QString::fromLatin1(name))->parentWidget()->geometry().center();
        return (at - centre).manhattanLength();
    };
    EXPECT_LE(offCentre("FormConnect"), 2);
    // Before the login an entry of a disabled menu opens nothing, also by its shortcut.
    main->menuItem(QStringLiteral("mnuEditgroups"))->trigger();
    EXPECT_EQ(child(QStringLiteral("FormEditGroups")), nullptr);
    EXPECT_EQ(main->menuItem(QStringLiteral("mnuResultsHeader"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+H")));
    // Nor does a command of the Window menu: Ctrl+F4 leaves the login window open.
    const QPointer<QWidget> login = child(QStringLiteral("FormConnect"));
    main->menuItem(QStringLiteral("mnuCloseWindow"))->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(login && login->isVisible());
    login->findChild<QLineEdit*>(QStringLiteral("TextLogin"))->setText(QStringLiteral("admin"));
    login->findChild<QLineEdit*>(QStringLiteral("TextPassword"))->setText(QStringLiteral("secret"));
    login->findChild<QAbstractButton*>(QStringLiteral("CommandConnect"))->click();
    ASSERT_TRUE(session().LoggedIn);
    EXPECT_FALSE(main->menuItem(QStringLiteral("mnuCloseWindow"))->isEnabled()) << "none open";
    // F10 opens the first menu.
    QTest::keyClick(main, Qt::Key_F10);
    ASSERT_TRUE(QApplication::activePopupWidget());
    EXPECT_EQ(QApplication::activePopupWidget()->objectName(), QStringLiteral("mnuFile"));
    QApplication::activePopupWidget()->close();
    for (const char* item : {"mnuAutoLayout", "mnuEditgroups", "mnuEditUsers"})
        main->menuItem(QString::fromLatin1(item))->trigger();
    EXPECT_LE(offCentre("FormAutoLayout"), 2);

    QMenu* windowMenu = main->menuItem(QStringLiteral("mnuWindow"))->menu();
    const auto entries = [windowMenu] {
        Q_EMIT windowMenu->aboutToShow();
        QList<QAction*> listed;
        for (QAction* a : windowMenu->actions())
            if (a->isCheckable())
                listed << a;
        return listed;
    };
    QList<QAction*> listed = entries();
    ASSERT_EQ(listed.size(), 3);
    EXPECT_TRUE(listed.first()->text().startsWith(QStringLiteral("&1 ")));
    EXPECT_EQ(
        std::count_if(listed.begin(), listed.end(), [](QAction* a) { return a->isChecked(); }), 1);
    EXPECT_TRUE(listed.last()->isChecked()) << "the users window, opened last";
    // A caption's ampersand is listed as one, not taken for an access key.
    QWidget* first = main->mdiArea()->subWindowList().at(0)->widget();
    const QString caption = first->windowTitle();
    first->setWindowTitle(QStringLiteral("R&D"));
    EXPECT_EQ(entries().at(0)->text(), QStringLiteral("&1 R&&D"));
    first->setWindowTitle(caption);
    // Previous and Next walk the windows in the order they were opened.
    const QList<QMdiSubWindow*> opened = main->mdiArea()->subWindowList();
    main->menuItem(QStringLiteral("mnuPreviousWindow"))->trigger();
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), opened.at(1));
    main->menuItem(QStringLiteral("mnuNextWindow"))->trigger();
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), opened.at(2));

    QMdiSubWindow* groups = main->mdiArea()->subWindowList().at(1);
    groups->showMinimized();
    entries().at(1)->trigger();
    EXPECT_FALSE(groups->isMinimized());
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), groups);
    // The window's own menu entry brings it back too.
    groups->showMinimized();
    main->menuItem(QStringLiteral("mnuEditgroups"))->trigger();
    EXPECT_FALSE(groups->isMinimized());

    // A long status text is cut, never widening the main window, and reads whole as a tooltip.
    const int width = main->width();
    const QString status(3000, u'W');
    main->setStatusText(status);
    QApplication::processEvents();
    EXPECT_EQ(main->width(), width);
    EXPECT_LT(main->minimumSizeHint().width(), width);
    const QList<QLabel*> labels = main->statusBar()->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [&status](QLabel* l) { return l->toolTip() == status; }));
    main->menuItem(QStringLiteral("mnuMiscConfig"))->trigger();
    EXPECT_LE(offCentre("FormMiscConfig"), 2);
}

} // namespace
