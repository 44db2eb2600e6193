#pragma once

#include <QString>

namespace kaldor {

struct MessageRequest;

// The main window's status bar tells what the last save wrote and when, at the program's clock
// ("Group LAB saved 22:51:07"), or what was not saved and why: it matters where a window's save
// button stays enabled after saving. `what` names the item saved ("Group LAB", resource 912).

// Called by a window's save once its statements have been sent.
void reportSaved(const QString& what);

// A save that one of its checks refuses: shows the check's message box and puts what was not
// saved, and the message, into the status bar.
void refuseSave(const QString& what, const MessageRequest& message);

// Any other text for the status bar (the login's failure).
void showStatus(const QString& text);

} // namespace kaldor
