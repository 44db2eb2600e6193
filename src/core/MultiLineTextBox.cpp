#include "MultiLineTextBox.h"

#include <QMimeData>
#include <QMouseEvent>

namespace kaldor {

void MultiLineTextBox::insertFromMimeData(const QMimeData* source)
{
    if (source && !source->formats().isEmpty())
        QPlainTextEdit::insertFromMimeData(source);
}

void MultiLineTextBox::mousePressEvent(QMouseEvent* event)
{
    QTextCursor cursor = textCursor();
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier) &&
        cursor.hasSelection()) {
        const int at = cursorForPosition(event->position().toPoint()).position();
        if (at >= cursor.selectionStart() && at <= cursor.selectionEnd()) {
            cursor.clearSelection();
            setTextCursor(cursor);
        }
    }
    QPlainTextEdit::mousePressEvent(event);
}

} // namespace kaldor
