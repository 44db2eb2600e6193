#include "Desktop.h"

#include "Controls.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGridLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <functional>

namespace kaldor::scenario {

namespace {

constexpr int WaitLimitMs = 20000;

// Keeps the program's event loop running until `done` holds or the time limit passes.
bool waitUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > WaitLimitMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

QString size(const QSize& s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

bool layoutHolds(const QLayout* layout, const QWidget* widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget)
            return true;
        if (item->layout() && layoutHolds(item->layout(), widget))
            return true;
    }
    return false;
}

// Whether a layout of the parent places the widget (not code, nor a compound control).
bool placedByLayout(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    return parent && parent->layout() && layoutHolds(parent->layout(), widget);
}

// Controls whose insides are their own business.
bool isCompound(const QWidget* w)
{
    return qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QCalendarWidget*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QTabBar*>(w);
}

void checkLabel(const QLabel* label, const QString& path, QStringList& faults)
{
    if (label->text().isEmpty())
        return;
    // A label much taller than its text, which it shows in its middle rather than at its top,
    // leaves its text floating away from what it belongs to (a label centred both ways is a
    // caption of the area it covers).
    const int textHeight =
        label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    const Qt::Alignment alignment = label->alignment();
    if ((alignment & Qt::AlignVCenter) && !(alignment & Qt::AlignHCenter) &&
        label->height() > textHeight + 2 * label->fontMetrics().height())
        faults << QStringLiteral("%1 %2 shows its text in its middle (needs height %3)")
                      .arg(path, size(label->size()))
                      .arg(textHeight);
    if (label->wordWrap()) {
        const int needed = label->heightForWidth(label->width());
        if (label->height() < needed)
            faults << QStringLiteral("%1 %2 cuts its wrapped text (needs height %3)")
                          .arg(path, size(label->size()))
                          .arg(needed);
        return;
    }
    const QSize needed = label->sizeHint();
    if (label->width() < needed.width() || label->height() < needed.height())
        faults << QStringLiteral("%1 %2 cuts its text (needs %3)")
                      .arg(path, size(label->size()), size(needed));
}

void checkList(const QListView* list, const QString& path, QStringList& faults)
{
    const int room = list->viewport()->width();
    const QAbstractItemModel* model = list->model();
    for (int i = 0; i < model->rowCount(); ++i) {
        const QModelIndex index = model->index(i, 0);
        const QRect entry = list->visualRect(index);
        const int needed = list->fontMetrics().horizontalAdvance(index.data().toString()) +
                           2 * list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin);
        if (needed > room) {
            faults << QStringLiteral("%1 cuts entry %2 (%3 wide, room %4)")
                          .arg(path)
                          .arg(i)
                          .arg(needed)
                          .arg(room);
            return;
        }
        if (entry.height() < list->fontMetrics().height()) {
            faults << QStringLiteral("%1 entry %2 is lower than its text").arg(path).arg(i);
            return;
        }
    }
}

// Every entry of a list view with columns whole in its column.
void checkColumns(const QTreeView* view, const QString& path, QStringList& faults)
{
    const QAbstractItemModel* model = view->model();
    const QHeaderView* header = view->header();
    for (int column = 0; column < model->columnCount(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        const int room = header->sectionSize(column) -
                         (column == 0 && view->rootIsDecorated() ? view->indentation() : 0);
        for (int row = 0; row < model->rowCount(); ++row) {
            // What the entry needs as the list view draws it.
            const int needed = view->sizeHintForIndex(model->index(row, column)).width();
            if (needed > room) {
                faults << QStringLiteral("%1 cuts entry %2 of column %3 (%4 wide, room %5)")
                              .arg(path)
                              .arg(row)
                              .arg(column)
                              .arg(needed)
                              .arg(room);
                break;
            }
        }
    }
}

void checkTabs(const QTabWidget* tabs, const QString& path, QStringList& faults)
{
    const QTabBar* bar = tabs->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        const QRect r = bar->tabRect(i);
        if (r.right() >= bar->width() ||
            r.width() < bar->fontMetrics().horizontalAdvance(bar->tabText(i)))
            faults << QStringLiteral("%1 cuts tab %2").arg(path).arg(i);
    }
}

void checkControl(const QWidget* w, const QString& path, QStringList& faults)
{
    const QWidget* parent = w->parentWidget();
    if (!parent->rect().contains(w->geometry()))
        faults << QStringLiteral("%1 at %2,%3 %4 lies outside its parent %5")
                      .arg(path)
                      .arg(w->x())
                      .arg(w->y())
                      .arg(size(w->size()), size(parent->size()));
    const QSize minimum = w->minimumSizeHint();
    if (minimum.isValid() && (w->width() < minimum.width() || w->height() < minimum.height()))
        faults << QStringLiteral("%1 %2 is smaller than its minimum %3")
                      .arg(path, size(w->size()), size(minimum));
    if (auto* calendar = qobject_cast<const QCalendarWidget*>(w)) {
        const QSize hint = calendar->sizeHint();
        if (w->width() < hint.width() || w->height() < hint.height())
            faults << QStringLiteral("%1 %2 is smaller than its size hint %3")
                          .arg(path, size(w->size()), size(hint));
    }
    if (auto* label = qobject_cast<const QLabel*>(w))
        checkLabel(label, path, faults);
    if (auto* list = qobject_cast<const QListView*>(w))
        checkList(list, path, faults);
    if (auto* view = qobject_cast<const QTreeView*>(w))
        checkColumns(view, path, faults);
    if (auto* tabs = qobject_cast<const QTabWidget*>(w))
        checkTabs(tabs, path, faults);
}

QString nameOfItem(QLayoutItem* item)
{
    if (item->widget())
        return nameOf(item->widget());
    return item->layout() ? QStringLiteral("a layout") : QStringLiteral("a stretch");
}

// Controls that a layout spreads apart, where it has more room than they take and none of
// them grows: one above the other more than a line of text further apart than the layout's
// spacing, in a column or in consecutive rows of a grid.
void checkSpread(const QLayout* layout, const QString& path, QStringList& faults)
{
    const int line = layout->parentWidget() ? layout->parentWidget()->fontMetrics().height() : 16;
    QList<QLayoutItem*> items;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->layout())
            checkSpread(item->layout(), path, faults);
        if (!item->isEmpty() || item->spacerItem())
            items.append(item);
    }
    if (const auto* box = qobject_cast<const QBoxLayout*>(layout);
        box && (box->direction() == QBoxLayout::TopToBottom)) {
        for (qsizetype i = 0; i + 1 < items.size(); ++i) {
            const int gap =
                items.at(i + 1)->geometry().top() - items.at(i)->geometry().bottom() - 1;
            if (gap > box->spacing() + line)
                faults << QStringLiteral("%1 spreads %2 and %3 %4 apart")
                              .arg(path, nameOfItem(items.at(i)), nameOfItem(items.at(i + 1)))
                              .arg(gap);
        }
    }
    if (const auto* grid = qobject_cast<const QGridLayout*>(layout)) {
        // Of each row, the lowest bottom of the controls ending in it and the highest top of
        // those beginning in it.
        const int count = grid->rowCount();
        QList<int> bottoms(count, -1);
        QList<int> tops(count, -1);
        QList<QLayoutItem*> lowest(count, nullptr);
        QList<QLayoutItem*> highest(count, nullptr);
        for (int i = 0; i < grid->count(); ++i) {
            QLayoutItem* item = grid->itemAt(i);
            if (item->isEmpty())
                continue;
            int row = 0, column = 0, rows = 1, columns = 1;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            const QRect r = item->geometry();
            const int end = row + rows - 1;
            if (!lowest[end] || bottoms[end] < r.bottom()) {
                bottoms[end] = r.bottom();
                lowest[end] = item;
            }
            if (!highest[row] || r.top() < tops[row]) {
                tops[row] = r.top();
                highest[row] = item;
            }
        }
        for (int row = 0; row + 1 < count; ++row) {
            if (!lowest[row] || !highest[row + 1])
                continue;
            const int gap = tops[row + 1] - bottoms[row] - 1;
            if (gap > grid->verticalSpacing() + line)
                faults << QStringLiteral("%1 spreads %2 and %3 %4 apart")
                              .arg(path, nameOfItem(lowest[row]), nameOfItem(highest[row + 1]))
                              .arg(gap);
        }
    }
}

void checkChildren(const QWidget* window, const QWidget* parent, const QString& path,
                   QStringList& faults)
{
    if (parent->layout())
        checkSpread(parent->layout(), path, faults);
    const auto children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* w : children) {
        if (w->isWindow() || !w->isVisibleTo(window))
            continue;
        const QString childPath = path + QLatin1Char('.') + nameOf(w);
        if (placedByLayout(w))
            checkControl(w, childPath, faults);
        if (!isCompound(w))
            checkChildren(window, w, childPath, faults);
    }
}

// Whether `a` comes before `b` when read: side by side, the left one; else the upper one.
bool readBefore(const QRect& a, const QRect& b)
{
    const bool sideBySide = a.top() <= b.bottom() && b.top() <= a.bottom();
    return sideBySide ? a.left() < b.left() : a.top() < b.top();
}

bool isTabStop(const QWidget* w)
{
    return (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

void visualOrder(const QWidget* window, QWidget* widget, QList<QWidget*>& order);

// The controls of a layout's items in the order they are read (a grid's cells by rows, a
// cell spanning rows after the cells beside it on its left).
void visualOrder(const QWidget* window, const QLayout* layout, QList<QWidget*>& order)
{
    // Each item with its place: in a grid, from the top of the first row it spans to the
    // bottom of the last (a row reaching from the highest top of the items beginning in it to
    // the lowest bottom of those ending in it); else its own geometry.
    struct Placed {
        QLayoutItem* item;
        QRect place;
        int row = 0, lastRow = 0;
    };
    const auto* grid = qobject_cast<const QGridLayout*>(layout);
    QList<Placed> items;
    QHash<int, int> rowTops, rowBottoms;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (!(item->widget() && item->widget()->isVisibleTo(window) &&
              !item->widget()->isWindow()) &&
            !item->layout())
            continue;
        Placed placed{item, item->geometry()};
        if (grid) {
            int column = 0, rows = 1, columns = 1;
            grid->getItemPosition(i, &placed.row, &column, &rows, &columns);
            placed.lastRow = placed.row + rows - 1;
            const QRect r = item->geometry();
            rowTops[placed.row] = std::min(rowTops.value(placed.row, r.top()), r.top());
            rowBottoms[placed.lastRow] =
                std::max(rowBottoms.value(placed.lastRow, r.bottom()), r.bottom());
        }
        items.append(placed);
    }
    if (grid) {
        for (Placed& p : items) {
            p.place.setTop(rowTops.value(p.row, p.place.top()));
            p.place.setBottom(rowBottoms.value(p.lastRow, p.place.bottom()));
        }
    }
    while (!items.isEmpty()) {
        // The first item that no other item comes before (the first one, should they all).
        qsizetype next = 0;
        for (qsizetype i = 0; i < items.size(); ++i) {
            const bool preceded = std::any_of(items.cbegin(), items.cend(), [&](const Placed& o) {
                return o.item != items.at(i).item && readBefore(o.place, items.at(i).place);
            });
            if (!preceded) {
                next = i;
                break;
            }
        }
        QLayoutItem* item = items.takeAt(next).item;
        if (item->widget())
            visualOrder(window, item->widget(), order);
        else
            visualOrder(window, item->layout(), order);
    }
}

// The controls that Tab reaches in the widget, in the order they are read: a tab strip before
// the page it shows.
void visualOrder(const QWidget* window, QWidget* widget, QList<QWidget*>& order)
{
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        order.append(tabs->tabBar());
        if (QWidget* page = tabs->currentWidget(); page && page->layout())
            visualOrder(window, page->layout(), order);
        return;
    }
    // A compound control takes the focus for a part of it.
    if (isCompound(widget) ? bool(widget->focusPolicy() & Qt::TabFocus) : isTabStop(widget))
        order.append(widget);
    if (!isCompound(widget) && widget->layout())
        visualOrder(window, widget->layout(), order);
}

// Whether Tab moves through the window's controls in the order they are read.
void checkTabOrder(QWidget* window, const QString& name, QStringList& faults)
{
    QList<QWidget*> shown;
    if (window->layout())
        visualOrder(window, window->layout(), shown);
    // The focus chain of the window's controls; a part of a control (a combo box's text box)
    // stands for the control.
    QList<QWidget*> chain;
    int steps = 0;
    for (QWidget* w = window->nextInFocusChain(); w != window && steps < 100000;
         w = w->nextInFocusChain(), ++steps) {
        QWidget* control = w;
        while (control && control != window && !shown.contains(control))
            control = control->parentWidget();
        if (control && control != window && !chain.contains(control) && isTabStop(w))
            chain.append(control);
    }
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (i >= chain.size()) {
            faults << QStringLiteral("%1 Tab never reaches %2").arg(name, nameOf(shown.at(i)));
            return;
        }
        if (chain.at(i) != shown.at(i)) {
            faults << QStringLiteral("%1 Tab reaches %2 before %3")
                          .arg(name, nameOf(chain.at(i)), nameOf(shown.at(i)));
            return;
        }
    }
}

// The access key of a caption ("&Save": S), or none.
QChar accessKey(const QString& caption)
{
    for (qsizetype i = caption.indexOf(u'&'); i >= 0 && i + 1 < caption.size();
         i = caption.indexOf(u'&', i + 2)) {
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toUpper();
    }
    return {};
}

// Each access key of the window's buttons and labels is its own: no other control of the
// window has it, nor a menu of the main window's menu bar, which would take it first.
void checkAccessKeys(QWidget* window, const QString& name, QStringList& faults)
{
    QHash<QChar, QString> taken;
    if (auto* bar = window->window()->findChild<QMenuBar*>())
        for (const QAction* menu : bar->actions())
            if (const QChar key = accessKey(menu->text()); !key.isNull())
                taken.insert(key, QStringLiteral("the menu ") + menu->text());
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        QString caption;
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            caption = button->text();
        else if (const auto* label = qobject_cast<const QLabel*>(w); label && label->buddy())
            caption = label->text();
        const QChar key = accessKey(caption);
        if (key.isNull())
            continue;
        if (taken.contains(key))
            faults << QStringLiteral("%1 %2 has the access key %3 of %4")
                          .arg(name, nameOf(w), key, taken.value(key));
        else
            taken.insert(key, nameOf(w));
    }
}

// A maximized child window fills the main window's area, and its window fills the frame.
void checkMaximized(QWidget* window, QMdiSubWindow* frame, const QString& name, QStringList& faults)
{
    if (!frame->mdiArea())
        return;
    const QRect area = frame->mdiArea()->viewport()->rect();
    if (frame->geometry() != area)
        faults << QStringLiteral("%1 maximized frame at %2,%3 %4 does not fill the area %5")
                      .arg(name)
                      .arg(frame->x())
                      .arg(frame->y())
                      .arg(size(frame->size()), size(area.size()));
    QRect room = frame->contentsRect();
    if (frame->layout())
        room = room.marginsRemoved(frame->layout()->contentsMargins());
    if (window->geometry() != room)
        faults << QStringLiteral("%1 %2 does not fill its maximized frame %3")
                      .arg(name, size(window->size()), size(room.size()));
}

void checkFrame(QWidget* window, const QString& name, QStringList& faults)
{
    QWidget* frame = window->isWindow() ? window : window->parentWidget();
    if (frame->isMaximized()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(frame))
            checkMaximized(window, sub, name, faults);
        return;
    }
    QSize needed = frame->minimumSizeHint();
    if (frame->hasHeightForWidth())
        needed.setHeight(std::max(needed.height(), frame->heightForWidth(frame->width())));
    if (frame->width() < needed.width() || frame->height() < needed.height())
        faults << QStringLiteral("%1 frame %2 is smaller than its window needs %3")
                      .arg(name, size(frame->size()), size(needed));
    if (frame != window && !frame->rect().contains(window->geometry()))
        faults << QStringLiteral("%1 lies outside its frame").arg(name);
    auto* sub = qobject_cast<QMdiSubWindow*>(frame);
    if (!sub)
        return;
    if (window->y() <= 0)
        faults << QStringLiteral("%1 has no title bar").arg(name);
    QStyleOptionTitleBar option;
    option.initFrom(sub);
    option.rect = QRect(0, 0, sub->width(), window->y());
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = sub->windowFlags();
    option.titleBarState = int(sub->windowState());
    option.icon = sub->windowIcon();
    option.text = sub->windowTitle();
    const QRect label =
        sub->style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, sub);
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    const int caption = QFontMetrics(bold).horizontalAdvance(sub->windowTitle());
    if (label.width() < caption)
        faults << QStringLiteral("%1 cuts its caption (%2 wide, room %3)")
                      .arg(name)
                      .arg(caption)
                      .arg(label.width());
}

// The point of the screen nearest to `at`: the pointer cannot leave the screen, so a click or
// press beyond its edge lands on the edge and a drag past it ends there (xdotool would wait for
// ever for the pointer to get there).
QPoint onScreen(const QRect& screen, QPoint at)
{
    return {std::clamp(at.x(), screen.left(), screen.right()),
            std::clamp(at.y(), screen.top(), screen.bottom())};
}

// The xdotool command that moves the pointer from `from` to `to` and waits until it is there:
// none when it is there already, as xdotool would wait for ever for a move that cannot come.
QStringList pointerTo(QPoint to, QPoint from)
{
    if (to == from)
        return {};
    return {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(to.x()),
            QString::number(to.y())};
}

} // namespace

QObject* findWidget(QWidget* window, const QString& name)
{
    if (QObject* control = findControl(window, name))
        return control;
    const auto widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (w->isVisible() && QLatin1String(w->metaObject()->className()) == name)
            return w;
    }
    return nullptr;
}

QString runXdotool(const QStringList& args)
{
    // xdotool's own complaints (a window property it could not read) are not the program's
    // output: they are kept out of standard error and shown only when xdotool fails.
    QProcess xdotool;
    xdotool.setProcessChannelMode(QProcess::MergedChannels);
    xdotool.start(QStringLiteral("xdotool"), args);
    if (!waitUntil([&] { return xdotool.state() == QProcess::NotRunning; })) {
        xdotool.kill();
        xdotool.waitForFinished();
        return QStringLiteral("xdotool did not finish");
    }
    if (xdotool.exitStatus() != QProcess::NormalExit || xdotool.exitCode() != 0)
        return QStringLiteral("xdotool failed: %1: %2")
            .arg(args.join(u' '), QString::fromLocal8Bit(xdotool.readAll()).trimmed());
    // Everything the server did for xdotool is done: a round trip brings its events here.
    QGuiApplication::sync();
    return {};
}

// Lets the answers to earlier requests arrive (the window manager's to a new size, say) before a
// point of the widget is taken: events are handled until its place on the screen has stayed the
// same for 100 ms. That place is returned; a widget whose window closes meanwhile (a click that
// arrived late) keeps the place it had last, and the pointer goes there all the same, as a
// user's would.
QRect settle(QWidget* widget)
{
    const QPointer<QWidget> alive(widget);
    const auto place = [&alive] { return QRect(alive->mapToGlobal(QPoint()), alive->size()); };
    QRect last = place();
    QElapsedTimer still;
    still.start();
    waitUntil([&] {
        if (!alive)
            return true;
        const QRect now = place();
        if (now != last) {
            last = now;
            still.restart();
        }
        return still.elapsed() >= 100;
    });
    return last;
}

QString clickWithMouse(QWidget* widget, double x, double y, int clicks)
{
    const QRect screen = widget->screen()->geometry();
    const QRect place = settle(widget);
    const QPoint at =
        onScreen(screen, place.topLeft() + QPoint(int(place.width() * x), int(place.height() * y)));
    QStringList args = pointerTo(at, QCursor::pos()) << QStringLiteral("click");
    if (clicks > 1)
        args << QStringLiteral("--repeat") << QString::number(clicks) << QStringLiteral("--delay")
             << QStringLiteral("80");
    args << QStringLiteral("1");
    return runXdotool(args);
}

QString dragWithMouse(QWidget* widget, double x, double y, int dx, int dy)
{
    const QRect screen = widget->screen()->geometry();
    const QRect place = settle(widget);
    const QPoint at = onScreen(
        screen, place.topLeft() + QPoint(std::min(int(place.width() * x), place.width() - 1),
                                         std::min(int(place.height() * y), place.height() - 1)));
    const QPoint to = onScreen(screen, at + QPoint(dx, dy));
    return runXdotool(pointerTo(at, QCursor::pos()) +
                      QStringList{QStringLiteral("mousedown"), QStringLiteral("1")} +
                      pointerTo(to, at) +
                      QStringList{QStringLiteral("mouseup"), QStringLiteral("1")});
}

QString clickTitleBar(QWidget* window, int clicks)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (!sub)
        return QStringLiteral("the window has no frame inside the main window");
    const double y = (window->y() / 2.0) / sub->height();
    return clickWithMouse(sub, 0.5, y, clicks);
}

QString activateWindow(QWidget* window)
{
    QWidget* top = window->window();
    const QString why = runXdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                                    QString::number(top->winId())});
    if (!why.isEmpty())
        return why;
    if (!waitUntil([top] { return QApplication::activeWindow() == top; }))
        return QStringLiteral("the window did not become active");
    return {};
}

QStringList layoutFaults(QWidget* window)
{
    QStringList faults;
    const QString name = window->objectName();
    checkFrame(window, name, faults);
    checkChildren(window, window, name, faults);
    checkTabOrder(window, name, faults);
    checkAccessKeys(window, name, faults);
    return faults;
}

QString focusedControl()
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return QStringLiteral("none");
    QWidget* form = focus;
    while (form && !form->isWindow() && !qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        form = form->parentWidget();
    // A combo box's text box stands for the combo box.
    QWidget* control = focus;
    while (control != form && control->objectName().isEmpty())
        control = control->parentWidget();
    return (form ? form->objectName() : QStringLiteral("?")) + QLatin1Char('.') +
           control->objectName();
}

} // namespace kaldor::scenario
