#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QWidget;

namespace kaldor::scenario {

// Finds a window by objectName: the main window, a child window inside it, or a dialog.
QWidget* findWindow(const QString& name);
// Finds a named control of a window (a widget, or a menu item of the main window).
QObject* findControl(QWidget* window, const QString& name);

// The STATE line of a control or window ("STATE F.C kind=... ...").
QString describe(const QString& path, QObject* control, bool isWindow);
// The kind of a control as a STATE line names it (button, check, text, combo, list ...).
QString controlKind(QObject* control);
// The entries of a combo box, list, list view or tab strip (a list view's first column).
QStringList entriesOf(QObject* control);
// The named controls of a window, one for each name, by name (the main window's menu items too).
QList<QObject*> namedControls(QWidget* window);
// The windows shown now that a script can name, by name.
QList<QWidget*> openWindows();
// STATE lines of a window and every named control in it.
QStringList describeWindow(const QString& name, QWidget* window);

// Acting on controls as a user would. Each returns an empty text on success, or why the
// command cannot be done (a script error).
QString clickControl(QObject* control);
QString doubleClickControl(QObject* control, const QString* item);
QString selectItem(QObject* control, const QString& item);
QString chooseItem(QObject* control, const QString& item);
QString typeText(QObject* control, const QString& text);
// Whether `type` can type into the control (an editable text box or combo box).
bool takesTyping(QObject* control);
QString pressKey(QObject* control, const QString& key);
// Whether KEY names one character to press (as `key` types it), not a named key.
bool isCharacterKey(const QString& key);
QString setCheck(QObject* control, const QString& state);
QString pickDate(QObject* control, const QString& date);
QString switchTab(QObject* control, const QString& index);
// Whether tab `index` of a tab strip can be chosen (an index that is no tab counts as usable:
// switching to it is the script's error).
bool isTabEnabled(QObject* control, const QString& index);
// The same for the entry ITEM of `select` or `dblclick`; every entry of other controls is usable.
bool isEntryEnabled(QObject* control, const QString& item);

// Whether a user could act on the control now (it and its window enabled).
bool isUsable(QObject* control);

} // namespace kaldor::scenario
