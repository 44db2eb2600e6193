#include "SaveReport.h"

#include "MDIFormMain.h"
#include "ResourceStrings.h"
#include "Seams.h"

namespace kaldor {

void showStatus(const QString& text)
{
    if (MDIFormMain* main = mainWindow())
        main->setStatusText(text);
}

void reportSaved(const QString& what)
{
    showStatus(resString(910).arg(what, currentDateTime().toString(QStringLiteral("HH:mm:ss"))));
}

void refuseSave(const QString& what, const MessageRequest& message)
{
    showStatus(resString(911).arg(what, message.text));
    messageBox(message);
}

} // namespace kaldor
