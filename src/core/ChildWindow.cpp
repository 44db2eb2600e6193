#include "ChildWindow.h"

#include "ModuleGlobals.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QHash>
#include <QLayout>
#include <QListView>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace kaldor {

namespace {

QWidget* frameOf(QWidget* window)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        return sub;
    return window;
}

// The width of a child window's frame that shows its whole caption beside the icon and the
// buttons of the title bar (the caption measured in bold, as some styles draw it).
int titleBarWidth(const QMdiSubWindow* frame)
{
    QStyleOptionTitleBar option;
    option.initFrom(frame);
    option.rect = QRect(0, 0, frame->width(),
                        frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, frame));
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = frame->windowFlags();
    option.titleBarState = int(frame->windowState());
    option.icon = frame->windowIcon();
    option.text = frame->windowTitle();
    const QRect label = frame->style()->subControlRect(QStyle::CC_TitleBar, &option,
                                                       QStyle::SC_TitleBarLabel, frame);
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return frame->width() - label.width() +
           QFontMetrics(font).horizontalAdvance(frame->windowTitle()) + 8;
}

// The outer size that the frame's layout and caption need, at least the frame's size now.
QSize neededSize(QWidget* frame)
{
    if (QLayout* layout = frame->layout())
        layout->activate();
    QSize size = frame->size().expandedTo(frame->minimumSizeHint());
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frame))
        size.setWidth(std::max(size.width(), titleBarWidth(sub)));
    if (frame->hasHeightForWidth())
        size.setHeight(std::max(size.height(), frame->heightForWidth(size.width())));
    return size;
}

// Grows the frame whenever its layout asks again (a caption or a list that needs more room).
class LayoutGrowth final : public QObject {
public:
    explicit LayoutGrowth(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::WindowTitleChange)
            growToLayout(m_window);
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
};

} // namespace

void setOuterSizeTwips(QWidget* window, int width, int height)
{
    QWidget* frame = frameOf(window);
    frame->resize(twips(width), twips(height));
    growToLayout(window);
    static const char* const Growing = "kaldorGrowsToLayout";
    if (!window->property(Growing).toBool()) {
        window->setProperty(Growing, true);
        auto* growth = new LayoutGrowth(window);
        frame->installEventFilter(growth);
        if (frame != window)
            window->installEventFilter(growth);
    }
}

void growToLayout(QWidget* window)
{
    QWidget* frame = frameOf(window);
    if (frame->isMaximized() || frame->isMinimized())
        return;
    const QSize size = neededSize(frame);
    if (size == frame->size())
        return;
    const QSize growth = size - frame->size();
    const QPoint at = frame->pos() - QPoint(growth.width() / 2, growth.height() / 2);
    frame->resize(size);
    frame->move(std::max(0, at.x()), std::max(0, at.y()));
}

void keepEntriesWhole(QListView* list)
{
    const QAbstractItemModel* model = list->model();
    const auto fit = [list, model] {
        // An emptied list needs no room; a list box's own model is emptied as it is destroyed.
        const int rows = model->rowCount();
        if (rows == 0)
            return;
        const auto textOf = [model](int row) { return model->index(row, 0).data().toString(); };
        // A text is as wide as its characters side by side, or a little narrower where
        // kerning and shaping join them: texts are measured widest sum first, and only while a
        // sum exceeds the widest text measured, so a long list measures few of its entries.
        const QFontMetricsF metrics(list->font());
        // Advances of the characters met so far: Latin-1 ones in a table, others in a hash.
        std::array<qreal, 256> latin1;
        latin1.fill(-1);
        QHash<char16_t, qreal> advance;
        const auto advanceOf = [&](QChar c) {
            if (c.unicode() < latin1.size()) {
                qreal& known = latin1[c.unicode()];
                if (known < 0)
                    known = metrics.horizontalAdvance(c);
                return known;
            }
            auto it = advance.find(c.unicode());
            if (it == advance.end())
                it = advance.insert(c.unicode(), metrics.horizontalAdvance(c));
            return *it;
        };
        std::vector<std::pair<qreal, int>> sums; // sum of the characters' advances, row
        sums.reserve(size_t(rows));
        for (int row = 0; row < rows; ++row) {
            qreal sum = 0;
            for (const QChar c : textOf(row))
                sum += advanceOf(c);
            sums.emplace_back(sum, row);
        }
        // Widest sum first, taken from a heap: only the few sums that can still win are ordered.
        std::make_heap(sums.begin(), sums.end());
        qreal widestF = 0;
        for (auto end = sums.end(); end != sums.begin(); --end) {
            const auto [sum, row] = sums.front();
            if (sum <= widestF + 0.01)
                break;
            widestF = std::max(widestF, metrics.horizontalAdvance(textOf(row)));
            std::pop_heap(sums.begin(), end);
        }
        const int widest = int(std::ceil(widestF));
        const QStyle* style = list->style();
        const int room = widest +
                         2 * style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) +
                         2 * list->frameWidth() +
                         style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) + 4;
        if (room > list->minimumWidth())
            list->setMinimumWidth(room);
    };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, list, fit);
    QObject::connect(model, &QAbstractItemModel::dataChanged, list, fit);
    QObject::connect(model, &QAbstractItemModel::modelReset, list, fit);
}

} // namespace kaldor
