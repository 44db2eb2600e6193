#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kaldor::db {

using Value = std::optional<QString>; // std::nullopt is NULL, distinct from an empty text
using Row = QList<Value>;

// A fully read result set: column names and rows, values read by column name
// case-insensitively. Reading an unknown column throws ItemNotFound, a row out of range
// NoCurrentRecord, as the data access layer reports them.
class ResultSet final {
public:
    ResultSet() = default;
    ResultSet(QStringList columns, QList<Row> rows);

    const QStringList& columns() const { return m_columns; }
    // Whether the server gave the column a number type; every value still arrives as text.
    bool isNumber(int column) const { return m_numbers.value(column); }
    void setNumbers(QList<bool> numbers) { m_numbers = std::move(numbers); }
    qsizetype size() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    Value value(qsizetype row, QStringView column) const;
    // The value's text, or `whenNull` for NULL.
    QString text(qsizetype row, QStringView column, const QString& whenNull = {}) const;
    // The value's text; NULL throws InvalidUseOfNull, as assigning NULL to a text does.
    QString required(qsizetype row, QStringView column) const;
    // The column's texts of every row, in row order (a NULL throws InvalidUseOfNull).
    QStringList requiredColumn(QStringView column) const;

    const Row& row(qsizetype index) const;

private:
    int columnIndex(QStringView name) const;

    QStringList m_columns;
    QList<bool> m_numbers;       // per column; missing entries are texts
    QHash<QString, int> m_index; // case-folded name -> first column of that name
    QList<Row> m_rows;
};

} // namespace kaldor::db
