#include "JournalSummary.h"

#include "Journal.h"

#include <QStringList>

namespace kaldor {

using namespace Qt::StringLiterals;

namespace {

// The index of `word` as a whole word outside quotes in `statement`, or -1.
qsizetype findWord(const QString& statement, const QString& word)
{
    QChar closing;
    for (qsizetype i = 0; i < statement.size(); ++i) {
        const QChar c = statement.at(i);
        if (!closing.isNull()) {
            if (c == closing)
                closing = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            closing = c;
            continue;
        }
        const bool starts = i == 0 || statement.at(i - 1).isSpace();
        const qsizetype end = i + word.size();
        if (starts &&
            QStringView(statement).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0 &&
            (end == statement.size() || statement.at(end).isSpace()))
            return i;
    }
    return -1;
}

// The assignments of an update's set list: its commas outside quotes and parentheses, plus one.
int assignments(const QString& list)
{
    int count = 1, depth = 0;
    QChar closing;
    for (const QChar c : list) {
        if (!closing.isNull()) {
            if (c == closing)
                closing = QChar();
        } else if (c == u'\'' || c == u'"') {
            closing = c;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u',' && depth == 0) {
            ++count;
        }
    }
    return count;
}

QString describeStatement(const QString& statement)
{
    const QString simple = statement.simplified();
    const QString verb = simple.section(u' ', 0, 0).toLower();
    const qsizetype where = findWord(simple, u"where"_s);
    const QString condition = where < 0 ? QString() : u" "_s + simple.mid(where).left(80);
    if (verb == u"update") {
        const qsizetype set = findWord(simple, u"set"_s);
        const QString list =
            set < 0 ? QString() : simple.mid(set + 4, where < 0 ? -1 : where - set - 4);
        const int columns = assignments(list);
        return u"update "_s + simple.section(u' ', 1, 1) +
               (columns == 1 ? u" (1 column)"_s : QStringLiteral(" (%1 columns)").arg(columns)) +
               condition;
    }
    if (verb == u"insert") {
        const qsizetype values = findWord(simple, u"values"_s);
        QString into = simple.section(u' ', 2, 2);
        into = into.left(into.indexOf(u'('));
        return u"insert into "_s + into +
               (values < 0 && findWord(simple, u"select"_s) >= 0 ? u" (from a query)"_s
                                                                 : QString());
    }
    if (verb == u"delete")
        return u"delete from "_s + simple.section(u' ', 2, 2) + condition;
    return simple.left(80);
}

} // namespace

QString describeChange(const QString& sql)
{
    QStringList parts;
    for (const QString& statement : splitStatements(sql))
        if (changesData(statement))
            parts.append(describeStatement(statement));
    return parts.join(u"; "_s);
}

QString failureText(const QJsonObject& entry)
{
    if (entry.value(u"outcome"_s).toString() == u"ok")
        return {};
    return QStringLiteral("FAILED %1: %2")
        .arg(entry.value(u"error_native"_s).toInteger())
        .arg(entry.value(u"error_message"_s).toString());
}

} // namespace kaldor
