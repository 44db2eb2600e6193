#pragma once

#include <QString>
#include <QStringList>

class QObject;
class QWidget;

// Driving the program on a real X display (the xcb platform) with real input events, and
// checking what a user sees of a window's layout.
namespace kaldor::scenario {

// A named control of the window, or else a visible widget of that class inside it (such as
// "QMdi::ControllerWidget", the buttons of a maximized child window in the menu bar).
QObject* findWidget(QWidget* window, const QString& name);

// Runs xdotool with `args` while the program keeps handling its events, then waits until
// the events it caused have reached the program. Empty on success, else why not.
QString runXdotool(const QStringList& args);

// Moves the real mouse pointer to a point of `widget` (given as fractions of its width and
// height) and clicks the left button `clicks` times.
QString clickWithMouse(QWidget* widget, double x, double y, int clicks);

// Presses the real mouse button at a point of `widget` (fractions of its width and height, the
// last pixel for 1), moves the pointer by dx, dy pixels and lets the button go.
QString dragWithMouse(QWidget* widget, double x, double y, int dx, int dy);

// The point of a child window's title bar (or of a top-level window's client area) where a
// click lands on the frame itself.
QString clickTitleBar(QWidget* window, int clicks);

// Brings the window to the front on the display and waits until it is the active window.
QString activateWindow(QWidget* window);

// What is wrong with the window's layout as drawn: a control outside its parent, a control
// smaller than its minimum size hint, a month calendar smaller than its size hint, a label
// narrower than its text (or, wrapped, shorter than its lines, or so much taller that its text
// floats in its middle), a list entry wider than its list or its column, a tab strip that cuts
// its tabs, a layout that spreads its controls apart, a frame smaller than its window needs, a
// maximized frame that does not fill the main window or is not filled by its window, and Tab
// moving through the controls in another order than they are read. Empty when nothing is.
QStringList layoutFaults(QWidget* window);

// "F.C" of the control that has the keyboard focus, or "none".
QString focusedControl();

} // namespace kaldor::scenario
