#include "JournalModel.h"

#include "JournalSummary.h"
#include "ResourceStrings.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kaldor {

using namespace Qt::StringLiterals;

namespace {

constexpr int HeaderResource = 952; // Time, then the other columns in order
constexpr qsizetype CachedRows = 4096;

// "2026-12-07T10:00:00.000Z" (the journal's own form) as seconds since the epoch, or false.
bool utcSeconds(QStringView time, qint64* seconds)
{
    if (time.size() < 20 || time.at(4) != u'-' || time.at(7) != u'-' || time.at(10) != u'T' ||
        time.at(13) != u':' || time.at(16) != u':' || !time.endsWith(u'Z'))
        return false;
    const auto number = [time](qsizetype at, qsizetype length) {
        return time.mid(at, length).toInt();
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime clock(number(11, 2), number(14, 2), number(17, 2));
    if (!date.isValid() || !clock.isValid())
        return false;
    *seconds = QDateTime(date, clock, Qt::UTC).toSecsSinceEpoch();
    return true;
}

} // namespace

// The journal's UTC time as local time with its offset, "2026-12-07 11:02:03 +01:00"; a time
// that does not read as one stays as written. The offset is looked up once for each quarter of
// an hour, the steps in which time zones change theirs.
QString JournalModel::localTime(const QString& utc) const
{
    qint64 seconds = 0;
    if (!utcSeconds(utc, &seconds)) {
        const QDateTime time = QDateTime::fromString(utc, Qt::ISODateWithMs);
        if (!time.isValid())
            return utc;
        seconds = time.toSecsSinceEpoch();
    }
    const qint64 quarter = seconds / 900;
    auto offset = m_offsets.constFind(quarter);
    if (offset == m_offsets.cend())
        offset = m_offsets.insert(quarter, QDateTime::fromSecsSinceEpoch(seconds).offsetFromUtc());
    const QDateTime local = QDateTime::fromSecsSinceEpoch(seconds + *offset, Qt::UTC);
    const QDate date = local.date();
    const QTime clock = local.time();
    const int minutes = std::abs(*offset) / 60;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %c%02d:%02d", date.year(),
                  date.month(), date.day(), clock.hour(), clock.minute(), clock.second(),
                  *offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return QString::fromLatin1(text);
}

JournalModel::JournalModel(QObject* parent) : QAbstractTableModel(parent), m_rows(CachedRows) {}

JournalModel::~JournalModel() = default;

void JournalModel::load(const QString& path)
{
    beginResetModel();
    m_file.close();
    m_lines.clear();
    m_shown.clear();
    m_scanned = 0;
    m_rows.clear();
    m_offsets.clear();
    m_block.clear();
    m_blockStart = 0;
    m_readable = open(path);
    if (m_readable) {
        indexLines();
        m_summary = m_lines.empty() ? resString(968).arg(path)
                                    : resString(969).arg(qsizetype(m_lines.size()));
        scan(&m_shown);
    }
    endResetModel();
}

// Opens the journal for reading without waiting: a pipe or device named as the journal is
// refused rather than read.
bool JournalModel::open(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        m_summary = error == ENOENT
                        ? resString(966).arg(path)
                        : resString(967).arg(path, QString::fromLocal8Bit(std::strerror(error)));
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        m_summary = resString(967).arg(path, resString(971));
        return false;
    }
    if (!m_file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        m_summary = resString(967).arg(path, m_file.errorString());
        return false;
    }
    return true;
}

// One pass over the file in large pieces, noting where each line that is not blank begins.
void JournalModel::indexLines()
{
    constexpr qint64 Piece = qint64(1) << 20;
    QByteArray buffer(Piece, Qt::Uninitialized);
    qint64 offset = 0; // of the buffer's first byte
    qint64 lineStart = 0;
    qint64 number = 1;
    bool blank = true;
    qint64 read = 0;
    while ((read = m_file.read(buffer.data(), Piece)) > 0) {
        const char* const begin = buffer.constData();
        const char* const end = begin + read;
        const char* at = begin;
        while (at < end) {
            const auto* feed = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at)));
            const char* stop = feed ? feed : end;
            for (; blank && at < stop; ++at)
                blank = *at == ' ' || *at == '\t' || *at == '\r';
            if (!feed)
                break;
            const qint64 feedOffset = offset + (feed - begin);
            if (!blank)
                m_lines.push_back({lineStart, feedOffset - lineStart, number});
            ++number;
            lineStart = feedOffset + 1;
            blank = true;
            at = feed + 1;
        }
        offset += read;
    }
    if (!blank) // a last line without its line feed
        m_lines.push_back({lineStart, offset - lineStart, number});
}

// A filter that holds the one before (a text typed further) can only keep rows of it: of the
// lines already looked at, only the rows shown are looked at again.
void JournalModel::setFilter(const QString& text)
{
    if (text == m_filter)
        return;
    beginResetModel();
    const bool narrows = text.contains(m_filter, Qt::CaseInsensitive);
    m_filter = text;
    if (narrows) {
        std::vector<qsizetype> kept;
        for (const qsizetype line : m_shown) {
            const Row* cached = m_rows.object(line);
            if (cached ? shows(*cached) : shows(parse(line)))
                kept.push_back(line);
        }
        m_shown = std::move(kept);
    } else {
        m_shown.clear();
        m_scanned = 0;
    }
    if (qsizetype(m_shown.size()) < BatchSize)
        scan(&m_shown);
    endResetModel();
}

qsizetype JournalModel::scan(std::vector<qsizetype>* found)
{
    const qsizetype total = qsizetype(m_lines.size());
    qsizetype added = 0;
    while (m_scanned < total && added < BatchSize) {
        const qsizetype line = total - 1 - m_scanned++;
        // A row looked at only for the filter is not kept: most are never shown.
        const Row* cached = m_filter.isEmpty() ? nullptr : m_rows.object(line);
        if (m_filter.isEmpty() || (cached ? shows(*cached) : shows(parse(line)))) {
            found->push_back(line);
            ++added;
        }
    }
    return added;
}

bool JournalModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_scanned < qsizetype(m_lines.size());
}

void JournalModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    std::vector<qsizetype> found;
    if (scan(&found) == 0)
        return;
    const int first = int(m_shown.size());
    beginInsertRows({}, first, first + int(found.size()) - 1);
    m_shown.insert(m_shown.end(), found.begin(), found.end());
    endInsertRows();
}

bool JournalModel::shows(const Row& row) const
{
    for (const QString& cell : row.cells)
        if (cell.contains(m_filter, Qt::CaseInsensitive))
            return true;
    return false;
}

const JournalModel::Row& JournalModel::row(qsizetype line) const
{
    if (const Row* cached = m_rows.object(line))
        return *cached;
    auto* parsed = new Row(parse(line));
    m_rows.insert(line, parsed); // the cache owns it, and keeps it until the next insert
    return *parsed;
}

// The line's bytes, from a block of the file read around it: the filter reads line after line
// towards the file's start, most of them from the block read for the line before.
QByteArray JournalModel::lineBytes(const Line& at) const
{
    constexpr qint64 Block = qint64(256) * 1024;
    const qint64 end = at.offset + at.length;
    if (at.offset < m_blockStart || end > m_blockStart + m_block.size()) {
        m_blockStart = std::min(at.offset, std::max<qint64>(0, end - Block));
        m_block = m_file.seek(m_blockStart) ? m_file.read(end - m_blockStart) : QByteArray();
    }
    return m_block.mid(at.offset - m_blockStart, at.length);
}

JournalModel::Row JournalModel::parse(qsizetype line) const
{
    const Line& at = m_lines.at(size_t(line));
    const QByteArray bytes = lineBytes(at);
    Row result;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (!document.isObject()) {
        result.cells[Change] = resString(970).arg(at.number);
        result.statement = QString::fromUtf8(bytes);
        return result;
    }
    const QJsonObject entry = document.object();
    const auto text = [&entry](const QString& key) { return entry.value(key).toString(); };
    const QString time = text(u"time"_s);
    result.cells[Time] = localTime(time);
    result.cells[User] = text(u"db_user"_s);
    result.cells[DataSource] = text(u"data_source"_s);
    result.cells[Window] = text(u"action"_s);
    result.statement = text(u"statement"_s);
    result.cells[Change] = describeChange(result.statement);
    const QString failure = failureText(entry);
    result.cells[Outcome] = failure.isEmpty() ? text(u"outcome"_s) : failure;
    result.details =
        resString(973).arg(time, text(u"computer"_s), text(u"os_user"_s), text(u"dialect"_s));
    return result;
}

QString JournalModel::statement(int row) const
{
    if (row < 0 || row >= int(m_shown.size()))
        return {};
    return this->row(m_shown.at(size_t(row))).statement;
}

int JournalModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int JournalModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JournalModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_shown.size()) || index.column() >= ColumnCount)
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const Row& shown = row(m_shown.at(size_t(index.row())));
    return role == Qt::DisplayRole ? shown.cells[index.column()] : shown.details;
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return resString(HeaderResource + section);
}

} // namespace kaldor
