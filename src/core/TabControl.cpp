#include "TabControl.h"

#include <QApplication>
#include <QShortcut>
#include <QTabBar>

#include <utility>

namespace kaldor {

TabControl::TabControl(QWidget* parent) : QTabWidget(parent)
{
    for (const auto& [key, step] :
         {std::pair{Qt::Key_PageDown, 1}, std::pair{Qt::Key_PageUp, -1}}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ControlModifier | key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] { showNextPage(step); });
    }
}

void TabControl::showNextPage(int step)
{
    const int pages = count();
    const QWidget* left = currentWidget();
    const bool focusLeaves = left && left->isAncestorOf(QApplication::focusWidget());
    for (int distance = 1; distance < pages; ++distance) {
        const int page = ((currentIndex() + step * distance) % pages + pages) % pages;
        if (!isTabEnabled(page))
            continue;
        setCurrentIndex(page);
        if (focusLeaves)
            tabBar()->setFocus(Qt::TabFocusReason);
        return;
    }
}

} // namespace kaldor
