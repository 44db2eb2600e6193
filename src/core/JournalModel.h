#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QFile>
#include <QHash>
#include <QString>

#include <vector>

namespace kaldor {

// The change journal as a read-only table, the newest entry first. Opening a journal of
// hundreds of thousands of lines takes one pass that notes where each line begins; a line is
// parsed only when its row is asked for, and rows come in batches as a view scrolls to its end
// (canFetchMore, fetchMore). A line that is no journal entry is a row saying so. The journal is
// only ever read.
class JournalModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, User, DataSource, Window, Change, Outcome, ColumnCount };
    // The rows that one fetch adds.
    static constexpr qsizetype BatchSize = 256;

    explicit JournalModel(QObject* parent = nullptr);
    ~JournalModel() override;
    JournalModel(const JournalModel&) = delete;
    JournalModel& operator=(const JournalModel&) = delete;

    // Reads the journal at `path` afresh, with the filter kept.
    void load(const QString& path);
    // A sentence about the journal read: how many entries it holds, or why there are none
    // (no journal yet, one that cannot be read).
    QString summary() const { return m_summary; }
    // Whether the journal could be read (a missing or unreadable one shows no rows).
    bool isReadable() const { return m_readable; }
    // The entries of the journal, malformed lines included, whatever the filter.
    qsizetype entryCount() const { return qsizetype(m_lines.size()); }

    // Shows only the rows with `text` in one of their columns, ignoring case; an empty text
    // shows every row.
    void setFilter(const QString& text);
    QString filter() const { return m_filter; }

    // The statement text of a row as sent, or a malformed line as it stands.
    QString statement(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    // A line of the journal that is not blank.
    struct Line {
        qint64 offset;
        qint64 length;
        qint64 number; // from 1, as an editor counts lines
    };
    struct Row {
        QString cells[ColumnCount];
        QString statement;
        QString details; // the tooltip: UTC time, computer, OS user, dialect
    };

    bool open(const QString& path);
    void indexLines();
    // Adds the next batch of rows that the filter shows, without telling views.
    qsizetype scan(std::vector<qsizetype>* found);
    const Row& row(qsizetype line) const;
    Row parse(qsizetype line) const;
    QByteArray lineBytes(const Line& at) const;
    bool shows(const Row& row) const;
    QString localTime(const QString& utc) const;

    mutable QFile m_file;
    mutable QByteArray m_block; // a piece of the file read last, from m_blockStart
    mutable qint64 m_blockStart = 0;
    std::vector<Line> m_lines;
    std::vector<qsizetype> m_shown; // the lines of the rows, newest first
    qsizetype m_scanned = 0;        // lines looked at for m_shown, from the newest
    QString m_filter;
    QString m_summary;
    bool m_readable = false;
    mutable QCache<qsizetype, Row> m_rows;
    mutable QHash<qint64, int> m_offsets; // quarter hours since the epoch: their UTC offset here
};

} // namespace kaldor
