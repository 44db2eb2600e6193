#include "Seams.h"

#include "ResourceStrings.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kaldor {

namespace {

MessageHandler& messageHandler()
{
    static MessageHandler handler;
    return handler;
}

std::function<QDateTime()>& clockFunction()
{
    static std::function<QDateTime()> clock;
    return clock;
}

std::function<void(int)>& endHandler()
{
    static std::function<void(int)> handler;
    return handler;
}

struct RandomState {
    quint64 state = 0x2545F4914F6CDD1DULL;
};

RandomState& randomState()
{
    static RandomState r;
    return r;
}

quint64 mix(quint64 x)
{
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    x ^= x >> 31;
    return x;
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

} // namespace

QString defaultMessageTitle()
{
    return resString(101) + QLatin1Char(' ') + resString(102);
}

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

QDateTime currentDateTime()
{
    return clockFunction() ? clockFunction()() : QDateTime::currentDateTime();
}

void setClock(std::function<QDateTime()> clock)
{
    clockFunction() = std::move(clock);
}

void reseedRandom(double seed)
{
    quint64 bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);
    randomState().state = mix(randomState().state ^ bits);
}

float nextRandom()
{
    quint64& s = randomState().state;
    s += 0x9E3779B97F4A7C15ULL;
    // 24 random bits give every single-precision value of [0, 1) on a 2^-24 grid.
    return float(mix(s) >> 40) / float(1u << 24);
}

void setRandomSeed(quint64 seed)
{
    randomState().state = seed;
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

void endProgram(int status)
{
    if (endHandler())
        endHandler()(status);
    std::fflush(nullptr);
    std::_Exit(status);
}

void setEndHandler(std::function<void(int)> handler)
{
    endHandler() = std::move(handler);
}

} // namespace kaldor
