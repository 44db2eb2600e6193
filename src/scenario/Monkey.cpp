#include "Monkey.h"

#include "Controls.h"
#include "MDIFormMain.h"
#include "Script.h"

#include <QAction>
#include <QDate>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QWidget>

namespace kaldor::scenario {

namespace {

// Whether a user could reach the control now: shown and enabled.
bool reachable(QWidget* window, QObject* control)
{
    // File, Exit is left out, as closing the main window is: a run goes on for its whole count
    // unless the program ends by itself (its error routine).
    if (auto* a = qobject_cast<QAction*>(control)) {
        const auto* main = qobject_cast<MDIFormMain*>(window);
        return main && main->isReachable(a) && a->isVisible() && !a->menu() && !a->isSeparator() &&
               a->objectName() != u"mnuExit";
    }
    auto* w = qobject_cast<QWidget*>(control);
    const QString kind = controlKind(control);
    return w && w->isVisible() && isUsable(w) && kind != u"label" && kind != u"frame";
}

} // namespace

QString Monkey::nextLine()
{
    const QList<QWidget*> windows = openWindows();
    if (windows.isEmpty())
        return QStringLiteral("focus");
    QWidget* window = windows.at(below(windows.size()));
    const QString name = window->objectName();
    if (below(20) == 0 && !qobject_cast<QMainWindow*>(window))
        return QStringLiteral("close ") + name;
    QList<QObject*> usable;
    for (QObject* c : namedControls(window))
        if (reachable(window, c))
            usable.append(c);
    if (usable.isEmpty())
        return QStringLiteral("show ") + name;
    QObject* control = usable.at(below(usable.size()));
    if (qobject_cast<QAction*>(control))
        return QStringLiteral("menu ") + control->objectName();
    const QString path = name + u'.' + control->objectName();
    return m_desktop && below(2) == 0 ? realInputOn(window, path) : actionOn(path, control);
}

QString Monkey::replyLine(const QString& buttons)
{
    const char* const offered[][2] = {{"OK", "OK"}, {"OK", "Cancel"}, {"Yes", "No"}};
    const int set = buttons == u"okcancel" ? 1 : buttons == u"yesno" ? 2 : 0;
    return QStringLiteral("reply ") + QLatin1String(offered[set][below(2)]);
}

QString Monkey::answerLine()
{
    return below(3) == 0 ? QStringLiteral("answer --cancel")
                         : QStringLiteral("answer ") + quoted(randomText());
}

QString Monkey::actionOn(const QString& path, QObject* control)
{
    const QString kind = controlKind(control);
    const QStringList entries = entriesOf(control);
    const QString entry =
        entries.isEmpty() ? QString() : u'#' + QString::number(below(entries.size()));
    const auto line = [&path](const char* command, const QString& argument = {}) -> QString {
        return QLatin1String(command) + u' ' + path +
               (argument.isEmpty() ? QString() : u' ' + argument);
    };
    if (kind == u"button" || kind == u"check" || kind == u"option")
        return line("click");
    if (takesTyping(control) && (kind == u"text" || below(2) == 0))
        return below(4) == 0 ? line("key", randomKey()) : line("type", quoted(randomText()));
    if (kind == u"combo" && !entry.isEmpty())
        return line("choose", entry);
    if (kind == u"text" || kind == u"combo")
        return line("key", randomKey());
    if (kind == u"list" || kind == u"listview") {
        if (entry.isEmpty())
            return line("key", randomKey());
        return below(4) == 0 ? line("dblclick", entry) : line("select", entry);
    }
    if (kind == u"tab" && !entries.isEmpty())
        return line("tab", QString::number(below(entries.size())));
    if (kind == u"calendar")
        return line("date", QDate(2020, 1, 1).addDays(below(3653)).toString(Qt::ISODate));
    return line("show");
}

// Real input on a display: the mouse on the control or on the window's frame, or the keyboard,
// whose keys go to whatever has the focus then. Keys that ask the window manager to close or
// switch windows (Alt+F4, Ctrl+Alt+arrows) are left out, and so is Alt+F (File, with Exit).
QString Monkey::realInputOn(QWidget* window, const QString& path)
{
    const QString name = window->objectName();
    // Only a child window has a frame of its own inside the main window.
    const bool framed = qobject_cast<QMdiSubWindow*>(window->parentWidget()) != nullptr;
    static const char* const keys[] = {
        "Return", "KP_Enter", "Escape", "Tab",    "shift+Tab", "space",      "Up",     "Down",
        "Left",   "Right",    "Home",   "End",    "Prior",     "Next",       "Delete", "BackSpace",
        "ctrl+a", "ctrl+c",   "ctrl+v", "ctrl+z", "a",         "apostrophe", "7",      "alt+w",
        "alt+e",  "alt+s",    "alt+d",  "alt+r",  "alt+c",     "alt+o",      "F1",     "Menu"};
    const auto fraction = [this] { return QString::number(0.05 + below(91) / 100.0); };
    switch (below(10)) {
    case 0:
    case 1:
    case 2:
        return QStringLiteral("xclick ") + path + u' ' + fraction() + u' ' + fraction();
    case 3:
        return QStringLiteral("xclick ") + path + QStringLiteral(" double");
    case 4:
    case 5:
    case 6:
        return QStringLiteral("xdo key ") + QLatin1String(keys[below(std::size(keys))]);
    case 7:
        return QStringLiteral("xdo type -- ") + quoted(randomText().left(40));
    case 8:
        return (framed ? QStringLiteral("xclick ") : QStringLiteral("xactivate ")) + name;
    default:
        if (!framed)
            return QStringLiteral("xactivate ") + name;
        return QStringLiteral("xdrag %1 1 1 %2 %3")
            .arg(name)
            .arg(below(601) - 300)
            .arg(below(601) - 300);
    }
}

// Texts a user might type, the awkward ones included: quotes, backslashes, SQL, characters
// beyond ASCII, numbers of every shape, and texts longer than any column.
QString Monkey::randomText()
{
    static const char16_t* const texts[] = {u"",
                                            u" ",
                                            u"Alpha",
                                            u"O'Brien",
                                            u"x''y'",
                                            u"\\",
                                            u"C:\\Temp\\",
                                            u"50%",
                                            u"-12",
                                            u"3.5",
                                            u"1e3",
                                            u"0",
                                            u"99999999999999999999",
                                            u"');commit;drop table mt.userlist;--",
                                            u"Größe Süd",
                                            u"😀",
                                            u"a\"b",
                                            u"2026-02-30",
                                            u"23:59",
                                            u"&H1F",
                                            u"Line\r\nTwo"};
    const int pick = below(std::size(texts) + 3);
    if (pick < int(std::size(texts)))
        return QString::fromUtf16(texts[pick]);
    // A run of one character, up to well past the longest column.
    return QString(1 + below(400), QChar(u"aZ'9"[below(4)]));
}

QString Monkey::randomKey()
{
    static const char16_t* const keys[] = {u"Enter", u"Escape", u"Tab", u"a",
                                           u"7",     u"'",      u"é",   u"😀"};
    return QString::fromUtf16(keys[below(std::size(keys))]);
}

} // namespace kaldor::scenario
