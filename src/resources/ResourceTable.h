#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace kaldor {

// A parsed resource string table. The text form has one entry per line, NUMBER<TAB>TEXT,
// numbers ascending and unique; TEXT knows the escapes \\ \t \n \r. Empty lines and lines
// starting with '#' are skipped, and a CR before the line feed is ignored. A malformed line is
// left out and reported in errors(); an out-of-order line is kept but reported too.
class ResourceTable final {
public:
    static ResourceTable parse(QByteArrayView data);

    // The text of `id`, or nullptr when the table has no such entry.
    const QString* find(int id) const;
    bool contains(int id) const { return find(id) != nullptr; }
    std::size_t size() const { return m_entries.size(); }
    const std::vector<std::pair<int, QString>>& entries() const { return m_entries; }
    // One "line N: ..." text per problem found while parsing, in line order.
    const QStringList& errors() const { return m_errors; }

private:
    void addLine(QByteArrayView line, int lineNumber);
    void sortEntries();

    std::vector<std::pair<int, QString>> m_entries; // sorted by number once parsed
    QStringList m_errors;
    int m_highest = -1; // the highest number parsed so far
};

} // namespace kaldor
