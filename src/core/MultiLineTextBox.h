#pragma once

#include <QPlainTextEdit>

namespace kaldor {

// A text box of several lines. Pasting data that holds nothing at all, which is what the X
// display's clipboard gives while nobody owns it, inserts nothing: Qt 6.4's own paste reads
// the first of the data's formats without looking whether there is one, and crashes.
class MultiLineTextBox final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace kaldor
