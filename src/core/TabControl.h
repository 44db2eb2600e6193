#pragma once

#include <QTabWidget>

namespace kaldor {

// A window's tab pages. Besides the clicks and the arrow keys on the tab strip, Ctrl+PgDn and
// Ctrl+PgUp show the next and the previous enabled page from anywhere on the pages, as in a
// Windows property sheet (Ctrl+Tab belongs to the main window's Window menu). The focus, when it
// was on the page that goes away, moves to the tab strip.
class TabControl final : public QTabWidget {
public:
    explicit TabControl(QWidget* parent = nullptr);

private:
    void showNextPage(int step);
};

} // namespace kaldor
