#include "ReportFiles.h"

#include "DbError.h"

#include <QDir>
#include <QFileInfo>

namespace kaldor {

QStringList reportFiles(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    const QFileInfo info(folder);
    if (!info.isDir())
        return {}; // a folder this computer cannot reach lists no files
    if (!info.isReadable() || !info.isExecutable())
        throw db::DbException(db::DbError{75, QStringLiteral("Path/File access error"), {}});
    return QDir(folder).entryList({QStringLiteral("*.rpt")}, QDir::Files | QDir::Hidden,
                                  QDir::Name | QDir::IgnoreCase);
}

} // namespace kaldor
