#include "TextList.h"

#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QStringListModel>

namespace kaldor {

TextList::TextList(QWidget* parent)
    : KeepsSelection<QListView>(parent), m_model(new QStringListModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void TextList::setTexts(const QStringList& texts)
{
    const QSignalBlocker blocker(this);
    m_model->setStringList(texts);
    selectionModel()->clear();
}

int TextList::count() const
{
    return m_model->rowCount();
}

QString TextList::text(int row) const
{
    return m_model->index(row).data().toString();
}

void TextList::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(m_model->index(row), QItemSelectionModel::ClearAndSelect);
}

} // namespace kaldor
