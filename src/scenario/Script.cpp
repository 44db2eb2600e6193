#include "Script.h"

namespace kaldor::scenario {

namespace {

// Reads the arguments of one line; false on an unclosed quote.
bool splitArguments(QStringView rest, QStringList& out, QList<qsizetype>& starts)
{
    qsizetype i = 0;
    const qsizetype n = rest.size();
    while (i < n) {
        while (i < n && (rest[i] == u' ' || rest[i] == u'\t'))
            ++i;
        if (i >= n)
            break;
        starts.append(i);
        QString arg;
        if (rest[i] == u'"') {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = rest[i++];
                if (c == u'"') {
                    closed = true;
                    break;
                }
                if (c == u'\\' && i < n) {
                    const QChar e = rest[i++];
                    switch (e.unicode()) {
                    case u'r':
                        arg += u'\r';
                        break;
                    case u'n':
                        arg += u'\n';
                        break;
                    case u't':
                        arg += u'\t';
                        break;
                    default:
                        arg += e;
                        break;
                    }
                    continue;
                }
                arg += c;
            }
            if (!closed)
                return false;
        } else {
            while (i < n && rest[i] != u' ' && rest[i] != u'\t')
                arg += rest[i++];
        }
        out.append(arg);
    }
    return true;
}

} // namespace

ParsedScript parseScript(const QString& text)
{
    ParsedScript script;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        Command c;
        c.line = i + 1;
        c.text = line;
        const qsizetype start = line.indexOf(trimmed.at(0));
        qsizetype end = start;
        while (end < line.size() && line.at(end) != u' ' && line.at(end) != u'\t')
            ++end;
        c.name = line.mid(start, end - start);
        const QStringView rest = QStringView(line).mid(end);
        if (c.name == u"raw" || c.name == u"shell") {
            c.args.append(rest.size() > 0 ? rest.mid(1).toString() : QString());
        } else if (!splitArguments(rest, c.args, c.argStarts)) {
            script.errorLine = c.line;
            script.error = QStringLiteral("unclosed quote");
            return script;
        }
        for (qsizetype& argStart : c.argStarts)
            argStart += end;
        script.commands.append(c);
    }
    return script;
}

QString quoted(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += u"\\\"";
            break;
        case u'\\':
            out += u"\\\\";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\t':
            out += u"\\t";
            break;
        default:
            out += c;
            break;
        }
    }
    out += u'"';
    return out;
}

} // namespace kaldor::scenario
