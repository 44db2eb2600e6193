#include "WindowHelpers.h"

#include "ResourceIcons.h"
#include "ResourceStrings.h"
#include "ResultSet.h"
#include "TypeAhead.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <limits>
#include <memory>

namespace kaldor {

void setWindowResIcon(QWidget* window, int id)
{
    window->setWindowIcon(resIcon(id));
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame->setWindowIcon(window->windowIcon());
}

void closeChildWindow(QWidget* window)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

void setMasked(QLineEdit* box, bool masked)
{
    box->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    box->setStyleSheet(masked ? QStringLiteral("QLineEdit { lineedit-password-character: 42; }")
                              : QString());
}

void fillList(QListWidget* list, const QStringList& entries)
{
    const QSignalBlocker blocker(list);
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(entries);
    list->setCurrentRow(-1);
    list->setUpdatesEnabled(true);
}

void fillCombo(QComboBox* combo, const QStringList& entries)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->setEditText(QString());
}

void makeTypedCombo(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    // Nor does the box make typed text a choice of the entry of that text, on Enter or when it
    // loses the focus (its own handler of its text box's end of editing): a choice is made from
    // the list, and its handler runs.
    QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    // The text box joins the window's tab order at its end, made after the controls that come
    // after the combo box, where Shift+Tab would turn back to the combo box for ever: it goes
    // right behind its combo box. Its focus proxy, the combo box itself, would make Qt order
    // the combo box behind itself, so it is set aside meanwhile.
    QLineEdit* edit = combo->lineEdit();
    QWidget* proxy = edit->focusProxy();
    edit->setFocusProxy(nullptr);
    QWidget::setTabOrder(combo, edit);
    edit->setFocusProxy(proxy);
}

namespace {

// Typed letters choose the entry that begins with them (see TypeAhead), Home and End the first
// and the last entry, as the user's choice from the list.
class TypedLetterChoice final : public QObject {
public:
    explicit TypedLetterChoice(QComboBox* combo) : QObject(combo), m_combo(combo) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return QObject::eventFilter(watched, event);
        if (key->key() == Qt::Key_Home || key->key() == Qt::Key_End)
            choose(key->key() == Qt::Key_Home ? 0 : m_combo->count() - 1);
        else if (!text.isEmpty() && text.at(0).isPrint())
            choose(m_typeAhead.rowFor(m_combo->model(), m_combo->currentIndex(), text));
        else
            return QObject::eventFilter(watched, event);
        return true;
    }

private:
    // Chooses the entry as a choice from the list does, unless it is the chosen one already.
    void choose(int row)
    {
        if (row < 0 || row == m_combo->currentIndex())
            return;
        m_combo->setCurrentIndex(row);
        Q_EMIT m_combo->activated(row);
        Q_EMIT m_combo->textActivated(m_combo->itemText(row));
    }

    QComboBox* m_combo;
    TypeAhead m_typeAhead;
};

} // namespace

namespace {

// Marks the moments when an editable combo box's typed text is finished (Enter, or the focus
// leaving the box), during which the box itself may report its text as an activation.
class TypingEnd final : public QObject {
public:
    explicit TypingEnd(QComboBox* combo) : QObject(combo) {}
    bool active = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        const bool ends =
            type == QEvent::FocusOut ||
            (type == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                          static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter));
        if (ends && !active) {
            active = true;
            QTimer::singleShot(0, this, [this] { active = false; });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void connectListChoice(QComboBox* combo, QObject* context, const std::function<void()>& handler)
{
    auto* typing = new TypingEnd(combo);
    combo->installEventFilter(typing);
    QObject::connect(combo, &QComboBox::activated, context, [typing, handler] {
        if (!typing->active)
            handler();
    });
}

void makeSelectionOnly(QComboBox* combo)
{
    makeTypedCombo(combo);
    combo->lineEdit()->setReadOnly(true);
    // The combo box holds the focus and hands its keys to its text box directly.
    combo->installEventFilter(new TypedLetterChoice(combo));
}

void setComboText(QComboBox* combo, const QString& text)
{
    int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        index = combo->findText(text, Qt::MatchFixedString);
    if (index >= 0 || !combo->isEditable()) {
        combo->setCurrentIndex(index);
        return;
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

void showStoredText(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    if (combo->currentText() != text)
        combo->setEditText(text);
}

QHBoxLayout* buttonRow(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right)
{
    auto* row = new QHBoxLayout;
    for (QWidget* w : left)
        row->addWidget(w);
    row->addStretch(1);
    for (QWidget* w : right)
        row->addWidget(w);
    return row;
}

void addSorted(QListWidget* list, const QString& text)
{
    int row = 0;
    while (row < list->count() &&
           QString::compare(list->item(row)->text(), text, Qt::CaseInsensitive) <= 0)
        ++row;
    list->insertItem(row, text);
}

void removeEntry(QListWidget* list, int row)
{
    const QSignalBlocker blocker(list);
    delete list->takeItem(row);
    list->setCurrentRow(-1);
    list->clearSelection();
}

QString selectedText(const QAbstractItemView* list)
{
    const QModelIndex current = list->currentIndex();
    if (!current.isValid() || !list->selectionModel()->isSelected(current))
        return {};
    return current.siblingAtColumn(0).data().toString();
}

void connectListClick(QAbstractItemView* list, QObject* context,
                      const std::function<void()>& handler)
{
    // A mouse click first moves the selection and then reports the click; the row remembered
    // here lets the click that only finished such a move pass. The selection, not the current
    // row, is followed: a mouse press moves the current row before it selects the entry.
    auto movedTo = std::make_shared<int>(-1);
    QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, context,
                     [list, movedTo, handler] {
                         const QModelIndex current = list->currentIndex();
                         if (list->signalsBlocked() || !current.isValid() ||
                             !list->selectionModel()->isSelected(current))
                             return;
                         *movedTo = current.row();
                         handler();
                     });
    QObject::connect(list, &QAbstractItemView::clicked, context,
                     [movedTo, handler](const QModelIndex& index) {
                         if (index.row() == *movedTo) {
                             *movedTo = -1;
                             return;
                         }
                         handler();
                     });
}

namespace {

// Enter on the selected entry of a list does what its double click does. A held key moves
// one entry, not one per repeat.
class EnterOnEntry final : public QObject {
public:
    EnterOnEntry(QAbstractItemView* list, QObject* context, std::function<void()> handler)
        : QObject(context), m_list(list), m_handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier ||
            selectedText(m_list).isNull())
            return QObject::eventFilter(watched, event);
        if (!key->isAutoRepeat())
            m_handler();
        return true;
    }

private:
    QAbstractItemView* m_list;
    std::function<void()> m_handler;
};

} // namespace

void connectEntryChoice(QAbstractItemView* list, QObject* context,
                        const std::function<void()>& handler)
{
    QObject::connect(list, &QAbstractItemView::doubleClicked, context, handler);
    list->installEventFilter(new EnterOnEntry(list, context, handler));
}

void lockList(QWidget* list, bool locked)
{
    static const char* const HadFocus = "kaldorListHadFocus";
    if (locked) {
        if (list->isEnabled() && list->hasFocus())
            list->setProperty(HadFocus, true);
        list->setEnabled(false);
        return;
    }
    list->setEnabled(true);
    if (list->property(HadFocus).toBool()) {
        list->setProperty(HadFocus, QVariant());
        list->setFocus(Qt::OtherFocusReason);
    }
}

void enableTab(QTabWidget* tabs, int index, bool enabled)
{
    // The strip moves off a current tab that it disables; with its signals blocked the pages
    // never follow, and the strip is put back on the tab that is shown.
    QTabBar* strip = tabs->tabBar();
    const int shown = strip->currentIndex();
    const QSignalBlocker blocker(strip);
    strip->setTabEnabled(index, enabled);
    strip->setCurrentIndex(shown);
}

namespace {

class DoubleClickFilter final : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), m_handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A double click is the first click and then this event; the event is taken here,
        // so that its second press does not click the control once more.
        if (event->type() == QEvent::MouseButtonDblClick) {
            m_handler();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_handler;
};

} // namespace

void connectDoubleClick(QWidget* control, QObject* context, const std::function<void()>& handler)
{
    control->installEventFilter(new DoubleClickFilter(context, handler));
}

void holdWholeTexts(QWidget* window)
{
    for (QLineEdit* box : window->findChildren<QLineEdit*>())
        box->setMaxLength(std::numeric_limits<int>::max());
}

namespace {

// Leaves out the half of a surrogate pair that a length limit cut off.
class WholeCharacters final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        for (qsizetype i = input.size() - 1; i >= 0; --i) {
            const QChar c = input.at(i);
            const bool paired =
                c.isHighSurrogate()
                    ? i + 1 < input.size() && input.at(i + 1).isLowSurrogate()
                    : !c.isLowSurrogate() || (i > 0 && input.at(i - 1).isHighSurrogate());
            if (paired)
                continue;
            input.remove(i, 1);
            if (pos > i)
                --pos;
        }
        return Acceptable;
    }
};

} // namespace

void limitLength(QLineEdit* box, int maxLength)
{
    box->setMaxLength(maxLength > 0 ? maxLength : std::numeric_limits<int>::max());
    if (!box->validator())
        box->setValidator(new WholeCharacters(box));
}

} // namespace kaldor
