#include "FormCustomDialog.h"

#include "ChildWindow.h"
#include "CustomDialog.h"
#include "ModuleGlobals.h"
#include "ResourceStrings.h"
#include "Seams.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kaldor {

namespace {

QColor fromRgbValue(qint32 colour)
{
    const auto value = quint32(colour);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

template <class W> W* named(W* widget, const char16_t* name)
{
    widget->setObjectName(QString::fromUtf16(name));
    return widget;
}

} // namespace

FormCustomDialog::FormCustomDialog(QWidget* parent)
    : QWidget(parent, Qt::Dialog),
      m_labelCustomDialog(
          named(new WrappingLabel(QStringLiteral("(question)"), this), u"LabelCustomDialog")),
      m_textCustomDialog(named(new QLineEdit(this), u"TextCustomDialog")),
      m_comboCustomDialog(named(new QComboBox(this), u"ComboCustomDialog")),
      m_commandOK(
          named(new QPushButton(QStringLiteral("(OK 106)"), this), u"CommandCustomDialogOK")),
      m_commandCancel(named(new QPushButton(QStringLiteral("(Cancel 107)"), this),
                            u"CommandCustomDialogCancel")),
      m_labelDataFormat(named(new QLabel(this), u"LabelDataFormat"))
{
    setObjectName(QStringLiteral("FormCustomDialog"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_labelCustomDialog->setAutoFillBackground(true);
    m_labelCustomDialog->setTextFormat(Qt::PlainText);
    // The question stands right above the box that answers it, however tall the window.
    m_labelCustomDialog->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    // Carries the format code; shown, but outside the visible area of the window (it is in
    // no layout).
    m_labelDataFormat->setGeometry(-200, -200, 100, 20);
    m_commandOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_commandOK);
    buttons->addWidget(m_commandCancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_labelCustomDialog, 1);
    column->addWidget(m_textCustomDialog);
    column->addWidget(m_comboCustomDialog);
    column->addLayout(buttons);

    connect(m_commandOK, &QPushButton::clicked, this, [this] { CommandCustomDialogOK_Click(); });
    connect(m_commandCancel, &QPushButton::clicked, this,
            [this] { CommandCustomDialogCancel_Click(); });
    connect(m_textCustomDialog, &QLineEdit::returnPressed, this,
            [this] { CommandCustomDialogOK_Click(); });
}

void FormCustomDialog::FormLoad()
{
    setOuterSizeTwips(this, 4995, 2355);
    CenterForm(this);
    m_textCustomDialog->setToolTip(resString(438));
    m_comboCustomDialog->setToolTip(resString(437));
    m_commandOK->setText(resString(106));
    m_commandOK->setToolTip(resString(439));
    m_commandCancel->setText(resString(107));
    m_commandCancel->setToolTip(resString(440));
}

void FormCustomDialog::setColour(qint32 colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, fromRgbValue(colour));
    setPalette(p);
    setAutoFillBackground(true);
    m_labelCustomDialog->setPalette(p);
}

void FormCustomDialog::setMasked(bool masked)
{
    kaldor::setMasked(m_textCustomDialog, masked);
}

void FormCustomDialog::setQuestion(const QString& caption, const QString& question,
                                   qint32 maxLength, qint16 formatCode)
{
    setWindowTitle(caption);
    m_labelCustomDialog->setText(question);
    // The text box or the pick list, whichever is shown, answers the question.
    m_textCustomDialog->setAccessibleName(question);
    m_comboCustomDialog->setAccessibleName(question);
    limitLength(m_textCustomDialog, maxLength);
    m_labelDataFormat->setText(QString::number(formatCode));
}

void FormCustomDialog::showFreeText(const QString& defaultValue)
{
    m_comboCustomDialog->hide();
    m_textCustomDialog->show();
    m_textCustomDialog->setFocus();
    if (defaultValue.isEmpty())
        return;
    // The limit holds for typing: a longer default (a quoted name, say) is shown whole.
    if (defaultValue.size() > m_textCustomDialog->maxLength())
        m_textCustomDialog->setMaxLength(int(defaultValue.size()));
    m_textCustomDialog->setText(defaultValue);
    // Selected, as in an input box: what is typed replaces it.
    m_textCustomDialog->selectAll();
}

void FormCustomDialog::showPickList(const QStringList& entries, const QString& defaultValue)
{
    m_comboCustomDialog->addItems(entries);
    m_textCustomDialog->hide();
    m_comboCustomDialog->show();
    m_comboCustomDialog->setFocus();
    if (entries.isEmpty())
        return;
    if (defaultValue.isEmpty()) {
        m_comboCustomDialog->setCurrentIndex(0);
        return;
    }
    // A default that matches no entry leaves the first entry selected.
    int chosen = 0;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).left(defaultValue.size()).compare(defaultValue, Qt::CaseInsensitive) ==
            0) {
            chosen = i;
            break;
        }
    }
    m_comboCustomDialog->setCurrentIndex(chosen);
}

void FormCustomDialog::CommandCustomDialogOK_Click()
{
    const QString text = m_textCustomDialog->text();
    const QString choice = m_comboCustomDialog->currentText();
    const bool accepted =
        DialogRequired() == 0 || (DialogRequired() == 1 && (!text.isEmpty() || !choice.isEmpty()));
    if (!accepted) {
        messageBox(resString(252), MsgButtons::Ok, MsgIcon::Exclamation, resString(101));
        return;
    }
    DialogResult() = !text.isEmpty() ? Trim(text) : StripValidation(Trim(choice));
    if (!answerPassesFormat(DialogResult()))
        return;
    DialogBusy() = 0;
    close();
    Q_EMIT finished();
}

// Shows the format's message and returns false when the answer fails its check.
bool FormCustomDialog::answerPassesFormat(const QString& answer) const
{
    const QString code = m_labelDataFormat->text();
    int message = 0;
    if (code == u"2" && !isDateText(answer))
        message = 249;
    else if (code == u"5" && !isDateOrTimeText(answer))
        message = 251;
    else if ((code == u"3" || code == u"6" || code == u"8") && !isNumberText(answer))
        message = 250;
    if (message == 0)
        return true;
    messageBox(resString(message), MsgButtons::Ok, MsgIcon::Exclamation, resString(101));
    return false;
}

void FormCustomDialog::CommandCustomDialogCancel_Click()
{
    const MsgAnswer a = messageBox(resString(253), MsgButtons::YesNo, MsgIcon::Exclamation,
                                   resString(101), MsgAnswer::No);
    if (a == MsgAnswer::Yes) {
        DialogResult() = DialogCancelled;
        finish();
        return;
    }
    if (!m_textCustomDialog->isHidden())
        m_textCustomDialog->setFocus();
    else
        m_comboCustomDialog->setFocus();
}

void FormCustomDialog::finish()
{
    DialogBusy() = 0;
    Q_EMIT finished();
}

// Escape, which the text box and the combo box leave to their window, asks as Cancel does; a
// held key asks once.
void FormCustomDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        CommandCustomDialogCancel_Click();
}

// Closing by the window frame while the question waits answers it as cancelled.
void FormCustomDialog::closeEvent(QCloseEvent* event)
{
    if (DialogBusy() == 1) {
        DialogResult() = DialogCancelled;
        finish();
    }
    event->accept();
}

} // namespace kaldor
