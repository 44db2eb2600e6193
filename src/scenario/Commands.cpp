// The script language's commands: one table of every command with its arguments, what it
// needs, and its handler; the dispatcher that finds what a command acts on; the handlers.
#include "Runner.h"

#include "Controls.h"
#include "Desktop.h"
#include "MDIFormMain.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QMdiSubWindow>

namespace kaldor::scenario {

namespace {

// What a command needs before it can run.
enum class Needs {
    Nothing,         // runs in the runner, before the program too
    Program,         // the running program
    Window,          // a window F of the running program (F.C: C if there is one, else none)
    WindowOrControl, // a window F, or a control F.C that must exist
    Control,         // a control F.C that must exist
    UsableControl,   // a control F.C that a user could act on now (else DISABLED F.C)
};

constexpr qsizetype Any = -1;

// A tab that cannot be chosen is not clicked: DISABLED F.C, as for a disabled control.
bool refusedTab(const Command& c, bool enabled)
{
    if (!enabled)
        out(QStringLiteral("DISABLED ") + c.args.at(0));
    return !enabled;
}

} // namespace

struct Runner::CommandSpec {
    QStringView name;
    qsizetype minArgs;
    qsizetype maxArgs; // Any: no limit
    const char* usage; // the script error for another number of arguments
    Needs needs;
    bool afterEnd; // still runs after the program has ended
    Outcome (*run)(Runner& r, const Command& c, const Target& t);
};

const Runner::CommandSpec* Runner::commandSpec(const QString& name)
{
    using R = Runner;
    using C = const Command&;
    using T = const Target&;
    // clang-format off
    static const CommandSpec table[] = {
        {u"engine", 1, 1, "engine takes one word", Needs::Nothing, false,
         [](R& r, C c, T) { return r.engine(c); }},
        {u"seed", 1, 1, "seed takes one word", Needs::Nothing, false,
         [](R& r, C c, T) { return r.seed(c); }},
        {u"raw", 0, Any, "", Needs::Nothing, true,
         [](R& r, C c, T) { return r.raw(c.args.value(0)); }},
        {u"shell", 0, Any, "", Needs::Nothing, true,
         [](R& r, C c, T) { return r.shell(c); }},
        {u"table", 1, 1, "table takes a name", Needs::Nothing, true,
         [](R& r, C c, T) { return r.table(c); }},
        {u"log", 0, 0, "log takes nothing", Needs::Nothing, true,
         [](R& r, C, T) { r.printLog(); return Outcome::Done; }},
        {u"env", 2, 2, "env takes a name and a value", Needs::Nothing, false,
         [](R&, C c, T) {
             qputenv(c.args.at(0).toLocal8Bit().constData(), c.args.at(1).toLocal8Bit());
             return Outcome::Done;
         }},
        {u"settings", 1, 1, "settings takes a text", Needs::Nothing, false,
         [](R& r, C c, T) { return r.settings(c); }},
        {u"clock", 2, 2, "clock takes YYYY-MM-DD HH:MM:SS", Needs::Nothing, false,
         [](R& r, C c, T) {
             const QDateTime t = QDateTime::fromString(c.args.join(u' '),
                                                       QStringLiteral("yyyy-MM-dd HH:mm:ss"));
             if (!t.isValid())
                 return r.scriptError(c, QStringLiteral("clock takes YYYY-MM-DD HH:MM:SS"));
             setClock([t] { return t; });
             return Outcome::Done;
         }},
        {u"random", 1, 1, "random takes a number", Needs::Nothing, false,
         [](R& r, C c, T) {
             bool ok = false;
             const qulonglong seed = c.args.at(0).toULongLong(&ok);
             if (!ok)
                 return r.scriptError(c, QStringLiteral("random takes a number"));
             setRandomSeed(seed);
             return Outcome::Done;
         }},
        {u"server", 1, 1, "server takes down, stop or up, after engine", Needs::Nothing, true,
         [](R& r, C c, T) { return r.server(c); }},
        {u"reply", 1, 1, "reply takes OK, Cancel, Yes or No", Needs::Nothing, false,
         [](R& r, C c, T) {
             if (!parseAnswer(c.args.at(0)))
                 return r.scriptError(c, QStringLiteral("reply takes OK, Cancel, Yes or No"));
             r.m_replies.append(c.args.at(0));
             return Outcome::Done;
         }},
        {u"answer", 1, 1, "answer takes one text", Needs::Nothing, false,
         [](R& r, C c, T) { return r.answer(c); }},

        {u"login", 2, 2, "login takes a user and a password", Needs::Program, false,
         [](R& r, C c, T) { return r.login(c); }},
        {u"menu", 1, 1, "menu takes a menu item", Needs::Program, false,
         [](R& r, C c, T) { return r.menu(c); }},
        // monkey N SEED: N random user actions on what is open, each echoed as the line it runs.
        {u"monkey", 2, 2, "monkey takes a count and a seed", Needs::Program, false,
         [](R& r, C c, T) { return r.monkey(c); }},
        // xdo ARGS...: xdotool with these arguments, on the program's display.
        {u"xdo", 1, Any, "xdo takes the arguments of xdotool", Needs::Program, false,
         [](R& r, C c, T) { return r.outcomeOf(c, runXdotool(c.args)); }},
        // focus: FOCUS F.C of the control with the keyboard focus.
        {u"focus", 0, 0, "focus takes nothing", Needs::Program, false,
         [](R&, C, T) { out(QStringLiteral("FOCUS ") + focusedControl()); return Outcome::Done; }},

        {u"close", 1, 1, "close takes a window", Needs::Window, false,
         [](R& r, C c, T t) {
             if (c.args.at(0).contains(u'.'))
                 return r.scriptError(c, QStringLiteral("close takes a window"));
             if (auto* sub = qobject_cast<QMdiSubWindow*>(t.window->parentWidget()))
                 sub->close();
             else
                 t.window->close();
             return Outcome::Done;
         }},
        // screenshot F FILE: a picture of the window as it is drawn now (not in the transcript).
        {u"screenshot", 2, 2, "screenshot takes a window and a file", Needs::Window, false,
         [](R& r, C c, T t) {
             if (c.args.at(0).contains(u'.'))
                 return r.scriptError(c, QStringLiteral("screenshot takes a window and a file"));
             QWidget* frame = t.window->isWindow() ? t.window : t.window->parentWidget();
             if (!frame->grab().save(c.args.at(1)))
                 return r.scriptError(
                     c, QStringLiteral("cannot write %1").arg(quoted(c.args.at(1))));
             return Outcome::Done;
         }},
        {u"xactivate", 1, 1, "xactivate takes a window", Needs::Window, false,
         [](R& r, C c, T t) { return r.outcomeOf(c, activateWindow(t.window)); }},
        {u"xdrag", 5, 5, "xdrag takes a window or control, a point and a distance",
         Needs::Window, false, [](R& r, C c, T t) { return r.xdrag(c, t); }},
        {u"xclick", 1, Any, "", Needs::Window, false,
         [](R& r, C c, T t) { return r.xclick(c, t); }},
        {u"layout", 1, Any, "", Needs::Window, false,
         [](R& r, C c, T t) { return r.layout(c, t); }},
        {u"show", 1, 1, "show takes a window or a control", Needs::WindowOrControl, false,
         [](R& r, C c, T t) { return r.show(c, t); }},
        // tooltip F.C: TOOLTIP F.C "text"
        {u"tooltip", 1, 1, "tooltip takes a control", Needs::Control, false,
         [](R&, C c, T t) {
             out(QStringLiteral("TOOLTIP %1 %2")
                     .arg(c.args.at(0), quoted(t.control->property("toolTip").toString())));
             return Outcome::Done;
         }},

        {u"click", 1, 1, "click takes a control", Needs::UsableControl, false,
         [](R& r, C c, T t) { return r.outcomeOf(c, clickControl(t.control)); }},
        {u"dblclick", 1, 2, "dblclick takes a control and an entry", Needs::UsableControl, false,
         [](R& r, C c, T t) {
             if (c.args.size() == 2 && refusedTab(c, isEntryEnabled(t.control, c.args.at(1))))
                 return Outcome::Done;
             return r.outcomeOf(c, doubleClickControl(t.control, c.args.size() == 2 ? &c.args.at(1) : nullptr));
         }},
        {u"select", 2, 2, "select takes an entry", Needs::UsableControl, false,
         [](R& r, C c, T t) {
             if (refusedTab(c, isEntryEnabled(t.control, c.args.at(1))))
                 return Outcome::Done;
             return r.outcomeOf(c, selectItem(t.control, c.args.at(1)));
         }},
        {u"choose", 2, 2, "choose takes an entry", Needs::UsableControl, false,
         [](R& r, C c, T t) { return r.outcomeOf(c, chooseItem(t.control, c.args.at(1))); }},
        {u"type", 2, 2, "type takes a text", Needs::UsableControl, false,
         [](R& r, C c, T t) { return r.outcomeOf(c, typeText(t.control, c.args.at(1))); }},
        {u"key", 2, 2, "key takes a key", Needs::UsableControl, false,
         [](R& r, C c, T t) { return r.outcomeOf(c, pressKey(t.control, c.args.at(1))); }},
        {u"check", 2, 2, "check takes a state", Needs::UsableControl, false,
         [](R& r, C c, T t) { return r.outcomeOf(c, setCheck(t.control, c.args.at(1))); }},
        {u"date", 2, 2, "date takes a date", Needs::UsableControl, false,
         [](R& r, C c, T t) { return r.outcomeOf(c, pickDate(t.control, c.args.at(1))); }},
        {u"tab", 2, 2, "tab takes a number", Needs::UsableControl, false,
         [](R& r, C c, T t) {
             if (refusedTab(c, isTabEnabled(t.control, c.args.at(1))))
                 return Outcome::Done;
             return r.outcomeOf(c, switchTab(t.control, c.args.at(1)));
         }},
    };
    // clang-format on
    for (const CommandSpec& spec : table)
        if (spec.name == name)
            return &spec;
    return nullptr;
}

Runner::Outcome Runner::outcomeOf(const Command& c, const QString& why)
{
    return why.isEmpty() ? Outcome::Done : scriptError(c, why);
}

bool Runner::isCommand(const QString& name)
{
    return commandSpec(name) != nullptr;
}

bool Runner::runsAfterEnd(const QString& name)
{
    const CommandSpec* spec = commandSpec(name);
    return spec && spec->afterEnd;
}

Runner::Outcome Runner::execute(const Command& c)
{
    const CommandSpec* spec = commandSpec(c.name);
    if (!spec)
        return scriptError(c, QStringLiteral("unknown command %1").arg(quoted(c.name)));
    if (spec->needs != Needs::Nothing && !m_inProgram)
        return scriptError(c, QStringLiteral("the program is not running"));
    // What sets up the program's surroundings is read when it starts.
    if (m_inProgram && (c.name == u"engine" || c.name == u"env" || c.name == u"settings"))
        return scriptError(c, QStringLiteral("%1 must come before start").arg(c.name));
    // A malformed line is an error of the script, whatever the state of its control.
    if (c.args.size() < spec->minArgs || (spec->maxArgs != Any && c.args.size() > spec->maxArgs))
        return scriptError(c, QString::fromLatin1(spec->usage));
    Target target;
    Outcome outcome = Outcome::Done;
    if (!findTarget(c, *spec, target, outcome))
        return outcome;
    return spec->run(*this, c, target);
}

bool Runner::findTarget(const Command& c, const CommandSpec& spec, Target& target, Outcome& outcome)
{
    if (spec.needs == Needs::Nothing || spec.needs == Needs::Program)
        return true;
    if (c.args.isEmpty()) {
        outcome = scriptError(c, QStringLiteral("%1 needs a window").arg(c.name));
        return false;
    }
    const QString& path = c.args.at(0);
    const qsizetype dot = path.indexOf(u'.');
    const QString windowName = dot < 0 ? path : path.left(dot);
    target.window = findWindow(windowName);
    if (!target.window) {
        outcome = scriptError(c, QStringLiteral("unknown window %1").arg(quoted(windowName)));
        return false;
    }
    if (spec.needs == Needs::Window) {
        target.control = dot < 0 ? nullptr : findWidget(target.window, path.mid(dot + 1));
        return true;
    }
    if (dot < 0) {
        if (spec.needs == Needs::WindowOrControl)
            return true;
        outcome = scriptError(c, QStringLiteral("%1 needs a control").arg(c.name));
        return false;
    }
    target.control = findControl(target.window, path.mid(dot + 1));
    if (!target.control) {
        outcome = scriptError(c, QStringLiteral("unknown control %1").arg(quoted(path)));
        return false;
    }
    if (spec.needs == Needs::UsableControl && !isUsable(target.control)) {
        out(QStringLiteral("DISABLED ") + path);
        return false;
    }
    return true;
}

// ---- the handlers ---------------------------------------------------------------------------

// server down: the server refuses every request; stop: it no longer answers at all; up: both
// undone.
Runner::Outcome Runner::server(const Command& c)
{
    const QStringList states{QStringLiteral("down"), QStringLiteral("stop"), QStringLiteral("up")};
    if (!states.contains(c.args.at(0)) || m_engineDatabase.isEmpty())
        return scriptError(c, QStringLiteral("server takes down, stop or up, after engine"));
    const QString down = m_engineDatabase + QStringLiteral(".down");
    const QString stopped = m_engineDatabase + QStringLiteral(".hang");
    if (c.args.at(0) == u"up") {
        QFile::remove(down);
        QFile::remove(stopped);
    } else {
        QFile(c.args.at(0) == u"down" ? down : stopped).open(QIODevice::WriteOnly);
    }
    return Outcome::Done;
}

// answer TEXT, answer --cancel, or answer --open: the next prompt dialog stays open for the
// commands that follow.
Runner::Outcome Runner::answer(const Command& c)
{
    const QString& a = c.args.at(0);
    if (a == u"--open")
        m_prompts.append(Prompt{false, {}, true});
    else
        m_prompts.append(a == u"--cancel" ? Prompt{true, {}} : Prompt{false, a});
    return Outcome::Done;
}

Runner::Outcome Runner::login(const Command& c)
{
    QWidget* form = findWindow(QStringLiteral("FormConnect"));
    if (!form || !form->isVisible())
        return scriptError(c, QStringLiteral("the login window is not open"));
    if (m_dialect.isEmpty()) {
        m_rawUser = c.args.at(0);
        m_rawPassword = c.args.at(1);
    }
    typeText(findControl(form, QStringLiteral("TextLogin")), c.args.at(0));
    typeText(findControl(form, QStringLiteral("TextPassword")), c.args.at(1));
    QObject* button = findControl(form, QStringLiteral("CommandConnect"));
    if (!isUsable(button)) {
        out(QStringLiteral("DISABLED FormConnect.CommandConnect"));
        return Outcome::Done;
    }
    clickControl(button);
    return Outcome::Done;
}

Runner::Outcome Runner::menu(const Command& c)
{
    auto* main = qobject_cast<MDIFormMain*>(findWindow(QStringLiteral("MDIFormMain")));
    QAction* item = main ? main->menuItem(c.args.at(0)) : nullptr;
    if (!item)
        return scriptError(c, QStringLiteral("unknown menu item %1").arg(quoted(c.args.at(0))));
    if (!main->isReachable(item))
        out(QStringLiteral("DISABLED ") + c.args.at(0));
    else
        item->trigger();
    return Outcome::Done;
}

Runner::Outcome Runner::show(const Command& c, const Target& t)
{
    if (t.control) {
        out(describe(c.args.at(0), t.control, false));
        return Outcome::Done;
    }
    for (const QString& line : describeWindow(c.args.at(0), t.window))
        out(line);
    return Outcome::Done;
}

// xdrag F[.C] X Y DX DY: the real mouse presses at fractions X, Y of the control (of the
// window's frame for F, whose edges resize it) and moves DX, DY pixels.
Runner::Outcome Runner::xdrag(const Command& c, const Target& t)
{
    const QStringList& a = c.args;
    QWidget* target = qobject_cast<QWidget*>(t.control);
    if (!target && !a.at(0).contains(u'.'))
        target = t.window->isWindow() ? t.window : t.window->parentWidget();
    bool ok = target != nullptr;
    double at[2] = {0, 0};
    int by[2] = {0, 0};
    for (int i = 0; ok && i < 2; ++i) {
        at[i] = a.at(1 + i).toDouble(&ok);
        if (ok)
            by[i] = a.at(3 + i).toInt(&ok);
    }
    if (!ok)
        return scriptError(c, QStringLiteral("xdrag takes a window or control, a point and a "
                                             "distance"));
    return outcomeOf(c, dragWithMouse(target, at[0], at[1], by[0], by[1]));
}

// xclick F.C [double] [X Y]: the real mouse clicks the control (at fractions X, Y of its size;
// the centre by default); xclick F [double] clicks the window's title bar.
Runner::Outcome Runner::xclick(const Command& c, const Target& t)
{
    const QStringList& a = c.args;
    const bool twice = a.contains(QStringLiteral("double"));
    QStringList at = a.mid(1);
    at.removeAll(QStringLiteral("double"));
    bool okX = true;
    bool okY = true;
    const double x = at.size() == 2 ? at.at(0).toDouble(&okX) : 0.5;
    const double y = at.size() == 2 ? at.at(1).toDouble(&okY) : 0.5;
    if ((!at.isEmpty() && at.size() != 2) || !okX || !okY)
        return scriptError(c, QStringLiteral("xclick takes a window or control, double, and a "
                                             "point"));
    if (a.at(0).contains(u'.') && !qobject_cast<QWidget*>(t.control))
        return scriptError(c, QStringLiteral("unknown control %1").arg(quoted(a.at(0))));
    return outcomeOf(c, t.control
                            ? clickWithMouse(static_cast<QWidget*>(t.control), x, y, twice ? 2 : 1)
                            : clickTitleBar(t.window, twice ? 2 : 1));
}

// layout F: LAYOUT F ok, or one LAYOUT line for each fault of the window as drawn.
Runner::Outcome Runner::layout(const Command& c, const Target& t)
{
    const QStringList faults = layoutFaults(t.window);
    QWidget* frame = t.window->isWindow() ? t.window : t.window->parentWidget();
    if (faults.isEmpty())
        out(QStringLiteral("LAYOUT %1 ok").arg(c.args.at(0)) +
            (frame->isMaximized() ? QStringLiteral(" maximized") : QString()));
    for (const QString& fault : faults)
        out(QStringLiteral("LAYOUT ") + fault);
    return Outcome::Done;
}

} // namespace kaldor::scenario
