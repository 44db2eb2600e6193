#pragma once

#include <QElapsedTimer>
#include <QString>

class QAbstractItemModel;

namespace kaldor {

// Type-ahead in a list of entries, as in a Windows list box: letters typed within the keyboard's
// input interval make one prefix, sought from the chosen entry on; a first letter, or the same
// letter typed again, steps to the next entry that begins with it, round to the first.
class TypeAhead {
public:
    // The row that the typed text picks in the model's first column, or -1 for none.
    int rowFor(const QAbstractItemModel* model, int current, const QString& typed);

private:
    QString m_prefix;
    QElapsedTimer m_last;
};

} // namespace kaldor
