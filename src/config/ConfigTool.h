#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace kaldor::configtool {

// Asks the user for a text: the prompt, and whether the answer is echoed (a password is not).
using Asker = std::function<QString(const QString& prompt, bool echo)>;

// Reads from the terminal (without echo for passwords), else from standard input.
QString askOnTerminal(const QString& prompt, bool echo);

// The command line tool: export, diff and import of the web configuration.
//   export DSN [-o FILE] [--user NAME]
//   diff A B [--user NAME]          (A and B: data source names or exported files)
//   import FILE DSN [--dry-run] [--user NAME]
//   check DSN [--user NAME]         (the tables, columns, view and procedures the program needs)
// The password comes from KALDOR_PASSWORD when --user is given, else it is asked for.
// Exit status: 0 done (diff: equal; check: complete), 1 diff: different (check: something
// missing), 2 bad input or a failure with nothing
// written, 3 imported but the field view could not be rebuilt.
int runConfigTool(const QStringList& arguments, QTextStream& out, QTextStream& err,
                  const Asker& ask = askOnTerminal);

} // namespace kaldor::configtool
