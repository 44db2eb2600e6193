#pragma once

#include <QString>
#include <QStringList>

namespace kaldor {

// The names of the report files (*.rpt, matched ignoring case, files only) in a local folder,
// ordered by name ignoring case as a Windows folder lists them. A folder that is empty, does
// not exist or is no folder lists nothing; a folder that cannot be read throws the file access
// error (75) for the error routine.
QStringList reportFiles(const QString& folder);

} // namespace kaldor
