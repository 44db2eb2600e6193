// kaldor-config: export, compare and copy the web configuration between databases.
#include "ConfigTool.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return kaldor::configtool::runConfigTool(QCoreApplication::arguments().mid(1), out, err);
}
