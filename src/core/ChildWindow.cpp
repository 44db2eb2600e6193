#include "ChildWindow.h"

#include "ModuleGlobals.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QHash>
#include <QHeaderView>
#include <QLayout>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTreeView>
#include <QVariant>
#include <QWidget>
#include <QWindowStateChangeEvent>

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

bool isFullOrIcon(const QWidget* frame)
{
    return frame->isMaximized() || frame->isMinimized();
}

// Grows the frame whenever its layout asks again (a caption or a list that needs more room).
// A maximized or minimized frame keeps its size: a size given meanwhile is the one it takes
// when it is restored.
class FrameSize final : public QObject {
public:
    explicit FrameSize(QWidget* window) : QObject(window), m_window(window)
    {
        QWidget* frame = frameOf(window);
        m_restored = frame->size();
        m_full = isFullOrIcon(frame);
        window->setProperty(Property, QVariant::fromValue(static_cast<QObject*>(this)));
        frame->installEventFilter(this);
        if (frame != window)
            window->installEventFilter(this);
    }

    static FrameSize* of(QWidget* window)
    {
        if (auto* size = window->property(Property).value<QObject*>())
            return static_cast<FrameSize*>(size);
        return new FrameSize(window);
    }

    void resize(const QSize& size)
    {
        QWidget* frame = frameOf(m_window);
        m_restored = size;
        if (isFullOrIcon(frame))
            m_pending = true;
        else
            frame->resize(size);
    }

    // The outer size of the frame when it is neither maximized nor minimized.
    QSize restoredSize() const
    {
        const QWidget* frame = frameOf(m_window);
        return isFullOrIcon(frame) ? m_restored : frame->size();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::LayoutRequest || type == QEvent::WindowTitleChange)
            growToLayout(m_window);
        if (type != QEvent::Resize && type != QEvent::WindowStateChange)
            return QObject::eventFilter(watched, event);
        QWidget* frame = frameOf(m_window);
        // A frame made narrower by its user is as high as its wrapped texts need at that
        // width: its bottom edge stops there.
        if (type == QEvent::Resize && watched == frame && !isFullOrIcon(frame)) {
            const QSize needed = neededSize(frame);
            if (needed != frame->size())
                frame->resize(needed);
        }
        // Seen before the frame changes its geometry: as it is maximized or minimized, the
        // size it has is its restored size.
        if (type == QEvent::WindowStateChange && watched == frame) {
            const bool full = isFullOrIcon(frame);
            if (full && !m_full && !m_pending)
                m_restored = frame->size();
            if (!full && m_full && m_pending)
                QMetaObject::invokeMethod(
                    this, [this] { takeRestoredSize(); }, Qt::QueuedConnection);
            m_full = full;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // After the frame has restored its earlier geometry: the size given while it was not
    // restored.
    void takeRestoredSize()
    {
        QWidget* frame = frameOf(m_window);
        if (!m_pending || isFullOrIcon(frame))
            return;
        m_pending = false;
        frame->resize(m_restored);
        growToLayout(m_window);
    }

    static constexpr const char* Property = "kaldorFrameSize";
    QWidget* m_window;
    QSize m_restored;
    bool m_full = false;    // maximized or minimized, as far as its state changes have told
    bool m_pending = false; // a size given while it was so
};

class UsedBeforeOnClose final : public QObject {
public:
    explicit UsedBeforeOnClose(QMdiSubWindow* frame) : QObject(frame), m_frame(frame)
    {
        frame->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Close || watched != m_frame)
            return QObject::eventFilter(watched, event);
        if (QMdiArea* area = m_frame->mdiArea(); area && area->activeSubWindow() == m_frame) {
            // The area picks the next active window as the frame closes, by its activation
            // order; the order goes back to that of opening once the close is through.
            area->setActivationOrder(QMdiArea::ActivationHistoryOrder);
            QMetaObject::invokeMethod(
                area, [area] { area->setActivationOrder(QMdiArea::CreationOrder); },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QMdiSubWindow* m_frame;
};

} // namespace

void activateUsedBeforeOnClose(QMdiSubWindow* frame)
{
    new UsedBeforeOnClose(frame);
}

void setOuterSizeTwips(QWidget* window, int width, int height)
{
    FrameSize::of(window)->resize(QSize(twips(width), twips(height)));
    growToLayout(window);
}

void setOuterWidthTwips(QWidget* window, int width)
{
    FrameSize* size = FrameSize::of(window);
    size->resize(QSize(twips(width), size->restoredSize().height()));
    growToLayout(window);
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

namespace {

// The width of the widest text of a column of the model in the font, and its row.
std::pair<int, int> widestText(const QAbstractItemModel* model, int column, const QFont& font)
{
    const int rows = model->rowCount();
    const auto textOf = [model, column](int row) {
        return model->index(row, column).data().toString();
    };
    // A text is as wide as its characters side by side, or a little narrower where kerning
    // and shaping join them: texts are measured widest sum first, and only while a sum exceeds
    // the widest text measured, so a long list measures few of its entries.
    const QFontMetricsF metrics(font);
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
    qreal widest = 0;
    int widestRow = 0;
    for (auto end = sums.end(); end != sums.begin(); --end) {
        const auto [sum, row] = sums.front();
        if (sum <= widest + 0.01)
            break;
        if (const qreal width = metrics.horizontalAdvance(textOf(row)); width > widest) {
            widest = width;
            widestRow = row;
        }
        std::pop_heap(sums.begin(), end);
    }
    return {int(std::ceil(widest)), widestRow};
}

// Calls `fit` with the view whenever its entries are added, changed or replaced. A view's own
// model is destroyed with the view's children, when the view is a plain widget already: its last
// signals are not the view's any more.
template <class View, class Fit> void onEntryChanges(View* view, Fit fit)
{
    const QObject* object = view;
    const auto fitLiving = [object, fit] {
        if (auto* living = qobject_cast<View*>(const_cast<QObject*>(object)))
            fit(living);
    };
    const QAbstractItemModel* model = view->model();
    QObject::connect(model, &QAbstractItemModel::rowsInserted, view, fitLiving);
    QObject::connect(model, &QAbstractItemModel::dataChanged, view, fitLiving);
    QObject::connect(model, &QAbstractItemModel::modelReset, view, fitLiving);
}

} // namespace

void keepEntriesWhole(QListView* listView)
{
    onEntryChanges(listView, [](QListView* list) {
        // An emptied list needs no room.
        if (list->model()->rowCount() == 0)
            return;
        const QStyle* style = list->style();
        const int room = widestText(list->model(), 0, list->font()).first +
                         2 * style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) +
                         2 * list->frameWidth() +
                         style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) + 4;
        if (room > list->minimumWidth())
            list->setMinimumWidth(room);
    });
}

void keepColumnsWhole(QTreeView* treeView)
{
    onEntryChanges(treeView, [](QTreeView* view) {
        const QAbstractItemModel* model = view->model();
        if (model->rowCount() == 0)
            return;
        QHeaderView* header = view->header();
        int room = 2 * view->frameWidth() +
                   view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view) + 4;
        const int last = header->logicalIndex(header->count() - 1);
        for (int column = 0; column < model->columnCount(); ++column) {
            if (header->isSectionHidden(column))
                continue;
            // The widest entry as the list view draws it.
            const int row = widestText(model, column, view->font()).second;
            const int needed = view->sizeHintForIndex(model->index(row, column)).width() +
                               (column == 0 && view->rootIsDecorated() ? view->indentation() : 0);
            if (needed > header->sectionSize(column))
                header->resizeSection(column, needed);
            // The last column stretches over the rest of the list: it needs only its entries.
            room += column == last ? std::max(needed, header->sectionSizeHint(column))
                                   : header->sectionSize(column);
        }
        if (room > view->minimumWidth())
            view->setMinimumWidth(room);
    });
}

} // namespace kaldor
