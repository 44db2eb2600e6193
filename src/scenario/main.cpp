#include "Runner.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kaldor-scenario SCRIPT|-\n");
        return 2;
    }
    QFile file;
    const bool fromStdin = QByteArray(argv[1]) == "-";
    const bool opened =
        fromStdin ? file.open(stdin, QIODevice::ReadOnly)
                  : (file.setFileName(QFile::decodeName(argv[1])), file.open(QIODevice::ReadOnly));
    if (!opened) {
        std::fprintf(stderr, "kaldor-scenario: cannot read %s\n", argv[1]);
        return 2;
    }
    const QString script = QString::fromUtf8(file.readAll());
    kaldor::scenario::Runner runner;
    return runner.run(script);
}
