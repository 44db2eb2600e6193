#include "ChildWindow.h"

#include "ModuleGlobals.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace kaldor {

void setOuterSizeTwips(QWidget* window, int width, int height)
{
    QWidget* frame = window;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame = sub;
    frame->resize(twips(width), twips(height));
}

} // namespace kaldor
