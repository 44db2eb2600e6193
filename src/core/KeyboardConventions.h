#pragma once

#include <QKeySequence>
#include <QList>

class QMdiSubWindow;
class QObject;

namespace kaldor {

// Key handling as a Windows-trained administrator expects it, for the whole application:
// - the main menu's shortcuts win over every control and window frame (a focused text box
//   neither takes them as line-editing keys nor edits its text with them);
// - Enter on a focused button presses it, as Space does.
// The handler lives as long as `owner`.
void installKeyboardConventions(QObject* owner, const QList<QKeySequence>& menuKeys);

// Takes the main menu's shortcuts away from the actions of a child window's system menu
// (Ctrl+W closes the child window there by default).
void releaseMenuKeys(QMdiSubWindow* frame, const QList<QKeySequence>& menuKeys);

} // namespace kaldor
