// kaldor-config: export, compare and copy the web configuration between databases.
#include "ConfigTool.h"
#include "Odbc.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status =
        kaldor::configtool::runConfigTool(QCoreApplication::arguments().mid(1), out, err);
    if (kaldor::db::callAbandoned()) {
        // A driver call still waits for the server on another thread: end without unloading it.
        out.flush();
        err.flush();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
