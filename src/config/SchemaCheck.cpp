#include "SchemaCheck.h"

#include "ConfigSnapshot.h"
#include "Session.h"

#include <sql.h>
#include <sqlext.h>

#include <QHash>
#include <QSet>

namespace kaldor::configtool {

using namespace Qt::StringLiterals;

namespace {

struct Needed {
    QString table;
    QStringList columns;
};

// The calibration database's own tables that the program reads.
QList<Needed> calibrationTables(DatabaseKind dialect)
{
    const bool anywhere = dialect != DatabaseKind::SqlServer;
    return {
        {u"dbconfig"_s, {u"version"_s}},
        {u"userlist"_s,
         {u"mtuser"_s, u"mtlevel"_s, anywhere ? u"i4240"_s : u"segregate"_s,
          anywhere ? u"name"_s : u"mtname"_s}},
        {u"segregate"_s, {u"i4240"_s}},
        {u"desktop"_s, {u"desktop"_s}},
        {u"customiz"_s, {u"fldnum"_s, u"title"_s}},
        {u"me2_customiz"_s,
         {u"fldnum"_s, u"title"_s, u"title2"_s, u"title3"_s, u"title4"_s, u"title5"_s, u"row"_s,
          u"col"_s, u"len"_s, u"fform"_s, u"ftype"_s, u"desktop"_s, u"suppressed"_s, u"datacol"_s}},
    };
}

QList<Needed> neededTables(DatabaseKind dialect)
{
    QList<Needed> tables;
    for (const TableInfo& t : configurationTables()) {
        QStringList columns = t.columns;
        if (t.name == u"qrb_zv_system_configuration")
            columns += perComputerColumns();
        tables.append({t.name, columns});
    }
    tables.append({u"qrb_zv_browser_list"_s, {u"browser_id"_s}});
    return tables + calibrationTables(dialect);
}

const QString View = u"qrb_zv_customiz"_s;

const QStringList& procedures()
{
    static const QStringList names{u"qrb_zv_group_config_maint"_s, u"qrb_zv_field_config_maint"_s,
                                   u"qrb_zv_reset_page_config"_s};
    return names;
}

// Texts the administrator types, and how long the program lets them be.
struct Width {
    QString table;
    QString column;
    int characters;
    QString what;
};

const QList<Width>& widths()
{
    static const QList<Width> rules = [] {
        QList<Width> list;
        for (const char* table : {"qrb_zv_groupconfig", "qrb_zv_group_reports", "qrb_zv_userlist",
                                  "qrb_zv_session_config", "qrb_zv_fields_group_inhibit"})
            list.append({QString::fromLatin1(table), u"group_id"_s, 60, u"group names"_s});
        list.append({u"qrb_zv_reports"_s, u"report_name"_s, 160, u"report names"_s});
        for (const char* table : {"qrb_zv_reports", "qrb_zv_group_reports", "qrb_zv_report_prompts",
                                  "qrb_zv_prompt_validation"})
            list.append({QString::fromLatin1(table), u"zvrtag"_s, 15, u"report tags"_s});
        return list;
    }();
    return rules;
}

QString key(const QString& table, const QString& column = {})
{
    return QString(table + u'.' + column).toCaseFolded();
}

// A procedure's name as the catalog gives it; SQL Server adds the group number (";1").
QString procedureName(QString name)
{
    const qsizetype semicolon = name.indexOf(u';');
    return semicolon < 0 ? name : name.left(semicolon);
}

} // namespace

SchemaReport checkSchema(db::OdbcConnection& connection, DatabaseKind dialect)
{
    using Catalog = db::OdbcConnection::Catalog;
    const QString schema = u"mt"_s;
    QHash<QString, QString> tableTypes;
    const db::ResultSet tables = connection.catalog(Catalog::Tables, schema);
    for (qsizetype r = 0; r < tables.size(); ++r)
        tableTypes.insert(key(tables.text(r, u"TABLE_NAME")),
                          tables.text(r, u"TABLE_TYPE").toUpper());
    QHash<QString, std::pair<int, int>> columns; // data type and size
    const db::ResultSet described = connection.catalog(Catalog::Columns, schema);
    for (qsizetype r = 0; r < described.size(); ++r)
        columns.insert(
            key(described.text(r, u"TABLE_NAME"), described.text(r, u"COLUMN_NAME")),
            {described.text(r, u"DATA_TYPE").toInt(), described.text(r, u"COLUMN_SIZE").toInt()});
    QSet<QString> procedureNames;
    const db::ResultSet listed = connection.catalog(Catalog::Procedures, schema);
    for (qsizetype r = 0; r < listed.size(); ++r)
        procedureNames.insert(procedureName(listed.text(r, u"PROCEDURE_NAME")).toCaseFolded());

    SchemaReport report;
    for (const Needed& t : neededTables(dialect)) {
        if (!tableTypes.contains(key(t.table))) {
            report.missing.append(u"table mt."_s + t.table);
            continue;
        }
        for (const QString& c : t.columns)
            if (!columns.contains(key(t.table, c)))
                report.missing.append(u"column mt."_s + t.table + u'.' + c);
    }
    if (!tableTypes.contains(key(View)))
        report.missing.append(u"view mt."_s + View);
    for (const QString& p : procedures())
        if (!procedureNames.contains(p.toCaseFolded()))
            report.missing.append(u"procedure mt."_s + p);

    static const QSet<int> texts{SQL_CHAR, SQL_VARCHAR, SQL_WCHAR, SQL_WVARCHAR};
    for (const Width& w : widths()) {
        const auto found = columns.constFind(key(w.table, w.column));
        if (found == columns.cend() || !texts.contains(found->first) || found->second <= 0 ||
            found->second >= w.characters)
            continue;
        report.narrow.append(QStringLiteral("column mt.%1.%2 holds %3 characters; %4 may have %5")
                                 .arg(w.table, w.column)
                                 .arg(found->second)
                                 .arg(w.what)
                                 .arg(w.characters));
    }
    return report;
}

} // namespace kaldor::configtool
