#include "TypeAhead.h"

#include <QAbstractItemModel>
#include <QApplication>

#include <algorithm>

namespace kaldor {

int TypeAhead::rowFor(const QAbstractItemModel* model, int current, const QString& typed)
{
    const bool late = !m_last.isValid() || m_last.elapsed() > QApplication::keyboardInputInterval();
    m_last.start();
    if (late || typed.isEmpty())
        m_prefix.clear();
    m_prefix += typed;
    const int rows = model ? model->rowCount() : 0;
    if (m_prefix.isEmpty() || rows == 0)
        return -1;
    const bool sameLetter = m_prefix.count(m_prefix.front()) == m_prefix.size();
    const QString sought = sameLetter ? m_prefix.left(1) : m_prefix;
    const int first = sameLetter ? current + 1 : std::max(current, 0);
    for (int i = 0; i < rows; ++i) {
        const int row = (first + i) % rows;
        if (model->index(row, 0).data().toString().startsWith(sought, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

} // namespace kaldor
