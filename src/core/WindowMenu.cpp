#include "WindowMenu.h"

#include "ResourceStrings.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>

#include <array>

namespace kaldor {

namespace {

// Tiling grows the main window until every child window fits at its minimum size; it may grow
// up to the screen, and where that is not enough the area scrolls.
void tile(QMdiArea* area)
{
    QWidget* main = area->window();
    const QSize maximum = main->maximumSize();
    if (const QScreen* screen = main->screen())
        main->setMaximumSize(
            (screen->availableSize() - (main->frameGeometry().size() - main->size()))
                .expandedTo(main->size()));
    area->tileSubWindows();
    main->setMaximumSize(maximum);
}

// The current window: the active one, also while a message box or the prompt dialog has taken
// the activation from the main window.
void closeCurrent(QMdiArea* area)
{
    if (QMdiSubWindow* window = area->currentSubWindow())
        window->close();
}

struct Command {
    const char16_t* name;
    int resource;
    std::array<const char*, 2> shortcuts; // the first is the one the menu shows
    void (*run)(QMdiArea* area);
};

constexpr int MenuCaption = 902;
constexpr int ChangeHistoryCaption = 950;

constexpr Command Commands[] = {
    {u"mnuCascade", 903, {}, [](QMdiArea* area) { area->cascadeSubWindows(); }},
    {u"mnuTile", 904, {}, tile},
    {u"mnuNextWindow",
     905,
     {"Ctrl+F6", "Ctrl+Tab"},
     [](QMdiArea* area) { area->activateNextSubWindow(); }},
    {u"mnuPreviousWindow",
     906,
     {"Ctrl+Shift+F6", "Ctrl+Shift+Tab"},
     [](QMdiArea* area) { area->activatePreviousSubWindow(); }},
    {u"mnuCloseWindow", 907, {"Ctrl+F4", nullptr}, closeCurrent},
};

QList<QKeySequence> shortcutsOf(const Command& c)
{
    QList<QKeySequence> keys;
    for (const char* s : c.shortcuts)
        if (s)
            keys.append(QKeySequence(QString::fromLatin1(s)));
    return keys;
}

// The window's caption as a menu entry: "&1 Caption" for the first nine, so that their number
// chooses them; an ampersand of the caption stays one.
QString entryText(int number, const QString& caption)
{
    QString text = caption;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const QString prefix = number < 10 ? QStringLiteral("&%1 ") : QStringLiteral("%1 ");
    return prefix.arg(number) + text;
}

} // namespace

WindowMenu::WindowMenu(QMenuBar* bar, QMdiArea* area) : QObject(bar), m_area(area)
{
    m_menu = bar->addMenu(QString());
    m_menu->setObjectName(QStringLiteral("mnuWindow"));
    m_menu->menuAction()->setObjectName(QStringLiteral("mnuWindow"));
    for (const Command& c : Commands) {
        QAction* item = m_menu->addAction(QString());
        item->setObjectName(QString::fromUtf16(c.name));
        item->setShortcuts(shortcutsOf(c));
        item->setShortcutContext(Qt::ApplicationShortcut);
        // A disabled menu keeps its items' shortcuts working: they ask the menu first.
        connect(item, &QAction::triggered, this, [this, run = c.run] {
            if (m_menu->menuAction()->isEnabled())
                run(m_area);
        });
        m_commands.append(item);
    }
    m_menu->addSeparator();
    m_changeHistory = m_menu->addAction(QString());
    m_changeHistory->setObjectName(QStringLiteral("mnuChangeHistory"));
    m_changeHistory->setEnabled(false);
    m_listSeparator = m_menu->addSeparator();
    connect(m_menu, &QMenu::aboutToShow, this, [this] { fillWindowList(); });
    connect(m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        // A window being deleted does not count once it is gone.
        if (window && !window->property("kaldorWatched").toBool()) {
            window->setProperty("kaldorWatched", true);
            connect(window, &QObject::destroyed, this,
                    [this](QObject* gone) { updateCommands(gone); });
        }
        updateCommands();
    });
    updateCommands();
}

QList<QAction*> WindowMenu::items() const
{
    return QList<QAction*>{m_menu->menuAction()} + m_commands + QList<QAction*>{m_changeHistory};
}

void WindowMenu::loadCaptions()
{
    m_menu->setTitle(resString(MenuCaption));
    for (qsizetype i = 0; i < m_commands.size(); ++i)
        m_commands.at(i)->setText(resString(Commands[i].resource));
    m_changeHistory->setText(resString(ChangeHistoryCaption));
}

QList<QKeySequence> WindowMenu::keys()
{
    QList<QKeySequence> keys;
    for (const Command& c : Commands)
        keys.append(shortcutsOf(c));
    return keys;
}

// A window counts as open from its showing until it is closed (hidden on its way to deletion).
void WindowMenu::updateCommands(const QObject* closing)
{
    bool open = false;
    for (QMdiSubWindow* window : m_area->subWindowList())
        open = open || (static_cast<const QObject*>(window) != closing && !window->isHidden());
    for (QAction* command : m_commands)
        command->setEnabled(open);
}

void WindowMenu::fillWindowList()
{
    qDeleteAll(m_windowList);
    m_windowList.clear();
    const QMdiSubWindow* current = m_area->currentSubWindow();
    int number = 0;
    for (QMdiSubWindow* window : m_area->subWindowList()) {
        if (window->isHidden())
            continue;
        QAction* entry = m_menu->addAction(entryText(++number, window->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(window == current);
        connect(entry, &QAction::triggered, this, [this, chosen = QPointer(window)] {
            if (!chosen)
                return;
            if (chosen->isMinimized())
                chosen->showNormal();
            m_area->setActiveSubWindow(chosen);
        });
        m_windowList.append(entry);
    }
    m_listSeparator->setVisible(!m_windowList.isEmpty());
}

} // namespace kaldor
