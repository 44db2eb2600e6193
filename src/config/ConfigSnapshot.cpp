#include "ConfigSnapshot.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <functional>

namespace kaldor::configtool {

namespace {

const QString FormatName = QStringLiteral("kaldor-config");
constexpr int FormatVersion = 1;

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '));
}

// NULL sorts before every text.
bool valueLess(const db::Value& a, const db::Value& b)
{
    if (!a || !b)
        return !a && b;
    return *a < *b;
}

bool rowLess(const Row& a, const Row& b, const QStringList& columns)
{
    for (const QString& c : columns) {
        const db::Value& x = a.value(c);
        const db::Value& y = b.value(c);
        if (valueLess(x, y))
            return true;
        if (valueLess(y, x))
            return false;
    }
    return false;
}

void sortRows(QList<Row>& rows, const QStringList& columns)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [&columns](const Row& a, const Row& b) { return rowLess(a, b, columns); });
}

QString shown(const db::Value& v)
{
    if (!v)
        return QStringLiteral("NULL");
    QString text = *v;
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString literal(const db::Value& v)
{
    if (!v)
        return QStringLiteral("NULL");
    QString text = *v;
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

} // namespace

const QList<TableInfo>& configurationTables()
{
    static const QList<TableInfo> tables{
        {QStringLiteral("qrb_zv_system_configuration"),
         words("require_login desktop title autolayout diags browser")},
        {QStringLiteral("qrb_zv_groupconfig"),
         words("group_id zv_inhibit_use inv_data_display view_merge_data customer_data_display "
               "cal_data_display cal_show_latest cal_show_results cal_data_old_number "
               "cal_data_old_type loc_data_display loc_show_latest loc_data_old_number "
               "loc_data_old_type rep_data_display rep_show_latest rep_data_old_number "
               "rep_data_old_type")},
        {QStringLiteral("qrb_zv_reports"),
         words("report_name report_type zvrtag sql_link report_sql report_filename report_out")},
        {QStringLiteral("qrb_zv_group_reports"), words("group_id zvrtag")},
        {QStringLiteral("qrb_zv_report_prompts"),
         words("zvrtag prompt_string prompt default_value prompt_type db_validation "
               "validation_table validation_column custom_validation force_validation sequence")},
        {QStringLiteral("qrb_zv_prompt_validation"), words("zvrtag prompt_string val"), true},
        {QStringLiteral("qrb_zv_userlist"), words("mtuser group_id zv_inhibit_use")},
        {QStringLiteral("qrb_zv_session_config"),
         words("group_id mtuser start_date end_date start_time end_time max_open_sessions "
               "end_on_close")},
        {QStringLiteral("qrb_zv_fields_group_inhibit"), words("fldnum group_id")},
        {QStringLiteral("qrb_zv_general_offsets"),
         words("fldnum fform general_field_title_x general_field_data_x general_field_data_y")},
        {QStringLiteral("qrb_zv_browser_offsets"),
         words("fldnum browser_id fform browser_field_title_x browser_field_data_x "
               "browser_field_data_y")},
        {QStringLiteral("qrb_zv_tree_config"), words("max_rows_display")},
        {QStringLiteral("qrb_zv_tree_fields"), words("fldnum len"), true},
        {QStringLiteral("qrb_zv_page_configuration"),
         words("web_page style_sheet wallpaper background")},
        {QStringLiteral("qrb_zv_result_header"), words("header")},
    };
    return tables;
}

const QStringList& perComputerColumns()
{
    static const QStringList columns = words("odbc spath sdrive");
    return columns;
}

// ---- reading ------------------------------------------------------------------------------

Snapshot readSnapshot(db::Connection& connection)
{
    Snapshot snapshot;
    for (const TableInfo& table : configurationTables()) {
        const db::ResultSet rows =
            connection.query(QStringLiteral("select * from mt.") + table.name);
        QList<Row>& out = snapshot.tables[table.name];
        for (qsizetype r = 0; r < rows.size(); ++r) {
            Row row;
            for (const QString& column : rows.columns()) {
                const QString key = column.toLower();
                if (table.columns.contains(key))
                    row.insert(key, rows.value(r, column));
            }
            out.append(row);
        }
        if (!table.ordered)
            sortRows(out, table.columns);
    }
    return snapshot;
}

// ---- the document -------------------------------------------------------------------------

QByteArray toJson(const Snapshot& snapshot)
{
    QJsonObject tables;
    for (const TableInfo& table : configurationTables()) {
        QJsonArray rows;
        for (const Row& row : snapshot.tables.value(table.name)) {
            QJsonObject object;
            for (const QString& column : table.columns) {
                const db::Value v = row.value(column);
                object.insert(column, v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null));
            }
            rows.append(object);
        }
        tables.insert(table.name, rows);
    }
    const QJsonObject document{{QStringLiteral("format"), FormatName},
                               {QStringLiteral("version"), FormatVersion},
                               {QStringLiteral("tables"), tables}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

namespace {

bool readRows(const TableInfo& table, const QJsonValue& value, QList<Row>* rows, QString* why)
{
    if (!value.isArray()) {
        *why = QStringLiteral("table %1 is not a list of rows").arg(table.name);
        return false;
    }
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString where = QStringLiteral("table %1, row %2").arg(table.name).arg(i + 1);
        if (!array.at(i).isObject()) {
            *why = where + QStringLiteral(" is not an object");
            return false;
        }
        const QJsonObject object = array.at(i).toObject();
        Row row;
        for (auto it = object.begin(); it != object.end(); ++it) {
            const qsizetype column = table.columns.indexOf(it.key());
            if (column < 0) {
                *why = where + QStringLiteral(": unknown column %1").arg(it.key());
                return false;
            }
            const QString& key = table.columns.at(column); // one shared name for every row
            if (it->isNull())
                row.insert(key, std::nullopt);
            else if (it->isString()) {
                const QString text = it->toString();
                if (!text.isValidUtf16() || text.contains(QChar(0))) {
                    *why = where + QStringLiteral(": column %1 holds %2")
                                       .arg(it.key(), text.isValidUtf16()
                                                          ? QStringLiteral("a NUL character")
                                                          : QStringLiteral("invalid Unicode"));
                    return false;
                }
                row.insert(key, text);
            } else {
                *why =
                    where + QStringLiteral(": column %1 is neither a text nor null").arg(it.key());
                return false;
            }
        }
        for (const QString& column : table.columns)
            if (!row.contains(column)) {
                *why = where + QStringLiteral(": column %1 is missing").arg(column);
                return false;
            }
        rows->append(row);
    }
    if (!table.ordered)
        sortRows(*rows, table.columns);
    return true;
}

} // namespace

namespace {

// Whether the bytes are UTF-8 throughout, read in pieces cut between characters so that a large
// file is not decoded into one text at once.
bool isUtf8(const QByteArray& bytes)
{
    constexpr qsizetype Piece = qsizetype(1) << 20;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = std::min(bytes.size(), start + Piece);
        for (int back = 0; back < 3 && end < bytes.size() && (uchar(bytes.at(end)) & 0xC0) == 0x80;
             ++back)
            --end;
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = decoder.decode(QByteArrayView(bytes).sliced(start, end - start));
        if (decoder.hasError())
            return false;
        start = end;
    }
    return true;
}

} // namespace

bool fromJson(QByteArray json, Snapshot* snapshot, QString* why)
{
    if (!isUtf8(json)) {
        *why = QStringLiteral("not UTF-8 text");
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    json = QByteArray(); // a large file's bytes are not needed beside its rows
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        *why = QStringLiteral("not a JSON document (%1)").arg(error.errorString());
        return false;
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != FormatName) {
        *why = QStringLiteral("not a configuration written by kaldor-config");
        return false;
    }
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble()) ||
        version.toDouble() < 1) {
        *why = QStringLiteral("the format version is missing or not a whole number");
        return false;
    }
    if (version.toDouble() > FormatVersion) {
        *why = QStringLiteral("format version %1 is newer than this tool reads (%2)")
                   .arg(version.toDouble())
                   .arg(FormatVersion);
        return false;
    }
    const QJsonObject tables = root.value(QStringLiteral("tables")).toObject();
    for (auto it = tables.begin(); it != tables.end(); ++it) {
        const bool known = std::any_of(configurationTables().begin(), configurationTables().end(),
                                       [&it](const TableInfo& t) { return t.name == it.key(); });
        if (!known) {
            *why = QStringLiteral("unknown table %1").arg(it.key());
            return false;
        }
    }
    Snapshot result;
    for (const TableInfo& table : configurationTables()) {
        if (!tables.contains(table.name)) {
            *why = QStringLiteral("table %1 is missing").arg(table.name);
            return false;
        }
        if (!readRows(table, tables.value(table.name), &result.tables[table.name], why))
            return false;
    }
    *snapshot = std::move(result);
    return true;
}

// ---- differences --------------------------------------------------------------------------

namespace {

// Rows keyed by some of their columns; the other compared columns are the row's values.
struct Keyed {
    QString entity;      // how a row is named in the report, given its key values
    QStringList key;     // key columns
    QStringList compare; // value columns (empty: the row is a member of a set)
};

using Namer = std::function<QString(const Row&)>;

// Replaces each report tag by its report's name, which is what two databases share.
QList<Row> withReportNames(const QList<Row>& rows, const QList<Row>& reports)
{
    QMap<QString, db::Value> names;
    for (const Row& r : reports)
        if (r.value(QStringLiteral("zvrtag")))
            names.insert(*r.value(QStringLiteral("zvrtag")),
                         r.value(QStringLiteral("report_name")));
    QList<Row> out;
    for (Row row : rows) {
        const db::Value tag = row.value(QStringLiteral("zvrtag"));
        row.insert(QStringLiteral("report"),
                   tag && names.contains(*tag)
                       ? names.value(*tag)
                       : db::Value(QStringLiteral("(tag ") + tag.value_or(QString()) +
                                   QStringLiteral(")")));
        row.remove(QStringLiteral("zvrtag"));
        out.append(row);
    }
    return out;
}

QString keyOf(const Row& row, const QStringList& key)
{
    QStringList parts;
    for (const QString& c : key)
        parts.append(shown(row.value(c)));
    return parts.join(QChar(0x1f));
}

void compareRows(const QList<Row>& a, const QList<Row>& b, const QStringList& key,
                 const QStringList& compare, const Namer& name, QStringList* out)
{
    QMap<QString, QList<Row>> left, right;
    for (const Row& r : a)
        left[keyOf(r, key)].append(r);
    for (const Row& r : b)
        right[keyOf(r, key)].append(r);
    QStringList keys = left.keys() + right.keys();
    keys.removeDuplicates();
    std::sort(keys.begin(), keys.end());
    for (const QString& k : keys) {
        const QList<Row> x = left.value(k), y = right.value(k);
        const Row& any = x.isEmpty() ? y.first() : x.first();
        if (x.size() != y.size()) {
            if (y.isEmpty() || x.isEmpty())
                out->append(name(any) + (y.isEmpty() ? QStringLiteral(": only in A")
                                                     : QStringLiteral(": only in B")));
            else
                out->append(name(any) +
                            QStringLiteral(": %1 times in A, %2 in B").arg(x.size()).arg(y.size()));
            continue;
        }
        for (qsizetype i = 0; i < x.size(); ++i)
            for (const QString& c : compare)
                if (x[i].value(c) != y[i].value(c))
                    out->append(name(x[i]) +
                                QStringLiteral(": %1: %2 -> %3")
                                    .arg(c, shown(x[i].value(c)), shown(y[i].value(c))));
    }
}

// For a table whose order is shown: per list (the rows sharing the `list` columns), the order
// of the entries (`entry`) that both sides hold, when it differs.
void compareOrder(const QList<Row>& a, const QList<Row>& b, const QStringList& list,
                  const QString& entry, const Namer& name, QStringList* out)
{
    QMap<QString, QStringList> left, right;
    QMap<QString, Row> listRow; // a row of each list, which names it
    for (const Row& r : a) {
        left[keyOf(r, list)].append(shown(r.value(entry)));
        listRow.insert(keyOf(r, list), r);
    }
    for (const Row& r : b)
        right[keyOf(r, list)].append(shown(r.value(entry)));
    for (auto it = left.cbegin(); it != left.cend(); ++it) {
        const QStringList& y = right.value(it.key());
        QStringList x = it.value();
        x.removeIf([&y](const QString& e) { return !y.contains(e); });
        QStringList common = y;
        common.removeIf([&x](const QString& e) { return !x.contains(e); });
        if (x.size() == common.size() && x != common) // a count differing is named already
            out->append(name(listRow.value(it.key())) + QStringLiteral(": order: ") +
                        x.join(QStringLiteral(", ")) + QStringLiteral(" -> ") +
                        common.join(QStringLiteral(", ")));
    }
}

QStringList otherColumns(const QString& table, const QStringList& key)
{
    for (const TableInfo& t : configurationTables())
        if (t.name == table) {
            QStringList rest;
            for (const QString& c : t.columns)
                if (!key.contains(c) && c != u"zvrtag")
                    rest.append(c);
            return rest;
        }
    return {};
}

Namer named(const QString& pattern, const QStringList& columns)
{
    return [pattern, columns](const Row& r) {
        QString text = pattern;
        for (const QString& c : columns)
            text = text.arg(r.value(c).value_or(QStringLiteral("NULL")));
        return text;
    };
}

} // namespace

QStringList differences(const Snapshot& a, const Snapshot& b)
{
    QStringList out;
    const auto rows = [](const Snapshot& s, const char* table) {
        return s.tables.value(QString::fromLatin1(table));
    };
    const auto keyed = [&](const char* table, const QStringList& key, const Namer& name,
                           bool set = false) {
        compareRows(rows(a, table), rows(b, table), key,
                    set ? QStringList() : otherColumns(QString::fromLatin1(table), key), name,
                    &out);
    };
    const auto byReport = [&](const char* table, const QStringList& key, const Namer& name,
                              bool set = false) {
        const QString t = QString::fromLatin1(table);
        compareRows(withReportNames(rows(a, table), rows(a, "qrb_zv_reports")),
                    withReportNames(rows(b, table), rows(b, "qrb_zv_reports")), key,
                    set ? QStringList() : otherColumns(t, key), name, &out);
    };

    keyed("qrb_zv_system_configuration", {}, [](const Row&) {
        return QStringLiteral("system configuration (desktop, title language, switches)");
    });
    keyed("qrb_zv_groupconfig", {QStringLiteral("group_id")},
          named(QStringLiteral("group \"%1\""), {QStringLiteral("group_id")}));
    byReport("qrb_zv_group_reports", {QStringLiteral("group_id"), QStringLiteral("report")},
             named(QStringLiteral("group \"%1\": report \"%2\""),
                   {QStringLiteral("group_id"), QStringLiteral("report")}),
             true);
    keyed("qrb_zv_userlist", {QStringLiteral("mtuser")},
          named(QStringLiteral("user \"%1\""), {QStringLiteral("mtuser")}));
    keyed("qrb_zv_session_config", {QStringLiteral("group_id"), QStringLiteral("mtuser")},
          named(QStringLiteral("session privileges of group \"%1\", user \"%2\""),
                {QStringLiteral("group_id"), QStringLiteral("mtuser")}));
    keyed("qrb_zv_reports", {QStringLiteral("report_name")},
          named(QStringLiteral("report \"%1\""), {QStringLiteral("report_name")}));
    byReport("qrb_zv_report_prompts", {QStringLiteral("report"), QStringLiteral("sequence")},
             named(QStringLiteral("report \"%1\": prompt %2"),
                   {QStringLiteral("report"), QStringLiteral("sequence")}));
    byReport(
        "qrb_zv_prompt_validation",
        {QStringLiteral("report"), QStringLiteral("prompt_string"), QStringLiteral("val")},
        named(QStringLiteral("report \"%1\": custom value \"%3\" of %2"),
              {QStringLiteral("report"), QStringLiteral("prompt_string"), QStringLiteral("val")}),
        true);
    compareOrder(withReportNames(rows(a, "qrb_zv_prompt_validation"), rows(a, "qrb_zv_reports")),
                 withReportNames(rows(b, "qrb_zv_prompt_validation"), rows(b, "qrb_zv_reports")),
                 {QStringLiteral("report"), QStringLiteral("prompt_string")}, QStringLiteral("val"),
                 named(QStringLiteral("report \"%1\": custom values of %2"),
                       {QStringLiteral("report"), QStringLiteral("prompt_string")}),
                 &out);
    keyed("qrb_zv_fields_group_inhibit", {QStringLiteral("fldnum"), QStringLiteral("group_id")},
          named(QStringLiteral("field %1 hidden from group \"%2\""),
                {QStringLiteral("fldnum"), QStringLiteral("group_id")}),
          true);
    keyed("qrb_zv_general_offsets", {QStringLiteral("fldnum"), QStringLiteral("fform")},
          named(QStringLiteral("field %1: general offsets of form %2"),
                {QStringLiteral("fldnum"), QStringLiteral("fform")}));
    keyed("qrb_zv_browser_offsets",
          {QStringLiteral("fldnum"), QStringLiteral("browser_id"), QStringLiteral("fform")},
          named(QStringLiteral("field %1: offsets for browser \"%2\" on form %3"),
                {QStringLiteral("fldnum"), QStringLiteral("browser_id"), QStringLiteral("fform")}));
    keyed("qrb_zv_tree_config", {},
          [](const Row&) { return QStringLiteral("tree view: most asset listings"); });
    keyed("qrb_zv_tree_fields", {QStringLiteral("fldnum")},
          named(QStringLiteral("tree view: field %1"), {QStringLiteral("fldnum")}));
    compareOrder(
        rows(a, "qrb_zv_tree_fields"), rows(b, "qrb_zv_tree_fields"), {}, QStringLiteral("fldnum"),
        [](const Row&) { return QStringLiteral("tree view: fields"); }, &out);
    keyed("qrb_zv_page_configuration", {QStringLiteral("web_page")},
          named(QStringLiteral("web page \"%1\""), {QStringLiteral("web_page")}));
    keyed(
        "qrb_zv_result_header", {QStringLiteral("header")},
        [](const Row&) { return QStringLiteral("results header"); }, true);
    return out;
}

// ---- writing ------------------------------------------------------------------------------

namespace {

const QString SystemTable = QStringLiteral("qrb_zv_system_configuration");
const QString UserGroupTable = QStringLiteral("qrb_zv_userlist");

QString insertStatement(const TableInfo& table, const Row& row)
{
    QStringList values;
    for (const QString& c : table.columns)
        values.append(literal(row.value(c)));
    return QStringLiteral("insert into mt.") + table.name + QStringLiteral(" (") +
           table.columns.join(QLatin1Char(',')) + QStringLiteral(") values (") +
           values.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString updateStatement(const TableInfo& table, const Row& row)
{
    QStringList sets;
    for (const QString& c : table.columns)
        sets.append(c + QStringLiteral(" = ") + literal(row.value(c)));
    return QStringLiteral("update mt.") + table.name + QStringLiteral(" set ") +
           sets.join(QStringLiteral(", "));
}

} // namespace

ImportPlan::ImportPlan(const Snapshot& source, bool targetHasSystemRow,
                       const QSet<QString>& knownUsers)
    : m_source(source), m_targetHasSystemRow(targetHasSystemRow)
{
    const QList<TableInfo>& tables = configurationTables();
    for (qsizetype t = 0; t < tables.size(); ++t) {
        const QList<Row>& rows = source.tables[tables.at(t).name];
        if (tables.at(t).name == SystemTable) {
            if (!rows.isEmpty())
                m_steps.append({t, -1});
            continue;
        }
        m_steps.append({t, -1});
        for (qsizetype r = 0; r < rows.size(); ++r) {
            if (tables.at(t).name == UserGroupTable) {
                const QString user = rows.at(r).value(QStringLiteral("mtuser")).value_or(QString());
                if (!knownUsers.contains(user.toCaseFolded())) {
                    m_skippedUsers.append(user);
                    continue;
                }
            }
            m_steps.append({t, r});
        }
    }
}

QString ImportPlan::statement(qsizetype i) const
{
    const Step step = m_steps.at(i);
    const TableInfo& table = configurationTables().at(step.table);
    const QList<Row>& rows = m_source.tables[table.name];
    if (table.name == SystemTable)
        return m_targetHasSystemRow ? updateStatement(table, rows.first())
                                    : insertStatement(table, rows.first());
    if (step.row >= 0)
        return insertStatement(table, rows.at(step.row));
    if (table.name == UserGroupTable) // the groups of users the target does not know stay
        return QStringLiteral("delete from mt.qrb_zv_userlist where mtuser in (select mtuser "
                              "from mt.userlist)");
    return QStringLiteral("delete from mt.") + table.name;
}

QString ImportPlan::where(qsizetype i) const
{
    const Step step = m_steps.at(i);
    const QString& name = configurationTables().at(step.table).name;
    if (name == SystemTable)
        return QStringLiteral("table %1, row 1").arg(name);
    if (step.row < 0)
        return QStringLiteral("table %1, emptying it").arg(name);
    return QStringLiteral("table %1, row %2").arg(name).arg(step.row + 1);
}

} // namespace kaldor::configtool
