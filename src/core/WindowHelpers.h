#pragma once

#include "TextRules.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <initializer_list>
#include <utility>

class QAbstractItemView;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QObject;
class QTabWidget;
class QWidget;

namespace kaldor::db {
class ResultSet;
}

// Small pieces that the editing windows share: icons, filling lists, drop-down texts, the
// list click, the numeric test of typed input.
namespace kaldor {

// A new control with its objectName set.
template <class Widget, class... Args> Widget* named(const QString& objectName, Args&&... args)
{
    auto* widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(objectName);
    return widget;
}

// The row of a window's buttons: `left` at the left edge, `right` at the right edge.
QHBoxLayout* buttonRow(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right);

// Closes (unloads) a window shown in the main window, with its frame.
void closeChildWindow(QWidget* window);

// Shows icon resource `id` on the window and on its frame in the main window.
void setWindowResIcon(QWidget* window, int id);

// Masks the text box's characters with "*" (or shows them again).
void setMasked(QLineEdit* box, bool masked);

// Replaces the entries in one pass with the control's signals blocked; no entry is selected
// afterwards and, for a combo box, its text is empty.
void fillList(QListWidget* list, const QStringList& entries);
void fillCombo(QComboBox* combo, const QStringList& entries);

// An editable combo box that takes its text as typed: no completion from its entries, and
// typed text never becomes an entry.
void makeTypedCombo(QComboBox* combo);

// Calls `handler` when the user chooses an entry from the combo box's list (from its drop-down
// list or with the arrow keys). Text typed into an editable combo box is no choice, also when
// it equals an entry and is finished with Enter or by leaving the box.
void connectListChoice(QComboBox* combo, QObject* context, const std::function<void()>& handler);

// A drop-down list that offers only its entries, yet can show a text that is none of them.
// Typed letters pick the entry that begins with them, as in a plain drop-down list.
void makeSelectionOnly(QComboBox* combo);
// Selects the entry whose text equals `text` (exactly, else ignoring case); when there is none,
// shows `text` with no entry selected (an editable or selection-only combo box).
void setComboText(QComboBox* combo, const QString& text);

// Shows a stored text exactly: the entry that equals it (case-sensitive), or the text alone
// with no entry selected (an editable or selection-only combo box).
void showStoredText(QComboBox* combo, const QString& text);

// Adds the text to a list box kept in that order.
void addSorted(QListWidget* list, const QString& text);

// Removes the entry at `row` of a list box and leaves nothing selected (Qt would select the
// next entry), without reporting a click: a second press of the button or key that removed an
// entry removes nothing.
void removeEntry(QListWidget* list, int row);

// The text of the selected entry of a list box, or a null QString when none is selected.
QString selectedText(const QAbstractItemView* list);

// Calls `handler` once for each pick of an entry by the user: a click (also on the entry
// that is selected already) or a move of the selection with the keyboard. A selection made
// by code with the list's signals blocked does not call it.
void connectListClick(QAbstractItemView* list, QObject* context,
                      const std::function<void()>& handler);

// Calls `handler` when the user double-clicks an entry of the list, or presses Enter while an
// entry is selected: what otherwise only a double click does (the move of the entry to another
// list, the edit of a prompt).
void connectEntryChoice(QAbstractItemView* list, QObject* context,
                        const std::function<void()>& handler);

// Disables a window's entry list while its entry is edited (`locked`) and enables it again. A
// list that had the keyboard focus when it was locked gets it back when it is unlocked: loading
// an entry passes through the edited state (code's changes to the controls count as edits), and
// the arrow keys must go on moving through the list rather than edit the control that the
// focus fell to.
void lockList(QWidget* list, bool locked);

// Enables or disables one tab of a tab strip: a disabled tab cannot be chosen. The tab shown
// stays shown, also when it is the one disabled, and no page's controls change their enabled
// state (QTabWidget::setTabEnabled would switch away from the tab shown and disable its page).
void enableTab(QTabWidget* tabs, int index, bool enabled);

// Calls `handler` when the control is double-clicked (after the click that the first press
// and release make), for controls such as option buttons that have no such signal.
void connectDoubleClick(QWidget* control, QObject* context, const std::function<void()>& handler);

// Every text box of the window (editable combo boxes included) holds a whole text, however
// long, where a box of its own has no length limit.
void holdWholeTexts(QWidget* window);

// At most `maxLength` UTF-16 units in the text box (no limit when it is 0 or less). A
// character that does not fit whole, such as an emoji of two units at the last place, is
// left out whole rather than cut in half.
void limitLength(QLineEdit* box, int maxLength);

} // namespace kaldor
