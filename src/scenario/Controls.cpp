#include "Controls.h"

#include "Script.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <algorithm>

namespace kaldor::scenario {

namespace {

bool isTopOrChildWindow(const QWidget* w)
{
    return w->isWindow() || qobject_cast<const QMdiSubWindow*>(w->parentWidget());
}

QString kindOf(QObject* o, bool isWindow)
{
    if (isWindow)
        return QStringLiteral("window");
    if (qobject_cast<QAction*>(o))
        return QStringLiteral("menu");
    if (qobject_cast<QCheckBox*>(o))
        return QStringLiteral("check");
    if (qobject_cast<QRadioButton*>(o))
        return QStringLiteral("option");
    if (qobject_cast<QAbstractButton*>(o))
        return QStringLiteral("button");
    if (qobject_cast<QLineEdit*>(o) || qobject_cast<QTextEdit*>(o) ||
        qobject_cast<QPlainTextEdit*>(o))
        return QStringLiteral("text");
    if (qobject_cast<QComboBox*>(o))
        return QStringLiteral("combo");
    if (qobject_cast<QListView*>(o))
        return QStringLiteral("list");
    if (qobject_cast<QTreeView*>(o)) // a QTreeWidget, or a view of a table model
        return QStringLiteral("listview");
    if (qobject_cast<QTabWidget*>(o) || qobject_cast<QTabBar*>(o))
        return QStringLiteral("tab");
    if (qobject_cast<QCalendarWidget*>(o))
        return QStringLiteral("calendar");
    if (qobject_cast<QLabel*>(o))
        return QStringLiteral("label");
    return QStringLiteral("frame");
}

QString textOf(QObject* o, bool isWindow)
{
    if (isWindow) {
        auto* w = static_cast<QWidget*>(o);
        return w->windowTitle();
    }
    if (auto* a = qobject_cast<QAction*>(o))
        return a->text();
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* e = qobject_cast<QLineEdit*>(o))
        return e->echoMode() == QLineEdit::Normal ? e->text() : e->displayText();
    if (auto* t = qobject_cast<QTextEdit*>(o))
        return t->toPlainText();
    if (auto* p = qobject_cast<QPlainTextEdit*>(o))
        return p->toPlainText();
    if (auto* c = qobject_cast<QComboBox*>(o))
        return c->currentText();
    if (auto* l = qobject_cast<QListView*>(o))
        return l->currentIndex().data().toString();
    if (auto* tw = qobject_cast<QTreeWidget*>(o))
        return tw->currentItem() ? tw->currentItem()->text(0) : QString();
    if (auto* tv = qobject_cast<QTreeView*>(o))
        return tv->currentIndex().siblingAtColumn(0).data().toString();
    if (auto* lb = qobject_cast<QLabel*>(o))
        return lb->text();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    if (auto* tab = qobject_cast<QTabWidget*>(o))
        return tab->currentIndex() >= 0 ? tab->tabText(tab->currentIndex()) : QString();
    if (auto* bar = qobject_cast<QTabBar*>(o))
        return bar->currentIndex() >= 0 ? bar->tabText(bar->currentIndex()) : QString();
    if (auto* status = qobject_cast<QStatusBar*>(o)) {
        // A status bar: its message, else the texts of the labels it holds.
        if (!status->currentMessage().isEmpty())
            return status->currentMessage();
        QStringList texts;
        for (const QLabel* l : status->findChildren<QLabel*>())
            if (!l->isHidden())
                texts.append(l->text());
        return texts.join(u' ');
    }
    if (auto* w = qobject_cast<QWidget*>(o))
        return w->windowTitle();
    return {};
}

QStringList itemsOf(QObject* o)
{
    QStringList items;
    if (auto* c = qobject_cast<QComboBox*>(o)) {
        for (int i = 0; i < c->count(); ++i)
            items.append(c->itemText(i));
    } else if (auto* l = qobject_cast<QListView*>(o)) {
        const QAbstractItemModel* model = l->model();
        for (int i = 0; i < model->rowCount(); ++i)
            items.append(model->index(i, 0).data().toString());
    } else if (auto* t = qobject_cast<QTreeWidget*>(o)) {
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            items.append(t->topLevelItem(i)->text(0));
    } else if (auto* tv = qobject_cast<QTreeView*>(o)) {
        const QAbstractItemModel* model = tv->model();
        for (int i = 0; i < model->rowCount(); ++i)
            items.append(model->index(i, 0).data().toString());
    } else if (auto* tab = qobject_cast<QTabWidget*>(o)) {
        for (int i = 0; i < tab->count(); ++i)
            items.append(tab->tabText(i));
    } else if (auto* bar = qobject_cast<QTabBar*>(o)) {
        for (int i = 0; i < bar->count(); ++i)
            items.append(bar->tabText(i));
    }
    return items;
}

// The index and text of the selected entry, or -1.
std::pair<int, QString> selectedOf(QObject* o)
{
    if (auto* c = qobject_cast<QComboBox*>(o))
        return {c->currentIndex(),
                c->currentIndex() >= 0 ? c->itemText(c->currentIndex()) : QString()};
    if (auto* l = qobject_cast<QListView*>(o)) {
        const QModelIndex current = l->currentIndex();
        if (!current.isValid() || !l->selectionModel()->isSelected(current))
            return {-1, {}};
        return {current.row(), current.data().toString()};
    }
    if (auto* t = qobject_cast<QTreeWidget*>(o)) {
        QTreeWidgetItem* item = t->currentItem();
        if (!item || !item->isSelected())
            return {-1, {}};
        return {t->indexOfTopLevelItem(item), item->text(0)};
    }
    if (auto* tv = qobject_cast<QTreeView*>(o)) {
        const QModelIndex current = tv->currentIndex();
        if (!current.isValid() || !tv->selectionModel()->isRowSelected(current.row()))
            return {-1, {}};
        return {current.row(), current.siblingAtColumn(0).data().toString()};
    }
    return {-1, {}};
}

QString joinItems(const QStringList& items)
{
    QStringList q;
    q.reserve(items.size());
    for (const QString& i : items)
        q.append(quoted(i));
    return u'[' + q.join(u',') + u']';
}

// A list view of several columns: its header texts and every row's texts, in the order the
// columns are shown from left to right (a hidden column is not shown).
QString describeColumns(const QTreeView* tree)
{
    const QAbstractItemModel* model = tree->model();
    QList<int> shown;
    const QHeaderView* header = tree->header();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            shown.append(logical);
    }
    QStringList headers;
    for (const int c : shown)
        headers.append(model->headerData(c, Qt::Horizontal).toString());
    QStringList rows;
    for (int i = 0; i < model->rowCount(); ++i) {
        QStringList cells;
        for (const int c : shown)
            cells.append(model->index(i, c).data().toString());
        rows.append(joinItems(cells));
    }
    return QStringLiteral(" columns=") + joinItems(headers) + QStringLiteral(" rows=[") +
           rows.join(u',') + u']';
}

bool enabledOf(QObject* o)
{
    if (auto* a = qobject_cast<QAction*>(o))
        return a->isEnabled();
    return static_cast<QWidget*>(o)->isEnabled();
}

bool visibleOf(QObject* o, bool isWindow)
{
    if (auto* a = qobject_cast<QAction*>(o))
        return a->isVisible();
    auto* w = static_cast<QWidget*>(o);
    if (isWindow) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
            return sub->isVisible();
        return w->isVisible();
    }
    return !w->isHidden();
}

// Index of ITEM ("#N", or the entry's text) among the texts, or -1.
int findItem(const QStringList& items, const QString& item)
{
    if (item.startsWith(u'#')) {
        bool ok = false;
        const int n = item.mid(1).toInt(&ok);
        if (ok && n >= 0 && n < items.size())
            return n;
    }
    return int(items.indexOf(item));
}

QString noItem(const QString& item)
{
    return QStringLiteral("no entry %1").arg(quoted(item));
}

// Whether the widget is part of another window inside `window`: a window of the main window's
// MDI area, or a dialog (a top-level window whose parent is `window`; a menu's popup is not).
bool belongsToChild(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w; p && p != window; p = p->parentWidget())
        if ((p->isWindow() && !qobject_cast<const QMenu*>(p)) ||
            qobject_cast<const QMdiSubWindow*>(p))
            return true;
    return false;
}

} // namespace

QWidget* findWindow(const QString& name)
{
    QWidget* found = nullptr;
    const QWidgetList all = QApplication::allWidgets();
    for (QWidget* w : all) {
        if (w->objectName() != name || !isTopOrChildWindow(w))
            continue;
        if (!found || (w->isVisible() && !found->isVisible()))
            found = w;
    }
    return found;
}

QObject* findControl(QWidget* window, const QString& name)
{
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        for (QAction* a : main->findChildren<QAction*>(name)) {
            const auto* owner = qobject_cast<const QWidget*>(a->parent());
            if (!owner || !belongsToChild(owner, window))
                return a;
        }
    }
    // Another window's controls are not this window's; a window of the MDI area itself is
    // reached through the main window (as a frame).
    QList<QWidget*> widgets = window->findChildren<QWidget*>(name);
    widgets.removeIf([window](const QWidget* w) {
        return belongsToChild(w, window) && !qobject_cast<const QMdiSubWindow*>(w->parentWidget());
    });
    for (QWidget* w : widgets)
        if (!w->isHidden())
            return w;
    return widgets.isEmpty() ? nullptr : widgets.first();
}

QString describe(const QString& path, QObject* o, bool isWindow)
{
    const QString kind = kindOf(o, isWindow);
    QString s = QStringLiteral("STATE %1 kind=%2 enabled=%3 visible=%4 text=%5")
                    .arg(path, kind, QString::number(enabledOf(o)),
                         QString::number(visibleOf(o, isWindow)), quoted(textOf(o, isWindow)));
    if (auto* check = qobject_cast<QCheckBox*>(o)) {
        s += QStringLiteral(" checked=%1")
                 .arg(int(check->checkState()) == Qt::PartiallyChecked ? 2
                      : check->isChecked()                             ? 1
                                                                       : 0);
    } else if (auto* b = qobject_cast<QAbstractButton*>(o); b && b->isCheckable()) {
        s += QStringLiteral(" checked=%1").arg(int(b->isChecked()));
    } else if (auto* a = qobject_cast<QAction*>(o); a && a->isCheckable()) {
        s += QStringLiteral(" checked=%1").arg(int(a->isChecked()));
    }
    if (kind == u"combo" || kind == u"list" || kind == u"listview" || kind == u"tab")
        s += QStringLiteral(" items=") + joinItems(itemsOf(o));
    if (kind == u"combo" || kind == u"list" || kind == u"listview") {
        const auto [index, text] = selectedOf(o);
        if (index >= 0)
            s += QStringLiteral(" selected=%1 %2").arg(index).arg(quoted(text));
    }
    if (auto* tree = qobject_cast<QTreeView*>(o); tree && tree->model()->columnCount() > 1)
        s += describeColumns(tree);
    if (auto* cal = qobject_cast<QCalendarWidget*>(o))
        s += QStringLiteral(" date=") + cal->selectedDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (auto* tab = qobject_cast<QTabWidget*>(o))
        s += QStringLiteral(" tab=%1").arg(tab->currentIndex());
    if (auto* bar = qobject_cast<QTabBar*>(o))
        s += QStringLiteral(" tab=%1").arg(bar->currentIndex());
    return s;
}

QString controlKind(QObject* control)
{
    return kindOf(control, false);
}

QStringList entriesOf(QObject* control)
{
    return itemsOf(control);
}

QList<QObject*> namedControls(QWidget* window)
{
    QList<QObject*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(u"qt_") ||
            w->objectName() == u"MDIClient" || qobject_cast<QMenu*>(w) ||
            qobject_cast<QTabBar*>(w->parentWidget()) || belongsToChild(w, window))
            continue;
        controls.append(w);
    }
    if (qobject_cast<QMainWindow*>(window)) {
        for (QAction* a : window->findChildren<QAction*>()) {
            const auto* owner = qobject_cast<const QWidget*>(a->parent());
            if (!a->objectName().isEmpty() && !a->objectName().startsWith(u"qt_") &&
                !a->objectName().startsWith(u"_q_") && (!owner || !belongsToChild(owner, window)))
                controls.append(a);
        }
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](QObject* a, QObject* b) { return a->objectName() < b->objectName(); });
    const auto sameName = [](QObject* a, QObject* b) { return a->objectName() == b->objectName(); };
    controls.erase(std::unique(controls.begin(), controls.end(), sameName), controls.end());
    return controls;
}

QStringList describeWindow(const QString& name, QWidget* window)
{
    QStringList lines{describe(name, window, true)};
    for (QObject* c : namedControls(window))
        lines.append(describe(name + u'.' + c->objectName(), c, false));
    return lines;
}

QList<QWidget*> openWindows()
{
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::allWidgets())
        if (isTopOrChildWindow(w) && !w->objectName().isEmpty() && !qobject_cast<QMenu*>(w) &&
            visibleOf(w, true) && findWindow(w->objectName()) == w)
            windows.append(w);
    std::sort(windows.begin(), windows.end(),
              [](QWidget* a, QWidget* b) { return a->objectName() < b->objectName(); });
    return windows;
}

bool isUsable(QObject* control)
{
    if (auto* a = qobject_cast<QAction*>(control))
        return a->isEnabled();
    auto* w = qobject_cast<QWidget*>(control);
    return w && w->isEnabled();
}

QString clickControl(QObject* control)
{
    if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        b->click();
        return {};
    }
    if (auto* w = qobject_cast<QWidget*>(control)) {
        QTest::mouseClick(w, Qt::LeftButton);
        return {};
    }
    return QStringLiteral("not a control that can be clicked");
}

QString selectItem(QObject* control, const QString& item)
{
    if (auto* l = qobject_cast<QListView*>(control)) {
        const int i = findItem(itemsOf(l), item);
        if (i < 0)
            return noItem(item);
        const QModelIndex it = l->model()->index(i, 0);
        l->setCurrentIndex(it);
        l->selectionModel()->select(it, QItemSelectionModel::Select);
        l->scrollTo(it);
        Q_EMIT l->clicked(it);
        return {};
    }
    if (auto* t = qobject_cast<QTreeWidget*>(control)) {
        const int i = findItem(itemsOf(t), item);
        if (i < 0)
            return noItem(item);
        QTreeWidgetItem* it = t->topLevelItem(i);
        t->setCurrentItem(it);
        it->setSelected(true);
        // As a mouse does it: the view's click, which the tree reports as the item's.
        Q_EMIT t->clicked(t->currentIndex());
        return {};
    }
    if (auto* tv = qobject_cast<QTreeView*>(control)) {
        const int i = findItem(itemsOf(tv), item);
        if (i < 0)
            return noItem(item);
        const QModelIndex it = tv->model()->index(i, 0);
        tv->setCurrentIndex(it);
        tv->selectionModel()->select(it, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        tv->scrollTo(it);
        Q_EMIT tv->clicked(it);
        return {};
    }
    if (qobject_cast<QComboBox*>(control))
        return chooseItem(control, item);
    if (qobject_cast<QTabWidget*>(control) || qobject_cast<QTabBar*>(control)) {
        const int i = findItem(itemsOf(control), item);
        return i < 0 ? noItem(item) : switchTab(control, QString::number(i));
    }
    return QStringLiteral("not a list");
}

QString doubleClickControl(QObject* control, const QString* item)
{
    if (item) {
        if (QString why = selectItem(control, *item); !why.isEmpty())
            return why;
        if (auto* v = qobject_cast<QAbstractItemView*>(control))
            Q_EMIT v->doubleClicked(v->currentIndex());
        return {};
    }
    // A list or list view without an entry: its current entry is double-clicked.
    if (auto* v = qobject_cast<QAbstractItemView*>(control); v && v->currentIndex().isValid()) {
        Q_EMIT v->doubleClicked(v->currentIndex());
        return {};
    }
    if (auto* w = qobject_cast<QWidget*>(control)) {
        // As a mouse does it: a click, then the double click and its release.
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->click();
        else
            QTest::mouseClick(w, Qt::LeftButton);
        QTest::mouseDClick(w, Qt::LeftButton);
        QTest::mouseRelease(w, Qt::LeftButton);
        return {};
    }
    return QStringLiteral("not a control");
}

QString chooseItem(QObject* control, const QString& item)
{
    auto* c = qobject_cast<QComboBox*>(control);
    if (!c)
        return QStringLiteral("not a combo box");
    const int i = findItem(itemsOf(c), item);
    if (i < 0)
        return noItem(item);
    c->setCurrentIndex(i);
    Q_EMIT c->activated(i);
    Q_EMIT c->textActivated(c->itemText(i));
    return {};
}

// A multi-line box: it takes the focus, as a click into it before typing would give it, and its
// whole text is replaced.
template <typename Box> QString replaceText(Box* box, const QString& text)
{
    if (box->isReadOnly())
        return QStringLiteral("the text box takes no typing");
    box->setFocus();
    box->selectAll();
    box->insertPlainText(text);
    return {};
}

QString typeText(QObject* control, const QString& text)
{
    QLineEdit* edit = qobject_cast<QLineEdit*>(control);
    if (auto* c = qobject_cast<QComboBox*>(control)) {
        if (!c->isEditable())
            return QStringLiteral("not an editable combo box");
        edit = c->lineEdit();
    }
    if (edit) {
        if (edit->isReadOnly())
            return QStringLiteral("the text box takes no typing");
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            edit->del();
        else
            edit->insert(text);
        return {};
    }
    if (auto* t = qobject_cast<QTextEdit*>(control))
        return replaceText(t, text);
    if (auto* p = qobject_cast<QPlainTextEdit*>(control))
        return replaceText(p, text);
    return QStringLiteral("not a text box");
}

bool takesTyping(QObject* control)
{
    if (auto* c = qobject_cast<QComboBox*>(control))
        return c->isEditable() && !c->lineEdit()->isReadOnly();
    if (auto* e = qobject_cast<QLineEdit*>(control))
        return !e->isReadOnly();
    if (auto* t = qobject_cast<QTextEdit*>(control))
        return !t->isReadOnly();
    if (auto* p = qobject_cast<QPlainTextEdit*>(control))
        return !p->isReadOnly();
    return false;
}

// A character beyond ASCII, which Qt's key clicks cannot send: its key pressed and released,
// typing the character.
void pressCharacter(QWidget* w, const QString& character)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
    QApplication::sendEvent(w, &release);
}

bool isCharacterKey(const QString& key)
{
    return key.toUcs4().size() == 1;
}

QString pressKey(QObject* control, const QString& key)
{
    auto* w = qobject_cast<QWidget*>(control);
    if (!w)
        return QStringLiteral("not a control");
    w->setFocus();
    if (key == u"Enter")
        QTest::keyClick(w, Qt::Key_Return);
    else if (key == u"Escape")
        QTest::keyClick(w, Qt::Key_Escape);
    else if (key == u"Tab")
        QTest::keyClick(w, Qt::Key_Tab);
    else if (key.size() == 1 && key.at(0).unicode() < 0x80)
        QTest::keyClicks(w, key);
    else if (isCharacterKey(key))
        pressCharacter(w, key);
    else
        return QStringLiteral("unknown key %1").arg(quoted(key));
    return {};
}

QString setCheck(QObject* control, const QString& state)
{
    auto* check = qobject_cast<QCheckBox*>(control);
    if (!check)
        return QStringLiteral("not a check box");
    if (state == u"grey") {
        check->setTristate(true);
        check->setCheckState(Qt::PartiallyChecked);
        return {};
    }
    if (state != u"on" && state != u"off")
        return QStringLiteral("unknown state %1").arg(quoted(state));
    const Qt::CheckState want = state == u"on" ? Qt::Checked : Qt::Unchecked;
    for (int i = 0; i < 3 && check->checkState() != want; ++i)
        check->click();
    return {};
}

QString pickDate(QObject* control, const QString& date)
{
    auto* cal = qobject_cast<QCalendarWidget*>(control);
    if (!cal)
        return QStringLiteral("not a calendar");
    const QDate d = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return QStringLiteral("not a date %1").arg(quoted(date));
    cal->setSelectedDate(d);
    Q_EMIT cal->clicked(d);
    return {};
}

bool isTabEnabled(QObject* control, const QString& index)
{
    bool ok = false;
    const int n = index.toInt(&ok);
    if (!ok)
        return true;
    if (auto* tab = qobject_cast<QTabWidget*>(control))
        return n < 0 || n >= tab->count() || tab->isTabEnabled(n);
    if (auto* bar = qobject_cast<QTabBar*>(control))
        return n < 0 || n >= bar->count() || bar->isTabEnabled(n);
    return true;
}

bool isEntryEnabled(QObject* control, const QString& item)
{
    if (!qobject_cast<QTabWidget*>(control) && !qobject_cast<QTabBar*>(control))
        return true;
    const int i = findItem(itemsOf(control), item);
    return i < 0 || isTabEnabled(control, QString::number(i));
}

QString switchTab(QObject* control, const QString& index)
{
    bool ok = false;
    const int n = index.toInt(&ok);
    if (auto* tab = qobject_cast<QTabWidget*>(control)) {
        if (!ok || n < 0 || n >= tab->count())
            return QStringLiteral("no tab %1").arg(index);
        tab->setCurrentIndex(n);
        Q_EMIT tab->tabBarClicked(n);
        return {};
    }
    if (auto* bar = qobject_cast<QTabBar*>(control)) {
        if (!ok || n < 0 || n >= bar->count())
            return QStringLiteral("no tab %1").arg(index);
        bar->setCurrentIndex(n);
        Q_EMIT bar->tabBarClicked(n);
        return {};
    }
    return QStringLiteral("not a tab strip");
}

} // namespace kaldor::scenario
