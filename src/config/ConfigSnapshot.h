#pragma once

#include "Connection.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

namespace kaldor::configtool {

// One row of a configuration table: lower-case column name to value (NULL distinct from "").
using Row = QMap<QString, db::Value>;

// The web application's configuration as the program edits it: every configuration table's
// rows, each table's rows in a stable order, except where the order is what the windows show
// and write (the tree view's fields, a prompt's custom values): those keep the server's order.
// The system configuration leaves out the values that belong to one computer (data source,
// shared folder and drive).
struct Snapshot {
    QMap<QString, QList<Row>> tables;
};

// The configuration tables in the order an import writes them, and their columns.
struct TableInfo {
    QString name; // without the schema
    QStringList columns;
    bool ordered = false; // the rows' order has a meaning and is kept
};
const QList<TableInfo>& configurationTables();

// The columns of the system configuration record that stay with each computer.
const QStringList& perComputerColumns();

// Reads every configuration table through the connection.
Snapshot readSnapshot(db::Connection& connection);

// The snapshot as one JSON document: format name and version, tables, rows and keys in a
// stable order, so that two exports of the same configuration are byte-identical.
QByteArray toJson(const Snapshot& snapshot);

// Reads a document written by toJson; on bad input returns false with a one-line reason. Every
// value must be whole Unicode without NUL characters, which no statement can carry safely.
bool fromJson(QByteArray json, Snapshot* snapshot, QString* why);

// The differences between two configurations by what they mean (groups, users, reports and
// their prompts, fields, tree view, pages, desktop and title language, results header), one
// line each; empty when they are equal.
QStringList differences(const Snapshot& a, const Snapshot& b);

// The statements that make the target's configuration tables equal to the snapshot's, without
// transaction words, made one at a time as they are sent. Users' groups are written only for
// the users of `knownUsers` (case-folded, as the servers compare names); the others are listed
// in `skippedUsers`, and the target's own rows for users it does not know stay as they are.
// The plan reads the snapshot, which must outlive it.
class ImportPlan final {
public:
    ImportPlan(const Snapshot& source, bool targetHasSystemRow, const QSet<QString>& knownUsers);

    qsizetype size() const { return m_steps.size(); }
    QString statement(qsizetype i) const;
    QString where(qsizetype i) const; // which table and row of the snapshot statement i writes
    const QStringList& skippedUsers() const { return m_skippedUsers; }

private:
    struct Step {
        qsizetype table; // index into configurationTables()
        qsizetype row;   // -1: the statement that empties the table (or updates its one row)
    };
    const Snapshot& m_source;
    bool m_targetHasSystemRow;
    QList<Step> m_steps;
    QStringList m_skippedUsers;
};

} // namespace kaldor::configtool
