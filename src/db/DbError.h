#pragma once

#include <QList>
#include <QString>

#include <exception>

namespace kaldor::db {

// One diagnostic record of a failed call, as the driver reported it.
struct DiagRecord {
    QString sqlState;
    qint32 native = 0;
    QString source;  // the component that raised it, e.g. "[unixODBC][Driver Manager]"
    QString message; // the text after the source prefix
};

// Error numbers of the data access layer, the ones the error routine and its log show.
enum ErrorNumber : int {
    Overflow = 6,
    TypeMismatch = 13,
    InvalidUseOfNull = 94,
    NoCurrentRecord = 3021,
    OdbcCallFailed = 3146,
    OdbcConnectFailed = 3151,
    ItemNotFound = 3265,
};

struct DbError {
    int number = 0;
    QString description;
    QList<DiagRecord> records;

    static DbError itemNotFound();
    static DbError noCurrentRecord();
    static DbError invalidUseOfNull();
    // A stored text that does not convert to the value read from it.
    static DbError typeMismatch();
    static DbError overflow();
};

// Thrown by every database call that fails; carries every diagnostic record.
class DbException final : public std::exception {
public:
    explicit DbException(DbError error) : m_error(std::move(error)) {}
    const DbError& error() const noexcept { return m_error; }
    const char* what() const noexcept override { return "database call failed"; }

private:
    DbError m_error;
};

} // namespace kaldor::db
