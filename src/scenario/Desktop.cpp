#include "Desktop.h"

#include "Controls.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMdiSubWindow>
#include <QProcess>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

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
    if (auto* tabs = qobject_cast<const QTabWidget*>(w))
        checkTabs(tabs, path, faults);
}

void checkChildren(const QWidget* window, const QWidget* parent, const QString& path,
                   QStringList& faults)
{
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

void checkFrame(QWidget* window, const QString& name, QStringList& faults)
{
    QWidget* frame = window->isWindow() ? window : window->parentWidget();
    if (frame->isMaximized())
        return;
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

QString clickWithMouse(QWidget* widget, double x, double y, int clicks)
{
    const QPoint at =
        widget->mapToGlobal(QPoint(int(widget->width() * x), int(widget->height() * y)));
    QStringList args{QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                     QString::number(at.y()), QStringLiteral("click")};
    if (clicks > 1)
        args << QStringLiteral("--repeat") << QString::number(clicks) << QStringLiteral("--delay")
             << QStringLiteral("80");
    args << QStringLiteral("1");
    return runXdotool(args);
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
