#include "MDIFormMain.h"

#include "ChildWindow.h"
#include "FormConnect.h"
#include "Journal.h"
#include "KeyboardConventions.h"
#include "ModuleGlobals.h"
#include "ResourceStrings.h"
#include "Seams.h"
#include "WindowHelpers.h"
#include "WindowMenu.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>

namespace kaldor {

namespace {

struct MenuEntry {
    const char16_t* name;
    const char16_t* parent; // nullptr for the menu bar
    int resource;
    const char* shortcut;
    bool enabledBeforeLogin;
};

// The menu tree, in menu order.
constexpr MenuEntry Menus[] = {
    {u"mnuFile", nullptr, 415, nullptr, true},
    {u"mnuExit", u"mnuFile", 416, "Ctrl+I", true},
    {u"mnuGroups", nullptr, 111, nullptr, false},
    {u"mnuEditgroups", u"mnuGroups", 115, "Ctrl+G", true},
    {u"mnuEditUsers", u"mnuGroups", 170, "Ctrl+U", true},
    {u"mnuSecurity", nullptr, 112, nullptr, false},
    {u"mnuSecFeat", u"mnuSecurity", 232, "Ctrl+E", true},
    {u"mnuAccess", u"mnuSecurity", 199, "Ctrl+P", true},
    {u"mnuMonitor", nullptr, 113, nullptr, false},
    {u"mnuReports", nullptr, 169, nullptr, false},
    {u"mnuSQL", u"mnuReports", 116, "Ctrl+S", true},
    {u"mnuDatabase", nullptr, 236, nullptr, true},
    {u"mnuFieldConfig", u"mnuDatabase", 214, "Ctrl+F", false},
    {u"mnuResultsHeader", u"mnuDatabase", 421, "Ctrl+H", false},
    {u"MnuTreeConfig", u"mnuDatabase", 375, "Ctrl+T", false},
    {u"mnuWebConfig", u"mnuDatabase", 237, "Ctrl+W", false},
    {u"mnuDesktopConfiguration", u"mnuDatabase", 525, "Ctrl+D", false},
    {u"mnuMiscConfig", u"mnuDatabase", 245, "Ctrl+L", true},
    {u"mnuAutoLayout", u"mnuDatabase", 532, nullptr, false},
    {u"mnuRunDiags", u"mnuDatabase", 533, nullptr, false},
};

// The entries that a successful login enables, in this order, then the Window menu, which
// before the login would reach only the login window (and close it for good).
constexpr const char16_t* StartupEntries[] = {
    u"mnuGroups",       u"mnuSecurity",      u"mnuMonitor",
    u"mnuReports",      u"mnuWebConfig",     u"MnuTreeConfig",
    u"mnuFieldConfig",  u"mnuResultsHeader", u"mnuDesktopConfiguration",
    u"mnuAutoLayout",   u"mnuRunDiags",      u"mnuWindow",
    u"mnuChangeHistory"};

struct Registration {
    QString className;
    MDIFormMain::WindowFactory factory;
};

QHash<QString, Registration>& registry()
{
    static QHash<QString, Registration> r;
    return r;
}

// The shortcuts of the menu, the Window menu's included, which win over every control.
QList<QKeySequence> menuKeys()
{
    QList<QKeySequence> keys;
    for (const MenuEntry& e : Menus) {
        if (e.shortcut)
            keys.append(QKeySequence(QString::fromLatin1(e.shortcut)));
    }
    keys.append(WindowMenu::keys());
    return keys;
}

QPointer<MDIFormMain>& instance()
{
    static QPointer<MDIFormMain> p;
    return p;
}

} // namespace

void registerMenuWindow(const QString& itemName, const QString& className,
                        MDIFormMain::WindowFactory factory)
{
    registry().insert(itemName, {className, std::move(factory)});
}

MDIFormMain* mainWindow()
{
    return instance();
}

MDIFormMain::MDIFormMain()
{
    setObjectName(QStringLiteral("MDIFormMain"));
    instance() = this;
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(m_mdi);
    // Room for the largest child windows: nine tenths of the screen, at least 1024 x 720.
    QSize size(1024, 720);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.expandedTo(screen->availableSize() * 9 / 10);
    resize(size);
    buildMenus();
    // One line of text; a long one is cut rather than widening the window.
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBarMain"));
    m_status = new QLabel(bar);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(m_status, 1);
    m_journalNote = new QLabel(bar);
    m_journalNote->setTextFormat(Qt::PlainText);
    m_journalNote->hide();
    bar->addPermanentWidget(m_journalNote);
    setStatusBar(bar);
    setJournalFailureHandler([this](const QString& why) { setJournalNote(why); });
    installKeyboardConventions(this, menuKeys());
    setMainWindowHooks(
        {[this](const QString& ds) { setAfterLoginTitle(ds); }, [this] { enableStartupMenus(); }});
}

MDIFormMain::~MDIFormMain()
{
    setMainWindowHooks({});
    setJournalFailureHandler({});
}

QString MDIFormMain::titleHead()
{
    return resString(101) + QLatin1Char(' ') + resString(102) + QStringLiteral(" Version: ") +
           QString::number(KALDOR_VERSION_MAJOR) + QLatin1Char('.') +
           QString::number(KALDOR_VERSION_MINOR) + QLatin1Char('.') +
           QString::number(KALDOR_VERSION_PATCH);
}

void MDIFormMain::setBeforeLoginTitle(const QString& tail)
{
    setWindowTitle(titleHead() + tail);
}

void MDIFormMain::setAfterLoginTitle(const QString& dataSource)
{
    setWindowTitle(titleHead() + QStringLiteral("     Data Source: ") + dataSource);
}

void MDIFormMain::setStatusText(const QString& text)
{
    m_status->setText(text);
    m_status->setToolTip(text);
}

void MDIFormMain::setJournalNote(const QString& why)
{
    m_journalNote->setText(resString(972).arg(why));
    m_journalNote->setToolTip(m_journalNote->text());
    m_journalNote->show();
}

void MDIFormMain::buildMenus()
{
    QHash<QString, QMenu*> menus;
    for (const MenuEntry& e : Menus) {
        const QString name = QString::fromUtf16(e.name);
        QAction* item = nullptr;
        if (!e.parent) {
            QMenu* menu = menuBar()->addMenu(QString());
            menu->setObjectName(name);
            menus.insert(name, menu);
            item = menu->menuAction();
        } else {
            item = menus.value(QString::fromUtf16(e.parent))->addAction(QString());
            if (e.shortcut)
                item->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
            item->setShortcutContext(Qt::ApplicationShortcut);
            connect(item, &QAction::triggered, this, [this, name] { choose(name); });
        }
        item->setObjectName(name);
        item->setEnabled(e.enabledBeforeLogin);
        m_items.insert(name, item);
    }
    m_windowMenu = new WindowMenu(menuBar(), m_mdi);
    for (QAction* item : m_windowMenu->items())
        m_items.insert(item->objectName(), item);
    m_items.value(QStringLiteral("mnuWindow"))->setEnabled(false);
    QAction* history = m_windowMenu->changeHistoryItem();
    connect(history, &QAction::triggered, this,
            [this, name = history->objectName()] { choose(name); });
    // F10 opens the first menu that can be used, as on Windows; the arrows go on from there.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        const QList<QAction*> bar = menuBar()->actions();
        const auto usable = std::find_if(
            bar.begin(), bar.end(), [](QAction* a) { return a->isVisible() && a->isEnabled(); });
        if (usable != bar.end())
            menuBar()->setActiveAction(*usable);
    });
}

void MDIFormMain::MDIFormLoad()
{
    QString tail;
    Trapped(QStringLiteral("MDIFormMain,MDIFormLoad"), QString(), [&] {
        const QString name = ReadDataSource();
        if (!name.isEmpty()) {
            config().DataSource = name;
            tail = QStringLiteral("    Data Source (Before Login): ") + name;
        }
    });
    setBeforeLoginTitle(tail);
    setWindowIcon(QIcon(QStringLiteral(":/icons/101.png")));
    for (const MenuEntry& e : Menus) {
        QAction* item = m_items.value(QString::fromUtf16(e.name));
        const QString caption = resString(e.resource);
        item->setText(caption);
        if (item->menu())
            item->menu()->setTitle(caption);
    }
    m_windowMenu->loadCaptions();
    showChild(QStringLiteral("FormConnect"), [] { return new FormConnect; });
    if (tail.isEmpty())
        messageBox(QStringLiteral("You should select an ODBC Source first form the "
                                  "configuration|Local Settings Menu before Loggin in."));
}

QAction* MDIFormMain::menuItem(const QString& name) const
{
    return m_items.value(name);
}

bool MDIFormMain::isReachable(const QAction* item) const
{
    if (!item || !item->isEnabled())
        return false;
    // An entry of a menu is reached through the menu's own entry.
    for (const QObject* holder : item->associatedObjects())
        if (const auto* menu = qobject_cast<const QMenu*>(holder))
            return isReachable(menu->menuAction());
    return true;
}

void MDIFormMain::enableStartupMenus()
{
    for (const char16_t* name : StartupEntries)
        m_items.value(QString::fromUtf16(name))->setEnabled(true);
}

void MDIFormMain::choose(const QString& itemName)
{
    QAction* item = m_items.value(itemName);
    if (!isReachable(item))
        return;
    if (itemName == u"mnuExit") {
        mnuExit_Click();
        return;
    }
    const auto found = registry().constFind(itemName);
    if (found != registry().constEnd())
        showChild(found->className, found->factory);
}

void MDIFormMain::mnuExit_Click()
{
    const MsgAnswer a = messageBox(resString(417), MsgButtons::YesNo, MsgIcon::Exclamation,
                                   resString(101), MsgAnswer::No);
    if (a == MsgAnswer::Yes)
        endProgram(0);
}

QWidget* MDIFormMain::showChild(const QString& className, const WindowFactory& create)
{
    QPointer<QWidget>& existing = m_children[className];
    if (existing) {
        if (auto* reopened = dynamic_cast<ChildWindow*>(existing.data()))
            reopened->FormReopen();
        if (auto* sub = qobject_cast<QMdiSubWindow*>(existing->parentWidget())) {
            sub->showNormal();
            m_mdi->setActiveSubWindow(sub);
        }
        existing->raise();
        return existing;
    }
    QWidget* window = create();
    window->setObjectName(className);
    holdWholeTexts(window);
    QMdiSubWindow* sub = m_mdi->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    activateUsedBeforeOnClose(sub);
    releaseMenuKeys(sub, menuKeys());
    existing = window;
    // The window opens with its own size, caption and icon: its opening procedure runs in
    // its frame before the frame is shown.
    if (auto* loadable = dynamic_cast<ChildWindow*>(window))
        loadable->FormLoad();
    if (!existing)
        return nullptr;
    growToLayout(window);
    window->show();
    sub->show();
    return window;
}

void MDIFormMain::closeEvent(QCloseEvent* event)
{
    SaveConfig();
    event->accept();
    endProgram(0);
}

} // namespace kaldor
