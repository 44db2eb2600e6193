#include "IconCachingStyle.h"
#include "MDIFormMain.h"
#include "ModuleGlobals.h"
#include "Windows.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    kaldor::useIconCachingStyle();
    kaldor::commandLine() = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    kaldor::registerAllWindows();
    kaldor::MDIFormMain window;
    window.show();
    window.MDIFormLoad();
    return QApplication::exec();
}
