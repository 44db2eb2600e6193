#include "ResourceTable.h"

#include <algorithm>
#include <optional>

namespace kaldor {

namespace {

constexpr int MaxDigits = 9; // keeps every number inside int

std::optional<int> parseNumber(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > MaxDigits)
        return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Decodes the escapes of a text field; std::nullopt names a bad or unfinished escape.
std::optional<QString> unescape(QByteArrayView field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c != '\\') {
            out.append(c);
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i]) {
        case '\\':
            out.append('\\');
            break;
        case 't':
            out.append('\t');
            break;
        case 'n':
            out.append('\n');
            break;
        case 'r':
            out.append('\r');
            break;
        default:
            return std::nullopt;
        }
    }
    return QString::fromUtf8(out);
}

QString lineError(int lineNumber, const QString& what)
{
    return QStringLiteral("line %1: %2").arg(lineNumber).arg(what);
}

} // namespace

ResourceTable ResourceTable::parse(QByteArrayView data)
{
    ResourceTable table;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        QByteArrayView line = data.sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        table.addLine(line, ++lineNumber);
        start = end + 1;
    }
    table.sortEntries();
    return table;
}

void ResourceTable::addLine(QByteArrayView line, int lineNumber)
{
    if (line.isEmpty() || line.startsWith('#'))
        return;
    const qsizetype tab = line.indexOf('\t');
    if (tab < 0) {
        m_errors << lineError(lineNumber, QStringLiteral("no tab between number and text"));
        return;
    }
    const std::optional<int> id = parseNumber(line.first(tab));
    if (!id) {
        m_errors << lineError(lineNumber, QStringLiteral("the number is not a plain decimal"));
        return;
    }
    std::optional<QString> text = unescape(line.sliced(tab + 1));
    if (!text) {
        m_errors << lineError(lineNumber, QStringLiteral("bad escape in entry %1").arg(*id));
        return;
    }
    if (*id <= m_highest) {
        const bool duplicate = std::any_of(m_entries.begin(), m_entries.end(),
                                           [&](const auto& entry) { return entry.first == *id; });
        if (duplicate) {
            m_errors << lineError(lineNumber, QStringLiteral("entry %1 appears twice").arg(*id));
            return;
        }
        m_errors << lineError(lineNumber, QStringLiteral("entry %1 is out of order").arg(*id));
    }
    m_highest = std::max(m_highest, *id);
    m_entries.emplace_back(*id, std::move(*text));
}

void ResourceTable::sortEntries()
{
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

const QString* ResourceTable::find(int id) const
{
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), id,
                                     [](const auto& entry, int key) { return entry.first < key; });
    return it != m_entries.end() && it->first == id ? &it->second : nullptr;
}

} // namespace kaldor
