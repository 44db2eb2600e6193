#pragma once

#include <QFile>
#include <QString>

// The settings folder and the files the program keeps there.
namespace kaldor {

QString GetSettingsFolder();
bool FolderExists(const QString& path);
QString SettingsFile();
QString ErrorLogFile();

// Opens the file only when it is, or for writing becomes, a regular file: a named pipe or a
// device in its place would block the program or take what is written. `mode` is ReadOnly,
// WriteOnly with Truncate, or WriteOnly with Append. On failure `error` says why.
bool openRegularFile(QFile& file, QIODevice::OpenMode mode, QString* error);

} // namespace kaldor
