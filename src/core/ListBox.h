#pragma once

#include "TypeAhead.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListWidget>

namespace kaldor {

// A list view that keeps its selection as a list box does: once an entry is selected, a click
// beside the entries, a drag off them, or Ctrl with a click or Space leaves it selected. Qt's
// views drop the selection there, and a window would go on showing the entry with none selected
// to save it under.
template <class View> class KeepsSelection : public View {
public:
    using View::View;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override
    {
        const QItemSelectionModel::SelectionFlags command = View::selectionCommand(index, event);
        if (!index.isValid() ||
            command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
            return QItemSelectionModel::NoUpdate;
        return command;
    }

    // A key that would move the caret onto the entry it is on already, such as Home on the first
    // entry where the keyboard's arrival leaves the caret with nothing selected, selects that
    // entry, as in a Windows list box.
    void keyPressEvent(QKeyEvent* event) override
    {
        const QModelIndex before = View::currentIndex();
        View::keyPressEvent(event);
        const QModelIndex now = View::currentIndex();
        if (isMoveKey(event) && now.isValid() && now == before &&
            !View::selectionModel()->isSelected(now))
            View::selectionModel()->select(now, QItemSelectionModel::ClearAndSelect);
    }

public:
    // Typed letters pick the entry that begins with them; the same letter again, the next one.
    void keyboardSearch(const QString& search) override
    {
        const int row = m_typeAhead.rowFor(View::model(), View::currentIndex().row(), search);
        if (row >= 0)
            View::setCurrentIndex(View::model()->index(row, 0));
    }

private:
    static bool isMoveKey(const QKeyEvent* event)
    {
        if (event->modifiers() & ~Qt::KeypadModifier)
            return false;
        switch (event->key()) {
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
        }
    }

    TypeAhead m_typeAhead;
};

using ListBox = KeepsSelection<QListWidget>;

} // namespace kaldor
