#pragma once

#include <QRadioButton>

namespace kaldor {

// An option button whose group (the option buttons of one parent) is one stop of the tab
// order, as on Windows: Tab and Shift+Tab reach the chosen option, or every option while none is
// chosen; the arrow keys move among the options and choose as Qt's do. Qt stops at every option
// button, so a reflexive Space after a Tab would choose the option next to the chosen one.
class OptionButton final : public QRadioButton {
public:
    explicit OptionButton(const QString& text = QString(), QWidget* parent = nullptr);

private:
    void setGroupTabStops();
};

} // namespace kaldor
