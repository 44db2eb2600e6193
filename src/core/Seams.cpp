#include "Seams.h"

#include "ResourceStrings.h"

#include <QApplication>
#include <QMessageBox>

namespace kaldor {

namespace {

MessageHandler& messageHandler()
{
    static MessageHandler handler;
    return handler;
}

QMessageBox::StandardButton toStandard(MsgAnswer a)
{
    switch (a) {
    case MsgAnswer::Ok:
        return QMessageBox::Ok;
    case MsgAnswer::Cancel:
        return QMessageBox::Cancel;
    case MsgAnswer::Yes:
        return QMessageBox::Yes;
    case MsgAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon toIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

MsgAnswer showRealMessageBox(const MessageRequest& r)
{
    QMessageBox box(toIcon(r.icon), r.title, r.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.setTextFormat(Qt::PlainText);
    switch (r.buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    box.setDefaultButton(toStandard(r.defaultButton));
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = box.exec();
    QApplication::restoreOverrideCursor();
    switch (result) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        return r.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
}

// The application's default title for message boxes that name none.
QString defaultMessageTitle()
{
    return resString(101) + QLatin1Char(' ') + resString(102);
}

} // namespace

MsgAnswer messageBox(const MessageRequest& request)
{
    MessageRequest r = request;
    if (r.title.isEmpty())
        r.title = defaultMessageTitle();
    // A box without an OK button defaults to its first button.
    if (r.buttons == MsgButtons::YesNo && r.defaultButton == MsgAnswer::Ok)
        r.defaultButton = MsgAnswer::Yes;
    if (messageHandler())
        return messageHandler()(r);
    return showRealMessageBox(r);
}

MsgAnswer messageBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title,
                     MsgAnswer defaultButton)
{
    return messageBox(MessageRequest{text, title, icon, buttons, defaultButton});
}

void setMessageHandler(MessageHandler handler)
{
    messageHandler() = std::move(handler);
}

namespace {
std::function<void(QWidget*)>& promptShownHandler()
{
    static std::function<void(QWidget*)> handler;
    return handler;
}

std::function<void()>& userWaitHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void setPromptShownHandler(std::function<void(QWidget*)> handler)
{
    promptShownHandler() = std::move(handler);
}

void notifyPromptShown(QWidget* dialog)
{
    if (promptShownHandler())
        promptShownHandler()(dialog);
}

void setUserWaitHandler(std::function<void()> handler)
{
    userWaitHandler() = std::move(handler);
}

void notifyUserWait()
{
    if (userWaitHandler())
        userWaitHandler()();
}

} // namespace kaldor
