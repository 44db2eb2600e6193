#pragma once

#include "ListBox.h"

#include <QListView>
#include <QStringList>

class QStringListModel;

namespace kaldor {

// A list box of plain texts for lists that can be long, such as every user of a database:
// the texts are held as they are, without an item object for each entry. Entries are
// chosen, never edited in place, and the selection stays as in any list box.
class TextList final : public KeepsSelection<QListView> {
public:
    explicit TextList(QWidget* parent = nullptr);

    // Replaces the entries in one pass with the list's signals blocked; no entry is selected
    // afterwards.
    void setTexts(const QStringList& texts);
    int count() const;
    QString text(int row) const;
    // Makes `row` the current and only selected entry.
    void setCurrentRow(int row);

private:
    QStringListModel* m_model;
};

} // namespace kaldor
