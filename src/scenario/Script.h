#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kaldor::scenario {

struct Command {
    int line = 0;               // 1-based line number in the script
    QString text;               // the line as read
    QString name;               // the command word
    QStringList args;           // the arguments; for raw, the rest of the line as one argument
    QList<qsizetype> argStarts; // where each argument starts in `text`
};

struct ParsedScript {
    QList<Command> commands;
    int errorLine = 0; // a line that could not be read (an unclosed quote), else 0
    QString error;
};

// Splits a script into commands: one a line, blank lines and # comments skipped, arguments
// separated by blanks, double-quoted arguments with \" \\ \r \n \t escapes.
ParsedScript parseScript(const QString& text);

// A text in double quotes with ", \, CR, LF and TAB escaped, as the transcript prints texts.
QString quoted(const QString& text);

} // namespace kaldor::scenario
