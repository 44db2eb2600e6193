#include "ResultSet.h"

#include "DbError.h"

namespace kaldor::db {

DbError DbError::itemNotFound()
{
    return {ItemNotFound, QStringLiteral("Item not found in this collection."), {}};
}

DbError DbError::noCurrentRecord()
{
    return {NoCurrentRecord, QStringLiteral("No current record."), {}};
}

DbError DbError::invalidUseOfNull()
{
    return {InvalidUseOfNull, QStringLiteral("Invalid use of Null"), {}};
}

DbError DbError::typeMismatch()
{
    return {TypeMismatch, QStringLiteral("Type mismatch"), {}};
}

DbError DbError::overflow()
{
    return {Overflow, QStringLiteral("Overflow"), {}};
}

ResultSet::ResultSet(QStringList columns, QList<Row> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString key = m_columns.at(i).toCaseFolded();
        if (!m_index.contains(key))
            m_index.insert(key, i);
    }
}

int ResultSet::columnIndex(QStringView name) const
{
    return m_index.value(name.toString().toCaseFolded(), -1);
}

const Row& ResultSet::row(qsizetype index) const
{
    if (index < 0 || index >= m_rows.size())
        throw DbException(DbError::noCurrentRecord());
    return m_rows.at(index);
}

Value ResultSet::value(qsizetype rowIndex, QStringView column) const
{
    const Row& r = row(rowIndex);
    const int c = columnIndex(column);
    if (c < 0)
        throw DbException(DbError::itemNotFound());
    return r.at(c);
}

QString ResultSet::text(qsizetype rowIndex, QStringView column, const QString& whenNull) const
{
    return value(rowIndex, column).value_or(whenNull);
}

QString ResultSet::required(qsizetype rowIndex, QStringView column) const
{
    Value v = value(rowIndex, column);
    if (!v)
        throw DbException(DbError::invalidUseOfNull());
    return *v;
}

QStringList ResultSet::requiredColumn(QStringView column) const
{
    const int c = columnIndex(column);
    if (c < 0)
        throw DbException(DbError::itemNotFound());
    QStringList texts;
    texts.reserve(m_rows.size());
    for (const Row& r : m_rows) {
        if (!r.at(c))
            throw DbException(DbError::invalidUseOfNull());
        texts.append(*r.at(c));
    }
    return texts;
}

} // namespace kaldor::db
