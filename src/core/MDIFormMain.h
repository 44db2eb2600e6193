#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;

namespace kaldor {

class WindowMenu;

// The main window: the frame of the whole run, its menu and its child windows.
class MDIFormMain final : public QMainWindow {
    Q_OBJECT
public:
    using WindowFactory = std::function<QWidget*()>;

    MDIFormMain();
    ~MDIFormMain() override;

    // Runs the opening procedure: title, icon, captions, the login window.
    void MDIFormLoad();

    // The menu item or top-level menu with that objectName, and whether a user can reach it
    // (it and every menu above it enabled).
    QAction* menuItem(const QString& name) const;
    bool isReachable(const QAction* item) const;

    // Shows the single instance of a child window, creating it when needed.
    QWidget* showChild(const QString& className, const WindowFactory& create);
    QMdiArea* mdiArea() const { return m_mdi; }

    void setBeforeLoginTitle(const QString& tail);
    void setAfterLoginTitle(const QString& dataSource);

    // The text of the status bar (`StatusBarMain`): what was saved last and when, or what
    // failed.
    void setStatusText(const QString& text);
    // A note beside it that stays: the change journal could not be written, and why.
    void setJournalNote(const QString& why);

    static QString titleHead();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void enableStartupMenus();
    void mnuExit_Click();
    void choose(const QString& itemName);

    QMdiArea* m_mdi = nullptr;
    WindowMenu* m_windowMenu = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_journalNote = nullptr;
    QHash<QString, QAction*> m_items;
    QHash<QString, QPointer<QWidget>> m_children;
};

// Where each menu item's window comes from; windows register themselves at start-up.
void registerMenuWindow(const QString& itemName, const QString& className,
                        MDIFormMain::WindowFactory factory);

MDIFormMain* mainWindow();

} // namespace kaldor
