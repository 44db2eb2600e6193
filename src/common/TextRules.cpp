#include "TextRules.h"

#include "Clock.h"
#include "DbError.h"
#include "ResultSet.h"

#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace kaldor {

QString Trim(const QString& text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString OneLine(const QString& text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return QString(text).replace(lineBreaks, QStringLiteral(" ")).trimmed();
}

double Val(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^[ \\t]*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eEdD][+-]?\\d+)?)"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return 0.0;
    QString digits = m.captured(1);
    digits.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    bool ok = false;
    const double v = digits.toDouble(&ok);
    if (!std::isfinite(v))
        throw db::DbException(db::DbError::overflow()); // a number past the double range
    return ok ? v : 0.0;
}

float CSng(double value)
{
    if (!(std::fabs(value) <= double(std::numeric_limits<float>::max())))
        throw db::DbException(db::DbError::overflow());
    return float(value);
}

QString& FixQuotes(QString& text)
{
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    QString out;
    out.reserve(text.size() + text.size() / 2);
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) == QLatin1Char('\\') && i + 1 < text.size() &&
            text.at(i + 1) == QLatin1Char('\\')) {
            out += QStringLiteral("\\\\\\");
            i += 2;
        } else {
            out += text.at(i++);
        }
    }
    text = out;
    return text;
}

QString FixQuotes(const QString& text)
{
    QString copy = text;
    return FixQuotes(copy);
}

namespace {
std::optional<QTime> readTime(const QString& input)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    static const char* const timeFormats[] = {"H:m",      "H:m:s", "h:m AP", "h:m:s AP",
                                              "h:mAP",    "h AP",  "hAP",    "h:m ap",
                                              "h:m:s ap", "h ap",  "H:m:s.z"};
    for (const char* f : timeFormats) {
        const QTime t = QTime::fromString(text, QString::fromLatin1(f));
        if (t.isValid())
            return t;
    }
    static const char* const dateTimeFormats[] = {
        "yyyy-M-d",     "yyyy-M-d H:m",    "yyyy-M-d H:m:s", "yyyy-M-dTH:m:s", "M/d/yyyy",
        "M/d/yyyy H:m", "M/d/yyyy h:m AP", "M/d/yyyy H:m:s", "d.M.yyyy",       "d.M.yyyy H:m"};
    for (const char* f : dateTimeFormats) {
        const QDateTime dt = QDateTime::fromString(text, QString::fromLatin1(f));
        if (dt.isValid())
            return dt.time();
    }
    return std::nullopt;
}
} // namespace

QString ParseTime(const QString& time, const QString& part)
{
    const std::optional<QTime> t = readTime(time);
    if (!t)
        return QStringLiteral("INVALID");
    const int value = part == QLatin1String("H") ? t->hour() : t->minute();
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString GetfformByFieldNumber(const QString& fieldNumber)
{
    const QStringView head = QStringView(fieldNumber).left(2);
    if (head == u"42")
        return QStringLiteral("2");
    if (head == u"23" || head == u"CC")
        return QStringLiteral("3");
    if (head == u"28")
        return QStringLiteral("4");
    if (head == u"32")
        return QStringLiteral("5");
    if (head == u"46")
        return QStringLiteral("6");
    return {};
}

QString Calczvrtag()
{
    const auto reseedFromClock = [] {
        reseedRandom(currentDateTime().time().msecsSinceStartOfDay() / 1000.0);
    };
    QString tag;
    for (int i = 0; i < 6; ++i) {
        reseedFromClock();
        const float r = nextRandom();
        tag += QChar(char16_t(int(double(r) * 25 + 97)));
    }
    reseedFromClock();
    const float r = nextRandom();
    const QDate today = currentDateTime().date();
    tag += QLatin1Char(':') + today.toString(QStringLiteral("yy")) +
           QString::number(today.dayOfYear()) + QString::number(int(double(r) * 9999 + 1000));
    return tag.left(15);
}

QStringList columnTexts(const db::ResultSet& rows, QStringView column)
{
    return rows.isEmpty() ? QStringList() : rows.requiredColumn(column);
}

QStringList sortedTexts(QStringList texts)
{
    std::stable_sort(texts.begin(), texts.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return texts;
}

QString upperCase(const QString& text)
{
    QString upper = text;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const QChar c = upper.at(i);
        if (c.isHighSurrogate() && i + 1 < upper.size() && upper.at(i + 1).isLowSurrogate()) {
            const char32_t u = QChar::toUpper(QChar::surrogateToUcs4(c, upper.at(i + 1)));
            upper[i] = QChar(QChar::highSurrogate(u));
            upper[++i] = QChar(QChar::lowSurrogate(u));
        } else {
            upper[i] = c.toUpper();
        }
    }
    return upper;
}

bool IsNumeric(const QString& text)
{
    static const QString body = QStringLiteral(
        R"((?:\$[ ]*)?(?:[0-9][0-9,]*(?:\.[0-9]*)?|\.[0-9]+)(?:[eEdD][+-]?[0-9]+)?)");
    static const QRegularExpression number(
        QStringLiteral(R"(^[ \t]*(?:(?:[+-][ ]*)?%1|%1[ ]*[+-]|\([ ]*%1[ ]*\)|&[Hh][0-9A-Fa-f]+)"
                       R"(|&[Oo]?[0-7]+)[ \t]*$)")
            .arg(body));
    return number.match(text).hasMatch();
}

} // namespace kaldor
