#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;
class QMdiArea;
class QMenu;
class QMenuBar;

namespace kaldor {

// The main window's Window menu, after its other menus: cascade or tile the child windows, go to
// the next or the previous one, close the active one, and choose one from the list of open
// windows, where the active one is checked. Its commands are disabled while no child window is
// open. Change History, above the list, opens the change journal's window whenever it is enabled
// (from the login on), also with no child window open.
class WindowMenu final : public QObject {
    Q_OBJECT
public:
    WindowMenu(QMenuBar* bar, QMdiArea* area);

    // The menu (`mnuWindow`) and its commands, each with its objectName.
    QList<QAction*> items() const;
    // The item that opens the change history (`mnuChangeHistory`), disabled until the login.
    QAction* changeHistoryItem() const { return m_changeHistory; }
    // Sets the captions from the resource strings.
    void loadCaptions();
    // The shortcuts of the commands.
    static QList<QKeySequence> keys();

private:
    void updateCommands(const QObject* closing = nullptr);
    void fillWindowList();

    QMdiArea* m_area;
    QMenu* m_menu;
    QList<QAction*> m_commands;
    QAction* m_changeHistory;
    QAction* m_listSeparator;
    QList<QAction*> m_windowList;
};

} // namespace kaldor
