#pragma once

#include "Clock.h"

#include <QString>

#include <functional>

class QWidget;

// Small seams through which the program reaches the user: message boxes and the prompt
// dialog's wait (the clock, the random generator and the program's end are in Clock.h). The program
// installs nothing; tests and the scenario runner replace them.
namespace kaldor {

enum class MsgIcon { None, Critical, Exclamation, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer defaultButton = MsgAnswer::Ok;
};

// Shows a modal message box (a real QMessageBox unless a handler is installed).
MsgAnswer messageBox(const MessageRequest& request);
MsgAnswer messageBox(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                     MsgIcon icon = MsgIcon::None, const QString& title = {},
                     MsgAnswer defaultButton = MsgAnswer::Ok);
using MessageHandler = std::function<MsgAnswer(const MessageRequest&)>;
void setMessageHandler(MessageHandler handler);

// Called once a prompt dialog is shown and waits for its answer; the scenario runner answers
// it through the dialog's own controls.
void setPromptShownHandler(std::function<void(QWidget* dialog)> handler);
void notifyPromptShown(QWidget* dialog);

// Called when a window starts to wait for the user's next actions in a local event loop
// (a prompt being added or edited waits for Done or Cancel Prompt).
void setUserWaitHandler(std::function<void()> handler);
void notifyUserWait();

} // namespace kaldor
