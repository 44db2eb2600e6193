#include "WindowHelpers.h"

#include "ResourceStrings.h"
#include "ResultSet.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QValidator>

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

QStringList columnTexts(const db::ResultSet& rows, QStringView column)
{
    QStringList texts;
    texts.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        texts.append(rows.required(i, column));
    return texts;
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

void makeSelectionOnly(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setReadOnly(true);
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

QString selectedText(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected())
        return {};
    return item->text();
}

void connectListClick(QListWidget* list, QObject* context, const std::function<void()>& handler)
{
    // A mouse click first moves the selection and then reports the click; the row remembered
    // here lets the click that only finished such a move pass. The selection, not the current
    // row, is followed: a mouse press moves the current row before it selects the entry.
    auto movedTo = std::make_shared<int>(-1);
    QObject::connect(list, &QListWidget::itemSelectionChanged, context, [list, movedTo, handler] {
        const QListWidgetItem* item = list->currentItem();
        if (!item || !item->isSelected())
            return;
        *movedTo = list->row(item);
        handler();
    });
    QObject::connect(list, &QListWidget::itemClicked, context,
                     [list, movedTo, handler](QListWidgetItem* item) {
                         const int row = list->row(item);
                         if (row == *movedTo) {
                             *movedTo = -1;
                             return;
                         }
                         handler();
                     });
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

QString upperCase(const QString& text)
{
    QString upper = text;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const QChar c = upper.at(i);
        if (c.isHighSurrogate() && i + 1 < upper.size() && upper.at(i + 1).isLowSurrogate()) {
            const char32_t u = QChar::toUpper(QChar::surrogateToUcs4(c, upper.at(i + 1)));
            upper[i] = QChar(QChar::highSurrogate(u));
            upper[++i] = QChar(QChar::lowSurrogate(u));
        } else {
            upper[i] = c.toUpper();
        }
    }
    return upper;
}

bool IsNumeric(const QString& text)
{
    static const QString body = QStringLiteral(
        R"((?:\$[ ]*)?(?:[0-9][0-9,]*(?:\.[0-9]*)?|\.[0-9]+)(?:[eEdD][+-]?[0-9]+)?)");
    static const QRegularExpression number(
        QStringLiteral(R"(^[ \t]*(?:(?:[+-][ ]*)?%1|%1[ ]*[+-]|\([ ]*%1[ ]*\)|&[Hh][0-9A-Fa-f]+)"
                       R"(|&[Oo]?[0-7]+)[ \t]*$)")
            .arg(body));
    return number.match(text).hasMatch();
}

} // namespace kaldor
