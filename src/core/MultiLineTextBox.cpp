#include "MultiLineTextBox.h"

#include <QMimeData>

namespace kaldor {

void MultiLineTextBox::insertFromMimeData(const QMimeData* source)
{
    if (source && !source->formats().isEmpty())
        QPlainTextEdit::insertFromMimeData(source);
}

} // namespace kaldor
