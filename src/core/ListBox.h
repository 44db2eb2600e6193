#pragma once

#include <QAbstractItemView>
#include <QItemSelectionModel>
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
};

using ListBox = KeepsSelection<QListWidget>;

} // namespace kaldor
