#include "ResourceStrings.h"

#include "ResourceTable.h"

#include <QFile>
#include <QtDebug>

namespace kaldor {

namespace {

const QString StringsPath = QStringLiteral(":/strings/strings.tsv");

ResourceTable loadTable()
{
    QFile file(StringsPath);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Resource string table %s cannot be read", qPrintable(StringsPath));
        return {};
    }
    ResourceTable table = ResourceTable::parse(file.readAll());
    for (const QString& error : table.errors())
        qWarning("Resource string table: %s", qPrintable(error));
    return table;
}

// Parsed on first use; the initialisation of a function-local static is thread-safe and the
// table is never changed afterwards.
const ResourceTable& table()
{
    static const ResourceTable parsed = loadTable();
    return parsed;
}

} // namespace

QString resString(int id)
{
    if (const QString* text = table().find(id))
        return *text;
    qWarning("Unknown resource string %d", id);
    return {};
}

bool hasResString(int id)
{
    return table().contains(id);
}

} // namespace kaldor
