#pragma once

#include <QPlainTextEdit>

namespace kaldor {

// A text box of several lines, which behaves as the one-line boxes do:
// - Pasting data that holds nothing at all, which is what the X display's clipboard gives
//   while nobody owns it, inserts nothing: Qt 6.4's own paste reads the first of the data's
//   formats without looking whether there is one, and crashes.
// - Selected text is not dragged: a press inside the selection starts a new selection there,
//   as a press anywhere else does. Qt's text drag waits for the button's release in an event
//   loop of its own, and misses a release that came while its scrolling timer started it.
class MultiLineTextBox final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override;
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace kaldor
